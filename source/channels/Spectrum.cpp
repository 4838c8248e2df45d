#include "channels/Spectrum.h"

Spectrum::Spectrum(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("spectrum"));
}

void Spectrum::setChannelCount(int count)
{
    channels = count;
}

void Spectrum::setChannel(const ChannelConfig&) {}
