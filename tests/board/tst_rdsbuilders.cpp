// Each group type the encoder builds, read back by the independent decoder.
#include "RdsTestDecoder.h"
#include "board/RdsEncoder.h"
#include "tmc/TMCEvents.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kOnly = 60; // groups per minute of the one type switched on

RDSSource sourceWith(int type)
{
    RDSSource s;
    s.pi = 0xD311;
    s.gmin = {};
    s.gmin[type].on = 1;
    s.gmin[type].rate[0] = kOnly;
    s.mode = 0x01;
    return s;
}

// An encoder that sends group 8A with the one TMC message m, repeated once.
void sendTmcMessage(RdsEncoder& encoder, const TMCMessage& m)
{
    encoder.setSource(sourceWith(8), 95.8);
    TMCSource tmc;
    tmc.used = 1;
    tmc.rpt = 1;
    tmc.messages = {m};
    encoder.setTMCSource(tmc);
}

RdsTestDecoder run(RdsEncoder& encoder, int groups)
{
    RdsTestDecoder decoder;
    for (int i = 0; i < groups; ++i) {
        quint8 out[13];
        encoder.generate(out);
        if (!decoder.add(out))
            qWarning("bad group %d", i);
    }
    return decoder;
}

QList<RdsTestDecoder::Blocks> blocksOf(RdsEncoder& encoder, int groups)
{
    return run(encoder, groups).all;
}

} // namespace

class TestRdsBuilders : public QObject
{
    Q_OBJECT
private slots:
    void psSegmentsInTurn()
    {
        RDSSource s = sourceWith(0);
        s.ps = "ABCDEFGH";
        s.pss = 0x31; // scrolling off
        s.dec = 9;    // stereo + dynamic PTY
        s.ta = 1;
        s.buc1 = 0; // no 15B burst when TA goes on
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto groups = blocksOf(encoder, 8);
        const QList<quint16> expected{0x4142, 0x4344, 0x4546, 0x4748};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(groups[i].index(), 16); // no AF: 0B
            QCOMPARE(groups[i].data[1] & 3, i % 4);
            QCOMPARE(groups[i].data[3], expected[i % 4]);
            QCOMPARE(groups[i].data[2], quint16(0xD311)); // 0B carries PI in block C
            QVERIFY(groups[i].data[1] & 0x10);            // TA
        }
        const RdsTestDecoder decoder = run(encoder, 4);
        QCOMPARE(decoder.ps, QByteArray("ABCDEFGH"));
        QCOMPARE(decoder.di, quint8(9));
    }

    void psScrolls()
    {
        RDSSource s = sourceWith(0);
        s.ps = "0123456789AB";
        s.pss = 0x08; // scroll by one character after every cycle
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        QStringList seen;
        for (int cycle = 0; cycle < 6; ++cycle)
            seen << QString::fromLatin1(run(encoder, 4).ps);
        QCOMPARE(seen, QStringList({"01234567", "12345678", "23456789", "3456789A", "456789AB",
                                    "01234567"}));
    }

    void afListInGroup0A()
    {
        RDSSource s = sourceWith(0);
        s.afu = 1 | 4; // AF on, manual list, method A
        s.afs = {AFEntry{876, 0, 0, 0}, AFEntry{1079, 0, 0, 0}};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 4);
        QCOMPARE(decoder.counts.value(0), 4);
        QCOMPARE(decoder.afWords, QList<quint16>({0xE353, 0x01CC, 0xE353, 0x01CC}));
    }

    // What a receiver makes of method B: each list read on its own, headed by
    // the transmitter it belongs to.
    void afMethodBListsOnAir_data()
    {
        QTest::addColumn<double>("tuned");
        QTest::newRow("tuned 100.0") << 100.0;
        QTest::newRow("tuned 95.8") << 95.8;
    }
    void afMethodBListsOnAir()
    {
        QFETCH(double, tuned);
        RDSSource s = sourceWith(0);
        s.afu = 1 | 4 | 8; // AF on, manual lists, method B
        s.afs = {AFEntry{958, AFEntry::kNegativeMarker, 0, 0},
                 AFEntry{876, 0, 0, 0},
                 AFEntry{1000, 0, 0, 0},
                 AFEntry{1000, AFEntry::kNegativeMarker, 0, 0},
                 AFEntry{876, 0, 0, 0},
                 AFEntry{958, 0, 0, 0}};
        RdsEncoder encoder;
        encoder.setSource(s, tuned);
        const QList<quint16> words = run(encoder, 24).afWords;

        QMap<int, QList<int>> lists; // head -> frequencies, both x10
        int head = -1;
        for (quint16 word : words) {
            const int high = word >> 8, low = word & 0xFF;
            if (high >= 224 && high <= 249) {
                if (word == words.first() && !lists.isEmpty())
                    break; // the next cycle
                head = low;
                QVERIFY2(!lists.contains(875 + head), "a list head sent twice");
                lists[875 + head];
                continue;
            }
            QVERIFY(high == head || low == head);
            lists[875 + head] << 875 + (high == head ? low : high);
        }
        for (QList<int>& list : lists)
            std::sort(list.begin(), list.end());
        const QMap<int, QList<int>> expected{{958, {876, 1000}}, {1000, {876, 958}}};
        QCOMPARE(lists, expected);
        // The list of the frequency the receiver is tuned to comes first.
        QCOMPARE(875 + (words.first() & 0xFF), int(std::lround(tuned * 10)));
    }

    void radioText2A()
    {
        RDSSource s = sourceWith(2);
        s.rta = QString(64, u'x').replace(0, 4, "Helo");
        s.rpb = 0;
        s.endx = 0;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 16);
        QCOMPARE(decoder.rtSegments.size(), 16);
        QCOMPARE(decoder.rtSegments.first(), 0);
        QCOMPARE(decoder.rtSegments.last(), 15);
        QCOMPARE(decoder.rt, s.rta.toLatin1());
        QCOMPARE(decoder.rtFlagChanges, 0);
    }

    void radioTextEndCharacter()
    {
        RDSSource s = sourceWith(2);
        s.rta = "ABCD";
        s.endx = 1;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto groups = blocksOf(encoder, 4);
        QCOMPARE(groups[0].data[1] & 15, 0);
        QCOMPARE(groups[1].data[1] & 15, 1);
        QCOMPARE(groups[1].data[2], quint16(0x0D0D));
        QCOMPARE(groups[1].data[3], quint16(0x0D0D));
        QCOMPARE(groups[2].data[1] & 15, 0); // a new cycle
    }

    void radioTextAbFlagToggles()
    {
        RDSSource s = sourceWith(2);
        s.rta = "First";
        s.rtxt = 8 | 16;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        RdsTestDecoder before = run(encoder, 2);
        s.rta = "Second";
        encoder.setSource(s, 95.8);
        quint8 out[13];
        encoder.generate(out);
        before.add(out);
        QCOMPARE(before.rtFlagChanges, 1);
        QCOMPARE(before.rt.left(6), QByteArray("Seco\0\0", 6)); // the decoder starts a new text
    }

    void radioText2B()
    {
        RDSSource s = sourceWith(2);
        s.rtxg = 1;
        s.rta = "Hi!";
        s.endx = 1;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 2);
        QCOMPARE(decoder.counts.value(18), 2);
        QCOMPARE(decoder.all[0].data[2], quint16(0xD311));
        QCOMPARE(decoder.rt.left(4), QByteArray("Hi!\r"));
    }

    void programmeTypeName()
    {
        RDSSource s = sourceWith(10);
        s.pn2 = "Jazz";
        s.pn1 = "Rock";
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 2);
        QCOMPARE(decoder.ptyn, QByteArray("Jazz    "));
        QCOMPARE(decoder.counts.value(10), 2);
    }

    void longPs()
    {
        RDSSource s = sourceWith(15);
        s.lps = QString::fromUtf8("Süd #263A");
        s.endx = 0;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 4);
        QCOMPARE(decoder.longPs.left(8), QString::fromUtf8("Süd ☺").toUtf8());
        QCOMPARE(decoder.all[0].data[1] & 7, 0);
        QCOMPARE(decoder.all[1].data[1] & 7, 1);
        QCOMPARE(decoder.all[2].data[1] & 7, 2);
        QCOMPARE(decoder.all[3].data[1] & 7, 0); // past the text: from the start
    }

    void group1A()
    {
        RDSSource s = sourceWith(1);
        s.page = 5;
        s.slow = 0x80E0;
        s.pin = 0x1234;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto g = blocksOf(encoder, 1).first();
        QCOMPARE(g.index(), 1);
        QCOMPARE(g.data[1] & 31, 5);
        QCOMPARE(g.data[2], quint16(0x80E0));
        QCOMPARE(g.data[3], quint16(0x1234));
    }

    void clockTime_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        const QDate day(2024, 2, 28);
        QTest::newRow("23:59, +1 hour")
            << QDateTime(day, QTime(23, 59), Qt::UTC) << 2 << 0 << day << 23 << 59;
        QTest::newRow("half-hour offset")
            << QDateTime(day, QTime(10, 0), Qt::UTC) << 1 << 0 << day << 10 << 0;
        QTest::newRow("negative offset")
            << QDateTime(day, QTime(10, 0), Qt::UTC) << -7 << 0 << day << 10 << 0;
        QTest::newRow("across midnight by the minute offset")
            << QDateTime(day, QTime(23, 59), Qt::UTC) << 0 << 2 << QDate(2024, 2, 29) << 0 << 1;
        QTest::newRow("new year") << QDateTime(QDate(2025, 12, 31), QTime(23, 30), Qt::UTC) << 0
                                  << 45 << QDate(2026, 1, 1) << 0 << 15;
    }
    void clockTime()
    {
        QFETCH(QDateTime, time);
        QFETCH(int, zone);
        QFETCH(int, minutes);
        QFETCH(QDate, date);
        QFETCH(int, hour);
        QFETCH(int, minute);
        RDSSource s = sourceWith(0);
        s.gmin[4].on = 1;
        s.zone = qint8(zone);
        s.mins = minutes;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        encoder.setTime(time);
        const auto g = blocksOf(encoder, 2);
        QCOMPARE(g[0].index(), 4);
        const auto t = RdsTestDecoder::clockTime(g[0]);
        QCOMPARE(t.date, date);
        QCOMPARE(t.hour, hour);
        QCOMPARE(t.minute, minute);
        QCOMPARE(t.halfHours, zone);
        QCOMPARE(g[1].index(), 16); // the clock goes out once
    }

    void fixedDate_data()
    {
        QTest::addColumn<quint32>("days");
        QTest::addColumn<QDate>("date");
        QTest::newRow("day count") << quint32(42003) << QDate(2015, 3, 1);
        QTest::newRow("0 is today") << quint32(0) << QDate(2024, 5, 5);
    }

    void fixedDate()
    {
        QFETCH(quint32, days);
        QFETCH(QDate, date);
        RDSSource s = sourceWith(0);
        s.gmin[4].on = 1;
        s.date = 1;
        s.days = days;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        encoder.setTime(QDateTime(QDate(2024, 5, 5), QTime(8, 0), Qt::UTC));
        QCOMPARE(RdsTestDecoder::clockTime(blocksOf(encoder, 1)[0]).date, date);
    }

    void eonEntries()
    {
        RDSSource s = sourceWith(14);
        EON first;
        first.pi = 0xD3A1;
        first.ps = "OTHER 1";
        first.pty = 5;
        first.ta = 1;
        first.tp = 1;
        first.af = {AFEntry{876, 0, 0, 0}, AFEntry{1530, 0, 0, 0}, AFEntry{1079, 0, 0, 0}};
        EON second;
        second.pi = 0xD3A2;
        second.ps = "OTHER 2";
        second.link = 0x1234;
        s.eon = {first, second};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 8 + 6);
        const auto a = decoder.eon.value(0xD3A1);
        QCOMPARE(a.ps, QByteArray("OTHER 1 "));
        QCOMPARE(a.afWords, QList<quint16>({0x01CD, 0xFA01, 0xCCCD}));
        QCOMPARE(a.pty, 5);
        QCOMPARE(a.ta, 1);
        QCOMPARE(a.tp, 1);
        const auto b = decoder.eon.value(0xD3A2);
        QCOMPARE(b.ps, QByteArray("OTHER 2 "));
        QCOMPARE(b.linkage, quint16(0x1234));
        QCOMPARE(decoder.counts.value(14), 14);
    }

    void eonTaBurstSends14B()
    {
        RDSSource s = sourceWith(14);
        EON entry;
        entry.pi = 0xD3A1;
        entry.tp = 1;
        s.eon = {entry};
        s.eoc1 = 4;
        s.eot1 = 0; // all at once
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        entry.ta = 1;
        encoder.setEONList({entry}, 0);
        const auto g = blocksOf(encoder, 5);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(g[i].index(), 30);
            QCOMPARE(g[i].data[2], quint16(0xD311));
            QCOMPARE(g[i].data[3], quint16(0xD3A1));
            QCOMPARE(g[i].data[1] & 0x18, 0x18); // TP and TA of the other network
        }
        QCOMPARE(g[4].index(), 14);
    }

    void odaAnnouncements()
    {
        RDSSource s = sourceWith(3);
        s.rtxt = 8 | 64 | 128;
        s.ertg = 12;
        s.rtgrp = 11;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        TMCSource tmc;
        tmc.used = 1;
        tmc.flag = 1 | 8;
        encoder.setTMCSource(tmc);
        const RdsTestDecoder decoder = run(encoder, 8);
        QCOMPARE(decoder.odaAids.value(0x10), quint16(0xCD46));
        QCOMPARE(decoder.odaAids.value(24), quint16(0x6552)); // eRT in 12A
        QCOMPARE(decoder.odaAids.value(22), quint16(0x4BD7)); // RT+ in 11A
        QCOMPARE(decoder.all[0].data[2], quint16(0x0047));
        QCOMPARE(decoder.all[1].data[2], quint16(0x400D));
    }

    void radioTextPlusTags()
    {
        RDSSource s = sourceWith(11);
        s.rtgrp = 11;
        s.rta = "$0 - $1";
        s.rtitm = 1 | 8; // item running, tags from the song
        s.rttag = {RTag{1, "Title"}, RTag{4, "Artist"}};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        encoder.setTags({{"Title", "Yesterday"}, {"Artist", "Beatles"}});
        const auto g = blocksOf(encoder, 1).first();
        QCOMPARE(g.index(), 11);
        QVERIFY(g.data[1] & 8);
        const auto tags = RdsTestDecoder::rtPlusTags(g);
        QCOMPARE(tags[0].type, 1);
        QCOMPARE(tags[0].start, 0);
        QCOMPARE(tags[0].length, 8);
        QCOMPARE(tags[1].type, 4);
        QCOMPARE(tags[1].start, 12);
        QCOMPARE(tags[1].length, 6);
    }

    // A receiver cuts each tag out of the RadioText it received: the tags
    // must frame the tag texts there, whatever escapes the template holds.
    void radioTextPlusTagsFrameTheTextOnAir_data()
    {
        QTest::addColumn<QString>("radioText");
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QByteArray>("firstOnAir");
        QTest::addColumn<QByteArray>("secondOnAir");
        QTest::newRow("escape before the tags, escape in a tag")
            << "#41BC $0 by $1" << QByteArray() << "Song"
            << "Caf#E9" << QByteArray("Song") << QByteArray("Caf\xE9");
        QTest::newRow("double hash before the tag")
            << "##1 $0" << QByteArray() << "Hit" << QString() << QByteArray("Hit") << QByteArray();
        QTest::newRow("four hex digits are not one escape")
            << "#0041$0" << QByteArray() << "X" << QString() << QByteArray("X") << QByteArray();
        QTest::newRow("UTF-8 RadioText counts bytes")
            << QString::fromUtf8("Grüß $0 / $1") << QByteArray("UTF-8") << QString::fromUtf8("Öl")
            << "Ende" << QByteArray("\xC3\x96l") << QByteArray("Ende");
    }
    void radioTextPlusTagsFrameTheTextOnAir()
    {
        QFETCH(QString, radioText);
        QFETCH(QByteArray, codec);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QByteArray, firstOnAir);
        QFETCH(QByteArray, secondOnAir);
        RDSSource s = sourceWith(2);
        s.gmin[11].on = 1;
        s.gmin[11].rate[0] = kOnly;
        s.rtgrp = 11;
        s.rta = radioText;
        s.crt = codec;
        s.rtitm = 1;
        s.rttag = {RTag{1, first}};
        if (!second.isEmpty())
            s.rttag << RTag{4, second};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const RdsTestDecoder decoder = run(encoder, 40);
        QList<RdsTestDecoder::RtPlusTag> tags;
        for (const auto& g : decoder.all) {
            if (g.index() == 11) {
                tags = RdsTestDecoder::rtPlusTags(g);
                break;
            }
        }
        QCOMPARE(tags.size(), 2);
        const QByteArray& rt = decoder.rt;
        QCOMPARE(tags[0].type, 1);
        QCOMPARE(rt.mid(tags[0].start, tags[0].length + 1), firstOnAir);
        if (secondOnAir.isEmpty()) {
            QCOMPARE(tags[1].type, 0);
            return;
        }
        QCOMPARE(tags[1].type, 4);
        QCOMPARE(rt.mid(tags[1].start, tags[1].length + 1), secondOnAir);
    }

    void radioTextPlusLongTagGoesFirst()
    {
        RDSSource s = sourceWith(11);
        s.rtgrp = 11;
        s.rta = "$0 $1";
        s.rttag = {RTag{1, "Short"}, RTag{4, QString(40, u'n')}};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto tags = RdsTestDecoder::rtPlusTags(blocksOf(encoder, 1).first());
        QCOMPARE(tags[0].type, 4);
        QCOMPARE(tags[0].length, 39);
        QCOMPARE(tags[1].type, 1);
    }

    void enhancedRadioText()
    {
        RDSSource s = sourceWith(12);
        s.ertg = 12;
        s.rtc = QString::fromUtf8("Ωmega ≠ Ohm");
        s.endx = 4;
        s.rtxt = 8;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto g = blocksOf(encoder, 6);
        QByteArray bytes;
        for (int i = 0; i < 6 && (i == 0 || (g[i].data[1] & 31) != 0); ++i) {
            QCOMPARE(g[i].index(), 12);
            QCOMPARE(g[i].data[1] & 31, i);
            for (int w = 2; w < 4; ++w)
                bytes += char(g[i].data[w] >> 8), bytes += char(g[i].data[w] & 0xFF);
        }
        QVERIFY(bytes.startsWith(s.rtc.toUtf8() + '\r'));
    }

    void group15B()
    {
        RDSSource s = sourceWith(5); // a type without a builder of its own
        s.ta = 1;
        s.buc1 = 0;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto g = blocksOf(encoder, 1).first();
        QCOMPARE(g.index(), 31);
        QCOMPARE(g.data[2], quint16(0xD311));
        QCOMPARE(g.data[3], g.data[1]);
    }

    void odaRowAsItStands()
    {
        RDSSource s = sourceWith(0);
        s.gmin = {};
        ODARow row;
        row.data = {0xD311, 0xC000, 0x1234, 0x5678};
        row.check = {0x400, 0x400, 0x400, 0x400};
        row.rate = {60, 0, 0, 0};
        s.oda = {row};
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        const auto g = blocksOf(encoder, 2);
        QCOMPARE(g[0].data, row.data);
        QCOMPARE(encoder.odaCounts().first()[0], quint32(2));
    }

    void tmcSingleGroupMessages()
    {
        RDSSource s = sourceWith(8);
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        TMCSource tmc;
        tmc.used = 1;
        tmc.spn = "VERKEHR!";
        tmc.rpt = 2;
        TMCMessage m;
        m.duration = 3;
        m.extentFlags = 0x0A;
        m.event = 101;
        m.location = 12345;
        m.send = TMCMessage::Yes;
        tmc.messages = {m};
        encoder.setTMCSource(tmc);
        const auto g = blocksOf(encoder, 6);
        auto provider = RdsTestDecoder::tmcGroup(g[0]);
        QVERIFY(provider.tuning);
        QCOMPARE(provider.variant, 4);
        QCOMPARE(provider.c, quint16(0x5645));
        QCOMPARE(RdsTestDecoder::tmcGroup(g[1]).variant, 5);
        for (int i = 2; i < 4; ++i) {
            const auto msg = RdsTestDecoder::tmcGroup(g[i]);
            QVERIFY(msg.single);
            QCOMPARE(msg.duration, 3);
            QCOMPARE(msg.extent, 0x0A);
            QCOMPARE(msg.event, 101);
            QCOMPARE(msg.location, 12345);
        }
        QVERIFY(RdsTestDecoder::tmcGroup(g[4]).tuning); // list done: provider name again
    }

    void tmcMultiGroupMessage()
    {
        TMCMessage m;
        m.extentFlags = 0x03;
        m.event = 1500;
        m.location = 4000;
        m.send = TMCMessage::Yes;
        // duration 5 (3 bits), speed limit 12 (5 bits), additional event 401 (11 bits)
        m.labels = {0u << 16 | 5, 3u << 16 | 12, 9u << 16 | 401};
        RdsEncoder encoder;
        sendTmcMessage(encoder, m);
        const auto g = blocksOf(encoder, 2 + 3);
        const auto first = RdsTestDecoder::tmcGroup(g[2]);
        QVERIFY(first.first);
        QCOMPARE(first.continuity, 1);
        QCOMPARE(first.event, 1500);
        QCOMPARE(first.location, 4000);
        QCOMPARE(first.extent, 3);
        const auto a = RdsTestDecoder::tmcGroup(g[3]);
        const auto b = RdsTestDecoder::tmcGroup(g[4]);
        QVERIFY(a.second);
        QCOMPARE(a.sequence, 1);
        QVERIFY(!b.second && !b.first);
        QCOMPARE(b.sequence, 0);
        // 0000 101 | 0011 01100 | 1001 00110010001 = 7+9+15 = 31 bits
        const quint64 bits = (quint64(a.freeBits) << 28) | b.freeBits;
        const quint64 expected =
            ((quint64(0x0) << 3 | 5) << 9 | (3 << 5 | 12)) << 15 | (9 << 11 | 401);
        QCOMPARE(bits >> (56 - 31), expected);
        QCOMPARE(bits & ((quint64(1) << 25) - 1), quint64(0));
    }

    void tmcMultiGroupMessageIsCutAtFourGroups()
    {
        TMCMessage m;
        m.event = 1;
        m.location = 2;
        m.send = TMCMessage::Yes;
        for (int i = 0; i < 6; ++i)
            m.labels << (10u << 16 | quint32(1000 + i)); // 20 bits each: five fit in 112
        RdsEncoder encoder;
        sendTmcMessage(encoder, m);
        const auto g = blocksOf(encoder, 2 + 5 + 1);
        QVERIFY(RdsTestDecoder::tmcGroup(g[2]).first);
        QList<int> sequence;
        for (int i = 3; i < 7; ++i)
            sequence << RdsTestDecoder::tmcGroup(g[i]).sequence;
        QCOMPARE(sequence, QList<int>({3, 2, 1, 0}));
        QVERIFY(RdsTestDecoder::tmcGroup(g[7]).tuning); // the next group starts anew
    }

    void tmcCancellationWithoutLists()
    {
        TMCMessage m;
        m.duration = 1;
        m.event = 101;
        m.location = 77;
        m.send = TMCMessage::Cancel;
        m.labels = {5u << 16 | 3};
        RdsEncoder encoder;
        sendTmcMessage(encoder, m);
        const auto msg = RdsTestDecoder::tmcGroup(blocksOf(encoder, 3)[2]);
        QVERIFY(msg.single);
        QCOMPARE(msg.event, 128); // no event list loaded
        QCOMPARE(msg.location, 77);
    }

    void tmcCancellationTakesTheCodeFromTheLists()
    {
        TMCEvents::clear();
        TMCEvents::loadLists(QStringLiteral(TEST_SOURCE_ROOT "/tests/tmc/data/lists"));
        TMCMessage m;
        m.extentFlags = 0x08;
        m.event = 101;
        m.location = 77;
        m.send = TMCMessage::Cancel;
        RdsEncoder encoder;
        sendTmcMessage(encoder, m);
        const auto msg = RdsTestDecoder::tmcGroup(blocksOf(encoder, 3)[2]);
        TMCEvents::clear();
        QCOMPARE(msg.event, 402);
        QCOMPARE(msg.extent, 0x08);
    }

    void secondStreamsGetTheirOwnSegments()
    {
        RDSSource s = sourceWith(0);
        s.ps = "ABCDEFGH";
        s.mode = 0x01 | 0x02;
        s.gmin[0].rate[1] = kOnly;
        RdsEncoder encoder;
        encoder.setSource(s, 95.8);
        RdsTestDecoder main;
        RdsTestDecoder second;
        for (int i = 0; i < 4; ++i) {
            quint8 a[13], b[13];
            encoder.generate(a, b);
            QVERIFY(main.add(a));
            QVERIFY(second.add(b));
        }
        QCOMPARE(main.ps, QByteArray("ABCDEFGH"));
        QCOMPARE(second.ps, QByteArray("ABCDEFGH"));
        QCOMPARE(second.pi, quint16(0));
    }
};

QTEST_GUILESS_MAIN(TestRdsBuilders)
#include "tst_rdsbuilders.moc"
