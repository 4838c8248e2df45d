// The pacing of an RDS log file fed to an RDS data input server, driven
// tick by tick with the server's replies written in the test.
#include "client/RdsFeeder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Stop = RdsFeeder::Stop;

// A feeder on a file of the given text, with the bookkeeping of a socket:
// what went out, and the server's replies handed back.
class Feed
{
public:
    explicit Feed(const QByteArray& text)
    {
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the log file");
        file.write(text);
        file.close();
        if (!feeder.open(path))
            qFatal("cannot open the log file");
    }

    // One tick; a line it gives is sent.
    QString tick()
    {
        const QString line = feeder.tick(&stop);
        if (!line.isEmpty()) {
            feeder.lineSent(line);
            sent.append(line);
        }
        return line;
    }

    // Ticks until n lines went out (at most 100 ticks).
    QStringList send(int n)
    {
        const qsizetype before = sent.size();
        for (int i = 0; i < 100 && sent.size() < before + n && stop == Stop::None; ++i)
            tick();
        return sent.mid(before);
    }

    Stop reply(const QString& line)
    {
        stop = feeder.received(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        return stop;
    }

    QTemporaryDir dir;
    RdsFeeder feeder;
    QStringList sent;
    Stop stop = Stop::None;
};

} // namespace

class TestRdsFeeder : public QObject
{
    Q_OBJECT

private slots:
    void sendsFileOrderAndLoops();
    void fillFromReplies_data();
    void fillFromReplies();
    void pauseEndsOnIdleReport();
    void probeAfterSilence();
    void fullResendsTheSameLine();
    void offlineStopsAndKeepsTheLine();
    void passWithoutAcceptedLineStops_data();
    void passWithoutAcceptedLineStops();
    void reconnectMidPassJudgesNothing();
    void overlongLines();
    void newConnectionStartsAtFillZero();
};

void TestRdsFeeder::sendsFileOrderAndLoops()
{
    Feed feed("first\n\n  second \t group  \nlast");
    QCOMPARE(feed.tick(), QStringLiteral("first"));
    QCOMPARE(feed.tick(), QString()); // the blank line sends nothing
    QCOMPARE(feed.tick(), QStringLiteral("second group"));
    QCOMPARE(feed.tick(), QStringLiteral("last"));
    QCOMPARE(feed.tick(), QStringLiteral("first"));
    QCOMPARE(feed.stop, Stop::None);
}

void TestRdsFeeder::fillFromReplies_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("fill");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("accepted above 64 pauses") << "1 70" << 70 << false;
    QTest::newRow("accepted at 64 goes on") << "1 64" << 64 << true;
    QTest::newRow("refused full: fill from the third word") << "1 -1 130 full" << 130 << false;
    QTest::newRow("refused noRDS at low fill goes on") << "1 -1 12 noRDS" << 12 << true;
    QTest::newRow("refusal is never fill -1") << "1 -1 0 noRDS" << 0 << true;
    QTest::newRow("not a number reads 0") << "1 lots" << 0 << true;
    QTest::newRow("beyond 32 bits reads 0") << "1 99999999999" << 0 << true;
    QTest::newRow("greeting reads 0") << "modul.info Quorvin Generator v4.66" << 0 << true;
    QTest::newRow("one word changes nothing") << "70" << 0 << true;
}

void TestRdsFeeder::fillFromReplies()
{
    QFETCH(QString, reply);
    QFETCH(int, fill);
    QFETCH(bool, goesOn);
    Feed feed("A\nB\n");
    QCOMPARE(feed.send(1), QStringList{"A"});
    feed.reply(reply);
    QCOMPARE(feed.feeder.fillLevel(), fill);
    QCOMPARE(feed.tick(), goesOn ? QStringLiteral("B") : QString());
}

void TestRdsFeeder::pauseEndsOnIdleReport()
{
    Feed feed("A\nB\n");
    feed.send(1);
    feed.reply("1 70");
    for (int i = 0; i < RdsFeeder::kProbeAfterTicks - 1; ++i)
        QCOMPARE(feed.tick(), QString());
    feed.reply("1 64"); // the server's report of a drained queue: same count
    QCOMPARE(feed.tick(), QStringLiteral("B"));
}

void TestRdsFeeder::probeAfterSilence()
{
    Feed feed("A\nB\nC\n");
    feed.send(1);
    feed.reply("1 70");
    for (int i = 0; i < RdsFeeder::kProbeAfterTicks - 2; ++i)
        QCOMPARE(feed.tick(), QString());
    feed.reply("1 80"); // anything heard starts the silence anew
    for (int i = 0; i < RdsFeeder::kProbeAfterTicks - 1; ++i)
        QCOMPARE(feed.tick(), QString());
    QCOMPARE(feed.tick(), QStringLiteral("B"));
    // Still paused: the next probe waits for another silence.
    QCOMPARE(feed.tick(), QString());
    feed.reply("2 10");
    QCOMPARE(feed.tick(), QStringLiteral("C"));
}

void TestRdsFeeder::fullResendsTheSameLine()
{
    Feed feed("A\nB\nC\n");
    QCOMPARE(feed.send(2), (QStringList{"A", "B"}));
    QCOMPARE(feed.reply("1 -1 130 full"), Stop::None);
    QCOMPARE(feed.reply("2 -1 130 full"), Stop::None);
    QCOMPARE(feed.tick(), QString());
    feed.reply("2 20");
    QCOMPARE(feed.send(4), (QStringList{"A", "B", "C", "A"}));
}

void TestRdsFeeder::offlineStopsAndKeepsTheLine()
{
    Feed feed("A\nB\n");
    feed.send(2);
    QCOMPARE(feed.reply("1 5"), Stop::None);
    QCOMPARE(feed.reply("2 -1 0 offline"), Stop::Offline);
    feed.feeder.restart();
    feed.stop = Stop::None;
    QCOMPARE(feed.send(2), (QStringList{"B", "A"}));
}

void TestRdsFeeder::passWithoutAcceptedLineStops_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("replies"); // state word per line, "" accepted
    QTest::addColumn<bool>("stops");
    QTest::newRow("empty file") << QByteArray() << QStringList{} << true;
    QTest::newRow("blank lines only") << QByteArray("\n  \n") << QStringList{} << true;
    QTest::newRow("comments only")
        << QByteArray("# one\n# two\n") << QStringList{"noRDS", "noRDS"} << true;
    QTest::newRow("a comment among groups")
        << QByteArray("# header\nG1\nG2\n") << QStringList{"noRDS", "", ""} << false;
    QTest::newRow("full is no verdict on the file")
        << QByteArray("G1\n") << QStringList{"full"} << false;
    QTest::newRow("one accepted line is enough")
        << QByteArray("bad\nG1\n") << QStringList{"noRDS", ""} << false;
}

void TestRdsFeeder::passWithoutAcceptedLineStops()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, replies);
    QFETCH(bool, stops);
    Feed feed(file);
    QCOMPARE(feed.send(int(replies.size())).size(), replies.size());
    for (int i = 0; i < replies.size(); ++i) {
        const QString reply = replies.at(i).isEmpty()
                                  ? QStringLiteral("%1 3").arg(i + 1)
                                  : QStringLiteral("%1 -1 3 %2").arg(i + 1).arg(replies.at(i));
        QCOMPARE(feed.reply(reply), Stop::None);
    }
    // The pass ends at a later tick: all its lines are answered by then.
    for (int i = 0; i < 5 && feed.stop == Stop::None; ++i)
        feed.tick();
    QCOMPARE(feed.stop, stops ? Stop::NothingAccepted : Stop::None);
}

void TestRdsFeeder::reconnectMidPassJudgesNothing()
{
    Feed feed("G1\n\n");
    QCOMPARE(feed.tick(), QStringLiteral("G1"));
    feed.feeder.restart(); // G1's reply is lost with the old connection
    QCOMPARE(feed.tick(), QString());
    QCOMPARE(feed.tick(), QStringLiteral("G1"));
    QCOMPARE(feed.stop, Stop::None);
    // A whole pass since the reconnect is judged.
    feed.reply("1 -1 3 noRDS");
    QCOMPARE(feed.tick(), QString());
    feed.tick();
    QCOMPARE(feed.stop, Stop::NothingAccepted);
}

void TestRdsFeeder::overlongLines()
{
    const QByteArray tooLong(RdsFeeder::kMaxLineBytes + 1, 'x');
    const QByteArray longest(RdsFeeder::kMaxLineBytes, 'y');
    Feed feed(tooLong + "\n" + longest + "\nB\n");
    QCOMPARE(feed.tick(), QString()); // never answered by the server: skipped
    QCOMPARE(feed.tick(), QString::fromLatin1(longest));
    // An overlong typed line is not counted: the server drops it unanswered.
    feed.feeder.lineSent(QString::fromLatin1(tooLong));
    QCOMPARE(feed.tick(), QStringLiteral("B"));
    feed.reply("2 -1 130 full");
    feed.reply("2 10");
    QCOMPARE(feed.tick(), QStringLiteral("B"));
}

void TestRdsFeeder::newConnectionStartsAtFillZero()
{
    Feed feed("A\nB\n");
    feed.send(1);
    feed.reply("1 100");
    QCOMPARE(feed.tick(), QString());
    feed.feeder.restart();
    QCOMPARE(feed.feeder.fillLevel(), 0);
    QCOMPARE(feed.tick(), QStringLiteral("B"));
}

QTEST_GUILESS_MAIN(TestRdsFeeder)
#include "tst_rdsfeeder.moc"
