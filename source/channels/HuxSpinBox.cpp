#include "channels/HuxSpinBox.h"

HuxSpinBox::HuxSpinBox(QWidget* parent) : QSpinBox(parent) {}

void HuxSpinBox::focusInEvent(QFocusEvent* event)
{
    QSpinBox::focusInEvent(event);
    emit focusIn();
}
