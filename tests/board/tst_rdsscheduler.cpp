// Group-type shares, the four streams and the TA bursts over many groups.
#include "RdsTestDecoder.h"
#include "board/RdsEncoder.h"

#include <QTest>

namespace {

constexpr int kGroups = 10000;
constexpr double kGroupsPerMinute = 60.0 / RdsEncoder::kGroupSeconds; // about 685

RDSSource baseSource()
{
    RDSSource s;
    s.pi = 0xD311;
    s.ps = "SCHEDULE";
    s.rta = "RadioText";
    s.gmin = {};
    s.mode = 0x01;
    s.buc1 = s.buc2 = 0;
    return s;
}

void rate(RDSSource& s, int t, int stream, int perMinute)
{
    s.gmin[t].on = 1;
    s.gmin[t].rate[stream] = perMinute;
}

QMap<int, int> countTypes(RdsEncoder& encoder, int groups, int stream = 0)
{
    QMap<int, int> counts;
    for (int i = 0; i < groups; ++i) {
        quint8 out[4][13];
        encoder.generate(out[0], out[1], out[2], out[3]);
        const auto g = RdsTestDecoder::unpack(out[stream]);
        ++counts[g.valid() ? g.index() : -1];
    }
    return counts;
}

} // namespace

class TestRdsScheduler : public QObject
{
    Q_OBJECT
private slots:
    void sharesFollowTheRates()
    {
        RDSSource s = baseSource();
        rate(s, 0, 0, 240); // PS: at least 240/min
        rate(s, 1, 0, 30);  // 1A: 30/min
        rate(s, 2, 0, -3);  // RadioText fills with weight 3
        rate(s, 10, 0, -1); // PTYN fills with weight 1
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const QMap<int, int> counts = countTypes(encoder, kGroups);
        const double minutes = kGroups / kGroupsPerMinute;
        QVERIFY(qAbs(counts.value(16) - 240 * minutes) < 10);
        QVERIFY(qAbs(counts.value(1) - 30 * minutes) < 5);
        const int rest = kGroups - counts.value(16) - counts.value(1);
        QVERIFY(qAbs(counts.value(2) - rest * 0.75) < 0.02 * kGroups);
        QVERIFY(qAbs(counts.value(10) - rest * 0.25) < 0.02 * kGroups);
        QCOMPARE(encoder.totals()[0], quint32(kGroups));
    }

    void onePositiveTypeKeepsSendingWithoutFillers()
    {
        RDSSource s = baseSource();
        rate(s, 1, 0, 10);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        QCOMPARE(countTypes(encoder, 1000).value(1), 1000);
    }

    void positiveTypeStopsAtItsRateWhenAFillerExists()
    {
        RDSSource s = baseSource();
        rate(s, 1, 0, 10);
        rate(s, 2, 0, -1);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const QMap<int, int> counts = countTypes(encoder, 6850); // ten minutes
        QVERIFY(qAbs(counts.value(1) - 100) <= 2);
    }

    void noRatesGiveZeroBytes()
    {
        RdsEncoder encoder;
        RDSSource s = baseSource();
        s.mode = 0x0F;
        encoder.setSource(s, 95.8);
        quint8 out[4][13];
        memset(out, 0xAA, sizeof(out));
        QCOMPARE(encoder.generate(out[0], out[1], out[2], out[3]), 13);
        for (const auto& stream : out)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(stream), 13), QByteArray(13, '\0'));
    }

    void equalRatiosPickTheLowerType()
    {
        RDSSource s = baseSource();
        rate(s, 10, 0, -1);
        rate(s, 1, 0, -1);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto g = RdsTestDecoder::unpack(QByteArray([&] {
            quint8 out[13];
            encoder.generate(out);
            return QByteArray(reinterpret_cast<const char*>(out), 13);
        }()));
        QCOMPARE(g.index(), 1);
    }

    void streamModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected"); // per stream 1..3: own, copy, zero
        QTest::newRow("default: copies without on bits") << 0x71 << "zero zero zero";
        QTest::newRow("all on, own groups") << 0x0F << "own own own";
        QTest::newRow("on and copy") << (0x0F | 0x10 | 0x40) << "copy own copy";
    }
    void streamModes()
    {
        QFETCH(int, mode);
        QFETCH(QString, expected);
        RDSSource s = baseSource();
        s.mode = quint8(mode);
        rate(s, 0, 0, -1);
        for (int k = 1; k < 4; ++k)
            rate(s, 1, k, -1);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        for (int round = 0; round < 20; ++round) {
            quint8 out[4][13];
            encoder.generate(out[0], out[1], out[2], out[3]);
            const QStringList kinds = expected.split(' ');
            for (int k = 1; k < 4; ++k) {
                const QByteArray bytes(reinterpret_cast<const char*>(out[k]), 13);
                const auto g = RdsTestDecoder::unpack(out[k]);
                if (kinds[k - 1] == "zero") {
                    QCOMPARE(bytes, QByteArray(13, '\0'));
                } else if (kinds[k - 1] == "own") {
                    QVERIFY(g.valid());
                    QCOMPARE(g.index(), 1);
                    QCOMPARE(g.data[0], quint16(0));
                } else {
                    QVERIFY(g.valid());
                    QCOMPARE(g.data[0], quint16(0));
                    QCOMPARE(bytes.mid(4),
                             QByteArray(reinterpret_cast<const char*>(out[0]), 13).mid(4));
                }
            }
        }
    }

    void taBurst_data()
    {
        QTest::addColumn<int>("taAfter");
        QTest::addColumn<int>("bursts");
        QTest::addColumn<int>("tenths");
        QTest::newRow("TA on: buc1 over but1") << 1 << 8 << 10;
        QTest::newRow("TA off: buc2 over but2") << 0 << 3 << 5;
    }
    void taBurst()
    {
        QFETCH(int, taAfter);
        QFETCH(int, bursts);
        QFETCH(int, tenths);
        RDSSource s = baseSource();
        rate(s, 1, 0, -1);
        s.ta = quint8(!taAfter);
        s.buc1 = taAfter ? quint8(bursts) : 0;
        s.but1 = quint8(tenths);
        s.buc2 = taAfter ? 0 : quint8(bursts);
        s.but2 = quint8(tenths);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        countTypes(encoder, 5);
        s.ta = quint8(taAfter);
        encoder.setSource(s, 95.8);
        QList<int> positions;
        for (int i = 0; i < 60; ++i) {
            quint8 out[13];
            encoder.generate(out);
            const auto g = RdsTestDecoder::unpack(out);
            QVERIFY(g.valid());
            if (g.index() == 31) {
                positions << i;
                QCOMPARE((g.data[1] >> 4) & 1, taAfter);
            }
        }
        QCOMPARE(positions.size(), bursts);
        QCOMPARE(positions.first(), 0); // the first at once
        const double span = positions.last() * RdsEncoder::kGroupSeconds;
        const double due = (bursts - 1) * (tenths * 0.1 / bursts);
        QVERIFY2(span >= due && span < due + 2 * RdsEncoder::kGroupSeconds,
                 qPrintable(QString::number(span)));
    }

    void tmcGapKeepsThreeGroupsBetween8A()
    {
        RDSSource s = baseSource();
        s.tmgap = 1;
        rate(s, 8, 0, -10);
        rate(s, 1, 0, -1);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        TMCSource tmc;
        tmc.used = 1;
        tmc.va1 = 0x400D; // gap field 0
        encoder.setTMCSource(tmc);
        int last8A = -100;
        int tmcGroups = 0;
        for (int i = 0; i < 500; ++i) {
            quint8 out[13];
            encoder.generate(out);
            if (RdsTestDecoder::unpack(out).index() == 8) {
                QVERIFY2(i - last8A >= 4, qPrintable(QString::number(i)));
                last8A = i;
                ++tmcGroups;
            }
        }
        QVERIFY(tmcGroups > 100);
    }

    // Group 14A goes out only while there are other networks; the first EON
    // row must bring it back without the RDS source being touched.
    void eonGroupFollowsTheEonList()
    {
        RDSSource s = baseSource();
        rate(s, 14, 0, 60);
        rate(s, 0, 0, -1);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        QCOMPARE(countTypes(encoder, 700).value(14), 0);

        EON entry;
        entry.pi = 0xD3A1;
        entry.ps = "OTHER";
        encoder.setEONList({entry}, 0);
        const int sent = countTypes(encoder, 700).value(14); // about a minute
        QVERIFY2(sent >= 55, qPrintable(QString::number(sent)));

        encoder.setEONList({}, -1);
        QCOMPARE(countTypes(encoder, 700).value(14), 0);
    }

    // Group 3A announces TMC only while the TMC source asks for it; once it
    // does again, 3A must come back without the RDS source being touched.
    void odaGroupFollowsTheTmcAnnouncement_data()
    {
        QTest::addColumn<int>("flagsBefore");
        QTest::addColumn<bool>("removedBetween");
        QTest::newRow("variant flags 0 -> 9") << 0 << false;
        QTest::newRow("variant flags 9 -> 0 -> 9") << 9 << false;
        QTest::newRow("TMC source removed and added again") << 9 << true;
    }
    void odaGroupFollowsTheTmcAnnouncement()
    {
        QFETCH(int, flagsBefore);
        QFETCH(bool, removedBetween);
        RDSSource s = baseSource();
        rate(s, 3, 0, 60);
        rate(s, 8, 0, -5);
        rate(s, 0, 0, -1);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        TMCSource tmc;
        tmc.used = 1;
        tmc.flag = quint8(flagsBefore);
        encoder.setTMCSource(tmc);
        if (removedBetween) {
            encoder.setTMCSource(TMCSource());
        } else {
            tmc.flag = 0;
            encoder.setTMCSource(tmc);
        }
        QCOMPARE(countTypes(encoder, 700).value(3), 0); // nothing announced: no 3A

        tmc.flag = 9;
        encoder.setTMCSource(tmc);
        const QMap<int, int> counts = countTypes(encoder, 700); // about a minute
        QVERIFY2(counts.value(3) >= 55, qPrintable(QString::number(counts.value(3))));
        QVERIFY(counts.value(8) > 0);
    }
};

QTEST_GUILESS_MAIN(TestRdsScheduler)
#include "tst_rdsscheduler.moc"
