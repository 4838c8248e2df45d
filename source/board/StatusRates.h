#pragma once

#include "board/BoardDatagram.h"
#include "board/SlotFill.h"
#include "settings/ChannelStatus.h"

#include <optional>

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

    // What was played is what the board held at the previous request, plus
    // what was sent up to this one, minus what it holds now. Without an
    // interval, or with no time passed, the rates keep their values instead
    // of dividing by zero.
    static void update(ChannelStatus& status, const StatusEntry& entry,
                       const std::optional<SlotFill::Interval>& interval, int nominalPcmRate);
    static double powerDb(qint32 power);
};
