#include "board/ThreadScheduling.h"

#include <QDebug>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#endif

bool ThreadScheduling::switchedOff()
{
    const QByteArray value = qgetenv(kSwitch);
    return !value.isEmpty() && value != "0";
}

#ifdef Q_OS_LINUX

namespace {

constexpr int kHighestNice = -20;

// 0 or the error of pthread_setschedparam.
int askRealtime(int priority)
{
    sched_param param{};
    param.sched_priority = priority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

// An unprivileged process may still hold a real-time allowance.
int allowedRealtimePriority()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0)
        return 0;
    return int(std::min<rlim_t>(limit.rlim_cur, ThreadScheduling::kRealtimePriority));
}

// On Linux the nice value belongs to the thread; the lowest one allowed wins.
int raiseNice()
{
    const pid_t thread = gettid();
    const int current = getpriority(PRIO_PROCESS, id_t(thread));
    for (int nice = kHighestNice; nice < current; ++nice) {
        if (setpriority(PRIO_PROCESS, id_t(thread), nice) == 0)
            return nice;
    }
    return current;
}

} // namespace

ThreadScheduling::Result ThreadScheduling::raiseCurrentThread(const char* logPrefix)
{
    if (switchedOff()) {
        qDebug("%sreal-time scheduling off (%s)", logPrefix, kSwitch);
        return Result::Unchanged;
    }
    int error = askRealtime(kRealtimePriority);
    const int allowed = allowedRealtimePriority();
    if (error != 0 && allowed > 0 && askRealtime(allowed) == 0)
        error = 0;
    if (error == 0)
        return Result::Realtime;
    const int before = getpriority(PRIO_PROCESS, id_t(gettid()));
    const int nice = raiseNice();
    qDebug("%sno real-time scheduling (%s), nice %d", logPrefix, std::strerror(error), nice);
    return nice < before ? Result::Raised : Result::Unchanged;
}

#else

// Elsewhere the thread keeps the time-critical priority it was started with.
ThreadScheduling::Result ThreadScheduling::raiseCurrentThread(const char*)
{
    return Result::Unchanged;
}

#endif
