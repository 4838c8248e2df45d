// Checkwords, the 13-byte packing, log records, error injection and the five
// group line forms, checked against the independent test decoder.
#include "RdsTestDecoder.h"
#include "board/RdsEncoder.h"
#include "board/RdsGroup.h"
#include "board/RdsGroupBytes.h"
#include "settings/RdsLogRecord.h"

#include <QTime>

#include <QRandomGenerator>
#include <QTest>

#include <bitset>

namespace {

QByteArray packed(const RdsGroup& group)
{
    return RdsGroupBytes::fromGroup(group).toByteArray();
}

RdsGroup groupOf(quint16 a, quint16 b, quint16 c, quint16 d)
{
    RdsGroup g;
    g.blocks = {a, b, c, d};
    g.computeCheckwords();
    return g;
}

int differingBits(const QByteArray& x, const QByteArray& y)
{
    int n = 0;
    for (int i = 0; i < x.size(); ++i)
        n += int(std::bitset<8>(quint8(x[i] ^ y[i])).count());
    return n;
}

} // namespace

class TestRdsGroup : public QObject
{
    Q_OBJECT
private slots:
    void zeroDataGivesTheOffsetWords_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<bool>("versionB");
        QTest::addColumn<int>("offset");
        QTest::newRow("A") << 0 << false << 0x0FC;
        QTest::newRow("B") << 1 << false << 0x198;
        QTest::newRow("C") << 2 << false << 0x168;
        QTest::newRow("C' in a version-B group") << 2 << true << 0x350;
        QTest::newRow("D") << 3 << false << 0x1B4;
    }
    void zeroDataGivesTheOffsetWords()
    {
        QFETCH(int, block);
        QFETCH(bool, versionB);
        QFETCH(int, offset);
        RdsGroup g;
        g.blocks = {0, quint16(versionB && block != 1 ? 0x0800 : 0), 0, 0};
        g.computeCheckwords();
        if (block == 1)
            QCOMPARE(int(g.checks[1]), offset);
        else
            QCOMPARE(int(g.checks[block]), offset);
    }

    void checkwordsAgreeWithTheDecoderOnRandomGroups()
    {
        QRandomGenerator rng(4711);
        for (int i = 0; i < 2000; ++i) {
            const RdsGroup g = groupOf(quint16(rng.generate()), quint16(rng.generate()),
                                       quint16(rng.generate()), quint16(rng.generate()));
            const auto decoded = RdsTestDecoder::unpack(packed(g));
            QVERIFY2(decoded.valid(), qPrintable(packed(g).toHex()));
            QCOMPARE(decoded.data, g.blocks);
            QCOMPARE(decoded.check, g.checks);
        }
    }

    void aSingleBitErrorIsDetected()
    {
        const QByteArray good = packed(groupOf(0xD311, 0x0408, 0xE0E0, 0x4142));
        for (int bit = 0; bit < 104; ++bit) {
            QByteArray bad = good;
            bad[bit / 8] = char(bad[bit / 8] ^ (0x80 >> (bit % 8)));
            QVERIFY2(!RdsTestDecoder::unpack(bad).valid(), qPrintable(QString::number(bit)));
        }
    }

    void packingPutsEachFieldInItsBits_data()
    {
        QTest::addColumn<QList<int>>("blocksAndChecks");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("block A only")
            << QList<int>{0xFFFF, 0, 0, 0, 0, 0, 0, 0} << QByteArray("ffff0000000000000000000000");
        QTest::newRow("checkword A only")
            << QList<int>{0, 0, 0, 0, 0x3FF, 0, 0, 0} << QByteArray("0000ffc0000000000000000000");
        QTest::newRow("block B only")
            << QList<int>{0, 0xFFFF, 0, 0, 0, 0, 0, 0} << QByteArray("0000003fffc000000000000000");
        QTest::newRow("checkword D only")
            << QList<int>{0, 0, 0, 0, 0, 0, 0, 0x3FF} << QByteArray("000000000000000000000003ff");
        QTest::newRow("block D only")
            << QList<int>{0, 0, 0, 0xFFFF, 0, 0, 0, 0} << QByteArray("00000000000000000003fffc00");
        QTest::newRow("block C only")
            << QList<int>{0, 0, 0xFFFF, 0, 0, 0, 0, 0} << QByteArray("0000000000000ffff000000000");
    }
    void packingPutsEachFieldInItsBits()
    {
        QFETCH(QList<int>, blocksAndChecks);
        QFETCH(QByteArray, hex);
        RdsGroup g;
        for (int i = 0; i < 4; ++i) {
            g.blocks[i] = quint16(blocksAndChecks[i]);
            g.checks[i] = quint16(blocksAndChecks[4 + i]);
        }
        QCOMPARE(packed(g).toHex(), hex);
        QCOMPARE(RdsGroupBytes::unpack(
                     reinterpret_cast<const quint8*>(QByteArray::fromHex(hex).constData())),
                 g);
    }

    void zeroBlockAPacksAsTheStandardSays()
    {
        const QByteArray bytes = packed(groupOf(0, 0x1234, 0x5678, 0x9ABC));
        QCOMPARE(quint8(bytes[0]), quint8(0));
        QCOMPARE(quint8(bytes[1]), quint8(0));
        QCOMPARE(quint8(bytes[2]), quint8(0x3F));
        QCOMPARE(quint8(bytes[3]) & 0xC0, 0);
    }

    void goldenRecord()
    {
        // PI D311, group 0A, TP, PTY 10, segment 0 "AB", AF filler E0E0.
        const QByteArray bytes = packed(groupOf(0xD311, 0x0548, 0xE0E0, 0x4142));
        const auto decoded = RdsTestDecoder::unpack(bytes);
        QVERIFY(decoded.valid());
        QCOMPARE(bytes.left(2).toHex(), QByteArray("d311"));
        QCOMPARE(decoded.data[3], quint16(0x4142));
    }

    void logRecordIsGroupThenLittleEndianMilliseconds()
    {
        const QByteArray group = packed(groupOf(0xD311, 0x0548, 0xE0E0, 0x4142));
        const qint32 ms = 12 * 3600000 + 34567;
        const QByteArray record = RdsLogRecord::make(
            reinterpret_cast<const uchar*>(group.constData()), QTime::fromMSecsSinceStartOfDay(ms));
        QCOMPARE(record.size(), 17);
        QCOMPARE(record.left(13), group);
        QCOMPARE(record.mid(13).toHex(), QByteArray("07b59302"));
        QCOMPARE(RdsLogRecord::msecsSinceMidnight(record), ms);
        QCOMPARE(RdsLogRecord::groupBytes(record), group);
        QCOMPARE(RdsLogRecord::msecsSinceMidnight(record.left(16)), -1);
        QVERIFY(RdsLogRecord::groupBytes(record + 'x').isEmpty());
    }

    void groupLineForms_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<int>>("blocks");
        QTest::addColumn<QList<bool>>("good");
        const QList<int> blocks{0xD311, 0x2410, 0x4142, 0x4344};
        const QList<bool> allGood{true, true, true, true};
        QTest::newRow("26 hex characters")
            << packed(groupOf(0xD311, 0x2410, 0x4142, 0x4344)).toHex() << 13 << blocks << allGood;
        QTest::newRow("status ABCD and four blocks")
            << QByteArray("ABCD D311 2410 4142 4344") << 13 << blocks << allGood;
        QTest::newRow("status ABC0 inverts checkword D")
            << QByteArray("12:00:01 ABC0 D311 2410 4142 4344") << 13 << blocks
            << QList<bool>{true, true, true, false};
        QTest::newRow("four blocks after a time")
            << QByteArray("  12:00:01   d311 2410 4142 4344  ") << 13 << blocks << allGood;
        QTest::newRow("eight bytes")
            << QByteArray("D3 11 24 10 41 42 43 44") << 13 << blocks << allGood;
        QTest::newRow("sixteen characters")
            << QByteArray("D311241041424344") << 13 << blocks << allGood;
        QTest::newRow("comment") << QByteArray("# D311 2410 4142 4344") << 0 << QList<int>()
                                 << QList<bool>();
        QTest::newRow("empty") << QByteArray("   ") << 0 << QList<int>() << QList<bool>();
        QTest::newRow("not hexadecimal")
            << QByteArray("XYZW 2410 4142 4344") << 0 << QList<int>() << QList<bool>();
        QTest::newRow("too few blocks")
            << QByteArray("D311 2410 4142") << 0 << QList<int>() << QList<bool>();
        QTest::newRow("seven bytes")
            << QByteArray("D3 11 24 10 41 42 43") << 0 << QList<int>() << QList<bool>();
    }
    void groupLineForms()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, result);
        QFETCH(QList<int>, blocks);
        QFETCH(QList<bool>, good);
        RdsEncoder encoder;
        quint8 out[13] = {};
        QCOMPARE(encoder.parseGroupLine(out, line), result);
        if (result == 0)
            return;
        const auto decoded = RdsTestDecoder::unpack(out);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(int(decoded.data[i]), blocks[i]);
            QCOMPARE(decoded.offset[i] != RdsTestDecoder::OffsetNone, good[i]);
        }
    }

    void errorInjection_data()
    {
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("ber");
        QTest::addColumn<int>("fix");
        QTest::addColumn<QByteArray>("expected"); // hex of the whole group, or empty
        QTest::addColumn<int>("flippedBits");     // -1: not checked
        QTest::newRow("xor 100 % inverts every bit")
            << 0x80 << 100 << 0 << QByteArray("invert") << 104;
        QTest::newRow("and 100 % clears every bit")
            << 0x81 << 100 << 0 << QByteArray(26, '0') << -1;
        QTest::newRow("or 100 % sets every bit") << 0x82 << 100 << 0 << QByteArray(26, 'f') << -1;
        QTest::newRow("generator off") << 0x00 << 100 << 0 << QByteArray("same") << 0;
        QTest::newRow("rate 0") << 0x80 << 0 << 0 << QByteArray("same") << 0;
        QTest::newRow("unknown operation") << 0x85 << 100 << 0 << QByteArray("same") << 0;
        QTest::newRow("exact count of 10 %") << 0x80 << 10 << 0x80 << QByteArray() << 10;
        QTest::newRow("exact count of 90 %") << 0x80 << 90 << 0x80 << QByteArray() << 94;
        QTest::newRow("exact count of 50 %") << 0x80 << 50 << 0x80 << QByteArray() << 52;
    }
    void errorInjection()
    {
        QFETCH(int, err);
        QFETCH(int, ber);
        QFETCH(int, fix);
        QFETCH(QByteArray, expected);
        QFETCH(int, flippedBits);
        RDSSource source;
        source.err = quint8(err);
        source.ber = quint8(ber);
        source.fix = quint8(fix);
        RdsEncoder encoder;
        encoder.setSource(source, 95.8);
        const RdsGroup g = groupOf(0xD311, 0x2410, 0x4142, 0x4344);
        const QByteArray clean = packed(g);
        for (int round = 0; round < 20; ++round) {
            quint8 out[13];
            encoder.packGroup(out, g);
            const QByteArray sent(reinterpret_cast<const char*>(out), 13);
            if (expected == "same")
                QCOMPARE(sent, clean);
            else if (expected == "invert")
                QCOMPARE(differingBits(sent, clean), 104);
            else if (!expected.isEmpty())
                QCOMPARE(sent.toHex(), expected);
            if (flippedBits >= 0)
                QCOMPARE(differingBits(sent, clean), flippedBits);
        }
    }

    void repairsAfterInjection()
    {
        RDSSource source;
        source.err = 0x80;
        source.ber = 30;
        source.fix = 1 | 2 | 4;
        RdsEncoder encoder;
        encoder.setSource(source, 95.8);
        const RdsGroup g = groupOf(0xD311, 0x2410, 0x4142, 0x4344);
        for (int round = 0; round < 50; ++round) {
            quint8 out[13];
            encoder.packGroup(out, g);
            const auto decoded = RdsTestDecoder::unpack(out);
            QVERIFY(decoded.valid()); // fresh checkwords over damaged data
            QCOMPARE(decoded.data[0], quint16(0xD311));
            QCOMPARE(decoded.data[1] & 0xF800, 0x2000);
        }
    }

    void randomInjectionHitsAboutTheRate()
    {
        RDSSource source;
        source.err = 0x80;
        source.ber = 20;
        RdsEncoder encoder;
        encoder.setSource(source, 95.8);
        const RdsGroup g = groupOf(0xD311, 0x2410, 0x4142, 0x4344);
        const QByteArray clean = packed(g);
        int flipped = 0;
        constexpr int kRounds = 500;
        for (int round = 0; round < kRounds; ++round) {
            quint8 out[13];
            encoder.packGroup(out, g);
            flipped += differingBits(QByteArray(reinterpret_cast<const char*>(out), 13), clean);
        }
        const double share = flipped / (104.0 * kRounds);
        QVERIFY2(share > 0.17 && share < 0.23, qPrintable(QString::number(share)));
    }
};

QTEST_GUILESS_MAIN(TestRdsGroup)
#include "tst_rdsgroup.moc"
