#pragma once

#include <QtGlobal>

// A small 15-bit pseudo-random generator (the classic C library recurrence),
// so that error injection behaves the same on every platform and each
// encoder has a sequence of its own.
class RdsRandom
{
public:
    static constexpr int kMax = 32767;

    explicit RdsRandom(quint32 seed = 1) : state(seed) {}

    void seed(quint32 value) { state = value; }
    // 0..32767
    int next()
    {
        state = state * 1103515245u + 12345u;
        return int((state / 65536u) % 32768u);
    }
    // 0..bound-1 for bound > 0
    int below(int bound) { return int(qint64(next()) * bound / (kMax + 1)); }

private:
    quint32 state;
};
