#include "board/TestTone.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

int clampFrequency(int f)
{
    return std::clamp(f, TestTone::kMinFrequency, TestTone::kMaxFrequency);
}

int clampVolume(int v)
{
    return std::clamp(v, 0, TestTone::kMaxVolume);
}

} // namespace

qint16 TestTone::sample(double y)
{
    const double rounded = std::trunc(y + (y < 0 ? -0.5 : 0.5));
    return qint16(std::clamp(rounded, double(std::numeric_limits<qint16>::min()),
                             double(std::numeric_limits<qint16>::max())));
}

double TestTone::value(double phase, int volume)
{
    return std::sin(phase) * volume * kPercentScale - 0.5;
}

void TestTone::sine(qint16* out, qint64 firstFrame, int frames, int rate, int f1, int v1, int f2,
                    int v2)
{
    const double step1 = 2.0 * std::numbers::pi * clampFrequency(f1) / rate;
    const double step2 = 2.0 * std::numbers::pi * clampFrequency(f2) / rate;
    v1 = clampVolume(v1);
    v2 = clampVolume(v2);
    for (int i = 0; i < frames; ++i) {
        const double t = double(firstFrame + i);
        out[2 * i] = sample(value(step1 * t, v1));
        out[2 * i + 1] = sample(value(step2 * t, v2));
    }
}

void TestTone::sweep(qint16* out, qint64 firstFrame, int frames, int rate, int seconds, int fStart,
                     int fEnd, int vStart, int vEnd)
{
    const qint64 period = qint64(std::clamp(seconds, kMinSweepSeconds, kMaxSweepSeconds)) * rate;
    fStart = clampFrequency(fStart);
    fEnd = clampFrequency(fEnd);
    vStart = clampVolume(vStart);
    vEnd = clampVolume(vEnd);
    const qint64 base = firstFrame % period;
    for (int i = 0; i < frames; ++i) {
        const qint64 u = base + i;
        const double x = double(u % period) / double(period);
        const double f = fStart + (fEnd - fStart) * x;
        const double v = vStart + (vEnd - vStart) * x;
        const qint16 s = sample(
            std::sin(double(u) * f * 2.0 * std::numbers::pi / rate) * v * kPercentScale - 0.5);
        out[2 * i] = s;
        out[2 * i + 1] = s;
    }
}
