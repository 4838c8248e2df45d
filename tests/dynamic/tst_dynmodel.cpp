// The roll as a table: where events land, what an edit moves and stores,
// and the shared selection when rows go.
#include "dynamic/timeline/DynModel.h"

#include <QBrush>
#include <QSignalSpy>
#include <QTest>

namespace {

QList<Event> rollOf(const QList<quint32>& times)
{
    QList<Event> roll;
    for (quint32 time : times) {
        Event event(time, QStringLiteral("rds.1.ps at%1").arg(time));
        event.classify();
        roll.append(event);
    }
    return roll;
}

QList<quint32> timesOf(const DynModel& model)
{
    QList<quint32> times;
    for (const Event& event : model.roll())
        times.append(event.time);
    return times;
}

QList<int> sorted(const QSet<int>& set)
{
    QList<int> list(set.cbegin(), set.cend());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class TestDynModel : public QObject
{
    Q_OBJECT

private slots:
    void insertGoesAfterEqualTimes_data();
    void insertGoesAfterEqualTimes();
    void timeEditMovesAndStores();
    void equalValueEmitsNothing_data();
    void equalValueEmitsNothing();
    void commandEditRetints();
    void unreadableTimeIsRefused();
    void runsAreRemovedHighestFirst();
    void removalsKeepTheSelectionOnItsEvents_data();
    void removalsKeepTheSelectionOnItsEvents();
    void removeAllEmptiesTheSelection();
    void setRollResetsAndClearsSelection();
    void selectionEchoesStop();
    void lookups_data();
    void lookups();
};

void TestDynModel::insertGoesAfterEqualTimes_data()
{
    QTest::addColumn<quint32>("time");
    QTest::addColumn<int>("row");
    QTest::newRow("equal to a middle time goes after it") << 500u << 2;
    QTest::newRow("equal to the first time") << 0u << 1;
    QTest::newRow("between two times") << 100u << 1;
    QTest::newRow("after the last") << 900u << 3;
    QTest::newRow("equal to the last") << 800u << 3;
}

void TestDynModel::insertGoesAfterEqualTimes()
{
    QFETCH(quint32, time);
    QFETCH(int, row);
    DynModel model;
    model.setRoll(rollOf({0, 500, 800}));
    model.select(0);
    QSignalSpy saved(&model, &DynModel::saveRoll);
    QSignalSpy inserted(&model, &DynModel::rowsInserted);
    QCOMPARE(model.insertEvent(Event(time, QStringLiteral("tmc.1.rate 12"))), row);
    QCOMPARE(model.event(row).command, QStringLiteral("tmc.1.rate 12"));
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(saved.count(), 1);
    QVERIFY(model.selection().isEmpty());
}

void TestDynModel::timeEditMovesAndStores()
{
    DynModel model;
    model.setRoll(rollOf({0, 500, 800}));
    QSignalSpy saved(&model, &DynModel::saveRoll);
    QVERIFY(model.setData(model.index(0, 0), 900));
    QCOMPARE(timesOf(model), (QList<quint32>{500, 800, 900}));
    QCOMPARE(model.event(2).command, QStringLiteral("rds.1.ps at0"));
    QCOMPARE(saved.count(), 1);
}

void TestDynModel::equalValueEmitsNothing_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("same time") << 0 << QVariant(500);
    QTest::newRow("same time as text") << 0 << QVariant(QStringLiteral("500"));
    QTest::newRow("same command") << 1 << QVariant(QStringLiteral("rds.1.ps at500"));
}

void TestDynModel::equalValueEmitsNothing()
{
    QFETCH(int, column);
    QFETCH(QVariant, value);
    DynModel model;
    model.setRoll(rollOf({0, 500, 800}));
    QSignalSpy saved(&model, &DynModel::saveRoll);
    int exec = 0;
    connect(&model, &DynModel::setExec, this, [&exec](int, Event&) { ++exec; });
    QSignalSpy changed(&model, &DynModel::dataChanged);
    QSignalSpy removed(&model, &DynModel::rowsRemoved);
    QVERIFY(model.setData(model.index(1, column), value));
    QCOMPARE(saved.count() + exec + changed.count() + removed.count(), 0);
}

void TestDynModel::commandEditRetints()
{
    DynModel model;
    model.setRoll(rollOf({0, 500}));
    const QModelIndex command = model.index(1, 1);
    QCOMPARE(model.data(command, Qt::BackgroundRole), QVariant());
    QList<int> exec;
    connect(&model, &DynModel::setExec, this,
            [&exec](int row, Event& event) { exec.append(event.type == Event::Other ? row : -1); });
    QVERIFY(model.setData(command, QStringLiteral("modul.remote 1")));
    QCOMPARE(exec, QList<int>{1});
    QCOMPARE(int(model.event(1).type), int(Event::Other));
    const QBrush tint = model.data(command, Qt::BackgroundRole).value<QBrush>();
    QCOMPARE(tint.color(), QColor(0xA0, 0x45, 0x67, 0x40));
    QCOMPARE(model.data(model.index(1, 0), Qt::BackgroundRole).value<QBrush>().color(),
             tint.color());

    QVERIFY(model.setData(command, QStringLiteral("channel.2.gain 3")));
    QCOMPARE(int(model.event(1).type), int(Event::Channel));
    QCOMPARE(model.data(command, Qt::BackgroundRole), QVariant());
}

void TestDynModel::unreadableTimeIsRefused()
{
    DynModel model;
    model.setRoll(rollOf({0, 500}));
    QSignalSpy saved(&model, &DynModel::saveRoll);
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("soon")));
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("-5")));
    QVERIFY(!model.setData(model.index(5, 1), QStringLiteral("rds.1.ps x")));
    QVERIFY(!model.setData(model.index(0, 1), QStringLiteral("rds.1.ps x"), Qt::DisplayRole));
    QCOMPARE(timesOf(model), (QList<quint32>{0, 500}));
    QCOMPARE(saved.count(), 0);
}

void TestDynModel::runsAreRemovedHighestFirst()
{
    DynModel model;
    model.setRoll(rollOf({0, 100, 200, 300, 400, 500, 600, 700, 800, 900}));
    QSignalSpy removed(&model, &DynModel::rowsRemoved);
    QSignalSpy saved(&model, &DynModel::saveRoll);
    model.removeRows(std::set<int>{1, 2, 3, 7});
    QCOMPARE(removed.count(), 2);
    QCOMPARE(removed.at(0).at(1).toInt(), 7);
    QCOMPARE(removed.at(0).at(2).toInt(), 7);
    QCOMPARE(removed.at(1).at(1).toInt(), 1);
    QCOMPARE(removed.at(1).at(2).toInt(), 3);
    QCOMPARE(saved.count(), 1);
    QCOMPARE(timesOf(model), (QList<quint32>{0, 400, 500, 600, 800, 900}));

    model.removeRows(std::set<int>{});
    QCOMPARE(saved.count(), 1);
}

void TestDynModel::removalsKeepTheSelectionOnItsEvents_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QList<int>>("removed");
    QTest::addColumn<QList<quint32>>("stillSelected");
    QTest::newRow("rows after a run move down")
        << QList<int>{0, 5, 8} << QList<int>{1, 2, 3} << QList<quint32>{0, 500, 800};
    QTest::newRow("a removed selected row leaves")
        << QList<int>{2, 6} << QList<int>{2, 4} << QList<quint32>{600};
    QTest::newRow("two runs below a selected row")
        << QList<int>{9} << QList<int>{1, 2, 6, 7} << QList<quint32>{900};
    QTest::newRow("rows before the removal stay")
        << QList<int>{0, 1} << QList<int>{9} << QList<quint32>{0, 100};
}

// Without a table view nothing repairs the shared set, so the model itself
// must keep it on the events that were selected.
void TestDynModel::removalsKeepTheSelectionOnItsEvents()
{
    QFETCH(QList<int>, selected);
    QFETCH(QList<int>, removed);
    QFETCH(QList<quint32>, stillSelected);
    DynModel model;
    model.setRoll(rollOf({0, 100, 200, 300, 400, 500, 600, 700, 800, 900}));
    for (int row : selected)
        model.select(row);
    // What a view learns from the signals alone.
    QSet<int> heard = model.selection();
    connect(&model, &DynModel::onSelClear, this, [&heard] { heard.clear(); });
    connect(&model, &DynModel::onSelInsert, this, [&heard](int row) { heard.insert(row); });
    connect(&model, &DynModel::onSelRemove, this, [&heard](int row) { heard.remove(row); });
    model.removeRows(std::set<int>(removed.cbegin(), removed.cend()));
    QList<quint32> times;
    for (int row : sorted(model.selection()))
        times.append(model.event(row).time);
    QCOMPARE(times, stillSelected);
    QCOMPARE(sorted(heard), sorted(model.selection()));
}

void TestDynModel::removeAllEmptiesTheSelection()
{
    DynModel model;
    model.setRoll(rollOf({0, 100, 200}));
    model.select(1);
    QSignalSpy cleared(&model, &DynModel::onSelClear);
    QSignalSpy saved(&model, &DynModel::saveRoll);
    model.removeAll();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.selection().isEmpty());
    QCOMPARE(cleared.count(), 1);
    // The caller stores the roll.
    QCOMPARE(saved.count(), 0);
}

void TestDynModel::setRollResetsAndClearsSelection()
{
    DynModel model;
    model.setRoll(rollOf({0, 100, 200}));
    model.select(2);
    QSignalSpy reset(&model, &DynModel::modelReset);
    QSignalSpy cleared(&model, &DynModel::onSelClear);
    model.setRoll(rollOf({5}));
    QCOMPARE(reset.count(), 1);
    QCOMPARE(cleared.count(), 1);
    QVERIFY(model.selection().isEmpty());
    QCOMPARE(model.rowCount(), 1);
}

void TestDynModel::selectionEchoesStop()
{
    DynModel model;
    model.setRoll(rollOf({0, 100, 200}));
    QSignalSpy inserted(&model, &DynModel::onSelInsert);
    QSignalSpy removed(&model, &DynModel::onSelRemove);
    model.select(1);
    model.select(1);
    model.deselect(2);
    model.toggle(1);
    model.toggle(0);
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(sorted(model.selection()), QList<int>{0});
}

void TestDynModel::lookups_data()
{
    QTest::addColumn<QList<quint32>>("times");
    QTest::addColumn<quint32>("at");
    QTest::addColumn<int>("firstAtOrAfter");
    QTest::addColumn<int>("lastAtOrBefore");
    QTest::addColumn<int>("length");
    QTest::newRow("empty roll") << QList<quint32>{} << 0u << -1 << -1 << 1000;
    QTest::newRow("short roll is 1000 long") << QList<quint32>{0, 300} << 300u << 1 << 1 << 1000;
    QTest::newRow("between events") << QList<quint32>{0, 300, 2500} << 301u << 2 << 1 << 2500;
    QTest::newRow("equal times") << QList<quint32>{100, 100, 200} << 100u << 0 << 1 << 1000;
    QTest::newRow("past the end") << QList<quint32>{100, 1200} << 1300u << -1 << 1 << 1200;
    QTest::newRow("last event past the signed range")
        << QList<quint32>{100, 4294967295u} << 200u << 1 << 0 << 2147483647;
}

void TestDynModel::lookups()
{
    QFETCH(QList<quint32>, times);
    QFETCH(quint32, at);
    DynModel model;
    model.setRoll(rollOf(times));
    QTEST(model.firstAtOrAfter(at), "firstAtOrAfter");
    QTEST(model.lastAtOrBefore(at), "lastAtOrBefore");
    QTEST(model.rollLength(), "length");
    QCOMPARE(model.event(int(times.size())).type, quint8(Event::Unclassified));
}

QTEST_GUILESS_MAIN(TestDynModel)
#include "tst_dynmodel.moc"
