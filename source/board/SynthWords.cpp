#include "board/SynthWords.h"

namespace {

// KXWB: the VCO runs at LO plus the first IF; the reference is 26 MHz.
constexpr double kKxwbOffsetMHz = 1219.5;
constexpr quint32 kKxwbReferenceMHz = 26;
constexpr quint32 kKxwbFractionStep = 165191050; // 2^32 / 26, rounded
constexpr quint32 kKxwbLowBandLimit = 1556;
constexpr quint32 kKxwbMidBandLimit = 1972;

// kXWB: the VCO is doubled until it reaches its lowest working frequency.
constexpr double kLowerOffsetMHz = 1218.0;
constexpr double kLowerVcoMinMHz = 2700.0;
constexpr quint64 kLowerPrescalerLimit = 2050;
constexpr quint64 kLowerDividerLimit = 4101;

} // namespace

SynthWords::Words SynthWords::kxwb(double loMHz)
{
    const quint32 n = quint32(loMHz + kKxwbOffsetMHz);
    const quint32 fraction = (n % kKxwbReferenceMHz) * kKxwbFractionStep;
    Words words{};
    words[0] = n < kKxwbLowBandLimit ? 45119 : n < kKxwbMidBandLimit ? 28735 : 12351;
    words[1] = quint16(fraction >> 16);
    words[2] = quint16((((fraction >> 8) & 0xFF) << 8) | 0x7E);
    words[3] = quint16(((n / kKxwbReferenceMHz) << 7) | 2);
    return words;
}

SynthWords::Words SynthWords::kxwbLower(double loMHz, unsigned osciMHz)
{
    const quint64 ref = osciMHz != 0 ? osciMHz : kDefaultOsciMHz;
    double vco = loMHz + kLowerOffsetMHz;
    quint64 doublings = 0;
    // A non-positive start would never reach the limit.
    while (vco < kLowerVcoMinMHz && vco > 0.0) {
        vco *= 2.0;
        doublings += 16;
    }
    const quint64 n = vco > 0.0 ? quint64(vco) : 0;

    Words words{};
    const quint64 s = n >= kLowerPrescalerLimit + 1 ? 1 : 0;
    quint64 q = (n / ref) >> s;
    quint64 r = ((n - (q << s) * ref) << (s ? 23 : 24)) / ref;
    words[4] = quint16(((s ? 4 : 0) | doublings) + (q << 7));
    words[5] = quint16(r >> 8);
    words[6] = quint16((r << 8) & 0xFFFF);

    quint64 k = 0;
    if (n > kLowerPrescalerLimit) {
        k = 1;
        while ((n >> (k - 1)) > kLowerDividerLimit)
            ++k;
    }
    q = (n / ref) >> k;
    r = ((n - (q << k) * ref) << (24 - k)) / ref;
    words[0] = n < kLowerDividerLimit ? 48890 : 48891;
    words[1] = quint16(doublings + 4 * k + (q << 7));
    words[2] = quint16(r >> 8);
    words[3] = quint16((r << 8) & 0xFFFF);
    return words;
}
