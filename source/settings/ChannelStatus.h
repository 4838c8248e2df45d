#pragma once

#include <QMetaType>
#include <QtGlobal>

// What a board last reported about one of its channels, plus the consumption
// rates the board thread derives from successive reports.
struct ChannelStatus
{
    // Set by the program, not by the board: the measured rate is off nominal.
    static constexpr quint16 kPcmRateOff = 0x0100;
    static constexpr quint16 kRdsRateOff = 0x0200;

    quint16 pcmFill = 0; // frames in the board's PCM buffer
    quint16 rdsFill = 0; // 16-bit words in the board's RDS buffer
    quint16 flags = 0;
    double power = 0.0;   // multiplex power, dB
    double pcmRate = 0.0; // frames per second, smoothed
    double rdsRate = 0.0; // 16-bit words per second, smoothed

    bool operator==(const ChannelStatus& other) const = default;
};

Q_DECLARE_METATYPE(ChannelStatus)
