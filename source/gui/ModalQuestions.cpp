#include "gui/ModalQuestions.h"

#include <QDebug>
#include <QDialog>
#include <QFileDialog>
#include <QPointer>
#include <QQueue>

namespace {

struct Queues
{
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QStringList> fileNames;
    QString lastStart;
    QQueue<std::function<int(QDialog*)>> dialogActions;
    QStringList asked;
    QStringList texts;
    bool unattended = false;
    int unanswered = 0;
    // Dialogs running their own event loop right now, innermost last.
    QList<QPointer<QDialog>> open;
    // Counts dismissAll() calls, so a question knows it was dismissed while
    // it was open whatever its dialog returned.
    int dismissals = 0;
};

// Questions are asked in the GUI thread only.
Queues& queues()
{
    static Queues q;
    return q;
}

void noteQuestion(const QString& title)
{
    queues().asked.append(title);
}

bool answeredUnattended(const QString& title)
{
    if (!queues().unattended)
        return false;
    ++queues().unanswered;
    qDebug("man: unanswered question [%s]", qPrintable(title));
    return true;
}

// A dialog while it runs modally; tells afterwards whether dismissAll()
// came in meanwhile.
class OpenQuestion
{
public:
    explicit OpenQuestion(QDialog* dialog) : dismissalsBefore(queues().dismissals)
    {
        queues().open.append(dialog);
    }
    ~OpenQuestion() { queues().open.removeLast(); }
    OpenQuestion(const OpenQuestion&) = delete;
    OpenQuestion& operator=(const OpenQuestion&) = delete;

    bool dismissed() const { return queues().dismissals != dismissalsBefore; }

private:
    const int dismissalsBefore;
};

QMessageBox::StandardButton dismissedAnswer(QMessageBox::StandardButtons buttons)
{
    for (auto button : {QMessageBox::Cancel, QMessageBox::Close, QMessageBox::No,
                        QMessageBox::Abort, QMessageBox::Ok}) {
        if (buttons.testFlag(button))
            return button;
    }
    return QMessageBox::NoButton;
}

QStringList askFileNames(QWidget* parent, QFileDialog::FileMode fileMode, const QString& title,
                         const QString& start, const QString& filter)
{
    noteQuestion(title);
    queues().lastStart = start;
    if (!queues().fileNames.isEmpty())
        return queues().fileNames.dequeue();
    if (answeredUnattended(title))
        return {};
    QFileDialog dialog(parent, title, start, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(fileMode == QFileDialog::AnyFile ? QFileDialog::AcceptSave
                                                          : QFileDialog::AcceptOpen);
    dialog.setFileMode(fileMode);
    const OpenQuestion question(&dialog);
    if (dialog.exec() != QDialog::Accepted || question.dismissed())
        return {};
    return dialog.selectedFiles();
}

QString askFileName(QWidget* parent, QFileDialog::FileMode fileMode, const QString& title,
                    const QString& start, const QString& filter)
{
    const QStringList names = askFileNames(parent, fileMode, title, start, filter);
    return names.isEmpty() ? QString() : names.constFirst();
}

} // namespace

QMessageBox::StandardButton ModalQuestions::ask(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    noteQuestion(title);
    queues().texts.append(text);
    if (!queues().answers.isEmpty())
        return queues().answers.dequeue();
    if (answeredUnattended(title))
        return dismissedAnswer(buttons);
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    const OpenQuestion question(&box);
    const auto answer = QMessageBox::StandardButton(box.exec());
    // A box closed by other means than a button returns no button of its
    // own; the caller must see it as dismissed, never as a go-ahead.
    if (question.dismissed() || !buttons.testFlag(answer))
        return dismissedAnswer(buttons);
    return answer;
}

QString ModalQuestions::openFileName(QWidget* parent, const QString& title, const QString& start,
                                     const QString& filter)
{
    return askFileName(parent, QFileDialog::ExistingFile, title, start, filter);
}

QString ModalQuestions::saveFileName(QWidget* parent, const QString& title, const QString& start,
                                     const QString& filter)
{
    return askFileName(parent, QFileDialog::AnyFile, title, start, filter);
}

QStringList ModalQuestions::openFileNames(QWidget* parent, const QString& title,
                                          const QString& start, const QString& filter)
{
    return askFileNames(parent, QFileDialog::ExistingFiles, title, start, filter);
}

int ModalQuestions::exec(QDialog* dialog)
{
    const QString title =
        dialog->windowTitle().isEmpty() ? dialog->objectName() : dialog->windowTitle();
    noteQuestion(title);
    if (!queues().dialogActions.isEmpty()) {
        const int result = queues().dialogActions.dequeue()(dialog);
        dialog->setResult(result);
        return result;
    }
    if (answeredUnattended(title)) {
        dialog->setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    const OpenQuestion question(dialog);
    const int result = dialog->exec();
    return question.dismissed() ? int(QDialog::Rejected) : result;
}

void ModalQuestions::setNextAnswer(QMessageBox::StandardButton answer)
{
    queues().answers.enqueue(answer);
}

void ModalQuestions::setNextFileName(const QString& name)
{
    queues().fileNames.enqueue(name.isEmpty() ? QStringList() : QStringList{name});
}

void ModalQuestions::setNextFileNames(const QStringList& names)
{
    queues().fileNames.enqueue(names);
}

QString ModalQuestions::lastStart()
{
    return queues().lastStart;
}

void ModalQuestions::setNextDialogResult(int result)
{
    queues().dialogActions.enqueue([result](QDialog*) { return result; });
}

void ModalQuestions::setNextDialogAction(const std::function<int(QDialog*)>& action)
{
    queues().dialogActions.enqueue(action);
}

void ModalQuestions::dismissAll()
{
    Queues& q = queues();
    q.unattended = true;
    ++q.dismissals;
    // Innermost first, so each outer dialog's loop is left in turn.
    for (auto it = q.open.crbegin(); it != q.open.crend(); ++it) {
        if (*it)
            (*it)->reject();
    }
}

int ModalQuestions::openQuestions()
{
    return int(queues().open.size());
}

void ModalQuestions::setUnattended(bool on)
{
    queues().unattended = on;
}

int ModalQuestions::unanswered()
{
    return queues().unanswered;
}

QStringList ModalQuestions::asked()
{
    return queues().asked;
}

QStringList ModalQuestions::askedTexts()
{
    return queues().texts;
}

void ModalQuestions::clear()
{
    Queues& q = queues();
    q.texts.clear();
    q.answers.clear();
    q.fileNames.clear();
    q.dialogActions.clear();
    q.asked.clear();
    q.unanswered = 0;
}
