#include "WindowKit.h"
#include "main/EventLog.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The event log on a real store in a temporary folder; the store's changes
// reach it as posted events, delivered here before each check. The log is
// shown, as a log one reads; a hidden one is tested apart.
class TestEventLog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setKeyShowsOneStampedLine();
    void keysShownOrLeftOut_data();
    void keysShownOrLeftOut();
    void oldestLineGoesAfter600();
    void newStoreReplacesTheOld();
    void noStoreShowsNothing();
    void hiddenLogShowsItsLinesOnceShown_data();
    void hiddenLogShowsItsLinesOnceShown();
    void hiddenLinesReadAsShownOnes();
    void windowHandsItsProjectToTheLog();

private:
    QSharedPointer<FMSettings> makeStore(const QString& name) const
    {
        return QSharedPointer<FMSettings>::create(dir->filePath(name));
    }
    QStringList lines() const
    {
        const QString all = log->findChild<QPlainTextEdit*>(QStringLiteral("text"))->toPlainText();
        return all.isEmpty() ? QStringList() : all.split(QLatin1Char('\n'));
    }
    static void deliver() { QCoreApplication::sendPostedEvents(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<EventLog> log;
    QSharedPointer<FMSettings> store;
};

static const QRegularExpression kStamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d: "));

void TestEventLog::init()
{
    dir = std::make_unique<QTemporaryDir>();
    log = std::make_unique<EventLog>();
    log->show();
    store = makeStore(QStringLiteral("default.fm"));
    log->observeAll(store);
}

void TestEventLog::cleanup()
{
    log.reset();
    store.reset();
    dir.reset();
}

void TestEventLog::setKeyShowsOneStampedLine()
{
    QCOMPARE(store->set(QStringLiteral("Channel.1.Freq"), 95.8), 0);
    deliver();
    const QStringList shown = lines();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(kStamp.match(shown.first()).hasMatch(), qPrintable(shown.first()));
    QCOMPARE(shown.first().mid(14), QStringLiteral("channel.1.freq 95.8"));
}

void TestEventLog::keysShownOrLeftOut_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("debugLine");

    QTest::newRow("board.band: skipped with a debug line in hexadecimal")
        << "board.band" << QVariant(31) << ""
        << "log: skip board.band 0x1f";
    QTest::newRow("Board/Mods in capitals: skipped") << "Board/Mods" << QVariant(2) << ""
                                                     << "log: skip board.mods 0x2";
    QTest::newRow("rdsin: skipped, text as text") << "rdsin.3" << QVariant("full") << ""
                                                  << "log: skip rdsin.3 full";
    QTest::newRow("RDS log line") << "chinfo.1.rdslog.3" << QVariant("0123") << ""
                                  << "";
    QTest::newRow("RDS counter") << "chinfo.1.rdscount" << QVariant(7) << ""
                                 << "";
    QTest::newRow("RDS fill percentage") << "chinfo.5.rdspercent" << QVariant(50) << ""
                                         << "";
    QTest::newRow("distance") << "chinfo.2.dist" << QVariant(3) << ""
                              << "";
    QTest::newRow("play position") << "chinfo.1.playpos" << QVariant(1234) << ""
                                   << "";
    QTest::newRow("channel status") << "chstatus.4" << QVariant(1) << ""
                                    << "";
    QTest::newRow("song information") << "songinfo" << QVariant("x") << ""
                                      << "";
    QTest::newRow("playing is shown")
        << "chinfo.1.playing" << QVariant("track.flac") << "chinfo.1.playing track.flac"
        << "";
    QTest::newRow("play rate is shown")
        << "chinfo.1.playrate" << QVariant(44100) << "chinfo.1.playrate 44100"
        << "";
    QTest::newRow("capitals and slashes become the dotted form")
        << "RDS/1/PS" << QVariant("QUORVIN") << "rds.1.ps QUORVIN"
        << "";
    QTest::newRow("a double as the toolkit writes it")
        << "channel.2.gain" << QVariant(-1.5) << "channel.2.gain -1.5"
        << "";
}

void TestEventLog::keysShownOrLeftOut()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QFETCH(QString, debugLine);

    if (!debugLine.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, qPrintable(debugLine));
    store->publish(key, value);
    deliver();
    const QStringList expected = shown.isEmpty() ? QStringList() : QStringList{shown};
    QStringList unstamped;
    for (const QString& line : lines())
        unstamped.append(line.mid(14));
    QCOMPARE(unstamped, expected);
}

void TestEventLog::oldestLineGoesAfter600()
{
    for (int n = 1; n <= EventLog::kMaxLines; ++n)
        log->append(QStringLiteral("line %1").arg(n));
    QCOMPARE(lines().size(), 600);
    QVERIFY(lines().first().endsWith(QLatin1String(": line 1")));

    log->append(QStringLiteral("line 601"));
    const QStringList shown = lines();
    QCOMPARE(shown.size(), 600);
    QVERIFY(shown.first().endsWith(QLatin1String(": line 2")));
    QVERIFY(shown.last().endsWith(QLatin1String(": line 601")));
}

void TestEventLog::newStoreReplacesTheOld()
{
    const QSharedPointer<FMSettings> next = makeStore(QStringLiteral("next.fm"));
    log->observeAll(next);
    QCOMPARE(log->settings(), next);
    QVERIFY(store->subscriptions(log.get()).isEmpty());

    store->publish(QStringLiteral("channel.1.freq"), 88.0);
    QCOMPARE(store->set(QStringLiteral("channel.3.freq"), 99.0), 0);
    deliver();
    QCOMPARE(lines(), QStringList());

    QCOMPARE(next->set(QStringLiteral("channel.4.freq"), 101.1), 0);
    deliver();
    QCOMPARE(lines().size(), 1);
    QCOMPARE(lines().first().mid(14), QStringLiteral("channel.4.freq 101.1"));
}

void TestEventLog::noStoreShowsNothing()
{
    log->observeAll({});
    QVERIFY(log->settings().isNull());
    store->publish(QStringLiteral("channel.1.freq"), 88.0);
    deliver();
    QCOMPARE(lines(), QStringList());
}

void TestEventLog::hiddenLogShowsItsLinesOnceShown_data()
{
    QTest::addColumn<int>("changes");
    QTest::newRow("a few changes") << 3;
    QTest::newRow("more changes than the log keeps") << EventLog::kMaxLines + 25;
}

// Out of sight the log lays nothing out; what changed meanwhile shows, in
// order and as many lines as the log keeps, once it is shown.
void TestEventLog::hiddenLogShowsItsLinesOnceShown()
{
    QFETCH(int, changes);
    log->hide();
    for (int n = 1; n <= changes; ++n)
        store->publish(QStringLiteral("rds.1.ps"), QStringLiteral("PS%1").arg(n));
    deliver();
    QCOMPARE(lines(), QStringList());

    log->show();
    const QStringList shown = lines();
    const int kept = std::min(changes, int(EventLog::kMaxLines));
    QCOMPARE(shown.size(), kept);
    for (int i = 0; i < kept; ++i) {
        QVERIFY2(kStamp.match(shown[i]).hasMatch(), qPrintable(shown[i]));
        QCOMPARE(shown[i].mid(14), QStringLiteral("rds.1.ps PS%1").arg(changes - kept + 1 + i));
    }

    // Shown, the next change comes at once.
    store->publish(QStringLiteral("rds.1.ps"), QStringLiteral("NEXT"));
    deliver();
    QCOMPARE(lines().size(), std::min(kept + 1, int(EventLog::kMaxLines)));
    QCOMPARE(lines().constLast().mid(14), QStringLiteral("rds.1.ps NEXT"));
}

// A change seen while hidden reads as it would have read at once, among
// the log's own lines in the order they came.
void TestEventLog::hiddenLinesReadAsShownOnes()
{
    log->hide();
    store->publish(QStringLiteral("RDS/1/PS"), QStringLiteral("QUORVIN"));
    deliver();
    log->append(QStringLiteral("a line of the window"));
    store->publish(QStringLiteral("channel.2.gain"), -1.5);
    store->publish(QStringLiteral("Board/Mods"), 2);
    QTest::ignoreMessage(QtDebugMsg, "log: skip board.mods 0x2");
    deliver();
    log->show();
    QStringList unstamped;
    for (const QString& line : lines())
        unstamped.append(line.mid(14));
    QCOMPARE(unstamped, (QStringList{QStringLiteral("rds.1.ps QUORVIN"),
                                     QStringLiteral("a line of the window"),
                                     QStringLiteral("channel.2.gain -1.5")}));
}

void TestEventLog::windowHandsItsProjectToTheLog()
{
    WindowKit kit;
    FMManager* window = kit.open();
    auto* shownLog = kit.find<EventLog>(QString());
    QVERIFY(shownLog);
    QCOMPARE(shownLog->settings(), window->project());

    QVERIFY(window->project()->set(QStringLiteral("channel.7.freq"), 90.3) == 0);
    // The log's dock starts hidden: its lines show once it is opened.
    kit.find<QDockWidget>(QStringLiteral("eventlog"))->show();
    auto* text = shownLog->findChild<QPlainTextEdit*>(QStringLiteral("text"));
    QTRY_VERIFY_WITH_TIMEOUT(text->toPlainText().endsWith(QLatin1String("channel.7.freq 90.3")),
                             WindowKit::kWaitMs);
    kit.close();
}

QTEST_MAIN(TestEventLog)
#include "tst_eventlog.moc"
