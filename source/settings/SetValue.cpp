#include "settings/SetValue.h"

SetValue::SetValue(const QString& key, const QVariant& value)
    : QEvent(kType), key(key), value(value)
{
}

SetValue::~SetValue() = default;
