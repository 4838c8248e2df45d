#include "settings/ChannelConfig.h"

#include <algorithm>
#include <array>

double ChannelConfig::defaultFrequency(int channel)
{
    // Channels 49, 53, ... 69 of the third board get a plan of their own.
    constexpr std::array<int, 6> kThirdBoardFreqs{889, 910, 957, 978, 1025, 1046};
    if (channel >= 49 && channel <= 69 && (channel - 49) % 4 == 0)
        return kThirdBoardFreqs[(channel - 49) / 4] * 0.1;

    constexpr std::array<int, 8> kAdjust{0, -2, -1, 2, 3, 1, 0, 1};
    const int n = std::max(channel - 1, 0);
    const int board = n / 24;
    const int slot = n % 24;
    const int tenths = std::min(875 + 3 * board + (slot * 85) / 10 + kAdjust[n % 8], 1080);
    return tenths * 0.1;
}
