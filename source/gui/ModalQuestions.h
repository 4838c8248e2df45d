#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

// The one way the program asks the user something modally: message boxes,
// file dialogs and every dialog it runs with exec(). A caller that wants an
// answer ahead of time (a test, or a shutdown that must not wait on a
// question) queues it here; the next question of that kind takes it without
// showing anything. With nothing queued the real dialog runs.
class ModalQuestions
{
public:
    // --- asking
    static QMessageBox::StandardButton
    ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QString openFileName(QWidget* parent, const QString& title, const QString& start,
                                const QString& filter);
    static QString saveFileName(QWidget* parent, const QString& title, const QString& start,
                                const QString& filter);
    // Several existing files at once; empty when the user cancels.
    static QStringList openFileNames(QWidget* parent, const QString& title, const QString& start,
                                     const QString& filter);
    // Runs the dialog modally and returns its result.
    static int exec(QDialog* dialog);

    // --- answering ahead
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void setNextFileName(const QString& name);
    static void setNextFileNames(const QStringList& names);
    static void setNextDialogResult(int result);
    // The action gets the dialog (set up, not shown) and returns its result;
    // it may click the dialog's buttons first.
    static void setNextDialogAction(const std::function<int(QDialog*)>& action);

    // Unattended: a question with no queued answer is not shown but answered
    // as if it was dismissed (Escape, an empty file name, rejected), and
    // counted. Tests run unattended so that none can ever block.
    static void setUnattended(bool on);
    static int unanswered();

    // Shutting down: every open question is closed and answered as dismissed
    // (Cancel where offered, no file, rejected), whatever its dialog
    // returns, and from now on no question is shown (unattended).
    static void dismissAll();
    // Questions whose dialog is open right now (nested ones count each).
    static int openQuestions();

    // Titles of the questions asked since the last clear(), in order.
    static QStringList asked();
    // Texts of the message boxes among them, in order.
    static QStringList askedTexts();
    // Where the last file question started (a file or a folder).
    static QString lastStart();
    static void clear();
};
