// The program as started from a shell: "Quorvin -i DIR/q.ini" drives the
// boards stored in that ini (the board emulator program here) and ends on
// SIGTERM, SIGINT or SIGHUP as when its window is closed: carrier off and
// unlock reach the board, the ini keeps the close keys, and the exit status
// is 0. An ini that is no file is refused before anything starts, and ports
// from the ini outside the port dialog's ranges are not used.
#include "main/FMManager.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

namespace {

constexpr int kWaitMs = 30000;
constexpr int kUnusableIni = 2;
// Logged once the window has opened its project, after both servers were
// set up.
const QString kStartedLine = QStringLiteral("man: open [");

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
}

// The program on a temporary home, offscreen, its output kept apart.
void startProgram(QProcess& quorvin, const QString& home, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The program's own log lines, whatever the machine's rules say.
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("default.debug=true;qt.*.debug=false"));
    // The update check must not send its look-up to a name server.
    environment.insert(QStringLiteral("QUORVIN_LOCAL_LOOKUP"), QStringLiteral("1"));
    quorvin.setProcessEnvironment(environment);
    quorvin.setWorkingDirectory(home);
    quorvin.start(QStringLiteral(QUORVIN_PROGRAM), arguments);
}

// A chosen language and a known release: no question at start.
void writeQuietIni(const QString& path, const QList<std::pair<QString, QString>>& ports)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue(QStringLiteral("Board/lang"), QStringLiteral("de"));
    ini.setValue(QStringLiteral("Board/soft"), FMManager::versionText());
    for (const auto& [key, value] : ports)
        ini.setValue(key, value);
}

} // namespace

class TestQuorvinProcess : public QObject
{
    Q_OBJECT

private slots:
    void signalStopsTheBoardsAndExitsCleanly_data();
    void signalStopsTheBoardsAndExitsCleanly();
    void iniThatIsNoFileIsRefused_data();
    void iniThatIsNoFileIsRefused();
    void portsOutsideTheirRangeFallBack_data();
    void portsOutsideTheirRangeFallBack();
};

void TestQuorvinProcess::signalStopsTheBoardsAndExitsCleanly_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("fifoInPlaylist");
    QTest::newRow("SIGTERM") << SIGTERM << false;
    QTest::newRow("SIGINT") << SIGINT << false;
    QTest::newRow("SIGHUP") << SIGHUP << false;
    // Opening a FIFO blocks until a writer comes: the decoder must never
    // try, or the program could not end.
    QTest::newRow("SIGTERM, a FIFO in channel 1's playlist") << SIGTERM << true;
}

void TestQuorvinProcess::signalStopsTheBoardsAndExitsCleanly()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, fifoInPlaylist);
    QTemporaryDir dir;
    QProcess emulator;
    emulator.start(QStringLiteral(EMULATOR_PROGRAM), {QStringLiteral("0")});
    QVERIFY(emulator.waitForStarted(kWaitMs));
    QString output;
    auto readEmulator = [&] {
        output += QString::fromUtf8(emulator.readAllStandardOutput());
        return output;
    };
    QTRY_VERIFY_WITH_TIMEOUT(readEmulator().contains(QLatin1String(": listening")), kWaitMs);
    const QString firstLine = output.section(QLatin1Char('\n'), 0, 0);
    const quint16 port =
        firstLine.section(QLatin1Char(' '), 1, 1).remove(QLatin1Char(':')).toUShort();
    QVERIFY2(port != 0, qPrintable(firstLine));

    const QString iniPath = dir.filePath(QStringLiteral("q.ini"));
    {
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.setValue(QStringLiteral("Board/mods"), 1);
        ini.setValue(QStringLiteral("Board/0"), QStringLiteral("0 2130706433 %1").arg(port));
        ini.setValue(QStringLiteral("Board/lang"), QStringLiteral("de"));
        ini.setValue(QStringLiteral("Board/soft"), FMManager::versionText());
        ini.setValue(QStringLiteral("Remote/portControl"), freePort());
        ini.setValue(QStringLiteral("Remote/portRDSData"), 0);
    }
    if (fifoInPlaylist) {
        const QString fifo = dir.filePath(QStringLiteral("song.wav"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // The working copy beside the ini is what the program opens.
        QSettings project(dir.filePath(QStringLiteral("q.fm")), QSettings::IniFormat);
        project.setValue(QStringLiteral("channel.1/used"), 1);
        project.setValue(QStringLiteral("channel.1/idaudio"), 1);
        project.setValue(QStringLiteral("audio.1/used"), 1);
        project.setValue(QStringLiteral("audio.1/type"), 2);
        project.setValue(QStringLiteral("audio.1/file"), QStringLiteral("playlist.1"));
        project.setValue(QStringLiteral("playlist.1/0"), fifo);
    }

    QProcess quorvin;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The update check must not send its look-up to a name server.
    environment.insert(QStringLiteral("QUORVIN_LOCAL_LOOKUP"), QStringLiteral("1"));
    quorvin.setProcessEnvironment(environment);
    quorvin.start(QStringLiteral(QUORVIN_PROGRAM), {QStringLiteral("-i"), iniPath});
    QVERIFY(quorvin.waitForStarted(kWaitMs));

    const QString port0 = QStringLiteral("port %1: ").arg(port);
    QTRY_VERIFY_WITH_TIMEOUT(readEmulator().contains(port0 + QStringLiteral("lock")), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(readEmulator().contains(port0 + QStringLiteral("on air 1")), kWaitMs);
    QString log;
    auto readLog = [&] {
        log += QString::fromUtf8(quorvin.readAllStandardError());
        return log;
    };
    if (fifoInPlaylist) {
        QTRY_VERIFY_WITH_TIMEOUT(readLog().contains(QStringLiteral("decoder: not a regular file")),
                                 kWaitMs);
    }

    QCOMPARE(::kill(pid_t(quorvin.processId()), signalNumber), 0);
    QVERIFY(quorvin.waitForFinished(kWaitMs));
    QCOMPARE(quorvin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quorvin.exitCode(), 0);
    QVERIFY2(
        readLog().contains(QStringLiteral("upd: look-up of v4-66.update.quorvin.invalid not sent")),
        qPrintable(log));

    QTRY_VERIFY_WITH_TIMEOUT(readEmulator().contains(port0 + QStringLiteral("unlock")), kWaitMs);
    const qsizetype carrierOff = output.lastIndexOf(port0 + QStringLiteral("on air 0"));
    QVERIFY2(carrierOff >= 0, qPrintable(output));
    QVERIFY(carrierOff < output.lastIndexOf(port0 + QStringLiteral("unlock")));

    QSettings ini(iniPath, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Last/dirty")).toInt(), 0);
    QVERIFY(!ini.value(QStringLiteral("Main/geometry")).toByteArray().isEmpty());
    QCOMPARE(ini.value(QStringLiteral("Board/0")).toString(),
             QStringLiteral("258 2130706433 %1").arg(port));

    emulator.terminate();
    emulator.waitForFinished(kWaitMs);
}

void TestQuorvinProcess::iniThatIsNoFileIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    // Bare names go into HOME/.quorvin/; "folder" and "fifo" are made in HOME.
    QTest::newRow("empty name") << QString() << QStringLiteral("it is a folder");
    QTest::newRow("dot") << QStringLiteral(".") << QStringLiteral("it is a folder");
    QTest::newRow("dot dot") << QStringLiteral("..") << QStringLiteral("it is a folder");
    QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("it is a folder");
    QTest::newRow("name ending in a separator")
        << QStringLiteral("later/") << QStringLiteral("it is a folder");
    QTest::newRow("FIFO") << QStringLiteral("fifo") << QStringLiteral("it is no regular file");
}

void TestQuorvinProcess::iniThatIsNoFileIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkdir(QStringLiteral("folder")));
    const QByteArray fifo = home.filePath(QStringLiteral("fifo")).toLocal8Bit();
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const QString argument = (name == QLatin1String("folder") || name == QLatin1String("fifo"))
                                 ? home.filePath(name)
                                 : name;
    QProcess quorvin;
    startProgram(quorvin, home.path(), {QStringLiteral("-i"), argument});
    QVERIFY(quorvin.waitForStarted(kWaitMs));
    // A program that took the folder for its ini would run on; the kill at
    // the end of the test ends it.
    QVERIFY(quorvin.waitForFinished(kWaitMs));
    QCOMPARE(quorvin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quorvin.exitCode(), kUnusableIni);
    const QString errors = QString::fromUtf8(quorvin.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("as the application ini: ") + refusal),
             qPrintable(errors));
    // No working copy was made anywhere.
    QDirIterator files(home.path(), {QStringLiteral("*.fm")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    QStringList made;
    while (files.hasNext())
        made.append(files.next());
    QCOMPARE(made, QStringList());
}

void TestQuorvinProcess::portsOutsideTheirRangeFallBack_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fallback");

    const QString control = QStringLiteral("Remote/portControl");
    const QString rds = QStringLiteral("Remote/portRDSData");
    const QString used; // the value is taken, nothing is logged
    QTest::newRow("control port text")
        << control << QStringLiteral("abc") << QStringLiteral("is no port of 80-65535, using 1248");
    QTest::newRow("control port above 65535")
        << control << QStringLiteral("70000")
        << QStringLiteral("is no port of 80-65535, using 1248");
    QTest::newRow("control port 0")
        << control << QStringLiteral("0") << QStringLiteral("is no port of 80-65535, using 1248");
    QTest::newRow("control port 79")
        << control << QStringLiteral("79") << QStringLiteral("is no port of 80-65535, using 1248");
    QTest::newRow("control port free") << control << QString() << used;
    QTest::newRow("RDS start port 0")
        << rds << QStringLiteral("0") << QStringLiteral("is no port of 80-65440, using 4001");
    QTest::newRow("RDS start port 65441")
        << rds << QStringLiteral("65441") << QStringLiteral("is no port of 80-65440, using 4001");
    QTest::newRow("RDS start port text")
        << rds << QStringLiteral("4x") << QStringLiteral("is no port of 80-65440, using 4001");
    QTest::newRow("RDS start port 80") << rds << QStringLiteral("80") << used;
    QTest::newRow("RDS start port 65440") << rds << QStringLiteral("65440") << used;
}

void TestQuorvinProcess::portsOutsideTheirRangeFallBack()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, fallback);
    QTemporaryDir home;
    const QString iniPath = home.filePath(QStringLiteral("q.ini"));
    const quint16 free = freePort();
    const QString controlKey = QStringLiteral("Remote/portControl");
    if (value.isEmpty())
        value = QString::number(free);
    // The port not under test is a good one.
    const auto other =
        key == controlKey ? std::pair{QStringLiteral("Remote/portRDSData"), QStringLiteral("40001")}
                          : std::pair{controlKey, QString::number(free)};
    writeQuietIni(iniPath, {{key, value}, other});

    QProcess quorvin;
    startProgram(quorvin, home.path(), {QStringLiteral("-i"), iniPath});
    QVERIFY(quorvin.waitForStarted(kWaitMs));
    QString errors;
    auto readErrors = [&] {
        errors += QString::fromUtf8(quorvin.readAllStandardError());
        return errors;
    };
    QTRY_VERIFY_WITH_TIMEOUT(readErrors().contains(kStartedLine), kWaitMs);
    const QString line = QStringLiteral("man: %1=%2 ").arg(key, value);
    if (fallback.isEmpty()) {
        QVERIFY2(!errors.contains(line), qPrintable(errors));
    } else {
        QVERIFY2(errors.contains(line + fallback), qPrintable(errors));
    }
    // A good control port is the one the server listens on.
    if (key == controlKey && fallback.isEmpty()) {
        // The server starts listening once the project is handed to it.
        auto accepted = [free] {
            QTcpSocket client;
            client.connectToHost(QHostAddress::LocalHost, free);
            return client.waitForConnected(kWaitMs);
        };
        QTRY_VERIFY_WITH_TIMEOUT(accepted(), kWaitMs);
    }
    QCOMPARE(::kill(pid_t(quorvin.processId()), SIGTERM), 0);
    QVERIFY(quorvin.waitForFinished(kWaitMs));
    QCOMPARE(quorvin.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestQuorvinProcess)
#include "tst_quorvinprocess.moc"
