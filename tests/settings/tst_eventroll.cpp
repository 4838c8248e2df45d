// The timeline's roll in the project file.
#include "settings/FMSettings.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestEventRoll : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rollRoundTrips();
    void equalTimesKeepTheirOrderPastTenRows();
    void emptyRollKeepsOnlyOptions();
    void unreadableRowsAreSkipped();
    void missingGroupIsAnEmptyRoll();
    void singleRowsAndOptions();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FMSettings> store;
    const QString group = QStringLiteral("events.1");
};

void TestEventRoll::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = std::make_unique<FMSettings>(dir->filePath(QStringLiteral("default.fm")));
}

void TestEventRoll::cleanup()
{
    store.reset();
    dir.reset();
}

void TestEventRoll::rollRoundTrips()
{
    const QList<Event> roll{Event(100, QStringLiteral("rds.1.ps hello")),
                            Event(500, QStringLiteral("channel.2.freq 95.8")),
                            Event(2500, QString())};
    store->setRoll(group, roll, {3, 26}, true);
    QVERIFY(store->isDirty());
    store->sync();

    FMSettings reopened(dir->filePath(QStringLiteral("default.fm")));
    QSet<int> expanded;
    bool repeat = false;
    const QList<Event> back = reopened.events(group, expanded, repeat);
    QCOMPARE(back.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(back[i].time, roll[i].time);
        QCOMPARE(back[i].command, roll[i].command);
    }
    QCOMPARE(int(back[0].type), int(Event::Rds));
    QCOMPARE(back[0].rest, QStringLiteral("ps hello"));
    QCOMPARE(int(back[1].number), 2);
    QCOMPARE(expanded, (QSet<int>{3, 26}));
    QCOMPARE(repeat, true);
}

void TestEventRoll::equalTimesKeepTheirOrderPastTenRows()
{
    QList<Event> roll;
    for (int i = 0; i < 14; ++i)
        roll.append(Event(1000, QStringLiteral("channel.%1.gain -%1").arg(i + 1)));
    roll.prepend(Event(10, QStringLiteral("rds.1.ta 1")));
    store->setRoll(group, roll, {}, false);
    QSet<int> expanded;
    bool repeat = true;
    const QList<Event> back = store->events(group, expanded, repeat);
    QCOMPARE(back.size(), roll.size());
    for (int i = 0; i < roll.size(); ++i)
        QCOMPARE(back[i].command, roll[i].command);
    QVERIFY(!repeat);
    QVERIFY(expanded.isEmpty());
}

void TestEventRoll::emptyRollKeepsOnlyOptions()
{
    store->setRoll(group, {Event(1, QStringLiteral("rds.1.ta 1"))}, {}, false);
    store->setRoll(group, {}, {}, false);
    const QStringList keys = store->rawChildKeys(group);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()), (QSet<QString>{"expand", "repeat"}));
    QCOMPARE(store->rawValue(group + QStringLiteral("/expand")).toString(), QString());
}

void TestEventRoll::unreadableRowsAreSkipped()
{
    store->rawStore(group + QStringLiteral("/0"), QStringLiteral("500 rds.1.ta 1"));
    store->rawStore(group + QStringLiteral("/1"), QStringLiteral("100 rds.1.ta 0"));
    store->rawStore(group + QStringLiteral("/2"), QStringLiteral("100 rds.1.tp 1"));
    store->rawStore(group + QStringLiteral("/3"), QStringLiteral("soon rds.1.tp 0"));
    store->rawStore(group + QStringLiteral("/4"), QStringLiteral("-5 rds.1.tp 0"));
    store->rawStore(group + QStringLiteral("/x"), QStringLiteral("7 rds.1.tp 0"));
    store->rawStore(group + QStringLiteral("/expand"), QStringLiteral("a zz 1f"));
    QSet<int> expanded;
    bool repeat = true;
    const QList<Event> back = store->events(group, expanded, repeat);
    QStringList commands;
    for (const Event& e : back)
        commands.append(QString::number(e.time) + QLatin1Char(' ') + e.command);
    QCOMPARE(commands, (QStringList{"100 rds.1.ta 0", "100 rds.1.tp 1", "500 rds.1.ta 1"}));
    QCOMPARE(expanded, (QSet<int>{10, 0, 31}));
}

void TestEventRoll::missingGroupIsAnEmptyRoll()
{
    QSet<int> expanded{1};
    bool repeat = true;
    QVERIFY(store->events(group, expanded, repeat).isEmpty());
    QVERIFY(expanded.isEmpty());
    QVERIFY(!repeat);
}

void TestEventRoll::singleRowsAndOptions()
{
    store->setEvent(0, group, Event(42, QStringLiteral("audio.1.vol1 20")));
    store->setEvent(1, group, Event(43, QString()));
    QCOMPARE(store->rawValue(group + QStringLiteral("/0")).toString(),
             QStringLiteral("42 audio.1.vol1 20"));
    QCOMPARE(store->rawValue(group + QStringLiteral("/1")).toString(), QStringLiteral("43"));
    store->eventOption(group, {255}, true);
    QCOMPARE(store->rawValue(group + QStringLiteral("/expand")).toString(), QStringLiteral("ff"));
    store->delEvent(0, group);
    QVERIFY(!store->rawContains(group + QStringLiteral("/0")));
}

QTEST_GUILESS_MAIN(TestEventRoll)
#include "tst_eventroll.moc"
