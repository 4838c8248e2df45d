#include "channels/Slider.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kBlinkMs = 1000;
constexpr int kWheelNotch = 120;
constexpr double kMinWheelStep = 0.1;
constexpr int kTextMargin = 6;
constexpr QRgb kMarkColour = 0xFF8080F0;
constexpr QRgb kScaleColour = 0xFF606060;
constexpr QRgb kBadValueColour = 0xFF440000;
constexpr QRgb kRefusedColour = 0xFFC03030;
constexpr int kRefusedFrame = 2;
} // namespace

Slider::Slider(double min, double max, double stepSize, const QString& unit, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::CustomizeWindowHint), low(min),
      high(max), step(stepSize), coarse(stepSize < 0.1 ? 50 * stepSize : stepSize),
      decimals(int(std::log10(1.0 / stepSize) + 0.9999999)), unitText(unit)
{
    auto* blink = new QTimer(this);
    connect(blink, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    blink->start(kBlinkMs);
}

void Slider::setValue(double v)
{
    shown = format(v);
    editing = false;
    clearRefusal();
    labelWidth = 0;
    current = v;
    opened = v;
    knob = position(v);
}

void Slider::setRange(double min, double max)
{
    low = min;
    high = max;
}

bool Slider::parseText(QString& text, const QString& add) const
{
    bool ok = false;
    const double n = (text + add).toDouble(&ok);
    if (!ok)
        return false;
    if (inRange(n)) {
        text += add;
        return true;
    }
    if (!inRange(-n))
        return false;
    if (text.startsWith(QLatin1Char('-')))
        text = text.mid(1) + add;
    else
        text = QLatin1Char('-') + text + add;
    return true;
}

double Slider::span() const
{
    return (width() - 1) - 2 * radius();
}

double Slider::position(double v) const
{
    if (high <= low)
        return radius();
    return radius() + (v - low) * span() / (high - low);
}

bool Slider::readsInRange(const QString& number, double* v) const
{
    bool ok = false;
    const double n = number.toDouble(&ok);
    if (v)
        *v = n;
    return ok && inRange(n);
}

QString Slider::format(double v) const
{
    return QString::number(v, 'f', decimals).replace(QLatin1Char(','), QLatin1Char('.'));
}

void Slider::moveKnob(double target)
{
    knob = position(target);
    update();
}

// The operator's own move: the value lands on the step grid inside the
// range, and the owner hears of it at once.
void Slider::moveTo(double target)
{
    editing = false;
    clearRefusal();
    const double v =
        format(std::round(std::clamp(target, low, std::max(low, high)) / step) * step).toDouble();
    shown = format(v);
    moveKnob(v);
    if (v == current)
        return;
    current = v;
    emit valueChanged(v);
}

// Typed digits reach the owner only with Return: anything else that ends
// the typing shows the value the owner has again.
void Slider::dropTyping()
{
    if (!editing)
        return;
    editing = false;
    shown = format(current);
    moveKnob(current);
}

void Slider::mousePressEvent(QMouseEvent* event)
{
    dragging = geometry().contains(event->globalPosition().toPoint());
    if (dragging)
        drag(event->position().x());
}

void Slider::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging)
        drag(event->position().x());
}

void Slider::drag(double x)
{
    x = std::round(x);
    if (x == knob || span() <= 0)
        return;
    const double raw = low + (x - radius()) / span() * (high - low);
    moveTo(std::round(raw / coarse) * coarse);
}

void Slider::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / kWheelNotch;
    if (notches != 0)
        moveTo(current + notches * std::max(step, kMinWheelStep));
}

void Slider::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (navigate(key))
        return;
    const QString c = event->text();
    if (key == Qt::Key_Escape) {
        cancel();
    } else if (key == Qt::Key_Return) {
        confirm();
    } else if (key == Qt::Key_Backspace) {
        shown.chop(1);
        editing = true;
        clearRefusal();
        moveKnob(current);
    } else if ((key >= Qt::Key_0 && key <= Qt::Key_9) || c == QLatin1String(",") ||
               c == QLatin1String("-") || c == QLatin1String(".")) {
        typeCharacter(c);
    } else {
        QWidget::keyPressEvent(event);
    }
}

// Home goes to the maximum and End to the minimum.
bool Slider::navigate(int key)
{
    double target = current;
    switch (key) {
    case Qt::Key_Home:
        target = high;
        break;
    case Qt::Key_End:
        target = low;
        break;
    case Qt::Key_Left:
        target = current - step;
        break;
    case Qt::Key_Right:
        target = current + step;
        break;
    case Qt::Key_Up:
        target = current + 10 * step;
        break;
    case Qt::Key_Down:
        target = current - 10 * step;
        break;
    case Qt::Key_PageUp:
        target = current + 10 * coarse;
        break;
    case Qt::Key_PageDown:
        target = current - 10 * coarse;
        break;
    default:
        return false;
    }
    dropTyping();
    moveTo(target);
    return true;
}

void Slider::typeCharacter(QString c)
{
    if (!editing) {
        editing = true;
        shown.clear();
    }
    if (c == QLatin1String(","))
        c = QStringLiteral(".");
    if (c == QLatin1String(".") && decimals == 0)
        return;
    if (c == QLatin1String("-") && !shown.isEmpty())
        return;
    const qsizetype point = shown.indexOf(QLatin1Char('.'));
    if (point >= 0 && shown.size() - point > decimals)
        shown.chop(1);
    const double old = shown.toDouble();
    bool ok = parseText(shown, c);
    if (!ok && decimals > 0 && !shown.contains(QLatin1Char('.')))
        ok = parseText(shown, QLatin1Char('.') + c);
    if (!ok) {
        bool readable = false;
        const double n = (shown + c).toDouble(&readable);
        ok = shown.isEmpty() || (readable && inRange(n)) || (readable && !inRange(old) && n < high);
        if (ok)
            shown += c;
    }
    if (ok)
        clearRefusal();
    else if (c.front().isDigit())
        refuse(outsideText(shown + c));
    double typed = 0.0;
    moveKnob(readsInRange(shown, &typed) ? typed : current);
}

QString Slider::outsideText(const QString& number) const
{
    return tr("%1 %2 liegt außerhalb von %3 bis %4 %2")
        .arg(number, unitText, format(low), format(high));
}

// A value outside the range is never handed on: the popup stays open with
// the reason, so the operator can type again or leave with Escape. An empty
// typed text stands for the value as it was.
void Slider::confirm()
{
    const bool typing = editing && !shown.isEmpty();
    double v = current;
    const bool ok = typing ? readsInRange(shown, &v) : inRange(current);
    if (!ok) {
        refuse(tr("%1 %2 liegt außerhalb von %3 bis %4 %2: nichts gespeichert")
                   .arg(typing ? shown : format(current), unitText, format(low), format(high)));
        return;
    }
    current = v;
    emit valueChanged(current);
    editing = false;
    hide();
}

void Slider::refuse(const QString& reason)
{
    refused = reason;
    setToolTip(reason);
    QToolTip::showText(mapToGlobal(QPoint(0, height())), reason, this);
    update();
}

void Slider::clearRefusal()
{
    if (refused.isEmpty())
        return;
    refused.clear();
    setToolTip(QString());
    QToolTip::hideText();
    update();
}

// Escape takes back what the popup changed since it opened.
void Slider::cancel()
{
    dropTyping();
    if (current != opened) {
        current = opened;
        shown = format(opened);
        emit valueChanged(opened);
    }
    hide();
}

void Slider::focusOutEvent(QFocusEvent*)
{
    dropTyping();
    emit focusOut();
}

void Slider::hideEvent(QHideEvent* event)
{
    dropTyping();
    clearRefusal();
    QWidget::hideEvent(event);
}

void Slider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int r = radius();
    const int w1 = width() - 1;
    const int cx = w1 - w1 / 2 + r;
    painter.setBrush(Qt::lightGray);
    painter.drawRect(QRect(QPoint(0, 0), QPoint(width() - 2, height() - 2)));
    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(1.5 * r)));
    font.setWeight(QFont::Bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    painter.setFont(font);

    updateLabelWidth(font);
    drawTexts(painter, cx);
    // A value outside the range (a channel left outside a narrower band)
    // shows the knob at the end; the value itself stays as it is.
    drawKnob(painter, std::clamp(knob, double(r), std::max(double(r), double(w1 - r))));
    if (!refused.isEmpty())
        drawRefusalFrame(painter);
}

void Slider::drawRefusalFrame(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor::fromRgba(kRefusedColour), kRefusedFrame, Qt::SolidLine,
                        Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void Slider::updateLabelWidth(const QFont& font)
{
    const QFontMetrics metrics(font);
    if (labelWidth == 0)
        labelWidth = std::max(metrics.horizontalAdvance(format(low)),
                              metrics.horizontalAdvance(format(high))) +
                     kTextMargin;
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(shown) + kTextMargin);
}

void Slider::drawTexts(QPainter& painter, int cx)
{
    const int r = radius();
    const int w1 = width() - 1;
    painter.setPen(Qt::gray);
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(QPoint(cx - labelWidth, 2), QPoint(cx - 1, 2 * r - 3)));
    if (!editing) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba(kMarkColour));
        painter.drawRect(QRect(QPoint(cx - labelWidth + 3, 5), QPoint(cx - 3, 2 * r - 5)));
    }
    painter.setPen(QColor::fromRgba(kScaleColour));
    const QRect scale(QPoint(3, 2), QPoint(width() - 5, 2 * r - 3));
    painter.drawText(scale, Qt::AlignLeft | Qt::AlignVCenter, QString::number(low, 'g', 6));
    painter.drawText(scale, Qt::AlignRight | Qt::AlignVCenter, QString::number(high, 'g', 6));
    painter.drawText(QRect(QPoint(r + w1 / 2 + 3, 2), QPoint(cx + r + w1 / 2 - 4, 2 * r - 3)),
                     Qt::AlignLeft | Qt::AlignVCenter, unitText);
    painter.setPen(readsInRange(shown) ? QColor(Qt::black) : QColor::fromRgba(kBadValueColour));
    painter.drawText(QRect(QPoint(3, 2), QPoint(cx - 4, 2 * r - 3)),
                     Qt::AlignRight | Qt::AlignVCenter, shown);
    if (QTime::currentTime().second() % 2 == 1) {
        painter.setPen(QPen(Qt::black, 2));
        const int bottom = height() - 4;
        painter.drawLine(cx - 3, 4, cx - 3, bottom);
        painter.drawLine(cx - 6, 4, cx, 4);
        painter.drawLine(cx - 6, bottom, cx, bottom);
    }
}

void Slider::drawKnob(QPainter& painter, double at)
{
    const int r = radius();
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(int(at), 0, int(at), height() - 1);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const double kx = at - r;
    painter.setPen(
        QPen(QColor(240, 64, 64, 128), height() / 4, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    int x = int(kx + 6.0);
    painter.drawEllipse(QRect(QPoint(x, 6), QPoint(x + 2 * r - 12, 2 * r - 6)));
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    x = int(kx + 2.0);
    painter.drawEllipse(QRect(QPoint(x, 2), QPoint(x + 2 * r - 4, 2 * r - 2)));
    x = int(kx + 10.0);
    painter.drawEllipse(QRect(QPoint(x, 10), QPoint(x + 2 * r - 20, 2 * r - 10)));
}
