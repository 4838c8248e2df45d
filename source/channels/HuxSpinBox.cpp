#include "channels/HuxSpinBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>

namespace {

const QString kBadField = QStringLiteral("QSpinBox { border: 2px solid #c03030; }");

} // namespace

HuxSpinBox::HuxSpinBox(QWidget* parent) : QSpinBox(parent)
{
    connect(this, &QSpinBox::textChanged, this, &HuxSpinBox::clearMark);
}

void HuxSpinBox::focusInEvent(QFocusEvent* event)
{
    QSpinBox::focusInEvent(event);
    emit focusIn();
}

QString HuxSpinBox::rangeText() const
{
    return tr("Erlaubt: %1 bis %2%3").arg(minimum()).arg(maximum()).arg(suffix());
}

// The line edit's validator drops a digit that leaves the range without a
// word; an unchanged text after a typed digit is that case.
void HuxSpinBox::keyPressEvent(QKeyEvent* event)
{
    const QString before = lineEdit()->text();
    QSpinBox::keyPressEvent(event);
    const QString typed = event->text();
    if (typed.size() == 1 && typed.front().isDigit() && lineEdit()->text() == before)
        markOutOfRange();
}

void HuxSpinBox::markOutOfRange()
{
    if (!marked) {
        ownTip = toolTip();
        marked = true;
    }
    setStyleSheet(kBadField);
    setToolTip(rangeText());
    QToolTip::showText(mapToGlobal(QPoint(0, height())), rangeText(), this);
}

void HuxSpinBox::clearMark()
{
    if (!marked)
        return;
    marked = false;
    setStyleSheet(QString());
    setToolTip(ownTip);
}
