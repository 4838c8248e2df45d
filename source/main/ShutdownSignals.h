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
    explicit ShutdownSignals(QWidget* window, QObject* parent = nullptr);
    ~ShutdownSignals() override;

private:
    void onSignal();

    QPointer<QWidget> window;
    QSocketNotifier* notifier = nullptr;
};
