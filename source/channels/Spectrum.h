#pragma once

#include "settings/ChannelConfig.h"

#include <QWidget>

// Band display, for now a placeholder: the painted occupancy and
// intermodulation display comes with the channel page.
class Spectrum : public QWidget
{
    Q_OBJECT
public:
    explicit Spectrum(QWidget* parent = nullptr);

    int channelCount() const { return channels; }
    void setChannelCount(int count);
    void setChannel(const ChannelConfig& config);

private:
    int channels = 0;
};
