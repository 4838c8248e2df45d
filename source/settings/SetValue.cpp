#include "settings/SetValue.h"

#include "settings/Observer.h"

#include <utility>

SetValue::SetValue(QString key, QVariant value)
    : QEvent(kType), key(std::move(key)), value(std::move(value))
{
}

SetValue::~SetValue() = default;

void SetValue::deliverTo(Observer& observer)
{
    observer.notify(this);
}
