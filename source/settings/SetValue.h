#pragma once

#include <QEvent>
#include <QString>
#include <QVariant>

class Observer;

// The notification of one key change or publication, posted to each
// subscriber and delivered in the subscriber's own thread.
class SetValue : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(1234);

    SetValue(QString key, QVariant value);
    ~SetValue() override;

    // Hands the notification to observer. One event may carry several
    // values for the same receiver: each is handed over, in order.
    virtual void deliverTo(Observer& observer);

    QString key;    // stored form, e.g. "channel.1/freq"
    QVariant value; // null for a removed key
};
