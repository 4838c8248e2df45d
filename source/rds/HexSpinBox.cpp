#include "rds/HexSpinBox.h"

namespace {
constexpr int kHexBase = 16;
}

HexSpinBox::HexSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setDisplayIntegerBase(kHexBase);
}

QString HexSpinBox::textFromValue(int value) const
{
    return QSpinBox::textFromValue(value).toUpper();
}
