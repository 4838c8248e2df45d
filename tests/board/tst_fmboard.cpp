// The board thread against the board emulator on 127.0.0.1: connection and
// lock handshake, take-over, time-out and reconnect, the configuration sent
// after going online, band and on-air changes, and the shutdown sequence.
#include "BoardFixture.h"
#include "board/BoardCommand.h"
#include "board/BoardDatagram.h"

#include <QSet>
#include <QTest>

namespace {

constexpr int kWaitMs = 30000;

using Emu = BoardEmulator;

// Commands for the whole board (band configuration).
QList<Emu::Datagram> boardCommands(const BoardEmulator& emulator)
{
    QList<Emu::Datagram> list;
    for (const Emu::Datagram& d : emulator.receivedOfType(Emu::Command)) {
        if (d.target == BoardCommand::kBoardTarget)
            list.append(d);
    }
    return list;
}

QList<Emu::Datagram> commandsTo(const BoardEmulator& emulator, int programme)
{
    QList<Emu::Datagram> list;
    for (const Emu::Datagram& d : emulator.receivedOfType(Emu::Command)) {
        if (d.target == programme)
            list.append(d);
    }
    return list;
}

const QByteArray kProject = "[channel.5]\nused=1\nfreq=95.0\nvolm=40\n";

} // namespace

class TestFMBoard : public QObject
{
    Q_OBJECT

private slots:
    void connectAndLock_data();
    void connectAndLock();
    void boardHeldByAnotherHost_data();
    void boardHeldByAnotherHost();
    void silentBoardTimesOutAndReconnects();
    void boardGoneUnreachableComesBack();
    void configurationAfterOnline();
    void keyChangeSendsItsItems_data();
    void keyChangeSendsItsItems();
    void bandAndOnAirChanges();
    void newProjectOfAnotherBandSetsTheBandFirst();
    void onAirIgnoredWhileNotOnline();
    void shutdownSwitchesCarrierOffAndUnlocks();
    void connectToWhileOnlineStartsAgain();
    void fillTickRunsOnlyWhileOnline();
};

void TestFMBoard::connectAndLock_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<QList<quint16>>("firstTypes");
    QTest::newRow("firmware 25 asks for the lock and takes it")
        << 25u << QList<quint16>{Emu::InfoRequest, Emu::LockQuery, Emu::SetLock};
    QTest::newRow("firmware 24 has no lock") << 24u << QList<quint16>{Emu::InfoRequest};
}

void TestFMBoard::connectAndLock()
{
    QFETCH(quint32, firmware);
    QFETCH(QList<quint16>, firstTypes);
    BoardFixture f;
    f.emulator->setFirmware(firmware);
    QSignalSpy info(f.startBoard(), &FMBoard::boardInfo);
    QVERIFY(f.bringOnline());
    QTRY_COMPARE_WITH_TIMEOUT(f.onlineSpy->size(), 1, kWaitMs);
    QCOMPARE(info.size(), 1);
    QCOMPARE(f.board->lastBoardInfo().firmware, firmware);
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->countOfType(Emu::StatusRequest) >= 2, kWaitMs);

    // Repeated info requests while connecting are fine; what matters is the
    // order of the first of each kind up to the first status request.
    QList<quint16> seen;
    for (quint16 type : f.types()) {
        if (type == Emu::StatusRequest || type == Emu::Command)
            break;
        if (!seen.contains(type))
            seen.append(type);
    }
    QCOMPARE(seen, firstTypes);
    if (firmware >= FMBoard::kLockFirmware) {
        QCOMPARE(f.emulator->lockIdentity(), f.board->lockRecord().holderIdentity);
        const auto setLock = f.emulator->receivedOfType(Emu::SetLock);
        QCOMPARE(setLock.size(), 1);
        QCOMPARE(setLock.first().bytes.size(), BoardDatagram::kSetLockSize);
    }
}

void TestFMBoard::boardHeldByAnotherHost_data()
{
    QTest::addColumn<bool>("take");
    QTest::newRow("take over") << true;
    QTest::newRow("give up") << false;
}

void TestFMBoard::boardHeldByAnotherHost()
{
    QFETCH(bool, take);
    BoardFixture f;
    const QByteArray other = QByteArray("\x42", 1) + "someone@else";
    f.emulator->setLockHolder(0x0A000009, 21000, other);
    f.startBoard();
    f.board->connectTo(f.address());
    QTRY_COMPARE_WITH_TIMEOUT(f.unlockSpy->size(), 1, kWaitMs);
    QCOMPARE(f.unlockSpy->first().at(0).toInt(), 0);
    QCOMPARE(f.board->connectionState(), int(FMBoard::HeldByOther));
    QCOMPARE(f.board->lockRecord().holderIpv4, quint32(0x0A000009));
    QCOMPARE(f.onlineSpy->size(), 0);

    f.emulator->clearReceived();
    const qsizetype offlineBefore = f.offlineSpy->size();
    QMetaObject::invokeMethod(f.board.get(), "unlock", Q_ARG(bool, take));
    if (take) {
        QTRY_COMPARE_WITH_TIMEOUT(f.onlineSpy->size(), 1, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(f.emulator->countOfType(Emu::SetLock), 1, kWaitMs);
        const QList<quint16> types = f.types();
        const qsizetype unlock = types.indexOf(Emu::Unlock);
        QVERIFY(unlock >= 0);
        QCOMPARE(types.indexOf(Emu::SetLock), unlock + 1);
        QCOMPARE(f.emulator->lockIdentity(), f.board->lockRecord().holderIdentity);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(f.offlineSpy->size(), offlineBefore + 1, kWaitMs);
        QCOMPARE(f.board->connectionState(), int(FMBoard::Idle));
        QVERIFY(!f.board->address().isSet());
        QCOMPARE(f.emulator->countOfType(Emu::Unlock), 0);
        QCOMPARE(f.emulator->lockIdentity(), other.leftJustified(16, '\0'));
    }
    // Only one question per take-over, however often the lock is read.
    QCOMPARE(f.unlockSpy->size(), 1);
}

void TestFMBoard::silentBoardTimesOutAndReconnects()
{
    BoardFixture f;
    QVERIFY(f.bringOnline());
    const qsizetype offlineBefore = f.offlineSpy->size();
    f.emulator->setSilent(true);
    QTRY_COMPARE_WITH_TIMEOUT(f.offlineSpy->size(), offlineBefore + 1, kWaitMs);
    QCOMPARE(f.emulator->countOfType(Emu::Unlock), 0);
    QVERIFY(f.board->address().isSet());

    f.emulator->clearReceived();
    f.emulator->setSilent(false);
    QTRY_COMPARE_WITH_TIMEOUT(f.onlineSpy->size(), 2, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.emulator->countOfType(Emu::SetLock), 1, kWaitMs);
    // A new connect starts from the info request (the last status request
    // may still have been on its way).
    const QList<quint16> types = f.types();
    QVERIFY(types.contains(Emu::InfoRequest));
    QVERIFY(types.indexOf(Emu::InfoRequest) < types.indexOf(Emu::SetLock));
    QCOMPARE(f.emulator->countOfType(Emu::Unlock), 0);
}

// A board switched off answers with ICMP "port unreachable", which leaves
// an error on the board thread's socket; once it is back on the same port,
// it is locked and streams again.
void TestFMBoard::boardGoneUnreachableComesBack()
{
    BoardFixture f;
    f.startBoard(f.project(kProject + "idaudio=1\n[audio.1]\nused=1\ntype=0\n"));
    f.driveClock();
    QVERIFY(f.bringOnline());
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->slot(4).pcmFrames > 0, kWaitMs);
    const QHostAddress address = f.emulator->address();
    const quint16 port = f.emulator->port();
    const qsizetype offlineBefore = f.offlineSpy->size();

    f.emulator->stop();
    f.emulator->clearLock();
    // The status requests of the next ticks meet the closed port.
    QTest::qWait(3 * FMBoard::kStatusTickMs);
    f.advance(FMBoard::kTimeoutMs + FMBoard::kStatusTickMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.offlineSpy->size(), offlineBefore + 1, kWaitMs);
    // Info requests of the reconnect meet the closed port too.
    QTest::qWait(3 * FMBoard::kStatusTickMs);

    f.emulator->clearReceived();
    QVERIFY(f.emulator->start(address, port));
    QTRY_COMPARE_WITH_TIMEOUT(f.board->connectionState(), int(FMBoard::Online), kWaitMs);
    QCOMPARE(f.onlineSpy->size(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(f.emulator->countOfType(Emu::SetLock), 1, kWaitMs);
    f.advance(FMBoard::kStatusTickMs);
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->slot(4).pcmFrames > 0, kWaitMs);
}

void TestFMBoard::configurationAfterOnline()
{
    BoardFixture f;
    f.emulator->setFirmware(30);
    auto settings = f.project("[board]\nband=0\nattn=-10\n" + kProject);
    QSignalSpy onair(f.startBoard(settings), &FMBoard::onair);
    QVERIFY(f.bringOnline());
    QTRY_COMPARE_WITH_TIMEOUT(onair.size(), 1, kWaitMs);
    QCOMPARE(onair.first().at(0).toBool(), true);
    // Every programme is configured in full (item 0x2104 first after the slot).
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (int programme = 1; programme <= FMBoard::kSlots; ++programme) {
                const auto list = commandsTo(*f.emulator, programme);
                const bool full = std::any_of(list.cbegin(), list.cend(), [](const auto& d) {
                    return d.tags().value(1) == BoardCommand::kProgramConfig;
                });
                if (!full)
                    return false;
            }
            return true;
        }(),
        kWaitMs);
    QTest::qWait(3 * FMBoard::kStatusTickMs);
    // The band goes out once: two datagrams for the two synthesizers of a KXWB.
    const auto band = boardCommands(*f.emulator);
    QCOMPARE(band.size(), 2);
    QCOMPARE(band[0].item(BoardCommand::kOnAir), QByteArray(1, '\x01'));
    QCOMPARE(band[0].item(BoardCommand::kAttnKxwb), QByteArray(1, '\x0A'));
    const auto five = commandsTo(*f.emulator, 5).last();
    QCOMPARE(five.item(BoardCommand::kProgramConfig).left(1), QByteArray(1, '\x01'));
    QCOMPARE(five.item(BoardCommand::kVolume), QByteArray::fromHex("6666")); // 40 %
}

void TestFMBoard::keyChangeSendsItsItems_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QList<quint16>>("tags");
    // Published for the channel just before the change.
    QTest::addColumn<QString>("heardBefore");
    using C = BoardCommand;
    const QList<quint16> full{C::kSlot,      C::kProgramConfig, C::kCarrier, C::kGain,
                              C::kDeviation, C::kVolume,        C::kRate};
    QTest::newRow("volume") << "channel.5.volm" << QVariant(100)
                            << QList<quint16>{C::kSlot, C::kVolume} << QString();
    QTest::newRow("mute") << "channel.5.mute" << QVariant(1) << QList<quint16>{C::kSlot, C::kVolume}
                          << QString();
    QTest::newRow("gain") << "channel.5.gain" << QVariant(-6) << QList<quint16>{C::kSlot, C::kGain}
                          << QString();
    QTest::newRow("rate") << "channel.5.rate" << QVariant(48000)
                          << QList<quint16>{C::kSlot, C::kRate} << QString();
    QTest::newRow("frequency") << "channel.5.freq" << QVariant(100.0)
                               << QList<quint16>{C::kSlot, C::kCarrier, C::kGain} << QString();
    QTest::newRow("deviation") << "channel.5.devi" << QVariant(50) << full << QString();
    QTest::newRow("pre-emphasis") << "channel.5.emph" << QVariant(2) << full << QString();
    // A programme publishes the RDS text it sends under its channel, for the
    // strip; hearing it back changes none of the channel's settings.
    QTest::newRow("own RDS text, then gain")
        << "channel.5.gain" << QVariant(-6) << QList<quint16>{C::kSlot, C::kGain}
        << "channel.5.rds";
}

void TestFMBoard::keyChangeSendsItsItems()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QList<quint16>, tags);
    QFETCH(QString, heardBefore);
    BoardFixture f;
    auto settings = f.project(kProject);
    QVERIFY(f.bringOnline(settings));
    // Let the full commands and the band configuration of going online pass.
    QTRY_VERIFY_WITH_TIMEOUT(commandsTo(*f.emulator, 24).size() >= 3, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(boardCommands(*f.emulator).size() >= 2, kWaitMs);
    QTest::qWait(2 * FMBoard::kStatusTickMs);
    f.emulator->clearReceived();

    // The programme hears its values in order: once the change's command
    // is out, what came before it has been heard too.
    if (!heardBefore.isEmpty())
        settings->publish(heardBefore, QStringLiteral("NEWS    "));
    QCOMPARE(settings->set(key, value), int(FMSettings::NoError));
    QTRY_COMPARE_WITH_TIMEOUT(commandsTo(*f.emulator, 5).size(), 1, kWaitMs);
    QTest::qWait(2 * FMBoard::kStatusTickMs);
    const auto sent = commandsTo(*f.emulator, 5);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().tags(), tags);
    QVERIFY(sent.first().itemsComplete);
    QCOMPARE(sent.first().item(BoardCommand::kSlot), QByteArray(1, '\x04'));
    QCOMPARE(f.emulator->receivedOfType(Emu::Command).size(), 1);
}

void TestFMBoard::bandAndOnAirChanges()
{
    BoardFixture f;
    QSignalSpy onair(f.startBoard(f.project(kProject)), &FMBoard::onair);
    QVERIFY(f.bringOnline());
    QTRY_COMPARE_WITH_TIMEOUT(onair.size(), 1, kWaitMs);
    QTest::qWait(2 * FMBoard::kStatusTickMs);

    f.emulator->clearReceived();
    int band = 0;
    f.board->setFMBand(band, -10);
    QTRY_COMPARE_WITH_TIMEOUT(onair.size(), 2, kWaitMs);
    QTest::qWait(2 * FMBoard::kStatusTickMs);
    auto sent = boardCommands(*f.emulator);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent[1].item(BoardCommand::kAttnKxwb), QByteArray(1, '\x0A'));

    f.emulator->clearReceived();
    QMetaObject::invokeMethod(f.board.get(), "setOnAir", Q_ARG(bool, false));
    QTRY_COMPARE_WITH_TIMEOUT(onair.size(), 3, kWaitMs);
    QCOMPARE(onair.last().at(0).toBool(), false);
    QTest::qWait(2 * FMBoard::kStatusTickMs);
    sent = boardCommands(*f.emulator);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent[0].item(BoardCommand::kOnAir), QByteArray(1, '\0'));
    QCOMPARE(sent[0].item(BoardCommand::kAttnKxwb), QByteArray(1, '\x1F'));

    int impossible = 7;
    f.board->setFMBand(impossible, -10);
    QCOMPARE(impossible, 0);
}

// A project of another band, loaded while on air: the synthesizers take
// the new band before any carrier of the new project goes out.
void TestFMBoard::newProjectOfAnotherBandSetsTheBandFirst()
{
    BoardFixture f;
    QSignalSpy onair(f.startBoard(f.project("[board]\nband=0\n" + kProject)), &FMBoard::onair);
    QVERIFY(f.bringOnline());
    QTRY_COMPARE_WITH_TIMEOUT(onair.size(), 1, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(boardCommands(*f.emulator).size(), 2, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!commandsTo(*f.emulator, 5).isEmpty(), kWaitMs);

    // On a loaded machine a carrier command of the first project may still
    // be resent, unacknowledged, after the received list was cleared: it
    // carries the old band's words. What must not come before the band is
    // a carrier word of the new project.
    const auto isCarrier = [](const Emu::Datagram& d) {
        return d.type == Emu::Command && d.target != BoardCommand::kBoardTarget &&
               d.tags().contains(BoardCommand::kCarrier);
    };
    QSet<QByteArray> oldCarriers;
    for (const Emu::Datagram& d : f.emulator->received()) {
        if (isCarrier(d))
            oldCarriers.insert(d.item(BoardCommand::kCarrier));
    }
    QVERIFY(!oldCarriers.isEmpty());
    const auto newCarrierOf = [&](const QList<Emu::Datagram>& datagrams) {
        QByteArray word;
        for (const Emu::Datagram& d : datagrams) {
            if (isCarrier(d) && !oldCarriers.contains(d.item(BoardCommand::kCarrier)))
                word = d.item(BoardCommand::kCarrier);
        }
        return word;
    };

    f.emulator->clearReceived();
    f.board->setConfig(f.project("[board]\nband=2\n" + kProject));
    QTRY_COMPARE_WITH_TIMEOUT(boardCommands(*f.emulator).size(), 2, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!newCarrierOf(f.emulator->received()).isEmpty(), kWaitMs);

    const QList<Emu::Datagram> all = f.emulator->received();
    const QByteArray newCarrier = newCarrierOf(all);
    qsizetype firstBand = -1;
    qsizetype firstCarrier = -1;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Emu::Datagram& d = all[i];
        if (d.type == Emu::Command && d.target == BoardCommand::kBoardTarget && firstBand < 0)
            firstBand = i;
        if (isCarrier(d) && d.item(BoardCommand::kCarrier) == newCarrier && firstCarrier < 0)
            firstCarrier = i;
    }
    QVERIFY(firstBand >= 0);
    QVERIFY(firstCarrier >= 0);
    QVERIFY2(
        firstBand < firstCarrier,
        qPrintable(QStringLiteral("band at %1, carrier at %2").arg(firstBand).arg(firstCarrier)));
    QCOMPARE(boardCommands(*f.emulator).size(), 2);
}

void TestFMBoard::onAirIgnoredWhileNotOnline()
{
    BoardFixture f;
    QSignalSpy onair(f.startBoard(), &FMBoard::onair);
    QMetaObject::invokeMethod(f.board.get(), "setOnAir", Q_ARG(bool, false));
    QVERIFY(f.bringOnline());
    QTRY_COMPARE_WITH_TIMEOUT(onair.size(), 1, kWaitMs);
    QCOMPARE(onair.first().at(0).toBool(), true);
}

void TestFMBoard::shutdownSwitchesCarrierOffAndUnlocks()
{
    BoardFixture f;
    QVERIFY(f.bringOnline(f.project(kProject)));
    QTRY_VERIFY_WITH_TIMEOUT(boardCommands(*f.emulator).size() >= 2, kWaitMs);
    f.emulator->clearReceived();
    f.stopBoard();
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->countOfType(Emu::Unlock) == 1, kWaitMs);
    QTest::qWait(100);
    const QList<Emu::Datagram> all = f.emulator->received();
    QCOMPARE(all.last().type, quint16(Emu::Unlock));
    const auto carrier = boardCommands(*f.emulator);
    QVERIFY(!carrier.isEmpty());
    QCOMPARE(carrier.first().item(BoardCommand::kOnAir), QByteArray(1, '\0'));
    QCOMPARE(f.emulator->lockHolderAddress(), 0u);
}

void TestFMBoard::connectToWhileOnlineStartsAgain()
{
    BoardFixture f;
    QVERIFY(f.bringOnline());
    f.emulator->clearReceived();
    const qsizetype offlineBefore = f.offlineSpy->size();
    f.board->connectTo(f.address());
    QTRY_COMPARE_WITH_TIMEOUT(f.onlineSpy->size(), 2, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.emulator->countOfType(Emu::SetLock), 1, kWaitMs);
    QCOMPARE(f.offlineSpy->size(), offlineBefore + 1);
    QCOMPARE(f.emulator->countOfType(Emu::Unlock), 0);
    // Streams and status requests of the old link may still be on their
    // way; the handshake of the new one begins with the info request.
    QList<quint16> handshake = f.types();
    handshake.removeIf([](quint16 type) {
        return type != Emu::InfoRequest && type != Emu::LockQuery && type != Emu::SetLock;
    });
    QCOMPARE(handshake.value(0), quint16(Emu::InfoRequest));
}

// An idle board thread must sleep between its status ticks: the 1 ms fill
// tick runs only while the board is online. Progress is counted in the
// board's info requests (one per status tick), never in time.
void TestFMBoard::fillTickRunsOnlyWhileOnline()
{
    BoardFixture f;
    f.emulator->setSilent(true);
    f.startBoard()->connectTo(f.address());
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->countOfType(Emu::InfoRequest) >= 3, kWaitMs);
    QCOMPARE(f.board->fillTicksOffline(), 0);

    f.emulator->setSilent(false);
    QTRY_COMPARE_WITH_TIMEOUT(f.board->connectionState(), FMBoard::Online, kWaitMs);
    const qsizetype offlineBefore = f.offlineSpy->size();
    f.emulator->setSilent(true);
    QTRY_COMPARE_WITH_TIMEOUT(f.offlineSpy->size(), offlineBefore + 1, kWaitMs);
    f.emulator->clearReceived();
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->countOfType(Emu::InfoRequest) >= 3, kWaitMs);
    // The one tick that found the board gone stopped the timer.
    QVERIFY2(f.board->fillTicksOffline() <= 1,
             qPrintable(QString::number(f.board->fillTicksOffline())));
}

QTEST_GUILESS_MAIN(TestFMBoard)
#include "tst_fmboard.moc"
