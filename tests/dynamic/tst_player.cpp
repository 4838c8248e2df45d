// The timeline's recorder and player on a real store, with the player's
// clock in the test's hand: no test waits for time to pass.
#include "dynamic/timeline/DynModel.h"
#include "dynamic/timeline/Dynamic.h"

#include "KeyRecorder.h"
#include "settings/FMSettings.h"
#include "settings/SetValue.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestPlayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void recordsOnlyUserKeys_data();
    void recordsOnlyUserKeys();
    void recordsAtTheCursorInOrderAndRoundTrips();
    void recordingWhilePlayingTakesElapsedTime();
    void playsInOrderAndStopsAtTheEnd();
    void repeatRunsTimeZeroAgain();
    void emptyRollAtItsEndOnlyPauses();
    void equalTimesRunInOneTickInListOrder();
    void commandsWithoutValueNeverRun_data();
    void commandsWithoutValueNeverRun();
    void firstChangeAfterLoadStartsPlaying_data();
    void firstChangeAfterLoadStartsPlaying();
    void playPositionAfterEachLoadStartsPlaying();
    void ticksWithoutTimePassingRunNothingTwice();
    void commandEditIsStoredRowByRow();

private:
    QString project() const { return dir->filePath(QStringLiteral("p.fm")); }
    // Hands the posted notifications to the timeline and the recorder.
    void deliver() { QCoreApplication::sendPostedEvents(nullptr, SetValue::kType); }
    void advance(qint64 ms)
    {
        now += ms;
        timeline->timeout();
    }
    void setRoll(const QList<Event>& roll, bool repeat = false);
    // The first change after a load starts the roll; this one is spent here
    // so that a recording test records.
    void settle()
    {
        store->publish(QStringLiteral("board.status"), 1);
        deliver();
        timeline->onPause();
    }
    QStringList played();

    std::unique_ptr<QTemporaryDir> dir;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<Dynamic> timeline;
    std::unique_ptr<KeyRecorder> keys;
    qint64 now = 1'000'000;
};

void TestPlayer::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = QSharedPointer<FMSettings>::create(project());
    timeline = std::make_unique<Dynamic>();
    timeline->setClock([this] { return now; });
    timeline->setSettings(store);
    keys = std::make_unique<KeyRecorder>();
    store->subscribe(QStringLiteral("*"), keys.get());
}

void TestPlayer::cleanup()
{
    timeline.reset();
    if (store)
        store->unsubscribeAll(keys.get());
    keys.reset();
    store.reset();
    dir.reset();
}

void TestPlayer::setRoll(const QList<Event>& roll, bool repeat)
{
    store->setRoll(QStringLiteral("events.1"), roll, {}, repeat);
    timeline->loadRoll();
}

// "key value" of every change the store announced, in order.
QStringList TestPlayer::played()
{
    deliver();
    QStringList lines;
    for (int i = 0; i < keys->count(); ++i)
        lines.append(keys->keys().at(i) + QLatin1Char(' ') + keys->values().at(i).toString());
    keys->clear();
    return lines;
}

void TestPlayer::recordsOnlyUserKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("command");
    QTest::newRow("channel key") << "channel.1/freq"
                                 << "channel.1.freq 95.8";
    QTest::newRow("slashes become dots") << "rds.2/eon/1/pi"
                                         << "rds.2.eon.1.pi 95.8";
    QTest::newRow("upper case is lowered") << "RDS.1/PS"
                                           << "rds.1.ps 95.8";
    QTest::newRow("AF list") << "rds.1/af"
                             << "";
    QTest::newRow("song information") << "songinfo"
                                      << "";
    QTest::newRow("board status") << "board/band"
                                  << "";
    QTest::newRow("channel information") << "chinfo.3/rdslog"
                                         << "";
    QTest::newRow("channel status") << "chstatus.3"
                                    << "";
    QTest::newRow("incoming RDS client") << "rdsin.1"
                                         << "";
    QTest::newRow("module information") << "modul.info"
                                        << "";
}

void TestPlayer::recordsOnlyUserKeys()
{
    QFETCH(QString, key);
    QFETCH(QString, command);
    timeline->onRecNow();
    SetValue change(key, QStringLiteral("95.8"));
    timeline->notify(&change);
    const QList<Event>& roll = timeline->model()->roll();
    QCOMPARE(roll.size(), command.isEmpty() ? 0 : 1);
    if (!command.isEmpty())
        QCOMPARE(roll.first().command, command);
}

// The whole path: store changes recorded at the cursor, stored in the
// project, read by a second store, played back through the store.
void TestPlayer::recordsAtTheCursorInOrderAndRoundTrips()
{
    timeline->onTime(300);
    timeline->onRecNow();
    QCOMPARE(store->set(QStringLiteral("channel.1.freq"), QStringLiteral("95.8")), 0);
    QCOMPARE(store->set(QStringLiteral("rds.1.ps"), QStringLiteral("HELLO")), 0);
    store->publish(QStringLiteral("songinfo"), QStringLiteral("a song"));
    store->publish(QStringLiteral("rds.1.af"), QStringLiteral("876 901"));
    store->publish(QStringLiteral("board.status"), 1);
    QCOMPARE(store->set(QStringLiteral("tmc.1.rate"), QStringLiteral("12")), 0);
    deliver();
    now += 5000; // standing still: the clock does not matter
    timeline->onTime(1700);
    timeline->onRecord();
    now += 250;
    QCOMPARE(store->set(QStringLiteral("channel.1.gain"), QStringLiteral("-3")), 0);
    deliver();
    timeline->onRepeat(true);

    QSignalSpy paused(timeline.get(), &Dynamic::setPause);
    timeline->onPause();
    QVERIFY(!timeline->recording());
    QSet<int> expanded;
    bool repeat = false;
    const QList<Event> stored = store->events(QStringLiteral("events.1"), expanded, repeat);
    QStringList rows;
    for (const Event& event : stored)
        rows.append(QStringLiteral("%1 %2").arg(event.time).arg(event.command));
    const QStringList expected{
        QStringLiteral("300 channel.1.freq 95.8"), QStringLiteral("300 rds.1.ps HELLO"),
        QStringLiteral("300 tmc.1.rate 12"), QStringLiteral("1950 channel.1.gain -3")};
    QCOMPARE(rows, expected);
    QCOMPARE(store->rawValue(QStringLiteral("events.1/0")).toString(), expected.first());
    QCOMPARE(store->rawValue(QStringLiteral("events.1/3")).toString(), expected.last());
    QCOMPARE(store->rawValue(QStringLiteral("events.1/repeat")).toBool(), true);

    // Open rows travel with the roll.
    timeline->grab();
    QTest::mouseClick(timeline.get(), Qt::LeftButton, {}, QPoint(2, 2 * timeline->rowHeight()));
    QCOMPARE(timeline->expandedRows(), QSet<int>{0x100});
    QVERIFY(store->writeNow());

    auto second = QSharedPointer<FMSettings>::create(project());
    Dynamic reader;
    reader.setClock([this] { return now; });
    QSignalSpy repeats(&reader, &Dynamic::setRepeat);
    reader.setSettings(second);
    QCOMPARE(reader.model()->roll().size(), stored.size());
    for (int i = 0; i < stored.size(); ++i) {
        QCOMPARE(reader.model()->event(i).time, stored.at(i).time);
        QCOMPARE(reader.model()->event(i).command, stored.at(i).command);
    }
    QCOMPARE(reader.expandedRows(), QSet<int>{0x100});
    QVERIFY(reader.repeats());
    QCOMPARE(repeats.last().at(0).toBool(), true);
    QCOMPARE(reader.rollLength(), 1950);

    // Played back from 0 over other values, nothing of it is recorded again.
    QCOMPARE(store->set(QStringLiteral("channel.1.freq"), QStringLiteral("88.5")), 0);
    QCOMPARE(store->set(QStringLiteral("rds.1.ps"), QStringLiteral("OTHER")), 0);
    QCOMPARE(store->set(QStringLiteral("tmc.1.rate"), QStringLiteral("5")), 0);
    QCOMPARE(store->set(QStringLiteral("channel.1.gain"), QStringLiteral("0")), 0);
    timeline->onTime(0);
    played();
    timeline->onPlay();
    advance(300);
    QCOMPARE(played(),
             (QStringList{QStringLiteral("channel.1/freq 95.8"), QStringLiteral("rds.1/ps HELLO"),
                          QStringLiteral("tmc.1/rate 12")}));
    advance(1650);
    QCOMPARE(played(), QStringList{QStringLiteral("channel.1/gain -3")});
    QCOMPARE(timeline->model()->rowCount(), 4);
}

void TestPlayer::recordingWhilePlayingTakesElapsedTime()
{
    setRoll({Event(500, QStringLiteral("rds.1.pty 3"))});
    settle();
    timeline->onRecord();
    advance(400);
    QCOMPARE(store->set(QStringLiteral("rds.1.ps"), QStringLiteral("FIRST")), 0);
    deliver();
    // Recording keeps the roll running past its end.
    advance(2000);
    QVERIFY(timeline->playing());
    QCOMPARE(timeline->cursor(), 2400u);
    QCOMPARE(store->set(QStringLiteral("rds.1.ps"), QStringLiteral("LATE")), 0);
    deliver();
    QCOMPARE(timeline->rollLength(), 2400);
    QStringList rows;
    for (const Event& event : timeline->model()->roll())
        rows.append(QStringLiteral("%1 %2").arg(event.time).arg(event.command));
    QCOMPARE(rows,
             (QStringList{QStringLiteral("400 rds.1.ps FIRST"), QStringLiteral("500 rds.1.pty 3"),
                          QStringLiteral("2400 rds.1.ps LATE")}));
    // Play ends recording and keeps playing.
    timeline->onPlay();
    QVERIFY(!timeline->recording());
    QVERIFY(timeline->playing());
}

void TestPlayer::playsInOrderAndStopsAtTheEnd()
{
    setRoll({Event(0, QStringLiteral("rds.1.ps ZERO")), Event(1000, QStringLiteral("rds.1.pty 5")),
             Event(2500, QStringLiteral("rds.1.ps END"))});
    played();
    QCOMPARE(timeline->rollLength(), 2500);
    QSignalSpy paused(timeline.get(), &Dynamic::setPause);
    QSignalSpy times(timeline.get(), &Dynamic::msTime);
    timeline->onPlay();
    advance(0);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/ps ZERO")});
    advance(999);
    QCOMPARE(played(), QStringList());
    advance(1);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/pty 5")});
    QVERIFY(paused.isEmpty());
    advance(3000);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/ps END")});
    QCOMPARE(timeline->cursor(), 2500u);
    QCOMPARE(times.last().at(0).toInt(), 2500);
    QVERIFY(!timeline->playing());
    QCOMPARE(paused.count(), 1);
    QCOMPARE(paused.at(0).at(0).toBool(), true);
}

void TestPlayer::repeatRunsTimeZeroAgain()
{
    setRoll(
        {Event(0, QStringLiteral("rds.1.ps ZERO")), Event(1200, QStringLiteral("rds.1.ps LAST"))},
        true);
    QVERIFY(timeline->repeats());
    played();
    QSignalSpy paused(timeline.get(), &Dynamic::setPause);
    timeline->onPlay();
    advance(0);
    advance(1200);
    QCOMPARE(played(),
             (QStringList{QStringLiteral("rds.1/ps ZERO"), QStringLiteral("rds.1/ps LAST")}));
    QCOMPARE(timeline->cursor(), 0u);
    advance(20);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/ps ZERO")});
    QVERIFY(timeline->playing());
    QVERIFY(paused.isEmpty());
}

void TestPlayer::emptyRollAtItsEndOnlyPauses()
{
    QCOMPARE(timeline->rollLength(), 1000);
    timeline->onTime(1000);
    QSignalSpy playing(timeline.get(), &Dynamic::setPlay);
    QSignalSpy paused(timeline.get(), &Dynamic::setPause);
    timeline->onPlay();
    QVERIFY(playing.isEmpty());
    QCOMPARE(paused.count(), 1);
    QVERIFY(!timeline->playing());

    timeline->onTime(400);
    timeline->onPlay();
    QCOMPARE(playing.count(), 1);
    advance(600);
    QVERIFY(!timeline->playing());
    QCOMPARE(timeline->cursor(), 1000u);
}

void TestPlayer::equalTimesRunInOneTickInListOrder()
{
    QList<Event> roll;
    for (int i = 1; i <= 12; ++i)
        roll.append(Event(700, QStringLiteral("channel.%1.gain -%1").arg(i)));
    setRoll(roll);
    played();
    timeline->onPlay();
    advance(699);
    QCOMPARE(played(), QStringList());
    advance(1);
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected.append(QStringLiteral("channel.%1/gain -%1").arg(i));
    QCOMPARE(played(), expected);
}

void TestPlayer::commandsWithoutValueNeverRun_data()
{
    QTest::addColumn<QString>("row");
    QTest::newRow("empty command") << "100";
    QTest::newRow("key alone") << "100 rds.1.ps";
    QTest::newRow("a word from a file") << "100 foo";
}

// A one-word command has no value: run as it stands it would write its own
// text into the key it names. Such rows stay in the roll, unplayed.
void TestPlayer::commandsWithoutValueNeverRun()
{
    QFETCH(QString, row);
    store->rawStore(QStringLiteral("events.1/0"), row);
    store->rawStore(QStringLiteral("events.1/1"), QStringLiteral("200 rds.1.pty 7"));
    timeline->loadRoll();
    QCOMPARE(timeline->model()->rowCount(), 2);
    const QString psBefore = store->get(QStringLiteral("rds.1.ps")).toString();
    played();
    timeline->onPlay();
    advance(100);
    QCOMPARE(played(), QStringList());
    QCOMPARE(store->get(QStringLiteral("rds.1.ps")).toString(), psBefore);
    advance(100);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/pty 7")});
    // Still kept and stored.
    timeline->onSave();
    QCOMPARE(store->rawValue(QStringLiteral("events.1/0")).toString(), row);
}

void TestPlayer::firstChangeAfterLoadStartsPlaying_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("a board value") << "board.status";
    // The timeline takes only the newest of these: the first still starts it.
    QTest::newRow("a burst of play positions") << "chinfo.1.playpos";
}

void TestPlayer::firstChangeAfterLoadStartsPlaying()
{
    QFETCH(QString, key);
    setRoll({Event(800, QStringLiteral("rds.1.pty 9"))});
    timeline->onRecNow();
    QSignalSpy playing(timeline.get(), &Dynamic::setPlay);
    for (int position = 1; position <= 100; ++position)
        store->publish(key, position);
    deliver();
    QCOMPARE(playing.count(), 1);
    QVERIFY(timeline->playing());
    QVERIFY(!timeline->recording());
    // Only once per load.
    timeline->onPause();
    store->publish(key, 3);
    deliver();
    QCOMPARE(playing.count(), 1);
}

// The first notification may be a value the boards stream; after it the
// timeline no longer takes those, until the next load.
void TestPlayer::playPositionAfterEachLoadStartsPlaying()
{
    for (int load = 1; load <= 2; ++load) {
        // The roll's own keys are notified too: spent before the load.
        store->setRoll(QStringLiteral("events.1"), {Event(800, QStringLiteral("rds.1.pty 9"))}, {},
                       false);
        deliver();
        timeline->onPause();
        timeline->loadRoll();
        QSignalSpy playing(timeline.get(), &Dynamic::setPlay);
        store->publish(QStringLiteral("chinfo.1.playpos"), 100 * load);
        deliver();
        QCOMPARE(playing.count(), 1);
        QVERIFY(timeline->playing());
        timeline->onPause();
    }
}

void TestPlayer::ticksWithoutTimePassingRunNothingTwice()
{
    setRoll(
        {Event(100, QStringLiteral("rds.1.ps ONE")), Event(200, QStringLiteral("rds.1.ps TWO"))});
    played();
    timeline->onPlay();
    advance(150);
    advance(0);
    advance(0);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/ps ONE")});
    advance(50);
    advance(10);
    QCOMPARE(played(), QStringList{QStringLiteral("rds.1/ps TWO")});
}

void TestPlayer::commandEditIsStoredRowByRow()
{
    setRoll(
        {Event(100, QStringLiteral("rds.1.ps ONE")), Event(200, QStringLiteral("rds.1.ps TWO"))});
    DynModel* model = timeline->model();
    QVERIFY(model->setData(model->index(1, 1), QStringLiteral("channel.4.gain 2")));
    QCOMPARE(store->rawValue(QStringLiteral("events.1/1")).toString(),
             QStringLiteral("200 channel.4.gain 2"));
    QVERIFY(model->setData(model->index(0, 0), 900));
    QCOMPARE(store->rawValue(QStringLiteral("events.1/0")).toString(),
             QStringLiteral("200 channel.4.gain 2"));
    QCOMPARE(store->rawValue(QStringLiteral("events.1/1")).toString(),
             QStringLiteral("900 rds.1.ps ONE"));
    QCOMPARE(timeline->rollLength(), 1000);
}

QTEST_MAIN(TestPlayer)
#include "tst_player.moc"
