#pragma once

#include <QtGlobal>

// The test signals a channel plays instead of files: a steady sine per
// channel side, or a sweep between two frequencies and two volumes. Frames
// are counted from the start of the signal so that successive datagrams
// join without a jump. Out-of-range settings are clamped to what the
// settings allow, so no setting can divide by zero or overflow a sample.
class TestTone
{
public:
    static constexpr int kMinFrequency = 10;
    static constexpr int kMaxFrequency = 22000;
    static constexpr int kMaxVolume = 100;
    static constexpr int kMinSweepSeconds = 1;
    static constexpr int kMaxSweepSeconds = 60;
    // 1 % of full scale
    static constexpr double kPercentScale = 327.67;

    // y rounded half away from zero, after the -0.5 offset the signal carries.
    static qint16 sample(double y);

    // Interleaved stereo: left f1 at v1 %, right f2 at v2 %.
    static void sine(qint16* out, qint64 firstFrame, int frames, int rate, int f1, int v1, int f2,
                     int v2);
    // Both sides equal; frequency and volume move linearly over the period.
    static void sweep(qint16* out, qint64 firstFrame, int frames, int rate, int seconds, int fStart,
                      int fEnd, int vStart, int vEnd);

private:
    static double value(double phase, int volume);
};
