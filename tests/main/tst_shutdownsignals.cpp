// A signal that ends the program while the user is being asked something:
// the open question counts as cancelled, the operation that asked stops,
// and only then does the window close as from its menu. The unsaved edit
// stays in the working copy and "Last/dirty" keeps it marked for the next
// start.
#include "WindowKit.h"
#include "main/ShutdownSignals.h"

#include <QTimer>

#include <csignal>

namespace {

constexpr int kPollMs = 10;

} // namespace

class TestShutdownSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalCancelsTheOpenQuestion_data();
    void signalCancelsTheOpenQuestion();

private:
    // Raises the signal once a question is on screen, as a service manager
    // or a closing terminal does while the user thinks.
    void raiseWhenAsked(int number);
};

void TestShutdownSignals::raiseWhenAsked(int number)
{
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [poll, number] {
        if (!QApplication::activeModalWidget())
            return;
        poll->stop();
        poll->deleteLater();
        ::raise(number);
    });
    poll->start(kPollMs);
}

void TestShutdownSignals::signalCancelsTheOpenQuestion_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("saveChosen");

    const QList<std::pair<const char*, int>> signalNames = {
        {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}};
    const QStringList operations = {QStringLiteral("actLoad"), QStringLiteral("actNew"),
                                    QStringLiteral("actRevert"), QStringLiteral("recent"),
                                    QStringLiteral("example")};
    for (const auto& [name, number] : signalNames) {
        for (const QString& operation : operations) {
            QTest::addRow("%s during the question of %s", name, qPrintable(operation))
                << number << operation << false;
        }
    }
    // "Speichern" chosen; the signal comes while the save dialog is open.
    for (const QString& operation : operations) {
        QTest::addRow("SIGTERM during the save dialog of %s", qPrintable(operation))
            << int(SIGTERM) << operation << true;
    }
}

void TestShutdownSignals::signalCancelsTheOpenQuestion()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, operation);
    QFETCH(bool, saveChosen);
    WindowKit kit;
    FMManager* window = kit.open();
    const QString project =
        kit.writeProject(QStringLiteral("p.fm"), {{QStringLiteral("channel.1/freq"), "97.0"}});
    window->loadFile(project);
    QCOMPARE(window->project()->set(QStringLiteral("channel.2.freq"), 88.8), 0);
    QTRY_VERIFY_WITH_TIMEOUT(window->isDirty(), WindowKit::kWaitMs);

    ShutdownSignals shutdown;
    shutdown.setWindow(window);
    ModalQuestions::setUnattended(false);
    if (saveChosen)
        ModalQuestions::setNextAnswer(QMessageBox::Save);
    raiseWhenAsked(signalNumber);
    kit.runLoading(operation, project);
    QTRY_VERIFY_WITH_TIMEOUT(kit.window.isNull(), WindowKit::kWaitMs);

    QSettings workingCopy(kit.workingCopy(), QSettings::IniFormat);
    QCOMPARE(workingCopy.value(QStringLiteral("channel.2/freq")).toDouble(), 88.8);
    QCOMPARE(workingCopy.value(QStringLiteral("channel.1/freq")).toDouble(), 97.0);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/dirty")).toInt(), 1);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), project);
}

QTEST_MAIN(TestShutdownSignals)
#include "tst_shutdownsignals.moc"
