#pragma once

#include "board/BoardDatagram.h"
#include "settings/ChannelStatus.h"

// Turns one status entry into a channel's status: fill levels, flags and
// power as reported, and consumption rates smoothed over successive replies.
class StatusRates
{
public:
    // RDS runs at 1187.5 bit/s, about 74.2 words per second.
    static constexpr double kRdsNominalRate = 74.0;
    static constexpr double kRdsTolerance = 4.0;
    static constexpr double kPcmTolerance = 1024.0;
    // Power reading that corresponds to 0 dB.
    static constexpr double kPowerReference = 29967428.267;

    // seconds: time since the previous reply. With no time passed the rates
    // keep their values instead of dividing by zero.
    static void update(ChannelStatus& status, const StatusEntry& entry, double seconds,
                       int nominalPcmRate);
    static double powerDb(qint32 power);
};
