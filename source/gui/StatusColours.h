#pragma once

#include <QColor>

// Colours the pages paint status and warnings with. They start as the plain
// colours and follow the window palette once the main window exists, so a
// dark desktop gets dark status colours instead of glaring ones.
extern QColor statusRed;
extern QColor statusGreen;
extern QColor statusBlue;
extern QColor statusYellow;

// Back to the plain colours red, green, blue and yellow.
void initStatusColours();
// Recomputes the four status colours from the lightness and alpha of the
// application palette's window colour.
void paletteColour();
// The colour with the given hue (0..359) and saturation (0..255) but the
// lightness and alpha of colour.
QColor adjustLightness(const QColor& colour, int hue, int saturation);
// Component-wise mean of two colours (each sum halved, rounded toward zero).
QColor colourComponents(const QColor& a, const QColor& b);
// "Dark" or "Light" after the lightness of the palette's window colour.
QString colourSchemeName();
