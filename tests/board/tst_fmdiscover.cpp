// Discovery and network configuration by broadcast, aimed at the board
// emulator on 127.0.0.1 so that nothing leaves the host.
#include "BoardEmulator.h"
#include "board/FMDiscover.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kWaitMs = 30000;

} // namespace

class TestFMDiscover : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void discoverReachesEachAddressAndFindsTheBoard();
    void discoverTwiceSendsOnePass();
    void answerSizes_data();
    void answerSizes();
    void configurationIsSentAndAcknowledged();
    void broadcastAddressesDropLoopbackNullAndRepeats();
    void linkLocalGetsNoDiscover();
    void addressTexts();

private:
    std::unique_ptr<BoardEmulator> board;
    std::unique_ptr<FMDiscover> discover;
};

void TestFMDiscover::init()
{
    board = std::make_unique<BoardEmulator>();
    QVERIFY(board->start());
    board->setMac({0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C});
    board->setAnnouncedAddress(0xC0A80114, 21000);
    discover = std::make_unique<FMDiscover>(0, board->port());
    discover->setBroadcastAddresses({QHostAddress(QHostAddress::LocalHost)});
}

void TestFMDiscover::cleanup()
{
    discover.reset();
    board.reset();
}

void TestFMDiscover::discoverReachesEachAddressAndFindsTheBoard()
{
    QSignalSpy found(discover.get(), &FMDiscover::found);
    discover->discover();
    QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, kWaitMs);
    const auto requests = board->receivedOfType(BoardEmulator::Discover);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().bytes.toHex(' '), QByteArray("00 50 7f 00 00 01"));

    const BoardIP address = found.first().first().value<BoardIP>();
    QCOMPARE(address.ipv4, 0xC0A80114u);
    QCOMPARE(address.port, quint16(21000));
    QCOMPARE(address.boxNumber(), 300);
    QVERIFY(discover->isDiscovering());
    discover->halt();
    QVERIFY(!discover->isDiscovering());
}

void TestFMDiscover::discoverTwiceSendsOnePass()
{
    QSignalSpy found(discover.get(), &FMDiscover::found);
    discover->discover();
    discover->discover();
    // The timer's next pass is not the second call's; stopped here, a slow
    // machine cannot let it run before the count.
    discover->halt();
    QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, kWaitMs);
    // Give a second pass, if there were one, the time to arrive.
    QTest::qWait(100);
    QCOMPARE(board->countOfType(BoardEmulator::Discover), 1);
    QCOMPARE(found.size(), 1);
}

void TestFMDiscover::answerSizes_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("reported");
    QTest::newRow("11 bytes after the type")
        << QByteArray::fromHex("0051 0050c2aa012c c0a80114 52") << false;
    QTest::newRow("13 bytes after the type")
        << QByteArray::fromHex("0051 0050c2aa012c c0a80114 520800") << false;
    QTest::newRow("only the type") << QByteArray::fromHex("0051") << false;
    QTest::newRow("a single byte") << QByteArray::fromHex("00") << false;
    QTest::newRow("12 bytes with port 0")
        << QByteArray::fromHex("0051 0050c2aa012c c0a80114 0000") << true;
}

void TestFMDiscover::answerSizes()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, reported);
    board->setAnswerDiscovery(false);
    QSignalSpy found(discover.get(), &FMDiscover::found);
    discover->sendDiscover();
    QTRY_COMPARE_WITH_TIMEOUT(board->countOfType(BoardEmulator::Discover), 1, kWaitMs);
    if (answer.size() > 2 && !reported)
        QTest::ignoreMessage(
            QtDebugMsg,
            qPrintable(QStringLiteral("Dis: recv discover response with invalid size %1")
                           .arg(answer.size() - 2)));
    board->sendToPeer(answer);
    // A valid answer sent after it shows the bad one was read and passed over.
    board->sendToPeer(QByteArray::fromHex("0051 0050c2aa012c 7f000001 0101"));
    QTRY_COMPARE_WITH_TIMEOUT(found.size(), reported ? 2 : 1, kWaitMs);
    if (reported)
        QCOMPARE(found.first().first().value<BoardIP>().port, quint16(0));
}

void TestFMDiscover::configurationIsSentAndAcknowledged()
{
    QSignalSpy acknowledged(discover.get(), &FMDiscover::configAcknowledged);
    discover->sendConfig({0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C}, 0x0A000105, 21001);
    QTRY_COMPARE_WITH_TIMEOUT(acknowledged.size(), 1, kWaitMs);
    const auto configs = board->receivedOfType(BoardEmulator::NetConfig);
    QCOMPARE(configs.size(), 1);
    QCOMPARE(configs.first().bytes.toHex(' '),
             QByteArray("00 52 00 50 c2 aa 01 2c 0a 00 01 05 52 09"));

    // The board now answers discovery with its new address.
    QSignalSpy found(discover.get(), &FMDiscover::found);
    discover->sendDiscover();
    QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, kWaitMs);
    QCOMPARE(found.first().first().value<BoardIP>().toString(), QStringLiteral("10.0.1.5 : 21001"));
}

void TestFMDiscover::broadcastAddressesDropLoopbackNullAndRepeats()
{
    auto entry = [](const char* broadcast) {
        QNetworkAddressEntry e;
        e.setBroadcast(QHostAddress(QLatin1String(broadcast)));
        return e;
    };
    const QList<QNetworkAddressEntry> entries{entry("192.168.1.255"), entry("127.255.255.255"),
                                              QNetworkAddressEntry(), entry("10.0.255.255"),
                                              entry("192.168.1.255")};
    const QList<QHostAddress> expected{QHostAddress(QStringLiteral("192.168.1.255")),
                                       QHostAddress(QStringLiteral("10.0.255.255"))};
    QCOMPARE(FMDiscover::broadcastAddresses(entries), expected);
}

void TestFMDiscover::linkLocalGetsNoDiscover()
{
    const QHostAddress linkLocal(QStringLiteral("169.254.255.255"));
    const QHostAddress lan(QStringLiteral("192.168.1.255"));
    QCOMPARE(FMDiscover::discoverTargets({linkLocal, lan}), QList<QHostAddress>{lan});
    QVERIFY(FMDiscover::discoverTargets({linkLocal}).isEmpty());
}

void TestFMDiscover::addressTexts()
{
    BoardIP address;
    address.ipv4 = 0xC0A80114;
    address.port = 21000;
    address.mac = {0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C};
    QCOMPARE(address.toString(), QStringLiteral("192.168.1.20 : 21000"));
    QString text;
    QDebug(&text) << address;
    QCOMPARE(text.trimmed(), QStringLiteral("00:50:C2:AA:01:2C 192.168.1.20 21000"));
    QCOMPARE(address.boxNumber(), 0x012C);
}

QTEST_GUILESS_MAIN(TestFMDiscover)
#include "tst_fmdiscover.moc"
