#pragma once

#include <QEvent>
#include <QMutex>
#include <QString>
#include <QVariant>

#include <memory>

// The newest value of a key for one receiver that only shows the latest: the
// store replaces it while its delivery waits in the receiver's queue.
struct PendingValue
{
    QMutex mutex;
    QVariant value;
    bool waiting = false;
};

// The notification of one key change or publication, posted to each
// subscriber and delivered in the subscriber's own thread.
class SetValue : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(1234);

    SetValue(const QString& key, const QVariant& value);
    SetValue(const QString& key, std::shared_ptr<PendingValue> pending);
    ~SetValue() override;

    // A delivery that stands for several publications takes the newest
    // value now (SetHandler does, before the observer sees the event); the
    // next publication of the key posts a new one.
    void takePending();

    QString key;    // stored form, e.g. "channel.1/freq"
    QVariant value; // null for a removed key

private:
    std::shared_ptr<PendingValue> pending;
};
