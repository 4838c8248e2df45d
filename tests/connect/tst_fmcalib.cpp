// The board configuration dialog against a board on a pseudo-terminal
// (serial line) and against the board emulator on 127.0.0.1 (broadcast).
#include "BoardEmulator.h"
#include "LogCapture.h"
#include "SerialBoard.h"

#include "board/FMDiscover.h"
#include "connect/FMCalib.h"
#include "gui/ModalQuestions.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;
constexpr qint64 kPaceNs = qint64(FMCalib::kPaceMs) * 1000 * 1000;
const QStringList kEditors{"Bset", "pll1", "pll2", "host", "port"};

// The dialog with a discoverer that reaches only what the test names.
struct Calib
{
    explicit Calib(quint16 discoverPort = 9, const QList<QHostAddress>& broadcasts = {})
    {
        discover = new FMDiscover(0, discoverPort);
        discover->setBroadcastAddresses(broadcasts);
        dialog = std::make_unique<FMCalib>(nullptr, discover);
        dialog->show();
    }

    template <typename T> T* find(const QString& name) const { return dialog->findChild<T*>(name); }

    // The broadcast entry is in use once the first load has run.
    bool started() const { return discover->isDiscovering(); }

    // The pseudo-terminal is no port the system lists, so it joins the
    // list as a listed port would.
    void choose(const SerialBoard& board) const
    {
        auto* com = find<QComboBox>(QStringLiteral("com"));
        com->addItem(board.path() + QStringLiteral(" (pseudo-terminal)"), board.path());
        com->setCurrentIndex(com->count() - 1);
    }

    bool editable() const
    {
        return std::all_of(kEditors.cbegin(), kEditors.cend(), [this](const QString& name) {
            return find<QWidget>(name)->isEnabled();
        });
    }

    bool anyEditable() const
    {
        return std::any_of(kEditors.cbegin(), kEditors.cend(), [this](const QString& name) {
            return find<QWidget>(name)->isEnabled();
        });
    }

    void save() const
    {
        QTest::mouseClick(find<QPushButton>(QStringLiteral("Bset")), Qt::LeftButton);
    }

    void typeHost(const QString& text) const
    {
        auto* host = find<QLineEdit>(QStringLiteral("host"));
        host->selectAll();
        QTest::keyClick(host, Qt::Key_Delete);
        QTest::keyClicks(host, text);
    }

    FMDiscover* discover;
    std::unique_ptr<FMCalib> dialog;
};

QList<QByteArray> readsUpTo(int last)
{
    QList<QByteArray> reads;
    for (int reg = 0; reg <= last; ++reg)
        reads.append("R0" + QByteArray::number(reg));
    return reads;
}

// Every two paced lines left at least the pace apart; measured where they
// are written, so a busy machine can only widen the gaps.
void verifyPaced(const LogCapture& log)
{
    QList<qint64> times;
    for (const LogCapture::Line& line : log.lines()) {
        if (line.text.startsWith(QStringLiteral("Cal: w ")))
            times.append(line.ns);
    }
    QVERIFY(times.size() >= 2);
    for (int i = 1; i < times.size(); ++i)
        QVERIFY2(times[i] - times[i - 1] >= kPaceNs,
                 qPrintable(QStringLiteral("lines %1 and %2 only %3 us apart")
                                .arg(i - 1)
                                .arg(i)
                                .arg((times[i] - times[i - 1]) / 1000)));
}

} // namespace

class TestFMCalib : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void serialReadShowsTheBoard_data();
    void serialReadShowsTheBoard();
    void foreignIdentityStopsReading();
    void silentBoardLeavesTheFieldsClosed();
    void silenceEndsTheReading_data();
    void silenceEndsTheReading();
    void saveWritesPacedLines_data();
    void saveWritesPacedLines();
    void secondSaveKeepsOneChain();
    void hostThatIsNoAddressIsRefused_data();
    void hostThatIsNoAddressIsRefused();
    void portSwitchDropsTheQueue();
    void portThatCannotOpenIsReported();
    void broadcastFindsAndConfiguresTheBoard();
    void broadcastWithoutBoardSendsNothing();
    void portChoiceTexts_data();
    void portChoiceTexts();

private:
    void readExample(Calib& calib, SerialBoard& board);
    // Runs the dialog's look at the clock now rather than at its next tick.
    static void pollReply(const Calib& calib);

    qint64 now = 0;
};

// The dialog's clock stands still unless a test moves it, so no read ever
// times out because the machine is slow.
void TestFMCalib::init()
{
    ModalQuestions::setUnattended(true);
    ModalQuestions::clear();
    now = 0;
    FMCalib::setClock([this] { return now; });
}

void TestFMCalib::cleanup()
{
    FMCalib::setClock({});
}

void TestFMCalib::readExample(Calib& calib, SerialBoard& board)
{
    board.loadExample();
    QVERIFY(board.open());
    QTRY_VERIFY_WITH_TIMEOUT(calib.started(), kWaitMs);
    calib.choose(board);
    QTRY_VERIFY_WITH_TIMEOUT(calib.editable(), kWaitMs);
}

void TestFMCalib::serialReadShowsTheBoard_data()
{
    QTest::addColumn<SerialBoard::Mode>("mode");
    QTest::newRow("one reply per read") << SerialBoard::Mode::Answering;
    QTest::newRow("all ten replies at once") << SerialBoard::Mode::Burst;
}

void TestFMCalib::serialReadShowsTheBoard()
{
    QFETCH(SerialBoard::Mode, mode);
    Calib calib;
    SerialBoard board;
    board.setMode(mode);
    readExample(calib, board);
    QCOMPARE(calib.dialog->windowTitle(), QStringLiteral("Modulator v25 an ") + board.path());
    auto* mac = calib.find<QComboBox>(QStringLiteral("mac"));
    QCOMPARE(mac->count(), 1);
    QCOMPARE(mac->currentText(), QStringLiteral("00:12:34:56:78:9A"));
    QCOMPARE(calib.find<QLineEdit>(QStringLiteral("host"))->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(calib.find<QSpinBox>(QStringLiteral("port"))->value(), 1234);
    QCOMPARE(calib.find<QSpinBox>(QStringLiteral("pll1"))->value(), 100);
    QCOMPARE(calib.find<QSpinBox>(QStringLiteral("pll2"))->value(), -100);
    QCOMPARE(calib.find<QSpinBox>(QStringLiteral("pll1"))->suffix(), QStringLiteral(" Hz"));
    // After a burst the later reads are still on their way.
    QTRY_COMPARE_WITH_TIMEOUT(board.reads(), readsUpTo(9), kWaitMs);
}

void TestFMCalib::foreignIdentityStopsReading()
{
    Calib calib;
    SerialBoard board;
    board.loadExample();
    board.setRegister(0, 0x1234);
    QVERIFY(board.open());
    LogCapture log(QStringLiteral("Cal: "));
    QTRY_VERIFY_WITH_TIMEOUT(calib.started(), kWaitMs);
    calib.choose(board);
    QTRY_VERIFY_WITH_TIMEOUT(log.texts().contains(QStringLiteral("Cal: 0 \"1234\"")), kWaitMs);
    // The next read would have gone out while that reply was handled.
    QCOMPARE(log.texts(QStringLiteral("Cal: > ")), QStringList{QStringLiteral("Cal: > R00")});
    QCOMPARE(board.reads(), readsUpTo(0));
    QVERIFY(!calib.anyEditable());
    QCOMPARE(calib.dialog->windowTitle(), QStringLiteral("Modulator konfigurieren"));
    calib.save();
    QVERIFY(log.texts(QStringLiteral("Cal: save")).isEmpty());
}

void TestFMCalib::silentBoardLeavesTheFieldsClosed()
{
    Calib calib;
    SerialBoard board;
    board.setMode(SerialBoard::Mode::Silent);
    QVERIFY(board.open());
    LogCapture log(QStringLiteral("Cal: "));
    QTRY_VERIFY_WITH_TIMEOUT(calib.started(), kWaitMs);
    calib.choose(board);
    QTRY_COMPARE_WITH_TIMEOUT(board.reads(), readsUpTo(0), kWaitMs);
    QVERIFY(!calib.anyEditable());
    QVERIFY(!calib.started());
    calib.save();
    QVERIFY(log.texts(QStringLiteral("Cal: save")).isEmpty());
    QVERIFY(board.writes().isEmpty());
}

void TestFMCalib::pollReply(const Calib& calib)
{
    auto* watch = calib.find<QTimer>(QStringLiteral("replyWatch"));
    QVERIFY(watch);
    QMetaObject::invokeMethod(watch, "timeout");
}

void TestFMCalib::silenceEndsTheReading_data()
{
    QTest::addColumn<int>("answered");
    QTest::newRow("no board on the port") << 0;
    QTest::newRow("a board that falls silent after four replies") << 4;
}

// The fields open again once a read has waited its time, with a warning,
// and what is saved then goes out.
void TestFMCalib::silenceEndsTheReading()
{
    QFETCH(int, answered);
    Calib calib;
    SerialBoard board;
    board.loadExample();
    board.setAnswerLimit(answered);
    QVERIFY(board.open());
    QTRY_VERIFY_WITH_TIMEOUT(calib.started(), kWaitMs);
    calib.choose(board);
    QTRY_COMPARE_WITH_TIMEOUT(board.reads(), readsUpTo(answered), kWaitMs);

    now += FMCalib::kReplyTimeoutMs - 1;
    pollReply(calib);
    QVERIFY(!calib.anyEditable());
    QVERIFY(ModalQuestions::asked().isEmpty());

    now += 1;
    ModalQuestions::setNextAnswer(QMessageBox::Ok);
    pollReply(calib);
    QVERIFY(calib.editable());
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Keine Antwort")});
    QVERIFY(ModalQuestions::askedTexts().constFirst().contains(board.path()));

    calib.typeHost(QStringLiteral("10.1.2.3"));
    calib.save();
    QTRY_COMPARE_WITH_TIMEOUT(board.received().mid(answered + 1).size(), 6, kWaitMs);
    QCOMPARE(board.received().mid(answered + 1).constFirst(), QByteArray("W050A01"));
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

void TestFMCalib::saveWritesPacedLines_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("zeroOffsets");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("offsets set to 0")
        << "192.168.1.10" << true
        << QByteArrayList{"W05C0A8", "W06010A", "W0704D2", "W080000", "W090000", "WFF0000"};
    QTest::newRow("offsets as read")
        << "192.168.1.10" << false
        << QByteArrayList{"W05C0A8", "W06010A", "W0704D2", "W080032", "W09FFCE", "WFF0000"};
    QTest::newRow("new address") << "10.1.2.3" << true
                                 << QByteArrayList{"W050A01", "W060203", "W0704D2",
                                                   "W080000", "W090000", "WFF0000"};
}

void TestFMCalib::saveWritesPacedLines()
{
    QFETCH(QString, host);
    QFETCH(bool, zeroOffsets);
    QFETCH(QByteArrayList, lines);
    Calib calib;
    SerialBoard board;
    readExample(calib, board);
    calib.typeHost(host);
    if (zeroOffsets) {
        calib.find<QSpinBox>(QStringLiteral("pll1"))->setValue(0);
        calib.find<QSpinBox>(QStringLiteral("pll2"))->setValue(0);
    }
    LogCapture log(QStringLiteral("Cal: "));
    calib.save();
    QTRY_COMPARE_WITH_TIMEOUT(board.writes(), lines, kWaitMs);
    verifyPaced(log);
    QCOMPARE(board.registerValue(7), quint16(1234));
    QCOMPARE(board.registerValue(8), quint16(zeroOffsets ? 0 : 0x32));
    QVERIFY(calib.dialog->isVisible());
}

void TestFMCalib::hostThatIsNoAddressIsRefused_data()
{
    QTest::addColumn<bool>("broadcast");
    QTest::addColumn<QString>("host");
    const QList<std::pair<const char*, QString>> hosts{
        {"letters", QStringLiteral("abc")},
        {"empty", QString()},
        {"an octet above 255", QStringLiteral("192.168.1.300")},
        {"three numbers", QStringLiteral("192.168.1")},
        {"five numbers", QStringLiteral("192.168.1.10.5")},
        {"a blank in an octet", QStringLiteral("192.168.1. 10")},
        {"a signed octet", QStringLiteral("192.168.+1.10")},
    };
    for (bool broadcast : {false, true})
        for (const auto& [name, host] : hosts)
            QTest::addRow("%s, %s", broadcast ? "broadcast" : "serial line", name)
                << broadcast << host;
}

// The refused save sends nothing: the good save after it is the first and
// only thing the board receives.
void TestFMCalib::hostThatIsNoAddressIsRefused()
{
    QFETCH(bool, broadcast);
    QFETCH(QString, host);
    const QString good = QStringLiteral("192.168.1.99");
    if (broadcast) {
        BoardEmulator emulator;
        QVERIFY(emulator.start());
        emulator.setMac({0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C});
        emulator.setAnnouncedAddress(0xC0A80114, 21000);
        Calib calib(emulator.port(), {QHostAddress(QHostAddress::LocalHost)});
        QTRY_COMPARE_WITH_TIMEOUT(calib.find<QComboBox>(QStringLiteral("mac"))->count(), 1,
                                  kWaitMs);
        calib.typeHost(host);
        ModalQuestions::setNextAnswer(QMessageBox::Ok);
        calib.save();
        QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("IP-Adresse ungültig")});
        QVERIFY(ModalQuestions::askedTexts().constFirst().contains(host));
        calib.typeHost(good);
        calib.save();
        QTRY_COMPARE_WITH_TIMEOUT(emulator.countOfType(BoardEmulator::NetConfig), 1, kWaitMs);
        QCOMPARE(emulator.receivedOfType(BoardEmulator::NetConfig).first().configIpv4, 0xC0A80163u);
    } else {
        Calib calib;
        SerialBoard board;
        readExample(calib, board);
        calib.typeHost(host);
        ModalQuestions::setNextAnswer(QMessageBox::Ok);
        calib.save();
        QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("IP-Adresse ungültig")});
        QVERIFY(ModalQuestions::askedTexts().constFirst().contains(host));
        calib.typeHost(good);
        calib.save();
        const QByteArrayList sequence{"W05C0A8", "W060163", "W0704D2",
                                      "W080032", "W09FFCE", "WFF0000"};
        QTRY_COMPARE_WITH_TIMEOUT(board.writes(), sequence, kWaitMs);
    }
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

// A second save while the first sequence goes out replaces its rest and
// keeps the one pace.
void TestFMCalib::secondSaveKeepsOneChain()
{
    Calib calib;
    SerialBoard board;
    readExample(calib, board);
    LogCapture log(QStringLiteral("Cal: "));
    calib.save();
    calib.save();
    const QByteArrayList sequence{"W05C0A8", "W06010A", "W0704D2", "W080032", "W09FFCE", "WFF0000"};
    QTRY_COMPARE_WITH_TIMEOUT(board.writes(), QByteArrayList{"W05C0A8"} + sequence, kWaitMs);
    verifyPaced(log);
    QCOMPARE(log.texts(QStringLiteral("Cal: save")).size(), 2);
}

void TestFMCalib::portSwitchDropsTheQueue()
{
    Calib calib;
    SerialBoard first;
    readExample(calib, first);
    SerialBoard second;
    second.loadExample();
    second.setRegister(7, 4321);
    QVERIFY(second.open());
    LogCapture log(QStringLiteral("Cal: "));
    calib.save();
    calib.choose(second);
    QTRY_VERIFY_WITH_TIMEOUT(calib.editable(), kWaitMs);
    QCOMPARE(calib.find<QSpinBox>(QStringLiteral("port"))->value(), 4321);
    QCOMPARE(second.received(), readsUpTo(9));
    QVERIFY(!calib.find<QTimer>(QStringLiteral("pacer"))->isActive());
    QCOMPARE(log.texts(QStringLiteral("Cal: w ")), QStringList{QStringLiteral("Cal: w W05C0A8")});
    QVERIFY(first.writes().size() <= 1);
}

void TestFMCalib::portThatCannotOpenIsReported()
{
    Calib calib;
    QTRY_VERIFY_WITH_TIMEOUT(calib.started(), kWaitMs);
    auto* com = calib.find<QComboBox>(QStringLiteral("com"));
    const QString missing = QStringLiteral("/nonexistent/ttyQ9");
    com->addItem(missing + QStringLiteral(" (gone)"), missing);
    ModalQuestions::setNextAnswer(QMessageBox::Ok);
    com->setCurrentIndex(com->count() - 1);
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Port Fehler")});
    QVERIFY(!calib.anyEditable());
    QVERIFY(!calib.started());
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

void TestFMCalib::broadcastFindsAndConfiguresTheBoard()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    emulator.setMac({0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C});
    emulator.setAnnouncedAddress(0xC0A80114, 21000);
    Calib calib(emulator.port(), {QHostAddress(QHostAddress::LocalHost)});
    QSignalSpy found(calib.discover, &FMDiscover::found);
    auto* save = calib.find<QPushButton>(QStringLiteral("Bset"));
    auto* mac = calib.find<QComboBox>(QStringLiteral("mac"));
    auto* host = calib.find<QLineEdit>(QStringLiteral("host"));
    auto* port = calib.find<QSpinBox>(QStringLiteral("port"));
    QVERIFY(!save->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(mac->count(), 1, kWaitMs);
    QCOMPARE(mac->currentText(), QStringLiteral("00:50:C2:AA:01:2C"));
    QCOMPARE(host->text(), QStringLiteral("192.168.1.20"));
    QCOMPARE(port->value(), 21000);
    QVERIFY(save->isEnabled() && host->isEnabled() && port->isEnabled());
    QVERIFY(!calib.find<QSpinBox>(QStringLiteral("pll1"))->isEnabled());

    // The same board from another address changes nothing.
    emulator.setAnnouncedAddress(0xC0A80115, 21001);
    const qsizetype answers = found.size();
    calib.discover->sendDiscover();
    QTRY_VERIFY_WITH_TIMEOUT(found.size() > answers, kWaitMs);
    QCOMPARE(mac->count(), 1);
    QCOMPARE(host->text(), QStringLiteral("192.168.1.20"));
    QCOMPARE(port->value(), 21000);

    calib.typeHost(QStringLiteral("192.168.1.99"));
    port->setValue(21005);
    calib.save();
    QTRY_COMPARE_WITH_TIMEOUT(emulator.countOfType(BoardEmulator::NetConfig), 1, kWaitMs);
    const auto config = emulator.receivedOfType(BoardEmulator::NetConfig).first();
    QCOMPARE(config.configMac, (std::array<quint8, 6>{0x00, 0x50, 0xC2, 0xAA, 0x01, 0x2C}));
    QCOMPARE(config.configIpv4, 0xC0A80163u);
    QCOMPARE(config.configPort, quint16(21005));
    QVERIFY(calib.dialog->isVisible());
}

void TestFMCalib::broadcastWithoutBoardSendsNothing()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    emulator.setAnswerDiscovery(false);
    Calib calib(emulator.port(), {QHostAddress(QHostAddress::LocalHost)});
    QTRY_VERIFY_WITH_TIMEOUT(emulator.countOfType(BoardEmulator::Discover) >= 1, kWaitMs);
    QVERIFY(!calib.find<QPushButton>(QStringLiteral("Bset"))->isEnabled());
    // Saving without a MAC address has nothing to address.
    calib.dialog->accept();
    calib.discover->sendDiscover();
    QTRY_VERIFY_WITH_TIMEOUT(emulator.countOfType(BoardEmulator::Discover) >= 2, kWaitMs);
    QCOMPARE(emulator.countOfType(BoardEmulator::NetConfig), 0);
}

void TestFMCalib::portChoiceTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("shown");
    QTest::newRow("without description, no empty brackets") << "ttyS0" << "" << "ttyS0";
    QTest::newRow("blank description") << "ttyS1" << " " << "ttyS1";
    QTest::newRow("with description") << "ttyUSB0" << "FT232R USB UART" << "ttyUSB0 (FT232R USB UART)";
}

void TestFMCalib::portChoiceTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, shown);
    QCOMPARE(FMCalib::portText(name, description), shown);
}

QTEST_MAIN(TestFMCalib)
#include "tst_fmcalib.moc"
