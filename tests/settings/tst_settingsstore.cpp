// Key forms, notifications across threads, subscriptions and publications
// of the ini-backed key store.
#include "KeyRecorder.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void normalizeKey_data();
    void normalizeKey();
    void caseAndSlashFormsAddressOneKey();
    void twoPartKeysAreNotWritten();
    void unchangedValuePostsNothing();
    void changeReachesEachSubscriberOnceInItsThread_data();
    void changeReachesEachSubscriberOnceInItsThread();
    void listenerHearsABurstInOneWake_data();
    void listenerHearsABurstInOneWake();
    void heldWakeOfAGoneListenerIsDropped();
    void passesWithinAMillisecondShareOneWake();
    void droppedNotificationsDoNotStopTheNext();
    void publicationReachesWildAndAncestorPatterns();
    void showingReceiverGetsTheNewestStateValue_data();
    void showingReceiverGetsTheNewestStateValue();
    void runTimeValuesKeepTheOrderOfTheirFirstPublication();
    void receiverLeavingDuringADeliveryHearsNoMore_data();
    void receiverLeavingDuringADeliveryHearsNoMore();
    void pacedRunTimeValuesComeOncePerInterval();
    void receiverSkippingStreamedValuesHearsTheRest_data();
    void receiverSkippingStreamedValuesHearsTheRest();
    void wildPatternTakesOnePartOfEveryChannel();
    void patternCommandReachesItsFamilyInTableOrder();
    void storedChangeSkipsWildPatterns();
    void removeWithNotifyPostsNull();
    void subscriptionPatterns();
    void publicationFollowsSubscriptionChanges_data();
    void publicationFollowsSubscriptionChanges();
    void destroyedReceiverIsForgotten();
    void valuesReadBackFromFileCompareEqual();
    void changesReachTheFileWithoutAnExplicitSync();
    void writeNowPutsTheStoreOnDisk_data();
    void writeNowPutsTheStoreOnDisk();
    void writeNowReportsAFileThatCannotBeWritten();
    void writeNowWhileAnotherThreadWrites();

private:
    void settle() { QCoreApplication::sendPostedEvents(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Settings> store;
};

void TestSettingsStore::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = std::make_unique<Settings>(dir->filePath(QStringLiteral("default.fm")));
}

void TestSettingsStore::cleanup()
{
    store.reset();
    dir.reset();
}

void TestSettingsStore::normalizeKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::newRow("dotted") << "channel.1.freq"
                            << "channel.1/freq";
    QTest::newRow("slashes and capitals") << "Channel/1/FREQ"
                                          << "channel.1/freq";
    QTest::newRow("mixed") << "channel/1.freq"
                           << "channel.1/freq";
    QTest::newRow("two parts stay dotted") << "board.band"
                                           << "board.band";
    QTest::newRow("run-time key") << "chstatus.3"
                                  << "chstatus.3";
    QTest::newRow("numeric first part takes a slash") << "3.x"
                                                      << "3/x";
    QTest::newRow("zero first part stays dotted") << "0.x"
                                                  << "0.x";
    QTest::newRow("deep list key") << "rds.1.eon.2.af"
                                   << "rds.1/eon/2/af";
    QTest::newRow("single word") << "RDS"
                                 << "rds";
    QTest::newRow("stored form stays") << "chinfo.3/playpos"
                                       << "chinfo.3/playpos";
    QTest::newRow("stored form with a capital") << "chinfo.3/Playpos"
                                                << "chinfo.3/playpos";
    QTest::newRow("slash first") << "chinfo/3/playpos"
                                 << "chinfo.3/playpos";
    QTest::newRow("numeric first part with a dot") << "3.x"
                                                   << "3/x";
    QTest::newRow("negative first part") << "-1.x"
                                         << "-1/x";
    QTest::newRow("numeric first part of three") << "3.x.y"
                                                 << "3.x/y";
    QTest::newRow("non-ASCII capital") << "rds.1/\u00c4"
                                       << "rds.1/\u00e4";
}

void TestSettingsStore::normalizeKey()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QCOMPARE(Settings::normalizeKey(key), stored);
    // A stored key is its own form.
    QCOMPARE(Settings::normalizeKey(stored), stored);
}

void TestSettingsStore::caseAndSlashFormsAddressOneKey()
{
    QVERIFY(store->setValue(QStringLiteral("Channel/1/FREQ"), 95.8));
    QCOMPARE(store->value(QStringLiteral("channel.1.freq")).toDouble(), 95.8);
    QVERIFY(store->contains(QStringLiteral("CHANNEL.1/freq")));
    QCOMPARE(store->rawValue(QStringLiteral("channel.1/freq")).toDouble(), 95.8);
    QVERIFY(store->isDirty());
}

void TestSettingsStore::twoPartKeysAreNotWritten()
{
    QVERIFY(!store->setValue(QStringLiteral("board.band"), 1));
    QVERIFY(!store->contains(QStringLiteral("board.band")));
    QVERIFY(!store->isDirty());
}

void TestSettingsStore::unchangedValuePostsNothing()
{
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("*"), &recorder);
    QVERIFY(store->setValue(QStringLiteral("channel.1.gain"), -3, false));
    Settings second(dir->filePath(QStringLiteral("other.fm")));
    QVERIFY(!second.setValue(QStringLiteral("channel.1.gain"), QVariant(), true));
    QVERIFY(!second.isDirty());

    QVERIFY(!store->setValue(QStringLiteral("channel.1.gain"), -3));
    settle();
    QVERIFY(recorder.keys().isEmpty());
    store->unsubscribeAll(&recorder);
}

void TestSettingsStore::changeReachesEachSubscriberOnceInItsThread_data()
{
    QTest::addColumn<bool>("pages");
    QTest::newRow("listeners") << false;
    // Pages take their values gathered per pass; one in another thread
    // still hears them there.
    QTest::newRow("pages") << true;
}

void TestSettingsStore::changeReachesEachSubscriberOnceInItsThread()
{
    QFETCH(bool, pages);
    QThread worker;
    worker.start();
    auto* remote = new KeyRecorder;
    remote->moveToThread(&worker);
    KeyRecorder local;
    KeyRecorder sender;

    for (const char* pattern : {"*", "channel.1", "channel", "channel.1.freq"}) {
        QVERIFY(store->subscribe(QLatin1String(pattern), remote));
        QVERIFY(store->subscribe(QLatin1String(pattern), &local));
        QVERIFY(store->subscribe(QLatin1String(pattern), &sender));
    }
    if (pages) {
        for (QObject* receiver : {static_cast<QObject*>(remote), static_cast<QObject*>(&local),
                                  static_cast<QObject*>(&sender)})
            store->takeLatestStateValues(receiver);
    }
    QVERIFY(store->setValue(QStringLiteral("channel.1.freq"), 99.1, true, &sender));
    settle();
    QTRY_COMPARE_WITH_TIMEOUT(remote->keys(), QStringList{QStringLiteral("channel.1/freq")}, 30000);
    QCOMPARE(local.keys(), QStringList{QStringLiteral("channel.1/freq")});
    QCOMPARE(local.values().value(0).toDouble(), 99.1);
    QCOMPARE(remote->threads().value(0), &worker);
    QCOMPARE(local.threads().value(0), QThread::currentThread());
    QVERIFY(sender.keys().isEmpty());

    store->unsubscribeAll(remote);
    QMetaObject::invokeMethod(remote, &QObject::deleteLater);
    worker.quit();
    worker.wait();
    store->unsubscribeAll(&local);
    store->unsubscribeAll(&sender);
}

namespace {

// Counts the notification events that reach the object it watches.
class WakeCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == SetValue::kType)
            ++wakes;
        return false;
    }
    std::atomic_int wakes{0};
};

} // namespace

void TestSettingsStore::listenerHearsABurstInOneWake_data()
{
    QTest::addColumn<bool>("otherThread");
    QTest::addColumn<bool>("running");
    QTest::newRow("a remote client in the store's thread") << false << false;
    QTest::newRow("a programme in a board thread") << true << false;
    // The programme's thread waits for nothing: the store holds its wake
    // back until the pass in which the burst came ends.
    QTest::newRow("a programme in a running board thread, beside a page") << true << true;
}

// A listener outside the pages' batches (a remote client, a board thread's
// programme) hears every value of a burst, in order, and is woken once for
// all those that came before its thread got to them.
void TestSettingsStore::listenerHearsABurstInOneWake()
{
    QFETCH(bool, otherThread);
    QFETCH(bool, running);
    KeyRecorder page;
    if (running) {
        QVERIFY(store->subscribe(QStringLiteral("channel.1"), &page));
        store->takeLatestStateValues(&page);
    }
    QThread worker;
    auto* listener = new KeyRecorder;
    auto* counter = new WakeCounter;
    // Also after a failed check: the listener goes away in its own thread,
    // which deletes it as it finishes.
    const auto cleanUp = qScopeGuard([&] {
        store->unsubscribeAll(listener);
        store->unsubscribeAll(&page);
        listener->deleteLater();
        counter->deleteLater();
        if (!otherThread) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return;
        }
        worker.start();
        worker.quit();
        worker.wait();
    });
    if (otherThread) {
        listener->moveToThread(&worker);
        counter->moveToThread(&worker);
    }
    listener->installEventFilter(counter);
    QVERIFY(store->subscribe(QStringLiteral("channel.1"), listener));
    if (running)
        worker.start();

    constexpr int kBurst = 1000;
    QStringList keys;
    QVariantList values;
    for (int n = 1; n <= kBurst; ++n) {
        QVERIFY(store->setValue(QStringLiteral("channel.1.gain"), -(n % 60)));
        store->publish(QStringLiteral("channel.1.rds"), n);
        keys << QStringLiteral("channel.1/gain") << QStringLiteral("channel.1/rds");
        values << -(n % 60) << n;
    }
    // Else the worker's loop starts only now: everything waits for it.
    if (otherThread && !running)
        worker.start();
    settle();
    QTRY_COMPARE_WITH_TIMEOUT(listener->count(), 2 * kBurst, 30000);
    QCOMPARE(listener->keys(), keys);
    QCOMPARE(listener->values(), values);
    QCOMPARE(counter->wakes.load(), 1);

    // The page shows the newest gain and text.
    QCOMPARE(page.count(), running ? 2 : 0);
}

// A programme that goes away while the wake for its values is held back is
// not posted to when the pass ends.
void TestSettingsStore::heldWakeOfAGoneListenerIsDropped()
{
    KeyRecorder page;
    QVERIFY(store->subscribe(QStringLiteral("channel"), &page));
    store->takeLatestStateValues(&page);
    QThread worker;
    auto* listener = new KeyRecorder;
    listener->moveToThread(&worker);
    QVERIFY(store->subscribe(QStringLiteral("channel"), listener));
    store->publish(QStringLiteral("channel.1.rds"), 1);
    // Its thread never ran: it may go away here.
    delete listener;
    // Posting to it now would be a use after free under the sanitizers.
    settle();
    QCOMPARE(page.count(), 1);
    store->unsubscribeAll(&page);
}

// A client whose lines come one per pass (it waits for each reply) wakes a
// board thread's programme no more than once a millisecond: what the passes
// within one set joins a single wake, every value in order.
void TestSettingsStore::passesWithinAMillisecondShareOneWake()
{
    // The clock stands still: every pass after the first is within the
    // millisecond of the first wake.
    store->setRunTimeInterval(0, [] { return qint64(0); });
    QThread worker;
    auto* listener = new KeyRecorder;
    auto* counter = new WakeCounter;
    const auto cleanUp = qScopeGuard([&] {
        store->unsubscribeAll(listener);
        listener->deleteLater();
        counter->deleteLater();
        worker.quit();
        worker.wait();
    });
    listener->moveToThread(&worker);
    counter->moveToThread(&worker);
    listener->installEventFilter(counter);
    QVERIFY(store->subscribe(QStringLiteral("channel.1"), listener));
    worker.start();

    QVERIFY(store->setValue(QStringLiteral("channel.1.gain"), -1));
    settle();
    QTRY_COMPARE_WITH_TIMEOUT(listener->count(), 1, 30000);
    for (int n = 2; n <= 4; ++n) {
        QVERIFY(store->setValue(QStringLiteral("channel.1.gain"), -n));
        settle();
    }
    // Held back until the millisecond is over.
    QCOMPARE(listener->count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(listener->count(), 4, 30000);
    QCOMPARE(listener->values(), (QVariantList{-1, -2, -3, -4}));
    QCOMPARE(counter->wakes.load(), 2);
}

// A listener may drop the notifications still on their way to it (a strip
// taking another project does): later values reach it again.
void TestSettingsStore::droppedNotificationsDoNotStopTheNext()
{
    KeyRecorder client;
    QVERIFY(store->subscribe(QStringLiteral("channel"), &client));
    store->publish(QStringLiteral("channel.1.rds"), 1);
    QCoreApplication::removePostedEvents(&client, SetValue::kType);
    settle();
    QCOMPARE(client.count(), 0);
    store->publish(QStringLiteral("channel.1.rds"), 2);
    store->publish(QStringLiteral("channel.1.rds"), 3);
    settle();
    QCOMPARE(client.values(), (QVariantList{2, 3}));
    store->unsubscribeAll(&client);
}

void TestSettingsStore::publicationReachesWildAndAncestorPatterns()
{
    struct Listener
    {
        const char* pattern;
        bool reached;
    };
    const Listener listeners[] = {
        {"channel.*.freq", true},
        {"channel.*", true},
        {"channel.12", true},
        {"channel", true},
        {"*", true},
        {"channel.12.freq", true},
        {"channel.13", false},
        {"channel.*.gain", false},
        {"rds", false},
    };
    std::vector<std::unique_ptr<KeyRecorder>> recorders;
    for (const Listener& listener : listeners) {
        recorders.push_back(std::make_unique<KeyRecorder>());
        QVERIFY(store->subscribe(QLatin1String(listener.pattern), recorders.back().get()));
    }
    store->publish(QStringLiteral("channel.12.freq"), 101.1);
    settle();
    for (size_t i = 0; i < recorders.size(); ++i) {
        const QStringList expected =
            listeners[i].reached ? QStringList{QStringLiteral("channel.12/freq")} : QStringList{};
        QCOMPARE(recorders[i]->keys(), expected);
        store->unsubscribeAll(recorders[i].get());
    }
    QVERIFY(!store->contains(QStringLiteral("channel.12.freq")));
    QVERIFY(!store->isDirty());
}

void TestSettingsStore::showingReceiverGetsTheNewestStateValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("newestOnly");
    QTest::newRow("play position") << "chinfo.1.playpos" << true;
    QTest::newRow("distance") << "chinfo.7.dist" << true;
    QTest::newRow("song playing") << "chinfo.96.playing" << true;
    QTest::newRow("play rate") << "chinfo.2.playrate" << true;
    QTest::newRow("channel status") << "chstatus.3" << true;
    QTest::newRow("song list") << "songinfo" << true;
    QTest::newRow("RDS log records: every one, in order") << "chinfo.1.rdslog.2" << false;
    QTest::newRow("RDS text of the strip") << "channel.1.rds" << true;
    QTest::newRow("stored key") << "channel.1.freq" << true;
}

// A page shows the newest of a value the boards publish a thousand times a
// second, or a remote client sets in a loop; one delivery per event-loop
// pass is all it needs. A listener that did not ask for this (a remote
// client's registrations) hears every one.
void TestSettingsStore::showingReceiverGetsTheNewestStateValue()
{
    QFETCH(QString, key);
    QFETCH(bool, newestOnly);
    KeyRecorder page;
    KeyRecorder everyValue;
    QVERIFY(store->subscribe(QStringLiteral("*"), &page));
    QVERIFY(store->subscribe(key, &everyValue));
    store->takeLatestStateValues(&page);

    constexpr int kBurst = 1000;
    QVariantList published;
    for (int n = 1; n <= kBurst; ++n) {
        store->publish(key, n);
        published.append(n);
    }
    settle();
    QCOMPARE(everyValue.values(), published);
    QCOMPARE(page.values(), newestOnly ? QVariantList{kBurst} : published);
    QCOMPARE(page.count(), page.count(Settings::normalizeKey(key)));

    // Once delivered, the next publication is delivered again.
    store->publish(key, kBurst + 1);
    settle();
    QCOMPARE(page.values().constLast(), QVariant(kBurst + 1));
    QCOMPARE(everyValue.count(), kBurst + 1);
    store->unsubscribeAll(&page);
    store->unsubscribeAll(&everyValue);
}

// A batch of run-time values reaches a page in the order each key was first
// published, each state key with its newest value where it first stood, and
// every RDS log record in its place.
void TestSettingsStore::runTimeValuesKeepTheOrderOfTheirFirstPublication()
{
    KeyRecorder page;
    QVERIFY(store->subscribe(QStringLiteral("chinfo"), &page));
    store->takeLatestStateValues(&page);
    store->publish(QStringLiteral("chinfo.1.playpos"), 1);
    store->publish(QStringLiteral("chinfo.1.rdslog.1"), QStringLiteral("a"));
    store->publish(QStringLiteral("chinfo.2.playpos"), 2);
    store->publish(QStringLiteral("chinfo.1.playpos"), 3);
    store->publish(QStringLiteral("chinfo.1.rdslog.1"), QStringLiteral("b"));
    settle();
    QCOMPARE(page.keys(), (QStringList{"chinfo.1/playpos", "chinfo.1/rdslog/1", "chinfo.2/playpos",
                                       "chinfo.1/rdslog/1"}));
    QCOMPARE(page.values(), (QVariantList{3, "a", 2, "b"}));
    store->unsubscribeAll(&page);
}

void TestSettingsStore::receiverLeavingDuringADeliveryHearsNoMore_data()
{
    QTest::addColumn<bool>("page");
    QTest::newRow("a page") << true;
    QTest::newRow("the event log") << false;
}

// A delivery hands a receiver all its values of the pass in one go; one
// that leaves on its first (a strip given another project does) hears none
// of the rest, and one destroyed by an earlier receiver is not touched.
void TestSettingsStore::receiverLeavingDuringADeliveryHearsNoMore()
{
    QFETCH(bool, page);
    class Leaving : public KeyRecorder
    {
    public:
        explicit Leaving(Settings& store) : store(store) {}
        void notify(SetValue* event) override
        {
            KeyRecorder::notify(event);
            store.unsubscribeAll(this);
            victim.reset();
        }
        Settings& store;
        std::unique_ptr<KeyRecorder> victim;
    };
    Leaving leaving(*store);
    leaving.victim = std::make_unique<KeyRecorder>();
    for (QObject* receiver : {static_cast<QObject*>(&leaving),
                              static_cast<QObject*>(leaving.victim.get())}) {
        QVERIFY(store->subscribe(QStringLiteral("channel.1"), receiver));
        if (page)
            store->takeLatestStateValues(receiver);
        else
            store->skipRunTimeValues(receiver);
    }
    QVERIFY(store->setValue(QStringLiteral("channel.1.gain"), -3));
    QVERIFY(store->setValue(QStringLiteral("channel.1.volm"), 40));
    // Destroying the second receiver while it waits would be a use after
    // free under the sanitizers.
    settle();
    QCOMPARE(leaving.keys(), QStringList{QStringLiteral("channel.1/gain")});
    QVERIFY(!leaving.victim);
}

// Paced, the values published within an interval of the last delivery wait
// for its end and then come to a page in one go, each key newest only (a
// remote client's SET loop as the boards' positions), records every one; a
// client that registered the key and the event log still hear every value
// at once. The clock is the test's own; only the interval's end is waited
// for.
void TestSettingsStore::pacedRunTimeValuesComeOncePerInterval()
{
    constexpr int kIntervalMs = 20;
    qint64 now = 5000;
    store->setRunTimeInterval(kIntervalMs, [&now] { return now; });
    KeyRecorder page;
    KeyRecorder client;
    KeyRecorder log;
    QVERIFY(store->subscribe(QStringLiteral("chinfo.1"), &page));
    QVERIFY(store->subscribe(QStringLiteral("channel.1"), &page));
    QVERIFY(store->subscribe(QStringLiteral("chinfo.1.playpos"), &client));
    QVERIFY(store->subscribe(QStringLiteral("channel.1"), &log));
    store->takeLatestStateValues(&page);
    store->skipRunTimeValues(&log);

    store->publish(QStringLiteral("chinfo.1.playpos"), 1);
    settle();
    QCOMPARE(page.values(), QVariantList{1});

    // Within the interval: nothing yet, however often the loop turns.
    for (int n = 2; n <= 100; ++n) {
        store->publish(QStringLiteral("chinfo.1.playpos"), n);
        QVERIFY(store->setValue(QStringLiteral("channel.1.volm"), n));
        if (n % 10 == 0)
            store->publish(QStringLiteral("chinfo.1.rdslog.1"), n);
        settle();
    }
    QCOMPARE(page.count(), 1);
    QCOMPARE(client.count(), 100);
    QCOMPARE(log.count(), 99);

    now += kIntervalMs;
    QTRY_COMPARE(page.count(), 1 + 2 + 10);
    QCOMPARE(page.keys().mid(1, 2), (QStringList{"chinfo.1/playpos", "channel.1/volm"}));
    QCOMPARE(page.values().mid(1, 2), (QVariantList{100, 100}));
    QCOMPARE(page.values().mid(3), (QVariantList{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));

    // After a quiet interval the next value comes at once.
    now += kIntervalMs;
    store->publish(QStringLiteral("chinfo.1.playpos"), 101);
    settle();
    QCOMPARE(page.values().constLast(), QVariant(101));
    store->unsubscribeAll(&page);
    store->unsubscribeAll(&client);
    store->unsubscribeAll(&log);
}

void TestSettingsStore::receiverSkippingStreamedValuesHearsTheRest_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("heard");
    QTest::newRow("play position") << "chinfo.1.playpos" << false;
    QTest::newRow("distance") << "chinfo.7.dist" << false;
    QTest::newRow("channel status") << "chstatus.3" << false;
    QTest::newRow("song list") << "songinfo" << false;
    QTest::newRow("RDS log record") << "chinfo.1.rdslog.2" << false;
    QTest::newRow("song playing") << "chinfo.96.playing" << true;
    QTest::newRow("play rate") << "chinfo.2.playrate" << true;
    QTest::newRow("stored key") << "channel.1.freq" << true;
}

// The event log shows no streamed value and the timeline needs them only
// until its first notification: nothing is queued for them. What they hear
// they hear each time, as the log and the recorder keep every change.
// Taking the newest values again brings the stream back.
void TestSettingsStore::receiverSkippingStreamedValuesHearsTheRest()
{
    QFETCH(QString, key);
    QFETCH(bool, heard);
    KeyRecorder log;
    QVERIFY(store->subscribe(QStringLiteral("*"), &log));
    store->skipRunTimeValues(&log);
    store->publish(key, 1);
    store->publish(key, 2);
    settle();
    QCOMPARE(log.values(), heard ? (QVariantList{1, 2}) : QVariantList());

    store->takeLatestStateValues(&log);
    store->publish(key, 3);
    settle();
    QCOMPARE(log.values().constLast(), QVariant(3));
    store->unsubscribeAll(&log);
}

// The spectrum listens to "chinfo.*/dist": every channel's distance, and
// none of the play positions and RDS records of the same channels.
void TestSettingsStore::wildPatternTakesOnePartOfEveryChannel()
{
    KeyRecorder spectrum;
    QVERIFY(store->subscribe(QStringLiteral("chinfo.*/dist"), &spectrum));
    store->takeLatestStateValues(&spectrum);
    for (int n = 1; n <= 3; ++n) {
        store->publish(QStringLiteral("chinfo.%1.playpos").arg(n), n);
        store->publish(QStringLiteral("chinfo.%1.rdslog.1").arg(n), QStringLiteral("x"));
        store->publish(QStringLiteral("chinfo.%1.dist").arg(n), QStringLiteral("0.%1").arg(n));
    }
    settle();
    QCOMPARE(spectrum.keys(), (QStringList{"chinfo.1/dist", "chinfo.2/dist", "chinfo.3/dist"}));
    store->unsubscribeAll(&spectrum);
}

// A command over several instances reaches "*" with the key as given, then
// the family's subscribers in the table's order (names sorted, the newest
// of equal names first), each once.
void TestSettingsStore::patternCommandReachesItsFamilyInTableOrder()
{
    QStringList order;
    class Named : public KeyRecorder
    {
    public:
        Named(QString name, QStringList& order) : name(std::move(name)), order(order) {}
        void notify(SetValue* event) override
        {
            KeyRecorder::notify(event);
            order.append(name + QLatin1Char(' ') + event->key);
        }
        QString name;
        QStringList& order;
    };
    const char* const patterns[] = {"rds.1",     "channel.3.freq", "channelx",
                                    "channel.1", "chan",           "channel",
                                    "*",         "channel.2",      "channel.1"};
    std::vector<std::unique_ptr<Named>> listeners;
    for (int i = 0; i < int(std::size(patterns)); ++i) {
        listeners.push_back(
            std::make_unique<Named>(QStringLiteral("%1:%2").arg(i).arg(patterns[i]), order));
        QVERIFY(store->subscribe(QLatin1String(patterns[i]), listeners.back().get()));
    }
    store->publishPattern(QStringLiteral("channel.1,3.freq"), 90.0, {1, 3}, nullptr);
    settle();
    QCOMPARE(order, (QStringList{QStringLiteral("6:* channel.1,3/freq"),
                                 QStringLiteral("5:channel channel.1,3/freq"),
                                 QStringLiteral("8:channel.1 channel.1/freq"),
                                 QStringLiteral("3:channel.1 channel.1/freq"),
                                 QStringLiteral("1:channel.3.freq channel.3/freq")}));
    for (const auto& listener : listeners)
        store->unsubscribeAll(listener.get());
}

void TestSettingsStore::storedChangeSkipsWildPatterns()
{
    KeyRecorder wild;
    KeyRecorder ancestor;
    KeyRecorder group;
    store->subscribe(QStringLiteral("rds.*.eon.2.af"), &wild);
    store->subscribe(QStringLiteral("rds.1.eon"), &ancestor);
    store->subscribe(QStringLiteral("rds.1"), &group);
    QVERIFY(store->setValue(QStringLiteral("rds.1.eon.2.af"), QStringLiteral("958")));
    settle();
    QVERIFY(wild.keys().isEmpty());
    QVERIFY(ancestor.keys().isEmpty());
    QCOMPARE(group.keys(), QStringList{QStringLiteral("rds.1/eon/2/af")});
    for (QObject* o : std::initializer_list<QObject*>{&wild, &ancestor, &group})
        store->unsubscribeAll(o);
}

void TestSettingsStore::removeWithNotifyPostsNull()
{
    store->setValue(QStringLiteral("channel.2.used"), 1, false);
    KeyRecorder group;
    KeyRecorder word;
    store->subscribe(QStringLiteral("channel.2"), &group);
    store->subscribe(QStringLiteral("channel"), &word);
    store->remove(QStringLiteral("channel.2.used"), true);
    settle();
    QCOMPARE(group.keys(), QStringList{QStringLiteral("channel.2/used")});
    QVERIFY(group.values().value(0).isNull());
    QCOMPARE(word.keys().size(), 1);
    QVERIFY(!store->contains(QStringLiteral("channel.2.used")));
    store->unsubscribeAll(&group);
    store->unsubscribeAll(&word);
}

void TestSettingsStore::subscriptionPatterns()
{
    QObject receiver;
    QVERIFY(store->subscriptions(&receiver).isEmpty());
    QVERIFY(store->subscribe(QStringLiteral("channel.1.*"), &receiver));
    QVERIFY(!store->subscribe(QStringLiteral("channel.1"), &receiver));
    QVERIFY(!store->subscribe(QString(), &receiver));
    QVERIFY(!store->subscribe(QStringLiteral("x"), nullptr));
    QVERIFY(store->subscribe(QStringLiteral("RDS.2.PS"), &receiver));
    QCOMPARE(store->subscriptions(&receiver),
             (QStringList{QStringLiteral("channel.1"), QStringLiteral("rds.2/ps")}));
    QVERIFY(store->unsubscribe(QStringLiteral("channel.1.*"), &receiver));
    QVERIFY(!store->unsubscribe(QStringLiteral("channel.1"), &receiver));
    QVERIFY(store->unsubscribeAll(&receiver));
    QVERIFY(!store->unsubscribeAll(&receiver));
}

void TestSettingsStore::publicationFollowsSubscriptionChanges_data()
{
    QTest::addColumn<bool>("command");
    QTest::addColumn<QString>("firstPattern");
    QTest::newRow("a board's publication") << false << "chinfo.*/playpos";
    QTest::newRow("a command over instances") << true << "chinfo";
}

// A thread looks the receivers of a published key (or a command's) up once;
// each change of the subscriptions is heard by the next publication, and
// each store keeps its own.
void TestSettingsStore::publicationFollowsSubscriptionChanges()
{
    QFETCH(bool, command);
    QFETCH(QString, firstPattern);
    const QString key = QStringLiteral("chinfo.1.playpos");
    const auto send = [&key, command](Settings& to, int value) {
        if (command)
            to.publishPattern(key, value, {1}, nullptr);
        else
            to.publish(key, value);
    };
    KeyRecorder first;
    KeyRecorder second;
    QVERIFY(store->subscribe(firstPattern, &first));
    send(*store, 1);
    QVERIFY(store->subscribe(QStringLiteral("chinfo.1"), &second));
    send(*store, 2);
    QVERIFY(store->unsubscribe(firstPattern, &first));
    send(*store, 3);
    Settings other(dir->filePath(QStringLiteral("other.fm")));
    send(other, 4);
    send(*store, 5);
    settle();
    QCOMPARE(first.values(), (QVariantList{1, 2}));
    QCOMPARE(second.values(), (QVariantList{2, 3, 5}));
    store->unsubscribeAll(&second);
}

void TestSettingsStore::destroyedReceiverIsForgotten()
{
    auto receiver = std::make_unique<KeyRecorder>();
    store->subscribe(QStringLiteral("*"), receiver.get());
    store->publish(QStringLiteral("chinfo.1.playing"), QStringLiteral("a.flac"));
    store->publishPattern(QStringLiteral("channel.1.gain"), -3, {1}, nullptr);
    settle();
    receiver.reset();
    // Posting to a destroyed receiver would crash under the sanitizers.
    QVERIFY(store->setValue(QStringLiteral("channel.1.mute"), 1));
    store->publish(QStringLiteral("chinfo.1.playing"), QStringLiteral("b.flac"));
    store->publishPattern(QStringLiteral("channel.1.gain"), -4, {1}, nullptr);
    settle();
}

void TestSettingsStore::valuesReadBackFromFileCompareEqual()
{
    const QString path = dir->filePath(QStringLiteral("p.fm"));
    {
        Settings writer(path);
        writer.setValue(QStringLiteral("channel.1.gain"), -7);
        writer.setValue(QStringLiteral("channel.1.freq"), 97.8);
        writer.setValue(QStringLiteral("rds.1.files"), QStringList{QStringLiteral("a.txt")});
        writer.setValue(QStringLiteral("rds.1.enc"), QByteArray("UTF-8"));
    }
    Settings reader(path);
    QVERIFY(!reader.setValue(QStringLiteral("channel.1.gain"), -7));
    QVERIFY(!reader.setValue(QStringLiteral("channel.1.freq"), 97.8));
    QVERIFY(!reader.setValue(QStringLiteral("rds.1.files"), QStringList{QStringLiteral("a.txt")}));
    QVERIFY(!reader.setValue(QStringLiteral("rds.1.enc"), QByteArray("UTF-8")));
    QVERIFY(!reader.isDirty());
    QVERIFY(reader.setValue(QStringLiteral("channel.1.gain"), -8));
}

void TestSettingsStore::changesReachTheFileWithoutAnExplicitSync()
{
    for (int i = 0; i < 200; ++i)
        store->setValue(QStringLiteral("channel.1.gain"), -(i % 60));
    store->setValue(QStringLiteral("rds.2.ps"), QStringLiteral("ON AIR"));
    const auto fileHolds = [this] {
        QSettings file(dir->filePath(QStringLiteral("default.fm")), QSettings::IniFormat);
        return file.value(QStringLiteral("rds.2/ps")).toString() == QStringLiteral("ON AIR") &&
               file.value(QStringLiteral("channel.1/gain")).toInt() == -(199 % 60);
    };
    QTRY_VERIFY_WITH_TIMEOUT(fileHolds(), 30000);
}

// A project is saved by copying the store's file, so whatever the store
// holds must be in the file when writeNow returns, with no event loop
// having run.
void TestSettingsStore::writeNowPutsTheStoreOnDisk_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value"); // invalid: the key is removed
    QTest::addColumn<QVariant>("inFile");

    QTest::newRow("a new value") << "rds.2.ps" << QVariant("ON AIR") << QVariant("ON AIR");
    QTest::newRow("a changed value") << "channel.1.gain" << QVariant(-9) << QVariant("-9");
    QTest::newRow("a removed key") << "board/rand" << QVariant() << QVariant();
}

void TestSettingsStore::writeNowPutsTheStoreOnDisk()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QVariant, inFile);

    store->setValue(QStringLiteral("channel.1.gain"), -3);
    store->rawStore(QStringLiteral("board/rand"), 77);
    QVERIFY(store->writeNow());
    if (value.isValid())
        store->setValue(key, value);
    else
        store->rawRemove(key);

    QVERIFY(store->writeNow());
    QSettings file(dir->filePath(QStringLiteral("default.fm")), QSettings::IniFormat);
    QCOMPARE(file.value(Settings::normalizeKey(key)), inFile);
}

// The store makes missing folders itself; under a plain file it cannot.
void TestSettingsStore::writeNowReportsAFileThatCannotBeWritten()
{
    QFile plain(dir->filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    Settings lost(dir->filePath(QStringLiteral("plain/default.fm")));
    lost.setValue(QStringLiteral("channel.1.gain"), -3);
    QVERIFY(!lost.writeNow());
}

// Board threads write run-time keys while the window saves; every value
// written ends up in the file whole.
void TestSettingsStore::writeNowWhileAnotherThreadWrites()
{
    constexpr int kRounds = 20;
    const auto keyOf = [](int channel) { return QStringLiteral("channel.%1.gain").arg(channel); };
    std::unique_ptr<QThread> writer(QThread::create([&] {
        for (int round = 1; round <= kRounds; ++round) {
            for (int channel = 1; channel <= Settings::kMaxInstance; ++channel)
                store->setValue(keyOf(channel), -round);
        }
    }));
    writer->start();
    bool written = true;
    while (!writer->isFinished())
        written = store->writeNow() && written;
    QVERIFY(writer->wait());
    QVERIFY(written);
    QVERIFY(store->writeNow());

    QSettings file(dir->filePath(QStringLiteral("default.fm")), QSettings::IniFormat);
    for (int channel = 1; channel <= Settings::kMaxInstance; ++channel)
        QCOMPARE(file.value(Settings::normalizeKey(keyOf(channel))).toInt(), -kRounds);
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
