#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

// The one way Kandorel asks the user something modally: its information
// boxes, the file dialog and every dialog it runs with exec(). A caller that
// wants an answer ahead of time (a test) queues it here; the next question
// of that kind takes it without showing anything. With nothing queued the
// real dialog runs.
class ClientQuestions
{
public:
    // --- asking
    static void inform(QWidget* parent, const QString& title, const QString& text);
    static QString openFileName(QWidget* parent, const QString& title, const QString& start);
    // Runs the dialog modally and returns its result.
    static int exec(QDialog* dialog);

    // --- answering ahead
    static void setNextFileName(const QString& name);
    static void setNextDialogResult(int result);
    // The action gets the dialog (set up, not shown) and returns its result;
    // it may fill in the dialog's fields first.
    static void setNextDialogAction(const std::function<int(QDialog*)>& action);

    // Unattended: a question with no queued answer is not shown but answered
    // as if it was dismissed (OK, an empty file name, rejected). Tests run
    // unattended so that none can ever block.
    static void setUnattended(bool on);

    // What was asked since the last clear(), in order: the text of each
    // information box, the title of each file dialog and dialog.
    static QStringList asked();
    static void clear();
};
