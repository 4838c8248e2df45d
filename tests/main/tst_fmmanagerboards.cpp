// Boards and remote control through the window: stored boards against the
// board emulator on 127.0.0.1, the on-air state published to the store, the
// connection choice, the remote status light, and a TCP client steering the
// window's control server.
#include "WindowKit.h"

#include <QHostAddress>

#include "BoardEmulator.h"
#include "KeyRecorder.h"
#include "LineClient.h"
#include "LogCapture.h"

#include "board/BoardCommand.h"
#include "board/FMBoard.h"
#include "channels/ChannelView.h"
#include "channels/FMChannel.h"
#include "channels/FMInfo.h"
#include "channels/TabFlag.h"
#include "remote/FMServer.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHostAddress>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

QList<QByteArray> onAirValues(const BoardEmulator& emulator)
{
    QList<QByteArray> values;
    for (const auto& datagram : emulator.receivedOfType(BoardEmulator::Command)) {
        const QByteArray value = datagram.item(BoardCommand::kOnAir);
        if (!value.isEmpty())
            values.append(value);
    }
    return values;
}

// A line client of the control server.
// A remote client of the window's control server; the server runs in this
// thread, so every wait keeps the loop turning.
class Client : public LineClient
{
public:
    explicit Client(quint16 port) { QVERIFY(connectTo(port)); }

    void send(const QString& line) { LineClient::send(line.toUtf8() + "\r\n"); }

    // Waits for a line that starts with prefix; earlier lines are dropped.
    QString waitFor(const QString& prefix) { return takeStartingWith(prefix); }
};

// The window with the emulator stored as its first board, once that board is
// online and the control server listens; null when either does not come.
FMManager* openWithBoardOnline(WindowKit& kit, const BoardEmulator& emulator)
{
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(emulator));
    FMManager* window = kit.open();
    const bool ready = QTest::qWaitFor(
        [window] { return window->board(0)->isOnline() && window->server()->isListening(); },
        WindowKit::kWaitMs);
    return ready ? window : nullptr;
}

} // namespace

class TestFMManagerBoards : public QObject
{
    Q_OBJECT

private slots:
    void storedBoardGoesOnline();
    void oneAddressConnectsOnce();
    void connectToHidesTheRest();
    void onAirIsPublished();
    void eachStripMeasuresAgainstItsOwnBoard();
    void remoteStatus_data();
    void remoteStatus();
    void remoteClientSteersTheWindow();
    void remoteOnAirReachesTheBoard();
    void remoteSetBurstReachesTheBoardInOrder();
    void portDialogMovesTheServer();
    void bandDialog_data();
    void bandDialog();
    void connectDialogStoresTheChoice_data();
    void connectDialogStoresTheChoice();
    void configDialogRunsThroughTheSeam();
};

void TestFMManagerBoards::storedBoardGoesOnline()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(emulator));
    kit.open();
    auto* light = kit.find<QLabel>(QStringLiteral("boardLight0"));
    QVERIFY(WindowKit::shows(light, QStringLiteral(":/icons/error.png")));
    QTRY_VERIFY_WITH_TIMEOUT(WindowKit::shows(light, QStringLiteral(":/icons/ledgreen.png")),
                             WindowKit::kWaitMs);
    QCOMPARE(light->toolTip(), QStringLiteral("v30"));
    QTRY_COMPARE_WITH_TIMEOUT(kit.find<QLabel>(QStringLiteral("boardLabel0"))->text(),
                              QStringLiteral("#258"), WindowKit::kWaitMs);
    // The stored address carries the number the board reported.
    QCOMPARE(kit.ini->value(QStringLiteral("Board/0")).toString(),
             WindowKit::storedBoard(emulator, 258));
    QCOMPARE(kit.find<ChannelView>(QStringLiteral("board0"))->state(), 3);
}

void TestFMManagerBoards::oneAddressConnectsOnce()
{
    BoardEmulator first;
    BoardEmulator second;
    QVERIFY(first.start());
    QVERIFY(second.start());
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/mods"), 2);
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(first));
    kit.ini->setValue(QStringLiteral("Board/1"), WindowKit::storedBoard(second));
    FMManager* window = kit.open();
    QCOMPARE(window->board(1)->address(), BoardIP());
    QTRY_VERIFY_WITH_TIMEOUT(window->board(0)->isOnline(), WindowKit::kWaitMs);
    auto* light = kit.find<QLabel>(QStringLiteral("boardLight1"));
    QVERIFY(WindowKit::shows(light, QStringLiteral(":/icons/error.png")));
    QCOMPARE(light->toolTip(),
             QStringLiteral("Nicht verbunden: %1 ist schon die IP-Adresse des 1. Modulators")
                 .arg(QHostAddress(second.ipv4()).toString()));
    QCOMPARE(kit.find<QLabel>(QStringLiteral("boardLight0"))
                 ->toolTip()
                 .contains(QLatin1String("IP-Adresse")),
             false);
    QCOMPARE(second.received().size(), 0);
}

void TestFMManagerBoards::connectToHidesTheRest()
{
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/mods"), 3);
    FMManager* window = kit.open();
    BoardIP a;
    a.ipv4 = 0x7F000001;
    a.port = 21000;
    BoardIP b = a;
    b.port = 21001;
    window->connectTo(1, {a, b});
    QCOMPARE(kit.ini->value(QStringLiteral("Board/mods")).toInt(), 1);
    QCOMPARE(kit.ini->value(QStringLiteral("Board/0")).toString(), a.toText());
    QCOMPARE(window->board(0)->address(), a);
    for (int position = 1; position < FMManager::kBoards; ++position) {
        QVERIFY(
            !kit.find<ChannelView>(QStringLiteral("board%1").arg(position))->isVisibleTo(window));
        QVERIFY(
            !kit.find<QLabel>(QStringLiteral("boardLight%1").arg(position))->isVisibleTo(window));
        QCOMPARE(window->board(position)->address(), BoardIP());
    }
    QCOMPARE(window->modulators(), 1);
}

void TestFMManagerBoards::onAirIsPublished()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(emulator));
    FMManager* window = kit.open();
    auto* flag = kit.find<TabFlag>(QStringLiteral("tabFlag"));
    QVERIFY(!flag->onAir());
    KeyRecorder recorder;
    window->project()->subscribe(QStringLiteral("modul"), &recorder);

    // A board goes on air as it comes online.
    QTRY_VERIFY_WITH_TIMEOUT(recorder.keys().contains(QStringLiteral("modul.onair")),
                             WindowKit::kWaitMs);
    QVERIFY(flag->onAir());
    QMetaObject::invokeMethod(window->board(0), "setOnAir", Q_ARG(bool, false));
    QTRY_VERIFY_WITH_TIMEOUT(recorder.keys().contains(QStringLiteral("modul.offline")),
                             WindowKit::kWaitMs);
    QVERIFY(!flag->onAir());
    QCOMPARE(recorder.keys(),
             (QStringList{QStringLiteral("modul.onair"), QStringLiteral("modul.offline")}));
    window->project()->unsubscribeAll(&recorder);
}

// The first strip of each board, both 40 % full of a buffer of their own
// board's size; board 1 reports after board 0.
void TestFMManagerBoards::eachStripMeasuresAgainstItsOwnBoard()
{
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/mods"), 2);
    FMManager* window = kit.open();
    const QList<std::pair<int, quint32>> boards{{0, 1000}, {1, 4000}};
    for (const auto& [position, capacity] : boards) {
        BoardInfo info;
        info.tag = BoardInfo::kTagQRV4;
        info.pcmCapacity = capacity;
        info.rdsCapacity = capacity / 2;
        window->boardInfo(info, position);
    }
    for (const auto& [position, capacity] : boards) {
        const int number = position * FMManager::kChannelsPerBoard + 1;
        ChannelStatus status;
        status.pcmFill = capacity * 2 / 5;
        status.rdsFill = capacity / 5;
        window->project()->setChannelStatus(number, status);
        auto* light = window->channel(number - 1)->findChild<FMInfo*>(QStringLiteral("info"));
        QVERIFY(light);
        // The window takes the boards' run-time values once a frame.
        QTRY_VERIFY(light->toolTipText(light->area(FMInfo::RdsBar).center())
                        .contains(QStringLiteral("RDS FIFO @ 40%")));
        QVERIFY2(light->toolTipText(light->area(FMInfo::PcmBar).center())
                     .contains(QStringLiteral("PCM FIFO @ 40%")),
                 qPrintable(light->toolTipText(light->area(FMInfo::PcmBar).center())));
        QVERIFY2(light->toolTipText(light->area(FMInfo::RdsBar).center())
                     .contains(QStringLiteral("RDS FIFO @ 40%")),
                 qPrintable(light->toolTipText(light->area(FMInfo::RdsBar).center())));
    }
}

void TestFMManagerBoards::remoteStatus_data()
{
    QTest::addColumn<uint>("port");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("error");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<bool>("lit");
    QTest::addColumn<QString>("icon");
    QTest::newRow("inactive") << 0u << "" << 0u << ""
                              << "Fernsteuerung inaktiv" << false << ":/icons/ledgreen.png";
    QTest::newRow("listening") << 1248u << "" << 0u << "Port 1248"
                               << "keine Fernsteuerung verbunden" << false
                               << ":/icons/ledgreen.png";
    QTest::newRow("client") << 1248u << "127.0.0.1" << 0u << "127.0.0.1"
                            << "Ferngesteuert von: 127.0.0.1" << true << ":/icons/ledgreen.png";
    QTest::newRow("listening below 1024")
        << 80u << "" << 0u << "Port 80"
        << "keine Fernsteuerung verbunden" << false << ":/icons/ledgreen.png";
    QTest::newRow("client on a port below 1024")
        << 1023u << "127.0.0.1" << 0u << "127.0.0.1"
        << "Ferngesteuert von: 127.0.0.1" << true << ":/icons/ledgreen.png";
    QTest::newRow("error") << 1248u << "address in use" << 10u << "Port Fehler"
                           << "address in use" << true << ":/icons/error.png";
    QTest::newRow("error on a port below 1024")
        << 80u << "permission denied" << 3u << "Port Fehler"
        << "permission denied" << true << ":/icons/error.png";
}

void TestFMManagerBoards::remoteStatus()
{
    QFETCH(uint, port);
    QFETCH(QString, text);
    QFETCH(uint, error);
    QFETCH(QString, label);
    QFETCH(QString, tip);
    QFETCH(bool, lit);
    QFETCH(QString, icon);
    WindowKit kit;
    FMManager* window = kit.open();
    window->onRemote(port, text, error);
    QCOMPARE(kit.find<QLabel>(QStringLiteral("remoteLabel"))->text(), label);
    QCOMPARE(kit.find<QWidget>(QStringLiteral("remoteStatus"))->toolTip(), tip);
    auto* light = kit.find<QLabel>(QStringLiteral("remoteLight"));
    QCOMPARE(light->isEnabled(), lit);
    QVERIFY(WindowKit::shows(light, icon));
}

void TestFMManagerBoards::remoteClientSteersTheWindow()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QTRY_VERIFY_WITH_TIMEOUT(window->server()->isListening(), WindowKit::kWaitMs);
    Client client(window->server()->listeningPort());
    client.waitFor(QStringLiteral("modul.info"));
    QTRY_COMPARE_WITH_TIMEOUT(kit.find<QLabel>(QStringLiteral("remoteLabel"))->text(),
                              QStringLiteral("127.0.0.1"), WindowKit::kWaitMs);

    client.send(QStringLiteral("CD ") + kit.dir.path());
    client.waitFor(QStringLiteral("path "));
    QCOMPARE(kit.ini->value(QStringLiteral("Remote/path")).toString(), kit.dir.path());

    const QString loaded =
        kit.writeProject(QStringLiteral("r.fm"), {{QStringLiteral("channel.1/freq"), "94.4"}});
    client.send(QStringLiteral("LOAD r.fm"));
    client.waitFor(QStringLiteral("LOAD ok: "));
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), loaded);
    QVERIFY(window->windowTitle().endsWith(loaded));
    QCOMPARE(window->project()->get(QStringLiteral("channel.1.freq")).toDouble(), 94.4);

    client.send(QStringLiteral("NEW fresh.fm"));
    QCOMPARE(client.waitFor(QStringLiteral("NEW ")), QStringLiteral("NEW ok: fresh.fm"));
    QVERIFY(window->windowTitle().endsWith(kit.path(QStringLiteral("fresh.fm"))));
    QVERIFY(window->project()->get(QStringLiteral("channel.1.freq")).toDouble() != 94.4);
    client.send(QStringLiteral("NEW r.fm"));
    QCOMPARE(client.waitFor(QStringLiteral("NEW ")),
             QStringLiteral("NEW error: Datei existiert bereits"));

    client.send(QStringLiteral("SAVE copy.fm"));
    QCOMPARE(client.waitFor(QStringLiteral("SAVE ")), QStringLiteral("SAVE ok: copy.fm"));
    QVERIFY(QFile::exists(kit.path(QStringLiteral("copy.fm"))));
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(),
             kit.path(QStringLiteral("copy.fm")));

    kit.ini->sync();
    QFile ini(kit.iniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    client.send(QStringLiteral("SAVE q.ini"));
    QCOMPARE(client.waitFor(QStringLiteral("SAVE ")), QStringLiteral("SAVE error: q.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
}

void TestFMManagerBoards::remoteOnAirReachesTheBoard()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    WindowKit kit;
    FMManager* window = openWithBoardOnline(kit, emulator);
    QVERIFY(window);
    Client client(window->server()->listeningPort());
    client.send(QStringLiteral("SET modul.offline"));
    QTRY_VERIFY_WITH_TIMEOUT(onAirValues(emulator).endsWith(QByteArray(1, '\0')),
                             WindowKit::kWaitMs);
    client.send(QStringLiteral("SET modul.onair"));
    QTRY_VERIFY_WITH_TIMEOUT(onAirValues(emulator).endsWith(QByteArray(1, '\x01')),
                             WindowKit::kWaitMs);
}

// A remote client's lines sent in one go run in one pass of the window;
// the channel's board thread hears them together, and still sends the
// board a command for each, in the order sent.
void TestFMManagerBoards::remoteSetBurstReachesTheBoardInOrder()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    WindowKit kit;
    FMManager* window = openWithBoardOnline(kit, emulator);
    QVERIFY(window);
    Client client(window->server()->listeningPort());
    client.waitFor(QStringLiteral("modul.info"));
    QTest::qWait(2 * FMBoard::kStatusTickMs);
    emulator.clearReceived();

    constexpr int kLines = 200;
    QByteArray burst;
    for (int n = 0; n < kLines; ++n)
        burst += n % 2 ? "SET channel.1.gain -6\r\n" : "SET channel.1.gain -5\r\n";
    client.LineClient::send(burst);
    const auto gains = [&emulator] {
        QList<QByteArray> values;
        const QList<quint16> gainOnly{BoardCommand::kSlot, BoardCommand::kGain};
        for (const auto& datagram : emulator.receivedOfType(BoardEmulator::Command)) {
            if (datagram.item(BoardCommand::kSlot) == QByteArray(1, '\0') &&
                datagram.tags() == gainOnly)
                values.append(datagram.item(BoardCommand::kGain));
        }
        return values;
    };
    QTRY_COMPARE_WITH_TIMEOUT(gains().size(), kLines, WindowKit::kWaitMs);
    const QList<QByteArray> sent = gains();
    QVERIFY(sent[0] != sent[1]);
    for (int n = 0; n < kLines; ++n)
        QCOMPARE(sent[n], sent[n % 2]);
    QCOMPARE(window->project()->get(QStringLiteral("channel.1.gain")).toInt(), -6);
}

void TestFMManagerBoards::portDialogMovesTheServer()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QTRY_VERIFY_WITH_TIMEOUT(window->server()->isListening(), WindowKit::kWaitMs);
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::Any));
    const quint16 port = probe.serverPort();
    probe.close();
    ModalQuestions::setNextDialogAction([port](QDialog* dialog) {
        auto* app = dialog->findChild<QSpinBox*>(QStringLiteral("portApp"));
        app->selectAll();
        QTest::keyClicks(app, QString::number(port));
        dialog->findChild<QSpinBox*>(QStringLiteral("portRDS"))->setValue(40001);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Bsave")), Qt::LeftButton);
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actRemote"));
    QCOMPARE(kit.ini->value(QStringLiteral("Remote/portControl")).toUInt(), uint(port));
    QCOMPARE(kit.ini->value(QStringLiteral("Remote/portRDSData")).toUInt(), 40001u);
    QVERIFY(window->server()->isListening());
    QCOMPARE(window->server()->listeningPort(), port);
    Client client(port);
    QCOMPARE(client.waitFor(QStringLiteral("--")), QStringLiteral("--"));

    // Cancel applies nothing, whatever the fields show.
    ModalQuestions::setNextDialogAction([](QDialog* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("portApp"))->setValue(2000);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Bcancel")),
                          Qt::LeftButton);
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actRemote"));
    QCOMPARE(window->server()->listeningPort(), port);
    QCOMPARE(kit.ini->value(QStringLiteral("Remote/portControl")).toUInt(), uint(port));
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

void TestFMManagerBoards::bandDialog_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("attenuation");
    QTest::newRow("OK stores Japan, -12 dB") << "bandJP" << true << 1 << -12;
    QTest::newRow("OK stores Brazil, -31 dB") << "bandBR" << true << 2 << -31;
    QTest::newRow("Cancel stores nothing") << "bandBR" << false << 0 << 0;
}

void TestFMManagerBoards::bandDialog()
{
    QFETCH(QString, button);
    QFETCH(bool, accepted);
    QFETCH(int, band);
    QFETCH(int, attenuation);
    WindowKit kit;
    FMManager* window = kit.open();
    ModalQuestions::setNextDialogAction([button, accepted](QDialog* dialog) {
        QTest::mouseClick(dialog->findChild<QRadioButton*>(button), Qt::LeftButton);
        auto* att = dialog->findChild<QSpinBox*>(QStringLiteral("att"));
        att->selectAll();
        QTest::keyClicks(att, accepted ? QStringLiteral("-12") : QStringLiteral("-7"));
        if (button == QStringLiteral("bandBR"))
            att->setValue(-40);
        auto* box = dialog->findChild<QDialogButtonBox*>(QStringLiteral("dialogButtonBox"));
        box->button(accepted ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actFMBand"));
    QCOMPARE(window->project()->band(), band);
    QCOMPARE(window->project()->attenuation(), attenuation);
    // The project keys "board.band" and "board.attn", as the file holds them.
    QCOMPARE(window->project()->rawValue(QStringLiteral("board/band"), 0).toInt(), band);
    QCOMPARE(window->project()->rawValue(QStringLiteral("board/attn"), 0).toInt(), attenuation);
    auto* flag = kit.find<TabFlag>(QStringLiteral("tabFlag"));
    QCOMPARE(flag->band(), band);
    QCOMPARE(flag->attenuation(), attenuation);
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

// Positions are swapped by double-clicks in the dialog; the window stores
// the boards in their new order.
void TestFMManagerBoards::connectDialogStoresTheChoice_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Verbinden") << true;
    QTest::newRow("Schliessen") << false;
}

void TestFMManagerBoards::connectDialogStoresTheChoice()
{
    QFETCH(bool, accepted);
    BoardEmulator first;
    BoardEmulator second;
    QVERIFY(first.start(QHostAddress(QStringLiteral("127.0.0.1"))));
    QVERIFY(second.start(QHostAddress(QStringLiteral("127.0.0.2"))));
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/mods"), 2);
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(first, 1));
    kit.ini->setValue(QStringLiteral("Board/1"), WindowKit::storedBoard(second, 2));
    FMManager* window = kit.open();
    ModalQuestions::setNextDialogAction([accepted](QDialog* dialog) {
        const auto doubleClick = [dialog](const QString& view, int row) {
            auto* table = dialog->findChild<QTableView*>(view);
            const QRect cell = table->visualRect(table->model()->index(row, 0));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        };
        doubleClick(QStringLiteral("m1"), 1);
        doubleClick(QStringLiteral("m2"), 0);
        const QString button = accepted ? QStringLiteral("Bset") : QStringLiteral("Bcancel");
        QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actConnect"));
    const QString zero =
        accepted ? WindowKit::storedBoard(second, 2) : WindowKit::storedBoard(first, 1);
    const QString one =
        accepted ? WindowKit::storedBoard(first, 1) : WindowKit::storedBoard(second, 2);
    QCOMPARE(kit.ini->value(QStringLiteral("Board/0")).toString(), zero);
    QCOMPARE(kit.ini->value(QStringLiteral("Board/1")).toString(), one);
    QCOMPARE(kit.ini->value(QStringLiteral("Board/mods")).toInt(), 2);
    QCOMPARE(window->board(0)->address().ipv4, (accepted ? second : first).ipv4());
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

void TestFMManagerBoards::configDialogRunsThroughTheSeam()
{
    WindowKit kit;
    kit.open();
    LogCapture log(QStringLiteral("~Calib"));
    QString title;
    ModalQuestions::setNextDialogAction([&title](QDialog* dialog) {
        title = dialog->windowTitle();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Bcancel")),
                          Qt::LeftButton);
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actConfig"));
    QCOMPARE(title, QStringLiteral("Modulator konfigurieren"));
    QCOMPARE(log.texts().size(), 1);
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

QTEST_MAIN(TestFMManagerBoards)
#include "tst_fmmanagerboards.moc"
