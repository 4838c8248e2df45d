#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

// SIGINT, SIGTERM and SIGHUP close the window as the user would, without any
// question: a service manager, a logout or a closed terminal must not leave
// carriers on. A question open at that moment is answered as Cancel, so the
// operation that asked stops; the window closes once it has. The handler
// only writes a byte into a pipe; the rest runs in the event loop.
class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    // Installed before the window exists, a signal that arrives while it is
    // built is acted on once the event loop runs.
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    void setWindow(QWidget* closing) { window = closing; }

private:
    void onSignal();
    void closeWhenNoQuestionIsOpen();

    QPointer<QWidget> window;
    QSocketNotifier* notifier = nullptr;
};
