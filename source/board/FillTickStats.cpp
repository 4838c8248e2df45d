#include "board/FillTickStats.h"

#include <QMutexLocker>

#include <algorithm>

void FillTickStats::addTick(qint64 intervalMicros, int tickBytes, int tickDatagrams)
{
    QMutexLocker locker(&mutex);
    ++ticks;
    bytes += tickBytes;
    datagrams += tickDatagrams;
    maxTickBytes = std::max(maxTickBytes, tickBytes);
    if (intervalMicros < 0)
        return;
    ++intervals;
    maxInterval = std::max(maxInterval, intervalMicros);
    const qint64 bucket = std::min<qint64>(intervalMicros / kBucketMicros, kBuckets - 1);
    ++histogram[bucket];
}

void FillTickStats::addStatus(int underrunSlots, int overflowSlots)
{
    QMutexLocker locker(&mutex);
    ++statusReplies;
    pcmUnderruns += underrunSlots;
    pcmOverflows += overflowSlots;
}

void FillTickStats::reset()
{
    QMutexLocker locker(&mutex);
    ticks = intervals = bytes = datagrams = pcmUnderruns = pcmOverflows = statusReplies =
        maxInterval = 0;
    maxTickBytes = 0;
    histogram.fill(0);
}

double FillTickStats::quantile(double share) const
{
    if (intervals == 0)
        return 0.0;
    const qint64 wanted = std::max<qint64>(1, qint64(share * intervals + 0.5));
    qint64 seen = 0;
    for (int bucket = 0; bucket < kBuckets; ++bucket) {
        seen += histogram[bucket];
        if (seen >= wanted)
            return (bucket + 0.5) * kBucketMicros;
    }
    return double(maxInterval);
}

FillTickStats::Snapshot FillTickStats::snapshot() const
{
    QMutexLocker locker(&mutex);
    Snapshot s;
    s.ticks = ticks;
    s.bytes = bytes;
    s.datagrams = datagrams;
    s.maxTickBytes = maxTickBytes;
    s.pcmUnderruns = pcmUnderruns;
    s.pcmOverflows = pcmOverflows;
    s.statusReplies = statusReplies;
    s.p50Micros = quantile(0.5);
    s.p99Micros = quantile(0.99);
    s.maxMicros = double(maxInterval);
    return s;
}
