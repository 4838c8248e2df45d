// The RDS data input server against a real TCP client on 127.0.0.1 and an
// engine stand-in that queues lines and reports a fill level the test sets.
#include "KeyRecorder.h"
#include "board/FMProgram.h"
#include "board/RDSInput.h"
#include "remote/RDSServer.h"
#include "settings/FMSettings.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;
constexpr char kGreeting[] = "--\r\nmodul.info Quorvin Generator v4.66\n";
// 13 bytes of a packed group, two hexadecimal digits a byte.
constexpr char kGroup[] = "D3C04200C0012345678ABCDEF0";

// Refuses as the programme engine does; its queue holds what it accepted.
class FakeEngine : public RDSInput
{
public:
    static constexpr int kQueueCapacity = 128;

    bool queueRemoteGroup(QByteArray& line, int& fillLevel) override
    {
        received.append(line);
        fillLevel = fill;
        if (line.isEmpty())
            return false;
        if (offline) {
            line = "offline";
            return false;
        }
        if (line.startsWith('#') || !holdsGroup(line)) {
            line = "noRDS";
            return false;
        }
        if (queue.size() >= kQueueCapacity) {
            line = "full";
            return false;
        }
        queue.append(line);
        return true;
    }

    int rdsFillLevel() override { return fill; }

    int fill = 7;
    bool offline = false;
    QList<QByteArray> queue;
    QList<QByteArray> received; // every line handed over, empty ones too

private:
    static bool holdsGroup(const QByteArray& line)
    {
        const QList<QByteArray> words = line.split(' ');
        return std::any_of(words.begin(), words.end(),
                           [](const QByteArray& word) { return word.size() == 26; });
    }
};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::Any, 0);
    return probe.serverPort();
}

// A client that collects everything the server sends.
class Client
{
public:
    bool connectTo(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(kWaitMs);
    }

    // Waits for the next reply line and takes it off the received bytes.
    QByteArray nextLine()
    {
        if (!QTest::qWaitFor([this] { return received.contains('\n'); }, kWaitMs))
            return "<nothing>";
        const qsizetype end = received.indexOf('\n') + 1;
        const QByteArray line = received.left(end);
        received.remove(0, end);
        return line;
    }

    QByteArray takeGreeting()
    {
        if (!QTest::qWaitFor([this] { return received.size() >= qsizetype(sizeof(kGreeting) - 1); },
                             kWaitMs))
            return received;
        const QByteArray greeting = received.left(sizeof(kGreeting) - 1);
        received.remove(0, greeting.size());
        return greeting;
    }

    void send(const QByteArray& bytes)
    {
        socket.write(bytes);
        socket.flush();
    }

    bool waitUntilClosed()
    {
        return QTest::qWaitFor(
            [this] { return socket.state() == QAbstractSocket::UnconnectedState; }, kWaitMs);
    }

    QTcpSocket socket;
    QByteArray received;
};

// An engine stand-in with its server, listening on a free port.
struct Harness
{
    explicit Harness(int programme = 5) : server(new RDSServer(programme, &parent, &engine))
    {
        port = freePort();
        server->setPort(port - programme);
        server->setActive();
    }

    bool connect(Client& client)
    {
        return client.connectTo(port) && client.takeGreeting() == kGreeting;
    }

    FakeEngine engine;
    QObject parent;
    RDSServer* server;
    quint16 port = 0;
};

} // namespace

class TestRDSServer : public QObject
{
    Q_OBJECT

private slots:
    void portIsOffsetPlusProgramme_data();
    void portIsOffsetPlusProgramme();
    void listensOnlyWhenActive();
    void greetsAndAnswersFromCounterOne();
    void replies_data();
    void replies();
    void counterCountsEveryLine();
    void longLines_data();
    void longLines();
    void idleReportsOnlyAfterPauseAndChange();
    void floodIsServedAFewLinesPerPass();
    void clientThatDoesNotReadIsHeldBack_data();
    void clientThatDoesNotReadIsHeldBack();
    void newClientReplacesOld();
    void lateSignalsOfReplacedClientAreIgnored();
    void publishesRemoteSourceAndEndsInput();
    void portChangeAndStopCloseTheClient();
    void programmesServeThroughTheInstalledMaker();
};

void TestRDSServer::portIsOffsetPlusProgramme_data()
{
    QTest::addColumn<int>("programme");
    QTest::addColumn<quint32>("offset");
    QTest::addColumn<int>("port");
    QTest::newRow("channel 1, start port 4001") << 1 << 4000u << 4001;
    QTest::newRow("channel 24 of board 2") << 48 << 4000u << 4048;
    QTest::newRow("last channel of board 4") << 96 << 5000u << 5096;
    QTest::newRow("beyond 16 bits is no port") << 96 << 65500u << 0;
}

void TestRDSServer::portIsOffsetPlusProgramme()
{
    QFETCH(int, programme);
    QFETCH(quint32, offset);
    FakeEngine engine;
    RDSServer server(programme, nullptr, &engine);
    QCOMPARE(server.portOffset(), RDSServer::kDefaultPortOffset);
    server.setPort(offset);
    QTEST(int(server.port()), "port");
    QVERIFY(!server.isListening());
    if (server.port() == 0) {
        // Cut to 16 bits it would open some other port.
        server.setActive();
        QVERIFY(!server.isListening());
    }
}

void TestRDSServer::listensOnlyWhenActive()
{
    FakeEngine engine;
    RDSServer server(24, nullptr, &engine);
    const quint16 port = freePort();
    server.setPort(port - 24);
    QVERIFY(!server.isListening());
    server.setActive(0x80);
    QVERIFY(server.isListening());
    QCOMPARE(server.port(), port);
    Client client;
    QVERIFY(client.connectTo(port));

    // A new store clears active but keeps listening.
    QTemporaryDir dir;
    server.setProject(QSharedPointer<FMSettings>::create(dir.filePath("p.fm")));
    QVERIFY(!server.isActive());
    QVERIFY(server.isListening());

    // An inactive server does not listen again after a port change.
    server.setPort(freePort() - 24);
    QVERIFY(!server.isListening());
    server.setActive();
    QVERIFY(server.isListening());
}

void TestRDSServer::greetsAndAnswersFromCounterOne()
{
    Harness harness;
    Client client;
    QVERIFY(client.connectTo(harness.port));
    QCOMPARE(client.takeGreeting(), QByteArray(kGreeting));
    client.send(QByteArray(kGroup) + "\r\n");
    QCOMPARE(client.nextLine(), QByteArray("1 7\n"));
    QCOMPARE(harness.engine.queue, QList<QByteArray>{kGroup});
}

void TestRDSServer::replies_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("offline");
    QTest::addColumn<int>("queued");
    QTest::addColumn<QByteArray>("reply");
    const QByteArray group(kGroup);
    QTest::newRow("accepted") << group << false << 0 << QByteArray("1 7\n");
    QTest::newRow("time stamp before the group, blanks trimmed")
        << "  12:00:01.250 " + group + " \t" << false << 0 << QByteArray("1 7\n");
    QTest::newRow("127 queued, one more fits") << group << false << 127 << QByteArray("1 7\n");
    QTest::newRow("128 queued is full") << group << false << 128 << QByteArray("1 -1 7 full\n");
    QTest::newRow("offline") << group << true << 0 << QByteArray("1 -1 7 offline\n");
    QTest::newRow("comment") << "# " + group << false << 0 << QByteArray("1 -1 7 noRDS\n");
    QTest::newRow("no group") << QByteArray("hello world") << false << 0
                              << QByteArray("1 -1 7 noRDS\n");
    QTest::newRow("blank line has an empty word")
        << QByteArray(" \t ") << false << 0 << QByteArray("1 -1 7 \n");
}

void TestRDSServer::replies()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, offline);
    QFETCH(int, queued);
    Harness harness;
    harness.engine.offline = offline;
    harness.engine.queue.fill("queued", queued);
    Client client;
    QVERIFY(harness.connect(client));
    client.send(line + '\n');
    QTEST(client.nextLine(), "reply");
    // A blank line would end the engine's remote input: it is not handed on.
    if (line.trimmed().isEmpty())
        QVERIFY(harness.engine.received.isEmpty());
    else
        QCOMPARE(harness.engine.received.last(), line.trimmed());
}

void TestRDSServer::counterCountsEveryLine()
{
    Harness harness;
    Client client;
    QVERIFY(harness.connect(client));
    const QByteArray group(kGroup);
    // CR LF is one line end; a second one, and NUL after LF, end an empty
    // line, which is counted and refused with an empty state word.
    client.send(group + "\r\n\r\n#note\n" + QByteArray("\0", 1) + group + '\r');
    QCOMPARE(client.nextLine(), QByteArray("1 7\n"));
    QCOMPARE(client.nextLine(), QByteArray("2 -1 7 \n"));
    QCOMPARE(client.nextLine(), QByteArray("3 -1 7 noRDS\n"));
    QCOMPARE(client.nextLine(), QByteArray("4 -1 7 \n"));
    QCOMPARE(client.nextLine(), QByteArray("5 7\n"));
    harness.engine.fill = 9;
    // The LF completes the CR of the last write.
    client.send("\n" + group + "\n\n");
    QCOMPARE(client.nextLine(), QByteArray("6 9\n"));
    QCOMPARE(client.nextLine(), QByteArray("7 -1 9 \n"));
    QCOMPARE(harness.engine.received.size(), 4);
}

void TestRDSServer::longLines_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QByteArray>("firstReply");
    const QByteArray group(kGroup);
    const QByteArray longest =
        QByteArray(RDSServer::kMaxLineBytes - group.size() - 1, 'x') + ' ' + group;
    QTest::newRow("1000 bytes are a line")
        << QList<QByteArray>{longest + '\n'} << QByteArray("1 7\n");
    QTest::newRow("1001 bytes are dropped")
        << QList<QByteArray>{'y' + longest + '\n' + group + '\n'} << QByteArray("1 7\n");
    QTest::newRow("dropped across writes up to its end")
        << QList<QByteArray>{QByteArray(900, 'z'), QByteArray(900, 'z') + ' ' + group + "\n#c\n"}
        << QByteArray("1 -1 7 noRDS\n");
}

void TestRDSServer::longLines()
{
    QFETCH(QList<QByteArray>, chunks);
    Harness harness;
    Client client;
    QVERIFY(harness.connect(client));
    for (const QByteArray& chunk : chunks) {
        client.send(chunk);
        QTest::qWait(50); // let the server read each chunk on its own
    }
    QTEST(client.nextLine(), "firstReply");
    client.send("#last\n");
    QCOMPARE(client.nextLine(), QByteArray("2 -1 7 noRDS\n"));
    for (const QByteArray& line : harness.engine.received)
        QVERIFY(line.size() <= RDSServer::kMaxLineBytes);
}

void TestRDSServer::idleReportsOnlyAfterPauseAndChange()
{
    Harness harness;
    Client client;
    QVERIFY(harness.connect(client));
    client.send(QByteArray(kGroup) + '\n');
    QCOMPARE(client.nextLine(), QByteArray("1 7\n"));
    QElapsedTimer sinceReply;
    sinceReply.start();
    harness.engine.fill = 42;

    QCOMPARE(client.nextLine(), QByteArray("1 42\n"));
    // The reply left the server before the client saw it; allow for delivery.
    QVERIFY2(sinceReply.elapsed() >= RDSServer::kIdleReportAfterMs - 50,
             qPrintable(QString::number(sinceReply.elapsed())));

    // An unchanged level is not repeated.
    QTest::qWait(3 * RDSServer::kIdleTickMs);
    QCOMPARE(client.received, QByteArray());

    harness.engine.fill = 0;
    QCOMPARE(client.nextLine(), QByteArray("1 0\n"));
    QCOMPARE(harness.engine.received.size(), 1);
}

// The server shares its thread with the board's fill tick: a burst of
// lines is taken a few at a time, and a tick of the event loop (a zero
// timer here, as the fill tick is one of 1 ms) comes between every pass.
void TestRDSServer::floodIsServedAFewLinesPerPass()
{
    Harness harness;
    Client client;
    QVERIFY(harness.connect(client));
    QList<qsizetype> handledAtTick;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { handledAtTick.append(harness.engine.received.size()); });
    tick.start();
    constexpr int kLines = 100000;
    QByteArray flood;
    for (int i = 0; i < kLines; ++i)
        flood += "x\n";
    client.send(flood);
    QTRY_COMPARE_WITH_TIMEOUT(harness.engine.received.size(), qsizetype(kLines), 120000);
    tick.stop();

    qsizetype most = 0;
    for (qsizetype i = 1; i < handledAtTick.size(); ++i)
        most = std::max(most, handledAtTick[i] - handledAtTick[i - 1]);
    // A pass resumed by its timer and one started by arriving bytes may
    // meet between two ticks.
    QVERIFY2(most <= 2 * RDSServer::kLinesPerPass, qPrintable(QString::number(most)));
    QTRY_VERIFY_WITH_TIMEOUT(client.received.endsWith(QByteArray::number(kLines) + " -1 7 noRDS\n"),
                             kWaitMs);
}

void TestRDSServer::clientThatDoesNotReadIsHeldBack_data()
{
    QTest::addColumn<bool>("readsLater");
    QTest::newRow("reads again: every line is answered") << true;
    QTest::newRow("never reads: closed") << false;
}

// Replies the client does not take stay bounded, and so do its lines the
// server holds; the lines wait in TCP until the client reads again.
void TestRDSServer::clientThatDoesNotReadIsHeldBack()
{
    QFETCH(bool, readsLater);
    Harness harness;
    QTcpSocket client;
    client.setReadBufferSize(1024);
    client.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    client.connectToHost(QHostAddress::LocalHost, harness.port);
    QVERIFY(client.waitForConnected(kWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(harness.server->hasClient(), kWaitMs);
    QTcpSocket* served = harness.server->findChild<QTcpSocket*>();
    QVERIFY(served);
    const QPointer<QTcpSocket> servedSocket(served);
    // The test counts the idle ticks itself: on a loaded machine the flood
    // below may last long enough for the server's own to count some.
    for (QTimer* timer : harness.server->findChildren<QTimer*>()) {
        if (timer->interval() == RDSServer::kIdleTickMs)
            timer->stop();
    }

    qint64 mostUnsent = 0;
    qint64 mostHeld = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (!harness.server->hasClient())
            return;
        mostUnsent = std::max(mostUnsent, served->bytesToWrite());
        mostHeld = std::max(mostHeld, served->bytesAvailable());
    });
    tick.start();
    // About 9 MB of replies, beyond what the system's socket buffers take.
    constexpr int kLines = 500000;
    QByteArray flood;
    for (int i = 0; i < kLines; ++i)
        flood += "x\n";
    client.write(flood);
    QTRY_VERIFY_WITH_TIMEOUT(served->bytesToWrite() > RDSServer::kPauseOutputBytes, 120000);
    QVERIFY(harness.server->isReadingPaused());
    QVERIFY(harness.engine.received.size() < kLines);
    // One reply beyond the limit at most, as every line checks it first.
    QVERIFY2(mostUnsent <= RDSServer::kPauseOutputBytes + 64,
             qPrintable(QString::number(mostUnsent)));
    QVERIFY2(mostHeld <= RDSServer::kReadBufferBytes, qPrintable(QString::number(mostHeld)));

    if (readsLater) {
        QByteArray replies;
        client.setReadBufferSize(0);
        QObject::connect(&client, &QTcpSocket::readyRead, [&] { replies += client.readAll(); });
        replies += client.readAll();
        QTRY_VERIFY_WITH_TIMEOUT(replies.endsWith(QByteArray::number(kLines) + " -1 7 noRDS\n"),
                                 120000);
        // The two lines of the greeting come first.
        QCOMPARE(replies.count('\n'), qsizetype(kLines) + 2);
        QVERIFY(harness.server->hasClient());
    } else {
        const qsizetype before = harness.engine.received.size();
        for (int i = 0; i < RDSServer::kStalledIdleTicks; ++i) {
            QVERIFY(harness.server->hasClient());
            QMetaObject::invokeMethod(harness.server, "timeout");
        }
        QVERIFY(!harness.server->hasClient());
        // The client reads nothing, so only the server side can tell.
        QTRY_VERIFY_WITH_TIMEOUT(servedSocket.isNull(), kWaitMs);
        // The end of remote input, and nothing the client sent after.
        QCOMPARE(harness.engine.received.size(), before + 1);
        QCOMPARE(harness.engine.received.last(), QByteArray());
    }
    QVERIFY2(mostUnsent <= RDSServer::kPauseOutputBytes + 64,
             qPrintable(QString::number(mostUnsent)));
}

void TestRDSServer::newClientReplacesOld()
{
    Harness harness;
    Client first;
    QVERIFY(harness.connect(first));
    first.send("#one\n#two\n");
    QCOMPARE(first.nextLine(), QByteArray("1 -1 7 noRDS\n"));
    QCOMPARE(first.nextLine(), QByteArray("2 -1 7 noRDS\n"));
    first.send("unfinished line of the first client ");
    QTest::qWait(50);

    Client second;
    QVERIFY(harness.connect(second));
    QVERIFY(first.waitUntilClosed());
    second.send(QByteArray(kGroup) + '\n');
    QCOMPARE(second.nextLine(), QByteArray("1 7\n"));
    // The first client's input ended before the second's began, and its
    // unfinished bytes did not join the second's first line.
    QCOMPARE(harness.engine.received,
             (QList<QByteArray>{"#one", "#two", QByteArray(), QByteArray(kGroup)}));

    // The idle timer runs for the new client.
    harness.engine.fill = 3;
    QCOMPARE(second.nextLine(), QByteArray("1 3\n"));
    QCOMPARE(first.received, QByteArray());
    QVERIFY(harness.server->hasClient());
}

// A client that stops reading leaves replies unsent in the server, so
// closing it does not end it at once: its disconnected() comes later, when
// the next client is already served.
void TestRDSServer::lateSignalsOfReplacedClientAreIgnored()
{
    Harness harness;
    QTcpSocket stalled;
    stalled.setReadBufferSize(64);
    stalled.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    stalled.connectToHost(QHostAddress::LocalHost, harness.port);
    QVERIFY(stalled.waitForConnected(kWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(harness.server->hasClient(), kWaitMs);
    const auto serverSide = harness.server->findChildren<QTcpSocket*>();
    QCOMPARE(serverSide.size(), 1);
    const QPointer<QTcpSocket> old = serverSide.first();
    QTRY_COMPARE_WITH_TIMEOUT(old->bytesToWrite(), 0, kWaitMs); // the greeting went out

    // Lines until the replies fill the socket buffers: the server works a
    // flood off a few lines per pass, so this takes what the machine's load
    // makes it take; the bound is generous.
    const QByteArray comments = QByteArray("#\n").repeated(4096);
    QDeadlineTimer deadline(kWaitMs);
    while (old->bytesToWrite() == 0 && !deadline.hasExpired()) {
        if (stalled.bytesToWrite() < comments.size())
            stalled.write(comments);
        stalled.flush();
        QTest::qWait(5);
    }
    QVERIFY2(old->bytesToWrite() > 0, "the server never had to hold back a reply");

    Client next;
    QVERIFY(harness.connect(next));
    QTest::qWait(2 * RDSServer::kIdleTickMs);
    stalled.abort();
    QTRY_VERIFY_WITH_TIMEOUT(old.isNull(), kWaitMs);

    QVERIFY(harness.server->hasClient());
    harness.engine.received.clear();
    next.send(QByteArray(kGroup) + '\n');
    QCOMPARE(next.nextLine(), QByteArray("1 7\n"));
    harness.engine.fill = 11;
    QCOMPARE(next.nextLine(), QByteArray("1 11\n"));
    QCOMPARE(harness.engine.received, QList<QByteArray>{QByteArray(kGroup)});
}

void TestRDSServer::publishesRemoteSourceAndEndsInput()
{
    QTemporaryDir dir;
    auto store = QSharedPointer<FMSettings>::create(dir.filePath("p.fm"));
    KeyRecorder recorder;
    QVERIFY(store->subscribe("rdsin.5", &recorder));
    Harness harness(5);
    harness.server->setProject(store);
    harness.server->setActive();

    auto client = std::make_unique<Client>();
    QVERIFY(harness.connect(*client));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.keys(), QStringList{"rdsin.5"}, kWaitMs);
    QCOMPARE(recorder.values().at(0).toString(), QStringLiteral("127.0.0.1"));

    client->socket.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.keys(), (QStringList{"rdsin.5", "rdsin.5"}), kWaitMs);
    QCOMPARE(recorder.values().at(1).toString(), QString());
    QCOMPARE(harness.engine.received, QList<QByteArray>{QByteArray()});
    QVERIFY(!harness.server->hasClient());
}

void TestRDSServer::portChangeAndStopCloseTheClient()
{
    Harness harness(24);
    Client client;
    QVERIFY(harness.connect(client));

    const quint16 newPort = freePort();
    harness.server->setPort(newPort - 24);
    QVERIFY(client.waitUntilClosed());
    QCOMPARE(harness.engine.received, QList<QByteArray>{QByteArray()});
    QCOMPARE(harness.server->port(), newPort);
    QVERIFY(harness.server->isListening());

    Client again;
    QVERIFY(again.connectTo(newPort));
    QCOMPARE(again.takeGreeting(), QByteArray(kGreeting));
    harness.server->stop();
    QVERIFY(again.waitUntilClosed());
    QVERIFY(!harness.server->isListening());
    QCOMPARE(harness.engine.received.size(), 2);

    // Stopped twice or without a client: nothing more happens.
    harness.server->stop();
    QCOMPARE(harness.engine.received.size(), 2);
}

QTEST_GUILESS_MAIN(TestRDSServer)
// The engine knows no server: a programme listens only when the program
// installed the maker, and then through an RDSServer of its own number.
void TestRDSServer::programmesServeThroughTheInstalledMaker()
{
    FMProgram::setDataInputMaker({});
    {
        FMProgram bare(7, {}, nullptr);
        QVERIFY(!bare.hasDataInput());
        bare.startRDSServer(4001);
        bare.stopRDSServer();
        QVERIFY(bare.findChildren<RDSServer*>().isEmpty());
    }
    RDSServer::serveProgrammes();
    FMProgram served(7, {}, nullptr);
    QVERIFY(served.hasDataInput());
    const QList<RDSServer*> servers = served.findChildren<RDSServer*>();
    QCOMPARE(servers.size(), 1);
    QCOMPARE(servers.first()->programme(), 7);
    served.startRDSServer(5001);
    QCOMPARE(servers.first()->portOffset(), 5000u);
}

#include "tst_rdsserver.moc"
