#include "channels/OnOff.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace {
constexpr QRgb kCaptionColour = 0xFF707070;
constexpr QRgb kTrackOn = 0xFF108010;
constexpr QRgb kTrackOff = 0xFF101010;
constexpr double kCornerFactor = 0.9;
} // namespace

OnOff::OnOff(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(18, 40);
    setMaximumWidth(26);
}

void OnOff::mousePressEvent(QMouseEvent*)
{
    on = !on;
    emit clicked(on);
    update();
}

void OnOff::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int r = std::min(width() / 2, height() / 2);
    const int th = text.isEmpty() ? 0 : drawCaption(painter, r);

    painter.setPen(Qt::NoPen);
    const qreal corner = kCornerFactor * r;
    const QSizeF body(width() - 1, height() - th - 2);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(QPointF(1, th + 2), body), corner, corner);
    painter.setBrush(Qt::darkGray);
    painter.drawRoundedRect(QRectF(QPointF(0, th), body), corner, corner);
    painter.setBrush(QColor::fromRgba(on ? kTrackOn : kTrackOff));
    painter.drawRoundedRect(QRectF(1, th + 1, width() - 2, height() - th - 2), corner, corner);
    drawKnob(painter, th);
}

// Returns the height the caption takes.
int OnOff::drawCaption(QPainter& painter, int radius) const
{
    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(1.5 * radius)));
    font.setWeight(QFont::Bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    painter.setFont(font);
    const int th = int(QFontMetricsF(font).height());
    painter.setPen(QColor::fromRgba(kCaptionColour));
    painter.drawText(QRect(QPoint(0, 0), QPoint(int(2 * radius) - 1, th)),
                     Qt::AlignHCenter | Qt::AlignTop, text);
    return th;
}

void OnOff::drawKnob(QPainter& painter, int th) const
{
    const qreal k = std::min(width(), height() - th) * 0.5;
    const qreal h = height();
    QRadialGradient gradient;
    QRectF knob;
    if (on) {
        knob = QRectF(1.5, h - 2 * k + 1.5, 2 * k - 3, 2 * k - 3);
        gradient = QRadialGradient(QPointF(k, h - k), k + 1, QPointF(0.8 * k, h + 1 - 1.4 * k));
        gradient.setColorAt(1, QColor(64, 96, 64));
    } else {
        knob = QRectF(1.5, th + 1.5, 2 * k - 3, 2 * k - 3);
        gradient = QRadialGradient(QPointF(k, k + th), k + 1, QPointF(0.8 * k, 0.6 * k + th));
        gradient.setColorAt(1, QColor(64, 64, 64));
    }
    gradient.setColorAt(0, Qt::white);
    painter.setBrush(gradient);
    painter.drawEllipse(knob);
}
