#pragma once

// Scheduling of a board thread. Its 1 ms fill tick must keep time while
// every core is busy, which an ordinary thread under the default scheduler
// cannot: it sleeps 20 to 50 ms whenever the scheduler gives its core away.
class ThreadScheduling
{
public:
    // Low among the real-time priorities: above every ordinary thread,
    // below the kernel's own real-time work (interrupt threads run at 50).
    static constexpr int kRealtimePriority = 10;
    // Set (to anything but 0) in test programs: a fault of a board thread
    // must never freeze a CI machine that runs the tests as root.
    static constexpr const char* kSwitch = "QUORVIN_NO_REALTIME";

    enum class Result
    {
        Realtime,  // first-in-first-out real-time scheduling
        Raised,    // ordinary scheduling at a better nice value
        Unchanged, // refused, or switched off
    };

    // For the calling thread: asks for real-time scheduling; where the
    // system refuses, logs one line and raises the thread's priority as far
    // as it allows. logPrefix starts the log line ("mo0: ").
    static Result raiseCurrentThread(const char* logPrefix);
    static bool switchedOff();
};
