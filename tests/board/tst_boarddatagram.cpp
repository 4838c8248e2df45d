// Requests, streams and the readers of board replies: exact bytes out, and
// every reply read only as far as it goes.
#include "board/BoardDatagram.h"
#include "board/StatusRates.h"

#include <QTest>

#include <cmath>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// An info reply as a board sends it: 26 bytes in full.
QByteArray fullInfoReply()
{
    return hex("0001 4b585742 0000001e 0000 00004000 00000400 deadbeef 0102");
}

QByteArray makeStatusReply(int count, int entries)
{
    QByteArray bytes = hex("0021");
    bytes.append(char(count >> 8));
    bytes.append(char(count & 0xFF));
    for (int i = 0; i < entries; ++i)
        bytes.append(hex("1000 0040 0003 01c9c380")); // power 30000000
    return bytes;
}

} // namespace

class TestBoardDatagram : public QObject
{
    Q_OBJECT

private slots:
    void requests_data();
    void requests();
    void pcmStream_data();
    void pcmStream();
    void rdsStream_data();
    void rdsStream();
    void sequenceNumbers();
    void infoReply_data();
    void infoReply();
    void statusReply_data();
    void statusReply();
    void lockReply_data();
    void lockReply();
    void statusRates_data();
    void statusRates();
};

void TestBoardDatagram::requests_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("info request") << BoardDatagram::request(BoardDatagram::kInfoRequest)
                                  << hex("0000");
    QTest::newRow("status request")
        << BoardDatagram::request(BoardDatagram::kStatusRequest) << hex("0020");
    QTest::newRow("lock query") << BoardDatagram::request(BoardDatagram::kLockQuery) << hex("0060");
    QTest::newRow("unlock") << BoardDatagram::request(BoardDatagram::kUnlock) << hex("0063");
    QTest::newRow("set lock pads the name")
        << BoardDatagram::setLock(0xA5, "ann@pc") << hex("0062 a5 616e6e407063 000000000000000000");
    QTest::newRow("set lock cuts the name to 15 bytes")
        << BoardDatagram::setLock(0x01, "operator@studio-computer")
        << hex("0062 01 6f70657261746f724073747564696f");
}

void TestBoardDatagram::requests()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built.toHex(' '), expected.toHex(' '));
}

void TestBoardDatagram::pcmStream_data()
{
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<QList<qint16>>("samples");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("stereo, two frames, little-endian samples")
        << true << QList<qint16>{1, -2, 0x1234, -32768}
        << hex("0030 00 03 00 02 0002 0100 feff 3412 0080");
    QTest::newRow("mono, three frames")
        << false << QList<qint16>{32767, 0, -1} << hex("0030 00 03 00 00 0003 ff7f 0000 ffff");
}

void TestBoardDatagram::pcmStream()
{
    QFETCH(bool, stereo);
    QFETCH(QList<qint16>, samples);
    QFETCH(QByteArray, expected);
    const QByteArray built = BoardDatagram::pcmStream(3, stereo, samples);
    QCOMPARE(built.toHex(' '), expected.toHex(' '));
}

void TestBoardDatagram::rdsStream_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("four");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("payload");
    QByteArray twoGroups;
    for (int i = 0; i < 26; ++i)
        twoGroups.append(char(i));
    QTest::newRow("one stream, two groups: 13 words")
        << 26 << false << hex("0031 00 07 00 01 000d") << twoGroups;
    QTest::newRow("four streams interleave two bytes at a time")
        << 4 << true << hex("0031 00 07 00 0f 0008")
        << hex("0001 a0a1 b0b1 c0c1 0203 a2a3 b2b3 c2c3");
}

void TestBoardDatagram::rdsStream()
{
    QFETCH(int, length);
    QFETCH(bool, four);
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, payload);
    QByteArray streams[4];
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < 26; ++i)
            streams[s].append(char(s == 0 ? i : 0x90 + 0x10 * s + i));
    }
    const std::array<const uchar*, 4> pointers{
        reinterpret_cast<const uchar*>(streams[0].constData()),
        reinterpret_cast<const uchar*>(streams[1].constData()),
        reinterpret_cast<const uchar*>(streams[2].constData()),
        reinterpret_cast<const uchar*>(streams[3].constData())};
    const QByteArray built = BoardDatagram::rdsStream(7, pointers, length, four);
    QCOMPARE(built.left(8).toHex(' '), header.toHex(' '));
    QCOMPARE(built.mid(8).toHex(' '), payload.toHex(' '));
}

void TestBoardDatagram::sequenceNumbers()
{
    QByteArray command = hex("0010 000000 05 2001 04");
    BoardDatagram::stampSequence(command, 0x01123456); // only 24 bits go out
    QCOMPARE(command.toHex(' '), hex("0010 563412 05 2001 04").toHex(' '));
    QCOMPARE(BoardDatagram::sequenceKey(command), 0x05123456u);
    // An acknowledgement carries the same four bytes and so the same key.
    QCOMPARE(BoardDatagram::sequenceKey(hex("0011 563412 05")), 0x05123456u);
    QCOMPARE(BoardDatagram::sequenceKey(hex("0011 5634 12")), 0u);
}

void TestBoardDatagram::infoReply_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<int>("number");
    QTest::newRow("19 bytes is refused") << 19 << false << QByteArray() << 0;
    QTest::newRow("20 bytes: no extra, board 0") << 20 << true << QByteArray() << 0;
    QTest::newRow("23 bytes: extra incomplete") << 23 << true << QByteArray() << 0;
    QTest::newRow("25 bytes: extra, board 0") << 25 << true << hex("deadbeef") << 0;
    QTest::newRow("26 bytes: board number") << 26 << true << hex("deadbeef") << 0x0102;
    QTest::newRow("longer reply") << 30 << true << hex("deadbeef") << 0x0102;
}

void TestBoardDatagram::infoReply()
{
    QFETCH(int, size);
    QFETCH(bool, read);
    QFETCH(QByteArray, extra);
    QFETCH(int, number);
    const QByteArray reply = (fullInfoReply() + hex("01020304")).left(size);
    const std::optional<BoardInfo> info = BoardDatagram::readInfo(reply);
    QCOMPARE(info.has_value(), read);
    if (!read)
        return;
    QCOMPARE(info->tag, BoardInfo::kTagKXWB);
    QCOMPARE(info->type(), BoardType::KXWB);
    QCOMPARE(info->firmware, 30u);
    QCOMPARE(info->pcmCapacity, 0x4000u);
    QCOMPARE(info->rdsCapacity, 0x400u);
    QCOMPARE(info->extra, extra);
    QCOMPARE(int(info->number), number);
}

void TestBoardDatagram::statusReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("entries");
    QTest::newRow("under 4 bytes") << hex("0021 00") << -1;
    QTest::newRow("count 0") << makeStatusReply(0, 0) << -1;
    QTest::newRow("count 33") << makeStatusReply(33, 33) << -1;
    QTest::newRow("count larger than the entries sent") << makeStatusReply(3, 2) << -1;
    QTest::newRow("entry cut short") << makeStatusReply(1, 1).left(13) << -1;
    QTest::newRow("one entry") << makeStatusReply(1, 1) << 1;
    QTest::newRow("24 entries") << makeStatusReply(24, 24) << 24;
    QTest::newRow("count 30: only 24 used") << makeStatusReply(30, 30) << 24;
}

void TestBoardDatagram::statusReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, entries);
    const auto read = BoardDatagram::readStatus(reply);
    QCOMPARE(read ? int(read->size()) : -1, entries);
    if (!read)
        return;
    QCOMPARE(read->first().pcmFill, quint16(0x1000));
    QCOMPARE(read->first().rdsFill, quint16(0x40));
    QCOMPARE(read->first().flags, quint16(3));
    QCOMPARE(read->first().power, 30000000);
}

void TestBoardDatagram::lockReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("clients");
    const QByteArray head = hex("0061 c0a80102 5208 7f 616e6e407063 000000000000000000");
    const QByteArray entries =
        hex("c0a80103 1f40 0032 00000000 0000 0000 0a000001 0050 ffff 00000000 0000 0000");
    QTest::newRow("23 bytes is refused") << head.left(23) << false << 0;
    QTest::newRow("24 bytes: holder only") << head << true << 0;
    QTest::newRow("55 bytes: clients incomplete") << (head + entries).left(55) << true << 0;
    QTest::newRow("56 bytes: four clients") << head + entries << true << 4;
}

void TestBoardDatagram::lockReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, read);
    QFETCH(int, clients);
    const std::optional<BoardLock> lock = BoardDatagram::readLock(reply);
    QCOMPARE(lock.has_value(), read);
    if (!read)
        return;
    QCOMPARE(lock->holderIpv4, 0xc0a80102u);
    QCOMPARE(lock->holderPort, quint16(0x5208));
    QCOMPARE(lock->holderIdentity, hex("7f 616e6e407063 000000000000000000"));
    QCOMPARE(lock->clients.size(), clients);
    if (clients == 4) {
        QCOMPARE(lock->clients[0].ipv4, 0xc0a80103u);
        QCOMPARE(lock->clients[0].port, quint16(8000));
        QCOMPARE(lock->clients[0].lastSeen, quint16(50));
        QCOMPARE(lock->clients[2].lastSeen, quint16(0xFFFF));
    }
}

void TestBoardDatagram::statusRates_data()
{
    QTest::addColumn<quint16>("previousPcm");
    QTest::addColumn<quint16>("newPcm");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint32>("power");
    QTest::addColumn<double>("pcmRate");
    QTest::addColumn<double>("powerDb");
    QTest::addColumn<bool>("pcmOff");
    // Previous rate 44100 frames/s and RDS at 74 words/s in every row.
    QTest::newRow("steady at nominal")
        << quint16(10000) << quint16(1180) << 0.2 << 29967428 << 44100.0
        << 10 * std::log10(29967428 / 29967428.267) << false;
    QTest::newRow("fill wraps through zero")
        << quint16(100) << quint16(56816) << 0.2 << 29967428 << 44100.0
        << 10 * std::log10(29967428 / 29967428.267) << false;
    QTest::newRow("board stalled") << quint16(5000) << quint16(5000) << 0.2 << 2996742 << 33075.0
                                   << 10 * std::log10(2996742 / 29967428.267) << true;
    QTest::newRow("no time passed keeps the rate")
        << quint16(5000) << quint16(0) << 0.0 << 29967428 << 44100.0
        << 10 * std::log10(29967428 / 29967428.267) << false;
    QTest::newRow("power 0 stays finite") << quint16(10000) << quint16(1180) << 0.2 << 0 << 44100.0
                                          << 10 * std::log10(1 / 29967428.267) << false;
    QTest::newRow("negative power stays finite")
        << quint16(10000) << quint16(1180) << 0.2 << -5 << 44100.0
        << 10 * std::log10(1 / 29967428.267) << false;
}

void TestBoardDatagram::statusRates()
{
    QFETCH(quint16, previousPcm);
    QFETCH(quint16, newPcm);
    QFETCH(double, seconds);
    QFETCH(qint32, power);
    QFETCH(double, pcmRate);
    QFETCH(double, powerDb);
    QFETCH(bool, pcmOff);
    ChannelStatus status;
    status.pcmRate = 44100.0;
    status.rdsRate = 74.0;
    const quint16 newRds = seconds > 0 ? quint16(200 - qRound(74.0 * seconds)) : 200;
    StatusRates::update(status, {newPcm, newRds, 0x0001, power},
                        SlotFill::Interval{previousPcm, 200, seconds}, 44100);

    QVERIFY(std::isfinite(status.pcmRate));
    QVERIFY(std::isfinite(status.rdsRate));
    QVERIFY(std::isfinite(status.power));
    QCOMPARE(status.pcmFill, newPcm);
    QCOMPARE(status.rdsFill, newRds);
    QVERIFY(qAbs(status.pcmRate - pcmRate) < 1e-6);
    QVERIFY(qAbs(status.power - powerDb) < 1e-9);
    QCOMPARE(bool(status.flags & ChannelStatus::kPcmRateOff), pcmOff);
    QVERIFY(!(status.flags & ChannelStatus::kRdsRateOff));
    QVERIFY(status.flags & 0x0001); // the board's own bits pass through
}

QTEST_GUILESS_MAIN(TestBoardDatagram)
#include "tst_boarddatagram.moc"
