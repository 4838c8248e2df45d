#include "main/ShutdownSignals.h"

#include "gui/ModalQuestions.h"

#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};

constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

void writeSignal(int number)
{
    const char byte = char(number);
    // Nothing else is safe in a signal handler; a full pipe already holds a
    // wake-up.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0) {
        qDebug("man: no signal pipe");
        return;
    }
    notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ShutdownSignals::onSignal);
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kHandledSignals)
        sigaction(number, &action, nullptr);
}

ShutdownSignals::~ShutdownSignals()
{
    for (const int number : kHandledSignals)
        signal(number, SIG_DFL);
    delete notifier;
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

// Open questions are answered as Cancel and no new one is shown, then the
// window closes as from its menu.
void ShutdownSignals::onSignal()
{
    char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) != 1)
        return;
    qDebug("man: signal %d", int(byte));
    ModalQuestions::dismissAll();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible())
            dialog->reject();
    }
    closeWhenNoQuestionIsOpen();
}

// This runs inside the event loop of the question that was open; the
// operation that asked must first see its answer and return, or it would go
// on after the window has stored its closing state.
void ShutdownSignals::closeWhenNoQuestionIsOpen()
{
    if (ModalQuestions::openQuestions() > 0) {
        QTimer::singleShot(0, this, &ShutdownSignals::closeWhenNoQuestionIsOpen);
        return;
    }
    if (window)
        window->close();
    else
        QApplication::quit();
}
