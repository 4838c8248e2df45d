// The RDS monitor's decoder: records as the board engine publishes them,
// built here from blocks or taken from the real encoder.
#include "RdsRecordKit.h"
#include "rds/RDSDecoder.h"

#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kPi = 0xD311;

// Blocks B, C, D of a 4A group for a date, a time and the offset bits.
Blocks clockGroup(QDate date, int hour, int minute, int offset)
{
    const qint64 mjd = date.toJulianDay() - 2400001;
    return {kPi, int(0x4000 | ((mjd >> 15) & 3)), int(((mjd << 1) & 0xFFFF) | (hour >> 4)),
            ((hour & 15) << 12) | (minute << 6) | offset};
}

QString lineOf(RDSDecoder& decoder, int channel)
{
    QString line;
    decoder.decodeGroup(decoder.group(channel), line);
    return line;
}

QString cell(const RDSDecoder& decoder, int row, int column, int role = Qt::DisplayRole)
{
    return decoder.data(decoder.index(row, column), role).toString();
}

QStringList column0(const RDSDecoder& decoder)
{
    QStringList texts;
    for (int row = 0; row < decoder.rowCount(); ++row)
        texts << cell(decoder, row, 0);
    return texts;
}

} // namespace

class TestRdsDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Two hours east of UTC, without summer time, so the local time of a
        // record is known.
        qputenv("TZ", "XXX-2");
        tzset();
    }

    void recordLengthAndChannel_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("taken");
        QTest::newRow("17 bytes on channel 1") << 1 << 17 << true;
        QTest::newRow("17 bytes on channel 96") << 96 << 17 << true;
        QTest::newRow("16 bytes") << 1 << 16 << false;
        QTest::newRow("18 bytes") << 1 << 18 << false;
        QTest::newRow("channel 0") << 0 << 17 << false;
        QTest::newRow("channel 97") << 97 << 17 << false;
        QTest::newRow("negative channel") << -1 << 17 << false;
    }
    void recordLengthAndChannel()
    {
        QFETCH(int, channel);
        QFETCH(int, size);
        QFETCH(bool, taken);
        RDSDecoder decoder;
        decoder.setLog(channel);
        QSignalSpy layout(&decoder, &RDSDecoder::layoutChanged);
        QByteArray value = record({kPi, 0x2000, 0x4142, 0x4344});
        value.resize(size);
        QCOMPARE(decoder.addGroup(channel, value), taken);
        QCOMPARE(layout.count(), taken ? 1 : 0);
        const RdsChannelState state = decoder.group(qBound(1, channel, 96));
        QCOMPARE(state.counts.value(RdsChannelState::kTotal), taken ? 1 : 0);
        QCOMPARE(state.group.blocks[RdsGroup::A], quint16(taken ? kPi : 0));
        // The state of "no channel" never receives a group.
        QCOMPARE(decoder.group(0).counts.size(), 0);
        QCOMPARE(decoder.group(0).group.checks[0], RdsGroup::kComputeCheckword);
        QVERIFY(!decoder.group(0).time.isValid());
    }

    void outsideChannelsGiveTheEmptyState_data()
    {
        QTest::addColumn<int>("channel");
        QTest::newRow("0") << 0;
        QTest::newRow("97") << 97;
        QTest::newRow("1000") << 1000;
    }
    void outsideChannelsGiveTheEmptyState()
    {
        QFETCH(int, channel);
        RDSDecoder decoder;
        for (int c = 1; c <= 96; ++c)
            decoder.addGroup(c, record({kPi, 0x0000, 0, 0}));
        const RdsChannelState state = decoder.group(channel);
        QCOMPARE(state.counts.size(), 0);
        QCOMPARE(state.rows.size(), 0);
        QCOMPARE(state.group, RdsGroup());
    }

    void timeIsLocalAndWrapsAtMidnight_data()
    {
        QTest::addColumn<QTime>("sent");
        QTest::addColumn<QTime>("shown");
        QTest::newRow("morning") << QTime(8, 30, 5, 120) << QTime(10, 30, 5, 120);
        QTest::newRow("after midnight local") << QTime(23, 15) << QTime(1, 15);
    }
    void timeIsLocalAndWrapsAtMidnight()
    {
        QFETCH(QTime, sent);
        QFETCH(QTime, shown);
        RDSDecoder decoder;
        decoder.addGroup(3, record({kPi, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, sent));
        QCOMPARE(decoder.group(3).time, shown);
    }

    void flippedBitsFlagBlocks_data()
    {
        QTest::addColumn<int>("b");
        QTest::addColumn<Blocks>("dataFlips");
        QTest::addColumn<Blocks>("checkFlips");
        QTest::addColumn<int>("flags");
        QTest::newRow("clean 0A") << 0x0000 << Blocks{0, 0, 0, 0} << Blocks{0, 0, 0, 0} << 0;
        QTest::newRow("clean 0B checks C with C'")
            << 0x0800 << Blocks{0, 0, 0, 0} << Blocks{0, 0, 0, 0} << 0;
        QTest::newRow("one data bit of A")
            << 0x2000 << Blocks{1, 0, 0, 0} << Blocks{0, 0, 0, 0} << 0x1;
        QTest::newRow("B and D") << 0x2000 << Blocks{0, 0x0100, 0, 0x8000} << Blocks{0, 0, 0, 0}
                                 << 0xA;
        QTest::newRow("check word of C")
            << 0x2000 << Blocks{0, 0, 0, 0} << Blocks{0, 0, 0x200, 0} << 0x4;
        QTest::newRow("every block")
            << 0x2000 << Blocks{0x10, 0x20, 0x40, 0x80} << Blocks{0, 0, 0, 0} << 0xF;
    }
    void flippedBitsFlagBlocks()
    {
        QFETCH(int, b);
        QFETCH(Blocks, dataFlips);
        QFETCH(Blocks, checkFlips);
        QFETCH(int, flags);
        RDSDecoder decoder;
        const Blocks sent{kPi, b, 0x4142, 0x4344};
        QVERIFY(decoder.addGroup(7, record(sent, dataFlips, checkFlips)));
        const RdsChannelState state = decoder.group(7);
        QCOMPARE(int(state.errorFlags), flags);
        QCOMPARE(int(state.errors), qPopulationCount(quint32(flags)));
        // Stored as received, never repaired, and counted all the same.
        QCOMPARE(int(state.group.blocks[RdsGroup::D]), sent[3] ^ dataFlips[3]);
        QCOMPARE(state.counts.value(RdsChannelState::kTotal), 1);
    }

    void odaAnnouncementsNeedGoodBlocks_data()
    {
        QTest::addColumn<Blocks>("dataFlips");
        QTest::addColumn<bool>("taken");
        QTest::newRow("clean") << Blocks{0, 0, 0, 0} << true;
        QTest::newRow("bad A still names the application") << Blocks{4, 0, 0, 0} << true;
        QTest::newRow("bad B") << Blocks{0, 0x0002, 0, 0} << false;
        QTest::newRow("bad C") << Blocks{0, 0, 0x0001, 0} << false;
        QTest::newRow("bad D") << Blocks{0, 0, 0, 0x0400} << false;
    }
    void odaAnnouncementsNeedGoodBlocks()
    {
        QFETCH(Blocks, dataFlips);
        QFETCH(bool, taken);
        RDSDecoder decoder;
        decoder.addGroup(2, record({kPi, 0x3016, 0x0000, 0x4BD7}));            // RT+ in 11A
        decoder.addGroup(2, record({kPi, 0x3016, 0x2000, 0x6552}, dataFlips)); // eRT in 11A
        const RdsChannelState state = decoder.group(2);
        QCOMPARE(state.counts.value(6), 2);
        QCOMPARE(state.odaTypes.contains(0x6552), taken);
        QCOMPARE(state.odaTypes.value(0x4BD7), quint16(22));
        QCOMPARE(state.odaMessages.value(22), quint16(taken ? 0x2000 : 0x0000));
    }

    void groupText_data()
    {
        QTest::addColumn<Blocks>("blocks");
        QTest::addColumn<QString>("text");
        QTest::newRow("0A AF count and one FM")
            << Blocks{kPi, 0x0005, 0xE205, 0x4142} << " 101 AB #2 88";
        QTest::newRow("0A LF after 250") << Blocks{kPi, 0x0000, 0xFA01, 0x4142} << " 000 AB 153";
        QTest::newRow("0A MF after 250") << Blocks{kPi, 0x0000, 0xFA10, 0x4142} << " 000 AB 531";
        QTest::newRow("0A no AF") << Blocks{kPi, 0x0000, 0x0000, 0x4142} << " 000 AB";
        QTest::newRow("0A two FM") << Blocks{kPi, 0x0002, 0x01CC, 0x4142} << " 010 AB 87.6 107.9";
        QTest::newRow("0A FM and filler") << Blocks{kPi, 0x0000, 0x50CD, 0x4142} << " 000 AB 95.5";
        QTest::newRow("0B") << Blocks{kPi, 0x0803, 0x2345, 0x4344} << " 011 CD";
        QTest::newRow("1A ECC") << Blocks{kPi, 0x1000, 0x00E0, 0} << " ECC=E0";
        QTest::newRow("1A other variant") << Blocks{kPi, 0x1000, 0x30E0, 0} << "";
        QTest::newRow("2A control bytes and RDS characters")
            << Blocks{kPi, 0x2000, 0x410D, 0x245E} << QString::fromUtf8(" A_¤―");
        QTest::newRow("2B upper half")
            << Blocks{kPi, 0x2800, 0x2345, 0x8081} << QString::fromUtf8(" áà");
        QTest::newRow("10A") << Blocks{kPi, 0xA000, 0x4A41, 0x5A5A} << " JAZZ";
        QTest::newRow("3A RT+") << Blocks{kPi, 0x3016, 0x0000, 0x4BD7} << " 11A:RT+";
        QTest::newRow("3A eRT") << Blocks{kPi, 0x3019, 0x0001, 0x6552} << " 12B:eRT";
        QTest::newRow("3A unknown AID") << Blocks{kPi, 0x301A, 0x0000, 0x1234} << " 13A";
        QTest::newRow("3A TMC variant 0")
            << Blocks{kPi, 0x3010, 0x0047, 0xCD46} << " 8A:TMC VA0 LTN=1 M=0";
        QTest::newRow("3A TMC variant 1")
            << Blocks{kPi, 0x3010, 0x400D, 0xCD46} << " 8A:TMC VA1 SID=0 CC=D";
        QTest::newRow("3A TMC variant 2")
            << Blocks{kPi, 0x3010, 0x80E0, 0xCD47} << " 8A:TMC VA2 LTECC=E0";
        QTest::newRow("3A TMC variant 3") << Blocks{kPi, 0x3010, 0xC000, 0x0D45} << " 8A:TMC VA3";
        QTest::newRow("4A +2h") << clockGroup(QDate(2024, 5, 5), 8, 7, 0x04)
                                << " 2024-05-05 08:07 +2h";
        QTest::newRow("4A +1:30") << clockGroup(QDate(2024, 5, 5), 8, 7, 0x03)
                                  << " 2024-05-05 08:07 +1:30";
        QTest::newRow("4A -1h") << clockGroup(QDate(2024, 5, 5), 8, 7, 0x22)
                                << " 2024-05-05 08:07 -1h";
        QTest::newRow("4A -0:30") << clockGroup(QDate(2024, 5, 5), 8, 7, 0x21)
                                  << " 2024-05-05 08:07 -0:30";
        QTest::newRow("4A UTC, late evening")
            << clockGroup(QDate(2031, 12, 31), 23, 59, 0x00) << " 2031-12-31 23:59 +0h";
        QTest::newRow("15A") << Blocks{kPi, 0xF005, 0, 0} << " [5]";
        QTest::newRow("15B") << Blocks{kPi, 0xF806, 0, 0} << " 110";
        QTest::newRow("14A adds nothing") << Blocks{kPi, 0xE000, 0, 0} << "";
        QTest::newRow("8A system message")
            << Blocks{kPi, 0x8000, 0x0B20 | (3 << 11), 0x0400 * 5} << " G0 X 3 LTN=5 SID=25 ENC=0";
        QTest::newRow("8A tuning information") << Blocks{kPi, 0x8013, 0, 0} << " G0 TI3";
        QTest::newRow("8A single group") << Blocks{kPi, 0x800A, 0x0065, 0} << " G0 SG2 E= 101";
    }
    void groupText()
    {
        QFETCH(Blocks, blocks);
        QFETCH(QString, text);
        RDSDecoder decoder;
        decoder.addGroup(4, record(blocks));
        QCOMPARE(lineOf(decoder, 4), text);
    }

    void tmcMultiGroupMessage()
    {
        RDSDecoder decoder;
        struct Step
        {
            quint16 c, d;
            QString text;
        };
        // Label 1 holding 5, then fill; then a group of fill only.
        const QList<Step> steps{
            {0x8123, 0x0000, " G1 MG2 E= 291"},
            {0x61A0, 0x0000, " G0 MG2 SG2 :28: 1+3=5"},
            {0x61A0, 0x0000, " G0 MG2 SG2"}, // repeated: no bits
            {0x1000, 0x0000, " G0 MG2 ++1 :49:"},
        };
        decoder.addGroup(9, record({kPi, 0x0000, 0, 0}));
        for (const Step& step : steps) {
            decoder.addGroup(9, record({kPi, 0x8002, step.c, step.d}));
            QCOMPARE(lineOf(decoder, 9), step.text);
        }
        // Choosing a channel restarts the bit count.
        decoder.setLog(9);
        QString line;
        decoder.decodeTMC(0, line);
        QCOMPARE(line, QString(" :28:"));
    }

    void tmcFreeFormat_data()
    {
        QTest::addColumn<quint32>("bits");
        QTest::addColumn<QString>("text");
        QTest::newRow("fill only") << 0x0000000u << " :28:";
        QTest::newRow("label 1") << 0x1A00000u << " :28: 1+3=5";
        QTest::newRow("event label 9") << 0x900E000u << " :28: 9=E=7";
        QTest::newRow("location label 11") << 0xB123400u << " :28: b=L=4660";
        QTest::newRow("label 14 has no field") << 0xE1E0000u << " :28: e 1+3=7";
        QTest::newRow("a field that does not fit waits") << 0x501AABCu << " :28: 5+8=1";
    }
    void tmcFreeFormat()
    {
        QFETCH(quint32, bits);
        QFETCH(QString, text);
        RDSDecoder decoder;
        QString line;
        decoder.decodeTMC(bits, line);
        QCOMPARE(line, text);
    }

    void tmcFieldAcrossTwoGroups()
    {
        RDSDecoder decoder;
        QString line;
        decoder.decodeTMC(0x501AABC, line); // label 10 waits with 12 of its 16 bits
        line.clear();
        decoder.decodeTMC(0xD000000, line);
        QCOMPARE(line, QString(" :44: a=L=43981"));
    }

    void statisticsTable()
    {
        RDSDecoder decoder;
        decoder.setLog(1);
        QSignalSpy layout(&decoder, &RDSDecoder::layoutChanged);
        QSignalSpy changed(&decoder, &RDSDecoder::dataChanged);
        for (int b : {0x2000, 0xF800, 0x0000, 0x0000})
            QVERIFY(decoder.addGroup(1, record({kPi, b, 0, 0})));
        decoder.addGroup(2, record({kPi, 0x4000, 0, 0})); // not shown: no signal
        QCOMPARE(layout.count(), 3);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).value<QModelIndex>().row(), 0);
        QCOMPARE(changed.first().at(0).value<QModelIndex>().column(), 1);
        QCOMPARE(changed.first().at(1).value<QModelIndex>().column(), 3);

        QCOMPARE(column0(decoder), QStringList({"0A", "2A", "15B", "Summe"}));
        QCOMPARE(cell(decoder, 0, 1), QString("2"));
        QCOMPARE(cell(decoder, 0, 2), QString("343"));
        QCOMPARE(cell(decoder, 0, 3), QString("50.0 %"));
        QCOMPARE(cell(decoder, 3, 1), QString("4"));
        QCOMPARE(cell(decoder, 3, 2), QString("685"));
        QCOMPARE(cell(decoder, 3, 3), QString("100.0 %"));
        QCOMPARE(decoder.data(decoder.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!decoder.data(decoder.index(3, 0), Qt::CheckStateRole).isValid());
        QVERIFY(!decoder.data(decoder.index(4, 0)).isValid());
        QCOMPARE(decoder.headerData(1, Qt::Horizontal).toString(), QString("Gesamt"));
        QCOMPARE(decoder.headerData(2, Qt::Vertical).toInt(), 2);
        QVERIFY(decoder.flags(decoder.index(0, 0)) & Qt::ItemIsUserCheckable);
        QVERIFY(!(decoder.flags(decoder.index(0, 1)) & Qt::ItemIsUserCheckable));

        // Switching to another channel shows its own counts.
        decoder.setLog(2);
        QCOMPARE(column0(decoder), QStringList({"4A", "Summe"}));
        decoder.setLog(1);
        QCOMPARE(decoder.rowCount(), 4);
    }

    void filteredGroupsAreCountedButNotLogged()
    {
        RDSDecoder decoder;
        decoder.setLog(1);
        decoder.addGroup(1, record({kPi, 0x0000, 0, 0}));
        decoder.addGroup(1, record({kPi, 0x2000, 0, 0}));
        QVERIFY(decoder.setData(decoder.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(decoder.data(decoder.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(!decoder.addGroup(1, record({kPi, 0x0000, 0, 0})));
        QVERIFY(decoder.addGroup(1, record({kPi, 0x2000, 0, 0})));
        QCOMPARE(cell(decoder, 0, 1), QString("2"));
        // The filter holds for every channel.
        QVERIFY(!decoder.addGroup(50, record({kPi, 0x0000, 0, 0})));
        QVERIFY(decoder.setData(decoder.index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(decoder.addGroup(1, record({kPi, 0x0000, 0, 0})));
        QVERIFY(!decoder.setData(decoder.index(0, 1), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!decoder.setData(decoder.index(0, 0), Qt::Unchecked, Qt::EditRole));
    }

    void resetKeepsTheLastGroup()
    {
        RDSDecoder decoder;
        decoder.setLog(6);
        decoder.addGroup(6, record({kPi, 0x3016, 0x0000, 0x4BD7}, {0, 0, 0, 0}, {0x1, 0, 0, 0}));
        QCOMPARE(decoder.group(6).odaTypes.size(), 1);
        QSignalSpy layout(&decoder, &RDSDecoder::layoutChanged);
        decoder.reset(6);
        QCOMPARE(layout.count(), 1);
        const RdsChannelState state = decoder.group(6);
        QCOMPARE(decoder.rowCount(), 0);
        QVERIFY(state.odaTypes.isEmpty());
        QCOMPARE(int(state.errors), 0);
        QCOMPARE(int(state.errorFlags), 0x1);
        QCOMPARE(int(state.group.blocks[RdsGroup::D]), 0x4BD7);
        QVERIFY(state.time.isValid());
    }

    void decodesWhatTheEncoderSends()
    {
        const RDSSource source = encodedSource();
        RdsEncoder encoder;
        startEncoder(encoder, source);

        RDSDecoder decoder;
        decoder.setLog(5);
        QByteArray ps(8, '\0'), rt(64, ' '), ert;
        QStringList afLines, clockLines;
        RdsGroup rtPlus;
        constexpr int kGroups = 400;
        for (int i = 0; i < kGroups; ++i) {
            quint8 out[RdsEncoder::kGroupBytes];
            encoder.generate(out);
            QVERIFY(decoder.addGroup(5, RdsLogRecord::make(out, QTime(8, 0))));
            const RdsChannelState state = decoder.group(5);
            QCOMPARE(int(state.errors), 0);
            QCOMPARE(state.group.blocks[RdsGroup::A], quint16(0x2345));
            const quint16 b = state.group.blocks[RdsGroup::B];
            const quint16 c = state.group.blocks[RdsGroup::C];
            const quint16 d = state.group.blocks[RdsGroup::D];
            const QString line = lineOf(decoder, 5);
            switch (b >> 11) {
            case 0:
                ps[2 * (b & 3)] = char(d >> 8);
                ps[2 * (b & 3) + 1] = char(d);
                afLines << line;
                break;
            case 4:
                for (int k = 0; k < 4; ++k)
                    rt[4 * (b & 15) + k] = char((k < 2 ? c : d) >> (k % 2 ? 0 : 8));
                break;
            case 8:
                clockLines << line;
                break;
            case 22:
                QCOMPARE(line, QString()); // the monitor lists RT+ groups without text
                rtPlus = state.group;
                break;
            case 24:
                ert.resize(qMax(ert.size(), 4 * (b & 31) + 4));
                for (int k = 0; k < 4; ++k)
                    ert[4 * (b & 31) + k] = char((k < 2 ? c : d) >> (k % 2 ? 0 : 8));
                break;
            default:
                break;
            }
        }
        QCOMPARE(ps, QByteArray("QUORVIN "));
        QVERIFY2(rt.startsWith("Yesterday - Beatles\r"), rt.constData());
        QVERIFY(QString::fromUtf8(ert).startsWith(source.rtc));
        QVERIFY2(afLines.join('|').contains(" #4 95.8"), qPrintable(afLines.join('|')));
        for (const char* frequency : {" 87.6", " 100", " 153"})
            QVERIFY2(afLines.join('|').contains(frequency), frequency);
        QCOMPARE(clockLines, QStringList{" 2024-05-05 08:00 -1:30"});
        // The first RT+ tag marks the title within the RadioText.
        const quint16 c = rtPlus.blocks[RdsGroup::C];
        QCOMPARE(((rtPlus.blocks[RdsGroup::B] & 7) << 3) | (c >> 13), 1);
        QCOMPARE(rt.mid((c >> 7) & 0x3F, ((c >> 1) & 0x3F) + 1), QByteArray("Yesterday"));

        const RdsChannelState state = decoder.group(5);
        QCOMPARE(state.odaTypes.value(0x4BD7), quint16(22)); // RT+ in 11A
        QCOMPARE(state.odaTypes.value(0x6552), quint16(24)); // eRT in 12A
        QCOMPARE(state.counts.value(RdsChannelState::kTotal), kGroups);
        const QStringList rows = column0(decoder);
        QCOMPARE(rows.first(), QString("0A"));
        for (const char* type : {"2A", "3A", "4A", "11A", "12A"})
            QVERIFY2(rows.contains(type), type);
        QCOMPARE(rows.last(), QString("Summe"));
        QCOMPARE(cell(decoder, int(rows.size()) - 1, 2), QString("685"));
        QCOMPARE(cell(decoder, int(rows.size()) - 1, 3), QString("100.0 %"));
    }
};

QTEST_GUILESS_MAIN(TestRdsDecoder)
#include "tst_rdsdecoder.moc"
