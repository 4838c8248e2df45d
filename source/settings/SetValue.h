#pragma once

#include <QEvent>
#include <QString>
#include <QVariant>

// The notification of one key change or publication, posted to each
// subscriber and delivered in the subscriber's own thread.
class SetValue : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(1234);

    SetValue(const QString& key, const QVariant& value);
    ~SetValue() override;

    QString key;    // stored form, e.g. "channel.1/freq"
    QVariant value; // null for a removed key
};
