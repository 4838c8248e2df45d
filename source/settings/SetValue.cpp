#include "settings/SetValue.h"

#include <QMutexLocker>

SetValue::SetValue(const QString& key, const QVariant& value)
    : QEvent(kType), key(key), value(value)
{
}

SetValue::SetValue(const QString& key, std::shared_ptr<PendingValue> pending)
    : QEvent(kType), key(key), pending(std::move(pending))
{
}

SetValue::~SetValue()
{
    // Dropped undelivered (its receiver went away): the next publication
    // must post again.
    if (pending) {
        QMutexLocker locker(&pending->mutex);
        pending->waiting = false;
    }
}

void SetValue::takePending()
{
    if (!pending)
        return;
    // The event may hold the last reference (the receiver's table was
    // dropped meanwhile): release it only after the lock is let go.
    const std::shared_ptr<PendingValue> held = std::move(pending);
    QMutexLocker locker(&held->mutex);
    value = held->value;
    held->waiting = false;
}
