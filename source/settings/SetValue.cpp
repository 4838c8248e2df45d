#include "settings/SetValue.h"

#include "settings/Observer.h"

SetValue::SetValue(const QString& key, const QVariant& value)
    : QEvent(kType), key(key), value(value)
{
}

SetValue::~SetValue() = default;

void SetValue::deliverTo(Observer& observer)
{
    observer.notify(this);
}
