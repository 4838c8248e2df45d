// The RDS page keeps what the store holds: a source loaded and saved by an
// unrelated edit comes back key for key, whatever its widgets can show.
#include "RdsFormKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

#include <functional>

namespace {

using Change = std::function<void(RDSSource&)>;

// A source far from the defaults: long texts, tags, a manual AF list,
// switches set that the defaults leave off.
RDSSource richSource()
{
    RDSSource s;
    s.ps = QStringLiteral("RICH FM ");
    s.lps = QStringLiteral("Rich Radio, the long name that fills it");
    s.rta = QString(64, QLatin1Char('a'));
    s.rtb = QStringLiteral("Now: $0 by $1 #E9");
    s.rtc = QString(128, QLatin1Char('c'));
    s.rtd = QStringLiteral("eRT D");
    s.pn1 = QStringLiteral("Morning");
    s.pn2 = QStringLiteral("Evening");
    s.rttag = {RTag{1, QStringLiteral("Song")}, RTag{4, QStringLiteral("Artist")}};
    s.pi = 0xD3C2;
    s.pty = 12;
    s.dec = 15;
    s.afu = 13;
    s.rtxt = 0xDB;
    s.rtxg = 2;
    s.rtbit = 0x2005;
    s.rtitm = 0x0D;
    s.slow = 0x80E0;
    s.page = 3;
    s.pin = 0x1234;
    s.err = 0x81;
    s.fix = 0x85;
    s.crt = "UTF-8";
    s.enc = "UTF-8";
    s.clps = "UTF-8";
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestTabRDSStored : public QObject
{
    Q_OBJECT
private slots:
    // Two clicks on TP write tp twice and nothing else: every other key
    // keeps the value it was loaded with.
    void unrelatedEditKeepsStored_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("tmcSources");
        QTest::newRow("rich source as it is") << Change([](RDSSource&) {}) << 0;
        QTest::newRow("repeats at 0") << Change([](RDSSource& s) {
            s.rpa = s.rpb = s.rpc = s.rpd = 0;
            s.rp1 = s.rp2 = 0;
        }) << 0;
        QTest::newRow("repeats beyond 50") << Change([](RDSSource& s) {
            s.rpa = 100;
            s.rpc = 51;
            s.rp1 = 100;
            s.rp2 = 77;
        }) << 0;
        QTest::newRow("repeats at 255") << Change([](RDSSource& s) {
            s.rpa = s.rpb = s.rpc = s.rpd = 255;
            s.rp1 = s.rp2 = 255;
        }) << 0;
        QTest::newRow("TMC source not listed") << Change([](RDSSource& s) { s.tmcsi = 2; }) << 0;
        QTest::newRow("TMC source listed") << Change([](RDSSource& s) { s.tmcsi = 2; }) << 3;
        QTest::newRow("TMC source 50, none listed")
            << Change([](RDSSource& s) { s.tmcsi = 50; }) << 1;
        QTest::newRow("PTY 0") << Change([](RDSSource& s) { s.pty = 0; }) << 0;
        QTest::newRow("PTY 31") << Change([](RDSSource& s) { s.pty = 31; }) << 0;
        QTest::newRow("PTY without an entry") << Change([](RDSSource& s) { s.pty = 32; }) << 0;
        QTest::newRow("end characters at 0") << Change([](RDSSource& s) {
            s.enda = s.endb = s.endc = s.endd = s.endl = 0;
            s.endx = 0;
        }) << 0;
        QTest::newRow("end characters at 255") << Change([](RDSSource& s) {
            s.enda = s.endb = s.endc = s.endd = s.endl = 255;
            s.endx = 15;
        }) << 0;
        QTest::newRow("clock at its lower edges") << Change([](RDSSource& s) {
            s.zone = -12;
            s.mins = -960;
            s.days = 0;
            s.date = 0;
        }) << 0;
        QTest::newRow("clock at its upper edges") << Change([](RDSSource& s) {
            s.zone = 12;
            s.mins = 960;
            s.days = 73048;
            s.date = 1;
        }) << 0;
        QTest::newRow("error generator at its upper edges") << Change([](RDSSource& s) {
            s.err = 255;
            s.ber = 100;
            s.fix = 255;
        }) << 0;
        QTest::newRow("error generator off") << Change([](RDSSource& s) {
            s.err = 0;
            s.ber = 0;
            s.fix = 0;
        }) << 0;
        QTest::newRow("bursts at 100") << Change([](RDSSource& s) {
            s.buc1 = s.buc2 = s.eoc1 = s.eoc2 = 100;
            s.but1 = s.but2 = s.eot1 = s.eot2 = 100;
        }) << 0;
        QTest::newRow("bursts at 0") << Change([](RDSSource& s) {
            s.buc1 = s.buc2 = s.eoc1 = s.eoc2 = 0;
            s.but1 = s.but2 = s.eot1 = s.eot2 = 0;
        }) << 0;
        QTest::newRow("words at 0") << Change([](RDSSource& s) {
            s.pi = 0;
            s.slow = 0;
            s.pin = 0;
            s.rtbit = 0;
            s.ertb = 0;
            s.paid = 0;
            s.eaid = 0;
            s.mode = 0;
            s.pss = 0;
            s.afu = 0;
            s.dec = 0;
        }) << 0;
        QTest::newRow("words at their upper edges") << Change([](RDSSource& s) {
            s.pi = 0xFFFF;
            s.slow = 0xFFFF;
            s.pin = 0xFFFF;
            s.rtbit = 0xFFFF;
            s.ertb = 0xFFFF;
            s.paid = 0xFFFF;
            s.eaid = 0xFFFF;
            s.mode = 255;
            s.pss = 255;
            s.afu = 15;
            s.page = 255;
        }) << 0;
        QTest::newRow("group numbers and text switches at 255") << Change([](RDSSource& s) {
            s.rtgrp = 255;
            s.ertg = 255;
            s.rtitm = 255;
            s.rtxt = 255;
            s.rtxg = 255;
            s.boml = 255;
            s.tmgap = 1;
        }) << 0;
        QTest::newRow("texts longer than their fields") << Change([](RDSSource& s) {
            s.ps = QString(12, QLatin1Char('P'));
            s.lps = QString(40, QLatin1Char('L'));
            s.rta = QString(340, QLatin1Char('a'));
            s.rtc = QString(450, QLatin1Char('c'));
            s.pn1 = QString(43, QLatin1Char('1'));
        }) << 0;
    }

    void unrelatedEditKeepsStored()
    {
        QFETCH(Change, change);
        QFETCH(int, tmcSources);
        RDSSource source = richSource();
        change(source);
        RdsFormKit kit(source);
        for (int n = 0; n < tmcSources; ++n)
            kit.store->newTMC();
        RdsFormKit::settle();
        const RDSSource before = kit.store->rdsSource(kit.id);
        QCOMPARE(before, [&] {
            RDSSource expected = source;
            expected.used = before.used;
            expected.name = before.name;
            expected.gmin = before.gmin;
            return expected;
        }());

        auto* tp = kit.find<QCheckBox>("TP");
        const int tpBefore = kit.key(QStringLiteral("tp")).toInt();
        click(tp);
        QTRY_COMPARE_WITH_TIMEOUT(kit.key(QStringLiteral("tp")).toInt(), 1 - tpBefore,
                                  RdsFormKit::kWaitMs);
        RdsFormKit::settle();
        click(tp);
        QTRY_COMPARE_WITH_TIMEOUT(kit.key(QStringLiteral("tp")).toInt(), tpBefore,
                                  RdsFormKit::kWaitMs);
        RdsFormKit::settle();

        QCOMPARE(kit.writtenFields().join(QLatin1Char(' ')), QStringLiteral("tp tp"));
        QVERIFY(kit.store->rdsSource(kit.id) == before);
    }

    // The repeat fields take the whole range the store allows.
    void repeatTakesStoreRange_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("typed");
        QTest::newRow("RT A 200 times") << "rpA"
                                        << "rpa" << 200;
        QTest::newRow("RT B 255 times") << "rpB"
                                        << "rpb" << 255;
        QTest::newRow("eRT C never") << "rpC"
                                     << "rpc" << 0;
        QTest::newRow("eRT D 51 times") << "rpD"
                                        << "rpd" << 51;
        QTest::newRow("PTYN 1 never") << "rpty1"
                                      << "rp1" << 0;
        QTest::newRow("PTYN 2 255 times") << "rpty2"
                                          << "rp2" << 255;
    }

    void repeatTakesStoreRange()
    {
        QFETCH(QString, field);
        QFETCH(QString, key);
        QFETCH(int, typed);
        RdsFormKit kit(richSource());
        auto* box = kit.find<QSpinBox>(field.toLatin1().constData());
        box->selectAll();
        QTest::keyClicks(box, QString::number(typed));
        QTest::keyClick(box, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(kit.key(key).toInt(), typed, RdsFormKit::kWaitMs);
        RdsFormKit::settle();
        QCOMPARE(box->value(), typed);
    }

    // The shown TMC source is removed: the combo shows none chosen, and the
    // next edit of the source leaves its TMC source as stored.
    void removedTmcSourceIsNotReplaced()
    {
        RDSSource source = richSource();
        source.tmcsi = 2;
        RdsFormKit kit(source);
        for (int n = 0; n < 3; ++n)
            kit.store->newTMC();
        RdsFormKit::settle();
        auto* combo = kit.find<QComboBox>("tmcSI");
        QTRY_COMPARE_WITH_TIMEOUT(combo->currentData().toInt(), 2, RdsFormKit::kWaitMs);

        kit.store->removeTMC(2);
        RdsFormKit::settle();
        QTRY_COMPARE_WITH_TIMEOUT(combo->findData(2), -1, RdsFormKit::kWaitMs);
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->currentText(), QString());

        click(kit.find<QCheckBox>("TP"));
        QTRY_COMPARE_WITH_TIMEOUT(kit.key(QStringLiteral("tp")).toInt(), 0, RdsFormKit::kWaitMs);
        RdsFormKit::settle();
        QCOMPARE(kit.key(QStringLiteral("tmcsi")).toInt(), 2);
        QCOMPARE(kit.writtenFields().join(QLatin1Char(' ')), QStringLiteral("tp"));
    }
};

QTEST_MAIN(TestTabRDSStored)
#include "tst_tabrdsstored.moc"
