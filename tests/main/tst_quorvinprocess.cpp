// The program as started from a shell: "Quorvin -i DIR/q.ini" drives the
// boards stored in that ini (the board emulator program here) and ends on
// SIGTERM or SIGINT as when its window is closed: carrier off and unlock
// reach the board, the ini keeps the close keys, and the exit status is 0.
#include "main/FMManager.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

constexpr int kWaitMs = 30000;

} // namespace

class TestQuorvinProcess : public QObject
{
    Q_OBJECT

private slots:
    void signalStopsTheBoardsAndExitsCleanly_data();
    void signalStopsTheBoardsAndExitsCleanly();
};

void TestQuorvinProcess::signalStopsTheBoardsAndExitsCleanly_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestQuorvinProcess::signalStopsTheBoardsAndExitsCleanly()
{
    QFETCH(int, signalNumber);
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
        ini.setValue(QStringLiteral("Remote/portControl"), 0);
        ini.setValue(QStringLiteral("Remote/portRDSData"), 0);
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

    QCOMPARE(::kill(pid_t(quorvin.processId()), signalNumber), 0);
    QVERIFY(quorvin.waitForFinished(kWaitMs));
    QCOMPARE(quorvin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quorvin.exitCode(), 0);
    const QString log = QString::fromUtf8(quorvin.readAllStandardError());
    QVERIFY2(log.contains(QStringLiteral("upd: look-up of v4-66.update.quorvin.invalid not sent")),
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

QTEST_GUILESS_MAIN(TestQuorvinProcess)
#include "tst_quorvinprocess.moc"
