// The control server's connection handling on a real loopback socket:
// listening, the greeting, line framing, client hand-over, and clients that
// flood the server or send garbage.
#include "ServerKit.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>

namespace {

const QString kAir = QStringLiteral("modul.unknown");

// The nine default registrations in the order the store lists them.
const QStringList kGreetingRegistrations{
    "REG ok: audio", "REG ok: board", "REG ok: channel",  "REG ok: chinfo.*.playing",
    "REG ok: modul", "REG ok: play",  "REG ok: playlist", "REG ok: rds",
    "REG ok: tmc"};

// Small limits, so that a test reaches them with little traffic.
constexpr qint64 kPauseBytes = 64 * 1024;
constexpr qint64 kDropBytes = 1024 * 1024;
// More output than the system's socket buffers on loopback hold (Linux lets
// a sender's buffer grow to 4 MB, net.ipv4.tcp_wmem), so that the server's
// own limits are what stops it.
constexpr qint64 kFloodBytes = 32 * 1024 * 1024;
// What a client that does not read takes into its socket object.
constexpr qint64 kClientReadBuffer = 4096;

// A project whose full listing is large: one playlist of long paths.
QString writeLongPlaylist(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("[playlist.1]\n");
    for (int i = 0; i < 100; ++i)
        file.write(QByteArray::number(i) + "=/music/" + QByteArray(2000, 'a' + i % 26) +
                   QByteArray::number(i) + ".flac\n");
    return path;
}

int byteCount(const QStringList& lines)
{
    int bytes = 0;
    for (const QString& line : lines)
        bytes += int(line.toUtf8().size()) + 2;
    return bytes;
}

// A server of the long playlist with small output limits, and a client
// without pushes that has taken the reply of one GET * and stops reading.
struct SlowReader
{
    ServerRig rig;
    std::unique_ptr<ServerClient> client;
    QStringList listing;

    SlowReader()
    {
        const QString path = writeLongPlaylist(rig.dir.filePath("long.fm"));
        rig.store = QSharedPointer<FMSettings>::create(path);
        rig.server->setProject(rig.store, path);
        rig.server->setOutputLimits(kPauseBytes, kDropBytes);
        client = rig.client();
        rig.quieten(*client);
        listing = client->exchange("GET *");
        client->socket.setReadBufferSize(kClientReadBuffer);
    }

    // GET * lines whose replies are more than every buffer holds.
    int floodCount() const { return int(kFloodBytes / byteCount(listing)) + 1; }
};

} // namespace

class TestFMServer : public QObject
{
    Q_OBJECT

private slots:
    void listensOnlyOnceAProjectIsSet();
    void greeting();
    void greetingNamesLaterRegistrations();
    void lineEnds_data();
    void lineEnds();
    void lineSplitAcrossSegments();
    void overlongLines_data();
    void overlongLines();
    void secondClientReplacesFirst();
    void floodOfCommands();
    void longBatchLetsOtherWorkIn();
    void clientThatDoesNotReadIsHeldBack();
    void heldBackClientGetsEveryReply();
    void linesOfHeldBackClientRunAfterItLeaves();
    void pushesPilingUpCloseTheClient();
    void garbageLeavesServerServing();
    void remoteStates();
    void listenFailureIsReported();
    void commandsWithoutProject();
};

void TestFMServer::listensOnlyOnceAProjectIsSet()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    FMServer server;
    QCOMPARE(server.port(), FMServer::kDefaultPort);
    QVERIFY(QDir(home.filePath(".quorvin")).exists());
    QCOMPARE(server.currentDirectory(), home.path() + "/.quorvin/");
    server.setPort(0);
    QVERIFY(!server.isListening());

    auto store = QSharedPointer<FMSettings>::create(home.filePath("p.fm"));
    server.setProject(store, home.filePath("p.fm"));
    QVERIFY(server.isListening());
    QVERIFY(server.listeningPort() != 0);
}

void TestFMServer::greeting()
{
    ServerRig rig;
    ServerClient client;
    QVERIFY(client.connectTo(rig.port()));
    QVERIFY(client.waitForLines(2 + int(kGreetingRegistrations.size())));
    QCOMPARE(client.lines.mid(0, 2), (QStringList{"--", "modul.info Quorvin Generator v4.66"}));
    QCOMPARE(client.lines.mid(2), kGreetingRegistrations);
    QVERIFY(!client.badLineEnd);
}

void TestFMServer::greetingNamesLaterRegistrations()
{
    ServerRig rig;
    auto first = rig.client();
    QCOMPARE(first->exchange("REG chinfo.2"), QStringList{"REG ok: chinfo.2"});
    QCOMPARE(first->exchange("UNR tmc"), QStringList{"UNR ok: tmc"});
    first.reset();

    ServerClient second;
    QVERIFY(second.connectTo(rig.port()));
    QStringList expected = kGreetingRegistrations;
    expected.removeAll("REG ok: tmc");
    expected.insert(expected.indexOf("REG ok: chinfo.*.playing") + 1, "REG ok: chinfo.2");
    QVERIFY(second.waitForLines(2 + int(expected.size())));
    QCOMPARE(second.lines.mid(2), expected);
}

void TestFMServer::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("replies");
    QTest::newRow("CR LF then LF") << QByteArray("AIR\r\nAIR\n") << 2;
    QTest::newRow("CR alone") << QByteArray("AIR\rAIR\r") << 2;
    QTest::newRow("NUL") << QByteArray("AIR\0AIR\0", 8) << 2;
    QTest::newRow("run of line ends is one") << QByteArray("AIR\r\n\r\n\0\0AIR\n", 13) << 2;
    QTest::newRow("empty lines get no answer") << QByteArray("\r\n  \r\n\t\nAIR\n") << 1;
    QTest::newRow("blanks around the command") << QByteArray("   air   \r\n") << 1;
}

// Each AIR is answered with the on-air key; the trailing VER marks the end.
void TestFMServer::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, replies);
    ServerRig rig;
    auto client = rig.client();
    client->send(bytes);
    QCOMPARE(client->exchange(QByteArray()), QStringList(replies, kAir));
    QVERIFY(!client->badLineEnd);
}

void TestFMServer::lineSplitAcrossSegments()
{
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);

    client->send("SET chan");
    QTest::qWait(50); // let the server read the first part on its own
    client->send("nel.1.gain -7\r");
    QTest::qWait(50);
    client->send("\nAIR\r");
    QTest::qWait(50);
    client->send("\n");
    QCOMPARE(client->exchange(QByteArray()), (QStringList{"SET ok: channel.1.gain = -7", kAir}));
}

void TestFMServer::overlongLines_data()
{
    QTest::addColumn<QList<QByteArray>>("segments");
    QTest::addColumn<QStringList>("replies");
    const QByteArray get = "GET ";
    QTest::newRow("512 bytes is a line") << QList<QByteArray>{get + QByteArray(508, 'a') + "\n"}
                                         << QStringList{"GET error: no key " + QString(508, 'a')};
    QTest::newRow("513 bytes is too long")
        << QList<QByteArray>{get + QByteArray(509, 'a') + "\nAIR\n"}
        << QStringList{"error: line too long", kAir};
    QTest::newRow("no line end over several segments")
        << QList<QByteArray>{QByteArray(400, 'x'), QByteArray(400, 'y'), QByteArray(4000, 'z'),
                             "\r\nAIR\r\n"}
        << QStringList{"error: line too long", kAir};
    QTest::newRow("two long lines, two replies")
        << QList<QByteArray>{QByteArray(600, 'x') + "\n" + QByteArray(600, 'y') + "\nAIR\n"}
        << QStringList{"error: line too long", "error: line too long", kAir};
}

void TestFMServer::overlongLines()
{
    QFETCH(QList<QByteArray>, segments);
    QFETCH(QStringList, replies);
    ServerRig rig;
    auto client = rig.client();
    for (const QByteArray& segment : segments) {
        client->send(segment);
        QTest::qWait(20);
    }
    QCOMPARE(client->exchange(QByteArray()), replies);
}

void TestFMServer::secondClientReplacesFirst()
{
    ServerRig rig;
    QSignalSpy remote(rig.server.get(), &FMServer::onRemote);
    auto first = rig.client();
    QCOMPARE(first->exchange("REG chinfo.4"), QStringList{"REG ok: chinfo.4"});
    first->send("SET channel.1.gain"); // unfinished when the first client is dropped
    QTest::qWait(50);

    ServerClient second;
    QVERIFY(second.connectTo(rig.port()));
    QVERIFY(first->waitForDisconnect());
    QCOMPARE(second.takeUntil(FMServer::infoLine()), QStringList{"--"});
    QVERIFY(second.exchange(QByteArray()).contains("REG ok: chinfo.4"));

    // The first client's unfinished line does not run on into the second's.
    QCOMPARE(second.exchange(" -9"),
             QStringList{"commands: REG UNR GET SET ADD DEL NEW LOAD SAVE CD DIR LIST HELP VER"});
    QCOMPARE(rig.store->get("channel.1.gain").toInt(), -3);

    // Connected, replaced (its disconnect first), connected; the dropped
    // socket reports nothing later.
    QTest::qWait(100);
    const uint port = rig.port();
    QCOMPARE(remote.size(), 3);
    QCOMPARE(remote.at(0), (QVariantList{port, QString("127.0.0.1"), 0u}));
    QCOMPARE(remote.at(1), (QVariantList{port, QString(), 0u}));
    QCOMPARE(remote.at(2), (QVariantList{port, QString("127.0.0.1"), 0u}));
}

void TestFMServer::floodOfCommands()
{
    constexpr int kCommands = 10000;
    ServerRig rig;
    auto client = rig.client();
    QByteArray flood;
    for (int i = 0; i < kCommands; ++i)
        flood += (i % 2 ? "GET channel.1.gain\r\n"
                        : "SET channel.1.gain -" + QByteArray::number(i % 60) + "\r\n");
    client->send(flood + "VER\r\n");
    const QStringList replies = client->takeUntil(FMServer::infoLine(), 60000);
    QCOMPARE(replies.filter(QRegularExpression("^SET ok: channel.1.gain = -\\d+$")).size(),
             kCommands / 2);
    QVERIFY(replies.size() >= kCommands);

    client.reset();
    auto next = rig.client();
    QVERIFY(next);
    QCOMPARE(next->exchange("AIR"), QStringList{kAir});
}

// The push of a change is posted to the event loop; it comes before the end
// of a long batch of lines only when the server gives the loop its turn in
// between, as it must for a new client or the GUI.
void TestFMServer::longBatchLetsOtherWorkIn()
{
    constexpr int kLines = 5000;
    ServerRig rig;
    auto client = rig.client();
    client->send("SET rds.1.ps BATCH\r\n" + QByteArray("AIR\r\n").repeated(kLines) + "VER\r\n");
    const QStringList replies = client->takeUntil(FMServer::infoLine(), 30000);
    QCOMPARE(replies.first(), QString("SET ok: rds.1.ps = BATCH"));
    QCOMPARE(replies.count(kAir), kLines);
    const qsizetype push = replies.indexOf("rds.1.ps BATCH");
    QVERIFY(push > 0);
    QVERIFY(push < kLines);
}

// A client sends far more GET * than it reads: the server stops taking its
// lines once the unsent replies pass the pause limit, rather than holding
// them all, and a new client is greeted meanwhile.
void TestFMServer::clientThatDoesNotReadIsHeldBack()
{
    SlowReader slow;
    const int replyBytes = byteCount(slow.listing);
    QVERIFY(replyBytes > 100000);
    slow.client->send(QByteArray("GET *\r\n").repeated(slow.floodCount()));

    // Sampled between passes of the event loop, where a pass of the server
    // leaves the most behind.
    const qint64 bound = kPauseBytes + replyBytes;
    qint64 peak = 0;
    waitUntil(
        [&] {
            peak = qMax(peak, slow.rig.server->pendingOutput());
            return slow.rig.server->isReadingPaused() || peak > bound;
        },
        30000);
    QVERIFY2(peak <= bound, qPrintable(QString::number(peak)));
    QVERIFY(slow.rig.server->isReadingPaused());

    ServerClient next;
    QVERIFY(next.connectTo(slow.rig.port()));
    QCOMPARE(next.takeUntil(FMServer::infoLine(), 30000), QStringList{"--"});
    QVERIFY(slow.rig.server->pendingOutput() < kPauseBytes);
}

// Once the held-back client reads, every reply comes, complete and in the
// order of its lines.
void TestFMServer::heldBackClientGetsEveryReply()
{
    SlowReader slow;
    QByteArray flood;
    QStringList expected;
    for (int i = 0; i < slow.floodCount(); ++i) {
        flood += "GET *\r\nGET nokey" + QByteArray::number(i) + "\r\n";
        expected += slow.listing;
        expected += "GET error: no key nokey" + QString::number(i);
    }
    slow.client->send(flood + "VER\r\n");
    QVERIFY(waitUntil([&] { return slow.rig.server->isReadingPaused(); }, 30000));

    slow.client->socket.setReadBufferSize(0);
    const QStringList replies = slow.client->takeUntil(FMServer::infoLine(), 60000);
    QCOMPARE(replies.size(), expected.size());
    QVERIFY(replies == expected);
    QVERIFY(!slow.client->badLineEnd);
    QCOMPARE(slow.client->exchange("AIR"), QStringList{kAir});
}

// A client that leaves while its lines are held back: the lines it sent
// still run, as they would have for a client that reads.
void TestFMServer::linesOfHeldBackClientRunAfterItLeaves()
{
    SlowReader slow;
    slow.client->send(QByteArray("GET *\r\n").repeated(slow.floodCount()) +
                      "SET playlist.1.name Gone\r\n");
    QVERIFY(waitUntil([&] { return slow.rig.server->isReadingPaused(); }, 30000));
    slow.client->socket.abort();
    QVERIFY(waitUntil([&] { return slow.rig.store->get("playlist.1.name") == "Gone"; }, 30000));
}

// Pushes cannot be held back like replies: a client that registered keys
// and lets their changes pile up past the drop limit is closed.
void TestFMServer::pushesPilingUpCloseTheClient()
{
    ServerRig rig;
    rig.server->setOutputLimits(kPauseBytes, kDropBytes);
    QSignalSpy remote(rig.server.get(), &FMServer::onRemote);
    auto slow = rig.client();
    slow->socket.setReadBufferSize(kClientReadBuffer);
    QCOMPARE(remote.size(), 1);

    QTest::ignoreMessage(
        QtDebugMsg,
        QRegularExpression("^net: client does not read, closing with \\d+ bytes unsent$"));
    const QString value(4096, QLatin1Char('x'));
    for (qint64 sent = 0; sent < kFloodBytes && remote.size() == 1; sent += value.size()) {
        rig.store->publish("modul.flood", value);
        QCoreApplication::processEvents();
    }
    QCOMPARE(remote.size(), 2);
    QCOMPARE(remote.at(1), (QVariantList{uint(rig.port()), QString(), 0u}));
    QCOMPARE(rig.server->pendingOutput(), 0);

    slow->socket.setReadBufferSize(0);
    QVERIFY(waitUntil([&] {
        slow->pump();
        return slow->socket.state() == QAbstractSocket::UnconnectedState;
    }));

    auto next = rig.client();
    QVERIFY(next);
    QCOMPARE(next->exchange("AIR"), QStringList{"modul.flood"});
}

// Binary noise, runs of NUL and over-long lines: the server answers what it
// can, and the client after it is served as usual.
void TestFMServer::garbageLeavesServerServing()
{
    ServerRig rig;
    auto client = rig.client();
    QRandomGenerator random(1248);
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char(random.bounded(256));
    garbage += QByteArray(3000, '\0') + QByteArray(5000, 'x') + "\n" + QByteArray(700, '\xff');
    client->send(garbage);
    client->send("\nAIR\n");
    QVERIFY(client->takeUntil(kAir, 30000).size() >= 0);
    QCOMPARE(client->exchange("AIR"), QStringList{kAir});

    client.reset();
    auto next = rig.client();
    QVERIFY(next);
    QCOMPARE(next->exchange("GET channel.1.gain"), QStringList{"channel.1.gain -3"});
}

void TestFMServer::remoteStates()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    FMServer server;
    QSignalSpy remote(&server, &FMServer::onRemote);
    server.setPort(0);
    QCOMPARE(remote.size(), 0);
    server.setProject(QSharedPointer<FMSettings>::create(home.filePath("p.fm")), "p.fm");
    QCOMPARE(remote.size(), 1);
    const uint port = server.listeningPort();
    QCOMPARE(remote.takeFirst(), (QVariantList{port, QString(), 0u}));

    // Same port again: nothing at all.
    server.setPort(0);
    QCOMPARE(remote.size(), 0);

    ServerClient client;
    QVERIFY(client.connectTo(port));
    QTRY_COMPARE_WITH_TIMEOUT(remote.size(), 1, kWaitMs);
    QCOMPARE(remote.takeFirst(), (QVariantList{port, QString("127.0.0.1"), 0u}));
    client.socket.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(remote.size(), 1, kWaitMs);
    QCOMPARE(remote.takeFirst(), (QVariantList{port, QString(), 0u}));

    server.stopListen();
    QCOMPARE(remote.takeLast(), (QVariantList{0u, QString(), 0u}));
    QVERIFY(!server.isListening());
}

void TestFMServer::listenFailureIsReported()
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QTcpServer occupant;
    QVERIFY(occupant.listen(QHostAddress::Any, 0));

    FMServer server;
    server.setPort(occupant.serverPort());
    QSignalSpy remote(&server, &FMServer::onRemote);
    server.setProject(QSharedPointer<FMSettings>::create(home.filePath("p.fm")), "p.fm");
    QVERIFY(!server.isListening());
    QCOMPARE(remote.size(), 1);
    QCOMPARE(remote.at(0).at(0).toUInt(), uint(occupant.serverPort()));
    QCOMPARE(remote.at(0).at(2).toUInt(), uint(QAbstractSocket::AddressInUseError) + 2);
    QVERIFY(!remote.at(0).at(1).toString().isEmpty());

    // Another port brings it up.
    server.setPort(0);
    QVERIFY(server.isListening());
}

// A store taken away while a client stays connected: store commands are
// refused instead of reaching a missing store.
void TestFMServer::commandsWithoutProject()
{
    ServerRig rig;
    auto client = rig.client();
    rig.server->setProject(nullptr, QString());
    QVERIFY(rig.server->isListening());
    QCOMPARE(client->exchange("SET channel.1.gain -5"),
             QStringList{"SET error: no project loaded"});
    QCOMPARE(client->exchange("GET channel.1.gain"), QStringList{"GET error: no project loaded"});
    QCOMPARE(client->exchange("REG channel.1"), QStringList{"REG error: no project loaded"});
    QCOMPARE(client->exchange("SET board.band 1"), QStringList{"SET error: no project loaded"});
    QCOMPARE(client->exchange("AIR"), QStringList{kAir});
}

QTEST_MAIN(TestFMServer)
#include "tst_fmserver.moc"
