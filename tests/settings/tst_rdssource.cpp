// RDS source operations: new/remove, whole-record write-back, RadioText+
// tags, EON and ODA lists, AF lists and group rates, each checked in the
// record, in the file and in what a reload gives back.
#include "KeyRecorder.h"
#include "ProjectFileKit.h"

#include "settings/ListCodecs.h"

#include <QTest>

namespace {

bool rowsFrom(const FMSettings& store, const QString& group, int first)
{
    for (const QString& key : store.rawChildKeys(group) + store.rawChildGroups(group))
        if (key.toInt() >= first)
            return true;
    return false;
}

} // namespace

class TestRdsSource : public QObject
{
    Q_OBJECT

private slots:
    void unknownSourceGivesTheDefaultRecord();
    void newReenablesTheLowestUnusedSource();
    void numbersBelowOneAreRefused();
    void signedFieldsAreWrittenSigned();
    void shorterTagListRemovesEveryOldTag();
    void shorterListRemovesEveryOldRow_data();
    void shorterListRemovesEveryOldRow();
    void linkedEONTakesItsSourceValues();
    void changedSourceRepublishesLinkedEON();
    void regionalListTogglesTheRegionalFlags();
    void groupRates_data();
    void groupRates();
};

void TestRdsSource::unknownSourceGivesTheDefaultRecord()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    const RDSSource rds = store->rdsSource(99);
    QCOMPARE(rds.used, quint8(1));
    QCOMPARE(rds.pi, quint16(0xCAFE));
    QCOMPARE(rds.pty, quint8(10));
    QCOMPARE(rds.pss, quint8(49));
    QCOMPARE(rds.days, quint32(42003));
    QVERIFY(rds.eon.isEmpty() && rds.oda.isEmpty() && rds.afs.isEmpty() && rds.files.isEmpty());
}

void TestRdsSource::newReenablesTheLowestUnusedSource()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QCOMPARE(store->newRDS(), 1);
    const RDSSource first = store->rdsSource(1);
    QCOMPARE(first.name, QStringLiteral("RDS-1"));
    QCOMPARE(first.ps, QStringLiteral("RDS-1"));
    QCOMPARE(first.lps, QStringLiteral("RDS-1"));
    QCOMPARE(first.pi, quint16(0xD311));
    QCOMPARE(store->newRDS(), 2);
    QCOMPARE(store->newRDS(), 3);

    QVERIFY(store->removeRDS(3));
    QVERIFY(store->removeRDS(2));
    QVERIFY(!store->removeRDS(7));
    QCOMPARE(store->rdsSource(2).used, quint8(0));
    QCOMPARE(store->rawValue("rds.2/used").toInt(), 0);
    QCOMPARE(store->rdsSourceNames().keys(), QList<int>({0, 1}));

    KeyRecorder recorder;
    store->subscribe(QStringLiteral("rds"), &recorder);
    QCOMPARE(store->newRDS(), 2);
    recorder.collect();
    QCOMPARE(recorder.keys(), QStringList{"rds.2/used"});
    QCOMPARE(store->rdsSources().size(), 3);
    QCOMPARE(store->rdsSource(2).used, quint8(1));
}

void TestRdsSource::numbersBelowOneAreRefused()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    QList<EON> eons(1);
    QList<AFEntry> afs(1);
    std::array<GroupRate, GroupRate::kGroupCount> rates{};
    rates[0].rate[0] = 5;
    QVERIFY(!store->setRDS(0, RDSSource()));
    QVERIFY(!store->setRDSName(0, QStringLiteral("x")));
    QVERIFY(!store->setEON(0, eons));
    QVERIFY(!store->setODA(-1, {ODARow()}));
    QVERIFY(!store->setAFs(0, afs));
    QVERIFY(!store->setAFr(0, 958));
    QVERIFY(!store->setGroupRates(0, rates));
    QVERIFY(!store->removeRDS(0));
    QVERIFY(store->rdsSources().isEmpty());
    QVERIFY(!store->isDirty());
    QVERIFY(store->rawChildGroups(QString()).filter(QStringLiteral("rds")).isEmpty());
}

void TestRdsSource::signedFieldsAreWrittenSigned()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    RDSSource record;
    record.zone = -2;
    record.mins = -90;
    record.pi = 0x00AB;
    store->setRDS(1, record);
    QCOMPARE(store->rawValue("rds.1/zone").toString(), QStringLiteral("-2"));
    QCOMPARE(store->rawValue("rds.1/mins").toString(), QStringLiteral("-90"));
    QCOMPARE(store->rawValue("rds.1/pi").toString(), QStringLiteral("ab"));
}

void TestRdsSource::shorterTagListRemovesEveryOldTag()
{
    ProjectFolder folder;
    // Tags 0..4 written by an earlier version of the list, and a stray tag
    // far beyond it that would otherwise come back on the next load.
    auto store = ProjectFolder::open(folder.write(
        "[rds.1]\nused=1\nrttag\\0=1 a\nrttag\\1=1 b\nrttag\\2=1 c\nrttag\\3=1 d\nrttag\\4=1 e\n"
        "rttag\\30=1 stray\n"));
    QCOMPARE(store->rdsSource(1).rttag.size(), 6);
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("rds.1"), &recorder);

    RDSSource record = store->rdsSource(1);
    record.rttag = {{4, QStringLiteral("Artist")}, {1, QStringLiteral("Title")}};
    store->setRDS(1, record);
    recorder.collect();

    QCOMPARE(recorder.count(QStringLiteral("rds.1/rttag")), 1);
    QVERIFY(store->isDirty());
    QVERIFY(!rowsFrom(*store, QStringLiteral("rds.1/rttag"), 2));
    QCOMPARE(store->rawValue("rds.1/rttag/0").toString(), QStringLiteral("4 Artist"));
    QCOMPARE(store->loadRDS(1).rttag, record.rttag);
}

void TestRdsSource::shorterListRemovesEveryOldRow_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("eon 4 to 1") << "eon" << 4 << 1;
    QTest::newRow("eon 14 to 1, beyond ten rows") << "eon" << 14 << 1;
    QTest::newRow("eon 3 to 0") << "eon" << 3 << 0;
    QTest::newRow("oda 13 to 2") << "oda" << 13 << 2;
    QTest::newRow("oda 2 to 2") << "oda" << 2 << 2;
}

void TestRdsSource::shorterListRemovesEveryOldRow()
{
    QFETCH(QString, family);
    QFETCH(int, before);
    QFETCH(int, after);

    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    auto write = [&](int count) {
        if (family == QLatin1String("eon")) {
            QList<EON> list(count);
            for (int m = 0; m < count; ++m) {
                list[m].pi = quint16(0x1000 + m);
                list[m].ps = QStringLiteral("PS%1").arg(m);
                list[m].af = afListFromText(QStringLiteral("958"));
            }
            store->setEON(1, list);
        } else {
            QList<ODARow> list(count);
            for (int m = 0; m < count; ++m)
                list[m].data[0] = quint16(m);
            store->setODA(1, list);
        }
    };
    write(before);
    write(after);

    const QString group = QStringLiteral("rds.1/") + family;
    QVERIFY(!rowsFrom(*store, group, after));
    const RDSSource reloaded = store->loadRDS(1);
    QCOMPARE(family == QLatin1String("eon") ? reloaded.eon.size() : reloaded.oda.size(), after);
    if (family == QLatin1String("eon") && after > 0)
        QCOMPARE(reloaded.eon[after - 1].ps, QStringLiteral("PS%1").arg(after - 1));
}

void TestRdsSource::linkedEONTakesItsSourceValues()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write("[channel.5]\nidrds=2\n"));
    RDSSource two;
    two.pi = 0xD312;
    two.ps = QStringLiteral("TWO");
    two.pty = 3;
    two.tp = 0;
    two.ta = 1;
    store->setRDS(2, two);
    QList<AFEntry> afs = afListFromText(QStringLiteral("1010 -1020"));
    store->setAFs(2, afs);

    QList<EON> list(2);
    list[0].channel = 5;
    list[0].pi = 0x1111;
    list[0].ps = QStringLiteral("WRONG");
    list[0].link = 0x42;
    list[1].channel = 9; // a channel without an RDS source: kept as entered
    list[1].pi = 0x2222;
    QVERIFY(store->setEON(1, list));

    QCOMPARE(list[0].pi, quint16(0xD312));
    QCOMPARE(list[0].ps, QStringLiteral("TWO"));
    QCOMPARE(list[0].pty, quint8(3));
    QCOMPARE(list[0].tp, quint8(0));
    QCOMPARE(list[0].ta, quint8(1));
    // Channel 5's own frequency (91.2 MHz) first, then its source's list.
    QCOMPARE(pairsToText(list[0].af), QStringLiteral("912 1010 -1020"));
    QCOMPARE(list[1].pi, quint16(0x2222));
    QCOMPARE(store->rdsSource(1).eon, list);
    QCOMPARE(store->rawValue("rds.1/eon/0").toString(), QStringLiteral("5 d312 3 0 1 42"));
    QCOMPARE(store->rawValue("rds.1/eon/0/ps").toString(), QStringLiteral("TWO"));
    QCOMPARE(store->rawValue("rds.1/eon/0/af").toString(), QStringLiteral("912 1010 -1020"));
}

void TestRdsSource::changedSourceRepublishesLinkedEON()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write("[channel.5]\nidrds=2\n"));
    store->setRDS(2, RDSSource());
    QList<EON> list(2);
    list[0].channel = 5;
    list[0].link = 0x1a;
    list[1].pi = 0x7777; // entered by hand
    store->setEON(1, list);

    KeyRecorder recorder;
    store->subscribe(QStringLiteral("rds.1"), &recorder);
    RDSSource two = store->rdsSource(2);
    two.ps = QStringLiteral("CHANGED");
    two.pi = 0xD3AA;
    store->setRDS(2, two);
    recorder.collect();

    QCOMPARE(recorder.keys(), QStringList{"rds.1/eon/0"});
    QCOMPARE(recorder.values().at(0).toString(), QStringLiteral("5 d3aa 10 1 0 1a"));
    QCOMPARE(store->rdsSource(1).eon[0].ps, QStringLiteral("CHANGED"));
    QCOMPARE(store->rdsSource(1).eon[1].pi, quint16(0x7777));
}

void TestRdsSource::regionalListTogglesTheRegionalFlags()
{
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.path());
    store->setAFr(1, 958);
    QList<AFEntry> afs = afListFromText(QStringLiteral("958 1000"));
    store->setAFs(1, afs);
    QCOMPARE(afs[0].regional, quint8(1));
    QCOMPARE(afs[1].regional, quint8(0));
    QCOMPARE(store->rawValue("rds.1/afs").toString(), QStringLiteral("958 1000"));

    store->setAFr(1, 1000);
    QCOMPARE(store->rawValue("rds.1/afr").toString(), QStringLiteral("958 1000"));
    store->setAFr(1, 958);
    QCOMPARE(store->rdsSource(1).afr, QList<qint32>{1000});
    QCOMPARE(store->rdsSource(1).afs[0].regional, quint8(0));
    store->setAFr(1, 958);
    QCOMPARE(store->rdsSource(1).afr, QList<qint32>({1000, 958}));
    QCOMPARE(store->rdsSource(1).afs[0].regional, quint8(1));
    QCOMPARE(store->rdsSource(1).afs[1].regional, quint8(1));
    QCOMPARE(store->loadRDS(1).afs, store->rdsSource(1).afs);
}

void TestRdsSource::groupRates_data()
{
    QTest::addColumn<QString>("before"); // rate text of entry 5, empty: none
    QTest::addColumn<QString>("after");
    QTest::addColumn<QVariant>("ratesKey");   // rds.1/gmin/5 afterwards
    QTest::addColumn<QVariant>("stream0Key"); // rds.1/5 afterwards

    QTest::newRow("new rates write both keys")
        << ""
        << "1 20 0 5 0" << QVariant("1 20 0 5 0") << QVariant(20);
    QTest::newRow("all rates 0 remove the rate key") << "1 20 0 0 0"
                                                     << "0 0 0 0 0" << QVariant() << QVariant();
    QTest::newRow("on flag alone writes stream 0 only") << ""
                                                        << "1 0 0 0 0" << QVariant() << QVariant(0);
    QTest::newRow("off keeps rates, drops stream 0")
        << "1 20 0 0 0"
        << "0 20 0 0 0" << QVariant("0 20 0 0 0") << QVariant();
    QTest::newRow("filler weight negative")
        << ""
        << "1 -3 0 0 0" << QVariant("1 -3 0 0 0") << QVariant(-3);
}

void TestRdsSource::groupRates()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QVariant, ratesKey);
    QFETCH(QVariant, stream0Key);

    constexpr int kEntry = 5;
    ProjectFolder folder;
    auto store = ProjectFolder::open(folder.write("[rds.1]\nused=1\ngmin5=1 99 0 0 0\n"));
    std::array<GroupRate, GroupRate::kGroupCount> rates{};
    if (!before.isEmpty()) {
        parseFiveInts(rates[kEntry], before);
        store->setGroupRates(1, rates);
    }
    rates[kEntry] = GroupRate();
    parseFiveInts(rates[kEntry], after);
    QVERIFY(store->setGroupRates(1, rates));

    QCOMPARE(store->rdsSource(1).gmin, rates);
    QCOMPARE(store->rawValue("rds.1/gmin/5").toString(), ratesKey.toString());
    QCOMPARE(store->rawContains("rds.1/gmin/5"), ratesKey.isValid());
    QCOMPARE(store->rawValue("rds.1/5").toString(), stream0Key.toString());
    QCOMPARE(store->rawContains("rds.1/5"), stream0Key.isValid());
    // Rates that go away take the older spelling of the key with them.
    if (!ratesKey.isValid())
        QVERIFY(!store->rawContains("rds.1/gmin5"));
}

QTEST_GUILESS_MAIN(TestRdsSource)
#include "tst_rdssource.moc"
