// Scheduling of the board threads: switched off by the test programs'
// environment, and what it reports is what the system gave the thread.
#include "board/ThreadScheduling.h"

#include <QTest>
#include <QThread>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;

struct Outcome
{
    ThreadScheduling::Result result = ThreadScheduling::Result::Unchanged;
    int policy = -1;
    int priority = -1;
    int nice = 0;
};

// Runs the raise in a thread of its own, so the test thread keeps its
// scheduling, and reads back what the thread then has.
Outcome raiseInThread()
{
    Outcome outcome;
    std::unique_ptr<QThread> thread(QThread::create([&outcome] {
        outcome.result = ThreadScheduling::raiseCurrentThread("test: ");
        sched_param param{};
        pthread_getschedparam(pthread_self(), &outcome.policy, &param);
        outcome.priority = param.sched_priority;
        outcome.nice = getpriority(PRIO_PROCESS, id_t(gettid()));
    }));
    thread->start();
    thread->wait(kWaitMs);
    return outcome;
}

} // namespace

class TestThreadScheduling : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void switchValues_data();
    void switchValues();
    void switchedOffLeavesTheThreadAlone();
    void reportIsWhatTheThreadGot();

private:
    const QByteArray saved = qgetenv(ThreadScheduling::kSwitch);
};

void TestThreadScheduling::cleanup()
{
    qputenv(ThreadScheduling::kSwitch, saved);
}

void TestThreadScheduling::switchValues_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("off");
    QTest::newRow("unset") << QByteArray() << false;
    QTest::newRow("0 leaves it on") << QByteArray("0") << false;
    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("any other word") << QByteArray("yes") << true;
}

void TestThreadScheduling::switchValues()
{
    QFETCH(QByteArray, value);
    if (value.isEmpty())
        qunsetenv(ThreadScheduling::kSwitch);
    else
        qputenv(ThreadScheduling::kSwitch, value);
    QTEST(ThreadScheduling::switchedOff(), "off");
}

void TestThreadScheduling::switchedOffLeavesTheThreadAlone()
{
    qputenv(ThreadScheduling::kSwitch, "1");
    QTest::ignoreMessage(QtDebugMsg, "test: real-time scheduling off (QUORVIN_NO_REALTIME)");
    const Outcome outcome = raiseInThread();
    QCOMPARE(outcome.result, ThreadScheduling::Result::Unchanged);
    QCOMPARE(outcome.policy, SCHED_OTHER);
    QCOMPARE(outcome.nice, getpriority(PRIO_PROCESS, id_t(gettid())));
}

// As root the thread runs first-in-first-out at the low real-time priority;
// without the right only its nice value may improve.
void TestThreadScheduling::reportIsWhatTheThreadGot()
{
    qunsetenv(ThreadScheduling::kSwitch);
    const int niceBefore = getpriority(PRIO_PROCESS, id_t(gettid()));
    const Outcome outcome = raiseInThread();
    switch (outcome.result) {
    case ThreadScheduling::Result::Realtime:
        QCOMPARE(outcome.policy, SCHED_FIFO);
        QVERIFY(outcome.priority >= 1);
        QVERIFY(outcome.priority <= ThreadScheduling::kRealtimePriority);
        break;
    case ThreadScheduling::Result::Raised:
        QCOMPARE(outcome.policy, SCHED_OTHER);
        QVERIFY(outcome.nice < niceBefore);
        break;
    case ThreadScheduling::Result::Unchanged:
        QCOMPARE(outcome.policy, SCHED_OTHER);
        QCOMPARE(outcome.nice, niceBefore);
        break;
    }
}

QTEST_GUILESS_MAIN(TestThreadScheduling)
#include "tst_threadscheduling.moc"
