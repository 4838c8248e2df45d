#include "client/ClientQuestions.h"

#include <QDebug>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>

namespace {

struct Queues
{
    QQueue<QString> fileNames;
    QQueue<std::function<int(QDialog*)>> dialogActions;
    QStringList asked;
    bool unattended = false;
};

// Questions are asked in the GUI thread only.
Queues& queues()
{
    static Queues q;
    return q;
}

bool answeredUnattended(const QString& what)
{
    if (!queues().unattended)
        return false;
    qDebug("tcp: unanswered question [%s]", qPrintable(what));
    return true;
}

} // namespace

void ClientQuestions::inform(QWidget* parent, const QString& title, const QString& text)
{
    queues().asked.append(text);
    if (answeredUnattended(title))
        return;
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString ClientQuestions::openFileName(QWidget* parent, const QString& title, const QString& start)
{
    queues().asked.append(title);
    if (!queues().fileNames.isEmpty())
        return queues().fileNames.dequeue();
    if (answeredUnattended(title))
        return QString();
    QFileDialog dialog(parent, title, start);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

int ClientQuestions::exec(QDialog* dialog)
{
    const QString title =
        dialog->windowTitle().isEmpty() ? dialog->objectName() : dialog->windowTitle();
    queues().asked.append(title);
    if (!queues().dialogActions.isEmpty()) {
        const int result = queues().dialogActions.dequeue()(dialog);
        dialog->setResult(result);
        return result;
    }
    if (answeredUnattended(title)) {
        dialog->setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return dialog->exec();
}

void ClientQuestions::setNextFileName(const QString& name)
{
    queues().fileNames.enqueue(name);
}

void ClientQuestions::setNextDialogResult(int result)
{
    queues().dialogActions.enqueue([result](QDialog*) { return result; });
}

void ClientQuestions::setNextDialogAction(const std::function<int(QDialog*)>& action)
{
    queues().dialogActions.enqueue(action);
}

void ClientQuestions::setUnattended(bool on)
{
    queues().unattended = on;
}

QStringList ClientQuestions::asked()
{
    return queues().asked;
}

void ClientQuestions::clear()
{
    Queues& q = queues();
    q.fileNames.clear();
    q.dialogActions.clear();
    q.asked.clear();
}
