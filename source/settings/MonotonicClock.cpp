#include "settings/MonotonicClock.h"

#include <QElapsedTimer>

qint64 monotonicMs()
{
    static const QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer.elapsed();
}
