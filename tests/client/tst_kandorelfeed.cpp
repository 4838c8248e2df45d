// Kandorel feeding an RDS log file to the generator's real RDS data input
// server: over an engine stand-in that scripts the fill and the refusals,
// and once through the programme engine to the board emulator.
#include "BoardEmulator.h"
#include "ClientKit.h"
#include "board/FMBoard.h"
#include "board/FMProgram.h"
#include "board/RDSInput.h"
#include "remote/RDSServer.h"
#include "settings/FMSettings.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

namespace {

// An engine stand-in: accepts every line at the fill the test sets, or
// refuses the line numbers the test names with their state word.
class ScriptedInput : public RDSInput
{
public:
    bool queueRemoteGroup(QByteArray& line, int& fillLevel) override
    {
        fillLevel = fill;
        lastGiven = fill;
        if (line.isEmpty())
            return false;
        received.append(line);
        if (line.startsWith('#')) {
            line = "noRDS";
            return false;
        }
        const QByteArray state = refusals.take(int(received.size()));
        if (!state.isEmpty()) {
            line = state;
            fillLevel = refusedFill;
            lastGiven = refusedFill;
            return false;
        }
        accepted.append(line);
        return true;
    }

    // A quiet engine's fill never moves between lines, so the server never
    // reports it unprompted.
    int rdsFillLevel() override { return quiet ? lastGiven : fill; }

    int fill = 10;
    bool quiet = false;
    int lastGiven = 0;
    int refusedFill = 130;
    QMap<int, QByteArray> refusals; // line number from 1 → state word
    QList<QByteArray> received;     // every line, refused ones too
    QList<QByteArray> accepted;
};

// The RDS data input server of channel 1 on a free port of 4001 or more.
class FeedRig
{
public:
    FeedRig()
    {
        server = new RDSServer(1, &parent, &input);
        port = freePort(quint16(4001 + QCoreApplication::applicationPid() % 20000), 60000);
        server->setPort(port - 1u);
        server->setActive();
    }

    ~FeedRig() { server->stop(); }

    QString writeFile(const QByteArray& text)
    {
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
        return path;
    }

    QTemporaryDir dir;
    ScriptedInput input;
    QObject parent;
    RDSServer* server;
    quint16 port = 0;
};

constexpr char kFile[] = "L1\nL2\nL3\n";

// Kandorel fed from the rig's file with its send timer stopped: the test
// ticks it through timeout(), so no wall-clock time decides anything.
class ManualFeed
{
public:
    explicit ManualFeed(FeedRig& rig) : rig(rig) {}

    bool start(const QByteArray& text = kFile)
    {
        if (!kit.connectTo(rig.port))
            return false;
        ClientQuestions::setNextFileName(rig.writeFile(text));
        kit.trigger(QStringLiteral("actLog"));
        kit.trigger(QStringLiteral("actStop"));
        return true;
    }

    // Starts, sends the first line at the given fill and waits for its reply.
    bool firstLineAt(int fill)
    {
        if (!start())
            return false;
        rig.input.fill = fill;
        tick();
        return kit.waitForEvent(QStringLiteral("1 %1").arg(fill));
    }

    // Connects anew; the send timer is stopped before it can fire.
    bool reconnect()
    {
        kit.startConnecting(rig.port);
        kit.trigger(QStringLiteral("actStop"));
        return kit.settle();
    }

    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            kit.window->timeout();
    }

    // Every line the server has of this client, taken once a marker typed
    // behind them arrived: TCP keeps the order.
    QList<QByteArray> receivedUpToMarker()
    {
        kit.type(QStringLiteral("MARK%1").arg(++markers));
        const QByteArray marker = "MARK" + QByteArray::number(markers);
        if (!QTest::qWaitFor([&] { return rig.input.received.contains(marker); }, kWaitMs))
            return {"<no marker>"};
        QList<QByteArray> lines = rig.input.received;
        lines.removeIf([](const QByteArray& line) { return line.startsWith("MARK"); });
        return lines;
    }

    FeedRig& rig;
    ClientKit kit;
    int markers = 0;
};

QTimer* sendTimer(ClientKit& kit)
{
    return kit.find<QTimer>(QStringLiteral("sendTimer"));
}

} // namespace

class TestKandorelFeed : public QObject
{
    Q_OBJECT

private slots:
    void linesInFileOrderThenAgain();
    void pausesAboveAndResumesOnIdleReport();
    void resumesOnProbe();
    void fullResendsTheSameLine();
    void offlineStops();
    void noRDSLinesAreSkipped();
    void fileWithoutGroupsStops();
    void newConnectionStartsAtFillZero();
    void controlPortStopsFeeding();
    void noLineIsReadWhileDisconnected();
    void groupsReachTheBoardInOrder();
};

void TestKandorelFeed::linesInFileOrderThenAgain()
{
    FeedRig rig;
    ClientKit kit;
    QVERIFY(kit.connectTo(rig.port));
    QVERIFY(sendTimer(kit)->isActive()); // a port of 4001 or more feeds
    ClientQuestions::setNextFileName(rig.writeFile("G1\n\n   G2   x \nG3"));
    kit.trigger(QStringLiteral("actLog"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.input.accepted.size() >= 5, kWaitMs);
    QCOMPARE(rig.input.accepted.mid(0, 5), (QList<QByteArray>{"G1", "G2 x", "G3", "G1", "G2 x"}));
    QVERIFY(ClientQuestions::asked().contains("RDS-Log"));
    QVERIFY_EVENT(kit, QStringLiteral("1 10"));
}

void TestKandorelFeed::pausesAboveAndResumesOnIdleReport()
{
    FeedRig rig;
    ManualFeed feed(rig);
    QVERIFY(feed.firstLineAt(70));
    feed.tick(RdsFeeder::kProbeAfterTicks - 1);
    QCOMPARE(feed.receivedUpToMarker(), QList<QByteArray>{"L1"});
    rig.input.fill = 64; // the server reports the drained queue by itself
    QVERIFY_EVENT(feed.kit, QStringLiteral("2 64"));
    feed.tick(2);
    QCOMPARE(feed.receivedUpToMarker(), (QList<QByteArray>{"L1", "L2", "L3"}));
}

void TestKandorelFeed::resumesOnProbe()
{
    FeedRig rig;
    rig.input.quiet = true;
    ManualFeed feed(rig);
    QVERIFY(feed.firstLineAt(70));
    // The fill never changes, so the server reports nothing: after a second
    // of silence the next line goes out as a probe.
    feed.tick(RdsFeeder::kProbeAfterTicks);
    QCOMPARE(feed.receivedUpToMarker(), (QList<QByteArray>{"L1", "L2"}));
    rig.input.fill = 5;
    feed.tick(RdsFeeder::kProbeAfterTicks);
    QVERIFY_EVENT(feed.kit, QStringLiteral("4 5")); // the probe's reply
    feed.tick();
    QCOMPARE(feed.receivedUpToMarker(), (QList<QByteArray>{"L1", "L2", "L3", "L1"}));
}

void TestKandorelFeed::fullResendsTheSameLine()
{
    FeedRig rig;
    rig.input.refusals.insert(2, "full");
    ManualFeed feed(rig);
    QVERIFY(feed.start());
    feed.tick(2);
    QVERIFY_EVENT(feed.kit, QStringLiteral("2 -1 130 full"));
    rig.input.fill = 12; // drained: the idle report lets the feed go on
    QVERIFY_EVENT(feed.kit, QStringLiteral("2 12"));
    feed.tick(2);
    QCOMPARE(feed.receivedUpToMarker(), (QList<QByteArray>{"L1", "L2", "L2", "L3"}));
    QList<QByteArray> accepted = rig.input.accepted;
    accepted.removeIf([](const QByteArray& line) { return line.startsWith("MARK"); });
    QCOMPARE(accepted, (QList<QByteArray>{"L1", "L2", "L3"}));
}

void TestKandorelFeed::offlineStops()
{
    FeedRig rig;
    rig.input.refusals.insert(2, "offline");
    ClientKit kit;
    QVERIFY(kit.connectTo(rig.port));
    ClientQuestions::setNextFileName(rig.writeFile(kFile));
    kit.trigger(QStringLiteral("actLog"));
    QVERIFY_EVENT(kit, QStringLiteral("RDS-Log stopped: the channel is offline"));
    QVERIFY(!sendTimer(kit)->isActive());
    QCOMPARE(rig.input.received.mid(0, 2), (QList<QByteArray>{"L1", "L2"}));
}

void TestKandorelFeed::noRDSLinesAreSkipped()
{
    FeedRig rig;
    ClientKit kit;
    QVERIFY(kit.connectTo(rig.port));
    ClientQuestions::setNextFileName(rig.writeFile("# RDS log of 12 May\nG1\nG2\n"));
    kit.trigger(QStringLiteral("actLog"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.input.accepted.size() >= 4, kWaitMs);
    QCOMPARE(rig.input.accepted.mid(0, 4), (QList<QByteArray>{"G1", "G2", "G1", "G2"}));
    QCOMPARE(rig.input.received.mid(0, 4),
             (QList<QByteArray>{"# RDS log of 12 May", "G1", "G2", "# RDS log of 12 May"}));
    QVERIFY(sendTimer(kit)->isActive());
}

void TestKandorelFeed::fileWithoutGroupsStops()
{
    FeedRig rig;
    ClientKit kit;
    QVERIFY(kit.connectTo(rig.port));
    ClientQuestions::setNextFileName(rig.writeFile("# one\n# two\n"));
    kit.trigger(QStringLiteral("actLog"));
    QVERIFY_EVENT(kit, QStringLiteral("RDS-Log stopped: no line of the file holds an RDS group"));
    QVERIFY(!sendTimer(kit)->isActive());
    QVERIFY(rig.input.accepted.isEmpty());
}

void TestKandorelFeed::newConnectionStartsAtFillZero()
{
    FeedRig rig;
    rig.input.quiet = true;
    ManualFeed feed(rig);
    QVERIFY(feed.firstLineAt(70));
    QVERIFY(feed.reconnect());
    QCOMPARE(feed.kit.registered(), QStringList{});
    feed.tick();
    QCOMPARE(feed.receivedUpToMarker(), (QList<QByteArray>{"L1", "L2"}));
}

void TestKandorelFeed::controlPortStopsFeeding()
{
    FeedRig rig;
    RawServer raw;
    QVERIFY(raw.listen(freePort(3000, 4001)));
    ClientKit kit;
    QVERIFY(kit.connectTo(rig.port));
    QVERIFY(sendTimer(kit)->isActive());
    QVERIFY(kit.connectTo(raw.server.serverPort()));
    QVERIFY(!sendTimer(kit)->isActive());
    // Choosing a file on the control port does not start the feed either.
    ClientQuestions::setNextFileName(rig.writeFile(kFile));
    kit.trigger(QStringLiteral("actLog"));
    QVERIFY(!sendTimer(kit)->isActive());
    // An unreadable file changes nothing else.
    ClientQuestions::setNextFileName(rig.dir.filePath(QStringLiteral("missing.txt")));
    kit.trigger(QStringLiteral("actLog"));
    QVERIFY(!sendTimer(kit)->isActive());
}

void TestKandorelFeed::noLineIsReadWhileDisconnected()
{
    FeedRig rig;
    ManualFeed feed(rig);
    QVERIFY(feed.firstLineAt(10));
    rig.server->stop();
    QTRY_VERIFY_WITH_TIMEOUT(!feed.kit.connected(), kWaitMs);
    feed.tick(5);
    rig.server->listen();
    QVERIFY(feed.reconnect());
    feed.tick();
    QCOMPARE(feed.receivedUpToMarker(), (QList<QByteArray>{"L1", "L2"}));
}

void TestKandorelFeed::groupsReachTheBoardInOrder()
{
    // A board thread on the emulator; channel 1's RDS data input server
    // listens on the RDS start port.
    QTemporaryDir dir;
    const QString projectPath = dir.filePath(QStringLiteral("project.fm"));
    QFile project(projectPath);
    QVERIFY(project.open(QIODevice::WriteOnly));
    project.write("[board]\ngmin=1\n[channel.1]\nused=1\nidrds=1\n"
                  "[rds.1]\nused=1\nps=TESTPS\npi=d311\n0=-1\n2=60\n");
    project.close();
    auto store = QSharedPointer<FMSettings>::create(projectPath);
    RDSServer::serveProgrammes(); // as the program does before it makes its boards
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    const quint16 rdsPort =
        freePort(quint16(4001 + QCoreApplication::applicationPid() % 20000), 60000);
    struct BoardRun
    {
        FMBoard board;
        ~BoardRun()
        {
            board.quit();
            board.wait();
        }
    } run{{0, rdsPort, 52u}};
    FMBoard& board = run.board;
    board.setConfig(store);
    BoardIP ip;
    ip.ipv4 = emulator.ipv4();
    ip.port = emulator.port();
    ip.mac = {0x00, 0x50, 0xC2, 0x11, 0x01, 0x02};
    board.connectTo(ip);
    QTRY_VERIFY_WITH_TIMEOUT(board.connectionState() == FMBoard::Online, kWaitMs);

    ClientKit kit;
    QTRY_VERIFY_WITH_TIMEOUT(kit.connectTo(rdsPort), kWaitMs);
    QByteArray file = "# from the RDS monitor\n";
    for (const char* pi : {"A001", "A002", "A003", "A004"})
        file += QByteArray("12:00:01.250 ") + pi + " 0408 E0CD 5445\n";
    QTemporaryDir logDir;
    const QString logPath = logDir.filePath(QStringLiteral("log.txt"));
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write(file);
    log.close();
    ClientQuestions::setNextFileName(logPath);
    kit.trigger(QStringLiteral("actLog"));

    // Block A of each remote group, in the order the board got them.
    const auto remotePis = [&] {
        QList<int> pis;
        for (const BoardEmulator::Datagram& d : emulator.receivedOfType(BoardEmulator::RdsStream)) {
            if (d.slot != 0)
                continue;
            // Remote groups go on stream 0; with four streams their words
            // interleave.
            QByteArray stream0 = d.payload;
            if (d.kind != 1) {
                stream0.clear();
                for (qsizetype at = 0; at + 1 < d.payload.size(); at += 8)
                    stream0 += d.payload.mid(at, 2);
            }
            for (qsizetype at = 0; at + 13 <= stream0.size(); at += 13) {
                const int pi = (quint8(stream0[at]) << 8) | quint8(stream0[at + 1]);
                if ((pi & 0xFFF0) == 0xA000)
                    pis.append(pi);
            }
        }
        return pis;
    };
    QTRY_VERIFY_WITH_TIMEOUT(remotePis().size() >= 6, kWaitMs);
    QCOMPARE(remotePis().mid(0, 6), (QList<int>{0xA001, 0xA002, 0xA003, 0xA004, 0xA001, 0xA002}));
    kit.trigger(QStringLiteral("actStop"));
}

QTEST_MAIN(TestKandorelFeed)
#include "tst_kandorelfeed.moc"
