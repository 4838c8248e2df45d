#include "board/StatusRates.h"

#include <cmath>

namespace {

// The board's fill counters are 16 bits and wrap.
double drained(int before, quint16 after)
{
    return double(quint16(before - after));
}

double smoothed(double previous, double measured)
{
    return (3.0 * previous + measured) / 4.0;
}

} // namespace

double StatusRates::powerDb(qint32 power)
{
    // A power reading is a whole number, so nothing lies between 0 and 1;
    // silence and bad readings show as the lowest level instead of -inf/NaN.
    const double p = power < 1 ? 1.0 : double(power);
    return 10.0 * std::log10(p / kPowerReference);
}

void StatusRates::update(ChannelStatus& status, const StatusEntry& entry,
                         const std::optional<SlotFill::Interval>& interval, int nominalPcmRate)
{
    status.pcmFill = entry.pcmFill;
    status.rdsFill = entry.rdsFill;
    status.flags = entry.flags;
    status.power = powerDb(entry.power);
    if (interval && interval->seconds > 0.0 && std::isfinite(interval->seconds)) {
        const double seconds = interval->seconds;
        status.pcmRate =
            smoothed(status.pcmRate, drained(interval->pcmHeld, entry.pcmFill) / seconds);
        status.rdsRate =
            smoothed(status.rdsRate, drained(interval->rdsHeld, entry.rdsFill) / seconds);
    }
    if (std::abs(status.pcmRate - nominalPcmRate) > kPcmTolerance)
        status.flags |= ChannelStatus::kPcmRateOff;
    if (std::abs(status.rdsRate - kRdsNominalRate) > kRdsTolerance)
        status.flags |= ChannelStatus::kRdsRateOff;
}
