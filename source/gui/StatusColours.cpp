#include "gui/StatusColours.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace {

constexpr int kStatusSaturation = 180;
constexpr int kHueRed = 0;
constexpr int kHueGreen = 120;
constexpr int kHueBlue = 240;
constexpr int kHueYellow = 60;
// HSL lightness below which a window colour counts as dark.
constexpr int kDarkBelow = 128;

QColor windowColour()
{
    const QPalette palette = QApplication::palette();
    return palette.brush(palette.currentColorGroup(), QPalette::Window).color();
}

} // namespace

QColor statusRed = Qt::red;
QColor statusGreen = Qt::green;
QColor statusBlue = Qt::blue;
QColor statusYellow = Qt::yellow;

void initStatusColours()
{
    statusRed = Qt::red;
    statusGreen = Qt::green;
    statusBlue = Qt::blue;
    statusYellow = Qt::yellow;
}

void paletteColour()
{
    const QColor window = windowColour();
    statusRed = adjustLightness(window, kHueRed, kStatusSaturation);
    statusGreen = adjustLightness(window, kHueGreen, kStatusSaturation);
    statusBlue = adjustLightness(window, kHueBlue, kStatusSaturation);
    statusYellow = adjustLightness(window, kHueYellow, kStatusSaturation);
}

QColor adjustLightness(const QColor& colour, int hue, int saturation)
{
    return QColor::fromHsl(std::clamp(hue, 0, 359), std::clamp(saturation, 0, 255),
                           colour.lightness(), colour.alpha());
}

QColor colourComponents(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2,
                  (a.alpha() + b.alpha()) / 2);
}

QString colourSchemeName()
{
    return windowColour().lightness() < kDarkBelow ? QStringLiteral("Dark")
                                                   : QStringLiteral("Light");
}
