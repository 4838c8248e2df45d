#include "channels/TabFlag.h"

#include "channels/Spectrum.h"

#include <QMouseEvent>

TabFlag::TabFlag(QWidget* parent) : QLabel(parent), display(new Spectrum(this))
{
    setObjectName(QStringLiteral("tabFlag"));
    display->hide();
    showState();
}

void TabFlag::setOnAir(bool on)
{
    air = on;
    showState();
}

void TabFlag::setBand(int band, int attenuation)
{
    shownBand = band;
    shownAttenuation = attenuation;
    showState();
}

void TabFlag::mousePressEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier)
        emit clickOnAir();
    else
        emit clickBand();
}

void TabFlag::showState()
{
    static const char* const kBands[] = {"EU", "JP", "BR"};
    const QString band =
        shownBand >= 0 && shownBand < 3 ? QString::fromLatin1(kBands[shownBand]) : QString();
    setText(QStringLiteral(" %1 %2 dB %3 ")
                .arg(band)
                .arg(shownAttenuation)
                .arg(air ? tr("Sendung") : tr("aus")));
}
