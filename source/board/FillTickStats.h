#pragma once

#include <QMutex>
#include <QtGlobal>

#include <array>

// What one board thread has streamed: bytes and datagrams written, the
// largest byte count of one fill tick, the spacing of the fill ticks, and the
// PCM underruns and overflows the board reported (slots flagged per reply). Written by the board
// thread, read by anyone (the benchmark, the tests) through snapshot().
class FillTickStats
{
public:
    static constexpr int kBucketMicros = 10;
    static constexpr int kBuckets = 5000; // up to 50 ms apart, the rest in the last

    struct Snapshot
    {
        qint64 ticks = 0;
        qint64 bytes = 0;
        qint64 datagrams = 0;
        int maxTickBytes = 0;
        qint64 pcmUnderruns = 0;
        qint64 pcmOverflows = 0;
        qint64 statusReplies = 0;
        // Spacing of successive fill ticks, microseconds.
        double p50Micros = 0.0;
        double p99Micros = 0.0;
        double maxMicros = 0.0;
    };

    void addTick(qint64 intervalMicros, int bytes, int datagrams);
    void addStatus(int underrunSlots, int overflowSlots);
    void reset();
    Snapshot snapshot() const;

private:
    double quantile(double share) const;

    mutable QMutex mutex;
    qint64 ticks = 0;
    qint64 intervals = 0;
    qint64 bytes = 0;
    qint64 datagrams = 0;
    int maxTickBytes = 0;
    qint64 pcmUnderruns = 0;
    qint64 pcmOverflows = 0;
    qint64 statusReplies = 0;
    qint64 maxInterval = 0;
    std::array<qint64, kBuckets> histogram{};
};
