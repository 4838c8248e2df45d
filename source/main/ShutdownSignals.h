#pragma once

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

// SIGINT and SIGTERM close the window as the user would, without any
// question: a service manager or a logout must not leave carriers on. The
// handler only writes a byte into a pipe; the close runs in the event loop.
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

    QPointer<QWidget> window;
    QSocketNotifier* notifier = nullptr;
};
