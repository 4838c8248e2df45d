// The datagram exchange with a board, against the board emulator on
// 127.0.0.1: sequence numbers and acknowledgements, status replies into the
// store, info and lock replies, and the RDS stream forms.
#include "BoardEmulator.h"
#include "KeyRecorder.h"
#include "board/BoardCommand.h"
#include "board/BoardLink.h"
#include "settings/FMSettings.h"

#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUdpSocket>
#include <QtEndian>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;

// 256 frames of stereo silence for a slot.
QByteArray pcmDatagram(int slot)
{
    QByteArray datagram(8 + 1024, '\0');
    qToBigEndian<quint16>(BoardDatagram::kPcmStream, datagram.data());
    datagram[3] = char(slot);
    datagram[5] = char(BoardDatagram::kPcmStereo);
    qToBigEndian<quint16>(256, datagram.data() + 6);
    return datagram;
}

} // namespace

class TestBoardLink : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandsAreNumberedAndAcknowledged();
    void lostAcknowledgementsExpire();
    void unknownAcknowledgementIsOnlyLogged();
    void statusRepliesBecomeChannelStatus();
    void rdsSentAfterTheRequestCountsAsHeld();
    void pcmSentAfterTheRequestIsNotSentAgain();
    void overflowIsFlagged();
    void oneStatusRequestWaitsAtATime();
    void heldWritesLeaveTogetherInOrder();
    void infoReply_data();
    void infoReply();
    void lockReplies();
    void rdsStreamForm_data();
    void rdsStreamForm();
    void nothingIsSentWithoutConnection();
    void sequenceCounterIsSharedAcrossThreads();

private:
    void bringUp(const QByteArray& tag, quint32 firmware);
    void requestStatus();
    int refill(int slot);

    std::unique_ptr<BoardEmulator> board;
    std::unique_ptr<QUdpSocket> socket;
    std::unique_ptr<BoardLink> link;
    qint64 clockMs = 1000;
};

void TestBoardLink::init()
{
    board = std::make_unique<BoardEmulator>();
    QVERIFY(board->start());
    socket = std::make_unique<QUdpSocket>();
    socket->connectToHost(board->address(), board->port());
    QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QAbstractSocket::ConnectedState, kWaitMs);
    link = std::make_unique<BoardLink>(1);
    link->setSocket(socket.get());
    clockMs = 1000;
    link->setClock([this] { return clockMs; });
}

void TestBoardLink::cleanup()
{
    link.reset();
    socket.reset();
    board.reset();
}

// The board answers the info request; the link learns type and firmware.
void TestBoardLink::bringUp(const QByteArray& tag, quint32 firmware)
{
    board->setTag(tag);
    board->setFirmware(firmware);
    QSignalSpy info(link.get(), &BoardLink::infoReceived);
    const QByteArray request = BoardDatagram::request(BoardDatagram::kInfoRequest);
    QCOMPARE(link->sendRaw(request.constData(), int(request.size())), 2);
    QTRY_COMPARE_WITH_TIMEOUT(info.size(), 1, kWaitMs);
}

void TestBoardLink::requestStatus()
{
    const QByteArray request = BoardDatagram::request(BoardDatagram::kStatusRequest);
    QCOMPARE(link->sendRaw(request.constData(), int(request.size())), 2);
    link->noteStatusRequest();
}

// Sends silence to a slot as a programme engine does: 256 frames at a time
// while the fill the link counts leaves room for two more; returns the
// frames sent.
int TestBoardLink::refill(int slot)
{
    const QByteArray datagram = pcmDatagram(slot);
    const int capacity = int(link->boardInfo().pcmCapacity);
    int sent = 0;
    while (link->pcmFill(slot) + 512 < capacity) {
        if (link->sendRaw(datagram.constData(), int(datagram.size())) <= 0)
            break;
        link->noteSent(slot, 256, 0);
        sent += 256;
    }
    return sent;
}

void TestBoardLink::commandsAreNumberedAndAcknowledged()
{
    bringUp("KXWB", 30);
    QVERIFY(link->configBand(true, 0, -10, 52));
    QCOMPARE(link->pendingCount(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(board->countOfType(BoardEmulator::Command), 2, kWaitMs);
    const auto commands = board->receivedOfType(BoardEmulator::Command);
    QVERIFY(commands[0].sequence != commands[1].sequence);
    QCOMPARE(commands[0].target, quint8(0xFF));
    QCOMPARE(commands[1].target, quint8(0xFF));
    QCOMPARE(commands[0].bytes.size(), 31);
    QCOMPARE(commands[1].item(BoardCommand::kSynthSelect), QByteArray(1, '\x01'));
    QCOMPARE(link->tickBytes(), 2 + 62);
    QTRY_COMPARE_WITH_TIMEOUT(link->pendingCount(), 0, kWaitMs);
}

void TestBoardLink::lostAcknowledgementsExpire()
{
    board->setAckEnabled(false);
    QByteArray command = BoardCommand::gainCommand(3, ChannelConfig());
    QVERIFY(link->sendPacket(command) > 0);
    QCOMPARE(link->pendingCount(), 1);
    QVERIFY(link->isPending(BoardDatagram::sequenceKey(command)));

    const QByteArray unrelated = QByteArray::fromHex("0002");
    clockMs += BoardLink::kAckTimeoutMs - 1;
    link->dispatchPacket(unrelated);
    QCOMPARE(link->pendingCount(), 1);

    clockMs += 1;
    QTest::ignoreMessage(QtDebugMsg, "mo1: CF! 1");
    link->dispatchPacket(unrelated);
    QCOMPARE(link->pendingCount(), 0);
    // A band configuration drops what is still waiting before it sends.
    QVERIFY(link->sendPacket(command) > 0);
    QTest::ignoreMessage(QtDebugMsg, "mo1: CF- 1");
    link->configBand(false, 0, 0, 52);
    QCOMPARE(link->pendingCount(), 2);
}

void TestBoardLink::unknownAcknowledgementIsOnlyLogged()
{
    QTest::ignoreMessage(QtDebugMsg, "mo1: ack 00000000 unknown");
    link->dispatchPacket(QByteArray::fromHex("0011 0000"));
    QTest::ignoreMessage(QtDebugMsg, "mo1: ack 05030201 unknown");
    link->dispatchPacket(QByteArray::fromHex("0011 01020305"));
    QTest::ignoreMessage(QtDebugMsg, "mo1: unknown packet (0x0777 len=3)");
    link->dispatchPacket(QByteArray::fromHex("077701"));
    QCOMPARE(link->pendingCount(), 0);
}

void TestBoardLink::statusRepliesBecomeChannelStatus()
{
    QTemporaryDir dir;
    auto store = QSharedPointer<FMSettings>::create(dir.filePath(QStringLiteral("default.fm")));
    KeyRecorder recorder;
    store->subscribe(QStringLiteral("chstatus"), &recorder);
    link->setStore(store);
    link->setNominalRate([](int slot) { return slot == 1 ? 48000 : 44100; });
    board->setDraining(false);
    board->slot(0).pcmFill = 10000;
    board->slot(0).rdsFill = 200;
    board->slot(1).pcmFill = 10000;
    board->slot(1).rdsFill = 200;
    board->slot(1).power = 29967428;
    board->slot(1).flags = 0x0001;
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.keys().size(), 24, kWaitMs);
    QCOMPARE(recorder.keys().first(), QStringLiteral("chstatus.25"));
    QCOMPARE(recorder.keys().last(), QStringLiteral("chstatus.48"));
    QCOMPARE(store->channelInfo(26).pcmFill, quint16(10000));

    // 200 ms later slot 0 played 8820 frames (44100/s), slot 1 as many at
    // its nominal 48000/s, so only slot 1 is off; RDS drained 15 words.
    recorder.clear();
    clockMs += 200;
    board->slot(0).pcmFill = 10000 - 8820;
    board->slot(0).rdsFill = 185;
    board->slot(1).pcmFill = 10000 - 8820;
    board->slot(1).rdsFill = 185;
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.keys().size(), 24, kWaitMs);
    const ChannelStatus first = store->channelInfo(25);
    QCOMPARE(first.pcmFill, quint16(1180));
    QCOMPARE(first.pcmRate, 44100.0 / 4);
    QCOMPARE(first.rdsRate, 75.0 / 4);
    QVERIFY(first.flags & ChannelStatus::kPcmRateOff); // still ramping up
    QVERIFY(first.flags & ChannelStatus::kRdsRateOff);
    const ChannelStatus second = store->channelInfo(26);
    QCOMPARE(second.flags & 0x00FF, 0x0001);
    QCOMPARE(second.power, 10 * std::log10(29967428 / 29967428.267));
    QCOMPARE(*link->channelStatus(1), second);
}

void TestBoardLink::rdsSentAfterTheRequestCountsAsHeld()
{
    board->setDraining(false);
    board->slot(3).rdsFill = 40;
    link->noteSent(3, 0, 13); // before the request: the reply includes it
    QCOMPARE(link->rdsFill(3), 13);
    QSignalSpy replies(link.get(), &BoardLink::statusReceived);
    requestStatus();
    // Still in flight when the board answered: it must not be forgotten.
    link->noteSent(3, 0, 26);
    QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 1, kWaitMs);
    QCOMPARE(link->rdsFill(3), 40 + 26);
    // The status light shows what the board said.
    QCOMPARE(int(link->channelStatus(3)->rdsFill), 40);

    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 2, kWaitMs);
    QCOMPARE(link->rdsFill(3), 40);
}

// The engine refills a slot right after each status request, before the
// reply is read, and again after it. The reply knows nothing of the refill
// before it, yet nothing is sent twice; the board's buffer ends each cycle
// full up to the last datagram and never overflows, and the rate worked out
// from what was sent between two requests settles at the nominal one.
void TestBoardLink::pcmSentAfterTheRequestIsNotSentAgain()
{
    bringUp("KXWB", 30);
    board->setClock([this] { return clockMs * 1000000; });
    QSignalSpy replies(link.get(), &BoardLink::statusReceived);
    constexpr int kSlot = 2;
    const int capacity = int(link->boardInfo().pcmCapacity);
    QCOMPARE(refill(kSlot), 0); // nothing before the board told its fill
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 1, kWaitMs);
    for (int cycle = 1; cycle <= 20; ++cycle) {
        clockMs += 200;
        requestStatus();
        const int beforeReply = refill(kSlot);
        if (cycle == 1)
            QCOMPARE(beforeReply, capacity - 512);
        QTRY_COMPARE_WITH_TIMEOUT(replies.size(), cycle + 1, kWaitMs);
        const int afterReply = refill(kSlot);
        if (cycle == 1)
            QCOMPARE(afterReply, 0);
        QTRY_VERIFY_WITH_TIMEOUT(board->slot(kSlot).pcmFill >= capacity - 512, kWaitMs);
        QVERIFY(board->slot(kSlot).pcmFill < capacity - 256);
        QCOMPARE(board->slot(kSlot).pcmOverflows, 0);
    }
    const ChannelStatus* status = link->channelStatus(kSlot);
    QVERIFY2(qAbs(status->pcmRate - 44100.0) < 1024.0,
             qPrintable(QString::number(status->pcmRate)));
    QVERIFY(!(status->flags & ChannelStatus::kPcmRateOff));
    QCOMPARE(board->totalUnderruns(), 0);
}

// A board drops PCM that does not fit and says so in bit 1 of the slot's
// next status entry, once.
void TestBoardLink::overflowIsFlagged()
{
    bringUp("KXWB", 30);
    board->setDraining(false);
    board->slot(5).pcmFill = 16384 - 100;
    const QByteArray datagram = pcmDatagram(5);
    QSignalSpy replies(link.get(), &BoardLink::statusReceived);
    link->sendRaw(datagram.constData(), int(datagram.size()));
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 1, kWaitMs);
    QCOMPARE(board->slot(5).pcmOverflows, 1);
    QCOMPARE(board->slot(5).pcmFramesDropped, qint64(156));
    QCOMPARE(board->slot(5).pcmFill, 16384.0);
    QCOMPARE(link->channelStatus(5)->flags & 0x0003, 0x0002);
    QCOMPARE(link->channelStatus(4)->flags & 0x0003, 0);
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 2, kWaitMs);
    QCOMPARE(link->channelStatus(5)->flags & 0x0003, 0);
}

// A board that lags behind its datagrams would answer two waiting requests
// in turn, and the second answer would be counted against a later request.
void TestBoardLink::oneStatusRequestWaitsAtATime()
{
    QSignalSpy replies(link.get(), &BoardLink::statusReceived);
    QVERIFY(link->statusRequestDue());
    board->setSilent(true);
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(board->countOfType(BoardEmulator::StatusRequest), 1, kWaitMs);
    QVERIFY(!link->statusRequestDue());
    clockMs += SlotFill::kRequestLifeMs;
    QVERIFY(!link->statusRequestDue());
    clockMs += 1; // its reply is lost
    QVERIFY(link->statusRequestDue());
    board->setSilent(false);
    requestStatus();
    QTRY_COMPARE_WITH_TIMEOUT(replies.size(), 1, kWaitMs);
    QVERIFY(link->statusRequestDue());
    requestStatus();
    link->forgetStatusRequest(); // a new connection
    QVERIFY(link->statusRequestDue());
}

// The fill tick holds what it writes: RDS of two slots, PCM, and a request
// leave with the flush, in the order written; the request is not counted
// towards the tick.
void TestBoardLink::heldWritesLeaveTogetherInOrder()
{
    bringUp("KXWB", 30);
    board->setDraining(false);
    board->clearReceived();
    link->resetTickBytes();
    const QByteArray groups(26, '\x11');
    const auto* bytes = reinterpret_cast<const uchar*>(groups.constData());
    const QByteArray pcm = pcmDatagram(1);
    link->holdWrites();
    QCOMPARE(link->sendRDS(0, {bytes, bytes, bytes, bytes}, 26, 1), 8 + 26);
    QCOMPARE(link->sendRDS(1, {bytes, bytes, bytes, bytes}, 26, 1), 8 + 26);
    QCOMPARE(link->sendRaw(pcm.constData(), int(pcm.size())), int(pcm.size()));
    QCOMPARE(link->sendControl(BoardDatagram::request(BoardDatagram::kStatusRequest)), 2);
    QCOMPARE(link->waitingWrites(), 4);
    QCOMPARE(link->tickBytes(), 2 * (8 + 26) + int(pcm.size()));
    QCOMPARE(link->tickDatagrams(), 3);
    link->flushWrites();
    QCOMPARE(link->waitingWrites(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(board->received().size(), 4, kWaitMs);
    const QList<BoardEmulator::Datagram> all = board->received();
    QCOMPARE(all[0].type, quint16(BoardEmulator::RdsStream));
    QCOMPARE(all[0].slot, 0);
    QCOMPARE(all[1].slot, 1);
    QCOMPARE(all[2].type, quint16(BoardEmulator::PcmStream));
    QCOMPARE(all[2].bytes, pcm);
    QCOMPARE(all[3].type, quint16(BoardEmulator::StatusRequest));
    // Not held, a write leaves at once.
    QCOMPARE(link->sendRaw(pcm.constData(), int(pcm.size())), int(pcm.size()));
    QCOMPARE(link->waitingWrites(), 0);
}

void TestBoardLink::infoReply_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("number");
    QTest::newRow("QRV4") << QByteArray("QRV4") << 0 << true << 0x0102;
    QTest::newRow("KXWB") << QByteArray("KXWB") << 0 << true << 0x0102;
    QTest::newRow("kXWB") << QByteArray("kXWB") << 0 << true << 0x0102;
    QTest::newRow("unknown tag is ignored") << QByteArray("ABCD") << 0 << false << 0;
    QTest::newRow("19 bytes are ignored") << QByteArray("KXWB") << 19 << false << 0;
    QTest::newRow("20 bytes give board 0") << QByteArray("KXWB") << 20 << true << 0;
    QTest::newRow("25 bytes give board 0") << QByteArray("KXWB") << 25 << true << 0;
}

void TestBoardLink::infoReply()
{
    QFETCH(QByteArray, tag);
    QFETCH(int, size);
    QFETCH(bool, accepted);
    QFETCH(int, number);
    board->setTag(tag);
    board->setInfoReplySize(size);
    board->setCapacities(32768, 512);
    QSignalSpy info(link.get(), &BoardLink::infoReceived);
    const QByteArray request = BoardDatagram::request(BoardDatagram::kInfoRequest);
    link->sendRaw(request.constData(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(link->lastReceiveMs() > 0, kWaitMs);
    QCOMPARE(info.size(), accepted ? 1 : 0);
    if (!accepted) {
        QCOMPARE(link->boardInfo().tag, 0u);
        return;
    }
    const BoardInfo received = info.first().first().value<BoardInfo>();
    QCOMPARE(received.tag, quint32(qFromBigEndian<quint32>(tag.constData())));
    QCOMPARE(received.pcmCapacity, 32768u);
    QCOMPARE(received.rdsCapacity, 512u);
    QCOMPARE(int(received.number), number);
    QCOMPARE(link->boardInfo().firmware, 30u);
}

void TestBoardLink::lockReplies()
{
    QSignalSpy locks(link.get(), &BoardLink::lockReceived);
    QSignalSpy unknown(link.get(), &BoardLink::lockUnknown);
    board->setLockHolder(0x0A000001, 4000, QByteArray("\x42other@host", 11));
    const QByteArray query = BoardDatagram::request(BoardDatagram::kLockQuery);
    link->sendRaw(query.constData(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(locks.size(), 1, kWaitMs);
    const BoardLock lock = locks.first().first().value<BoardLock>();
    QCOMPARE(locks.first().at(1).toInt(), 56);
    QCOMPARE(lock.holderIpv4, 0x0A000001u);
    QCOMPARE(lock.holderPort, quint16(4000));
    QCOMPARE(lock.holderIdentity.left(11), QByteArray("\x42other@host", 11));
    QCOMPARE(lock.clients.size(), 4);
    QCOMPARE(lock.clients[0].port, socket->localPort());

    link->dispatchPacket(QByteArray::fromHex("0061 0a000001"));
    QCOMPARE(unknown.size(), 1);
    QCOMPARE(unknown.first().first().toInt(), 6);

    // SET LOCK and UNLOCK reach the board in its terms.
    const QByteArray setLock = BoardDatagram::setLock(0x5A, BoardLock::ownerName().toUtf8());
    link->sendRaw(setLock.constData(), int(setLock.size()));
    QTRY_COMPARE_WITH_TIMEOUT(board->lockHolderAddress(), board->ipv4(), kWaitMs);
    QCOMPARE(board->lockIdentity(), setLock.mid(2));
    QCOMPARE(board->receivedOfType(BoardEmulator::SetLock).first().lockRandom, quint8(0x5A));
    const QByteArray unlock = BoardDatagram::request(BoardDatagram::kUnlock);
    link->sendRaw(unlock.constData(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(board->lockHolderAddress(), 0u, kWaitMs);
}

void TestBoardLink::rdsStreamForm_data()
{
    QTest::addColumn<quint32>("firmware");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("words");
    QTest::newRow("stream 0 only") << 30u << 0x01 << 1 << 13;
    QTest::newRow("RDS2 streams, firmware 29") << 29u << 0x03 << 15 << 52;
    QTest::newRow("RDS2 streams, firmware 28 sends one") << 28u << 0x03 << 1 << 13;
}

void TestBoardLink::rdsStreamForm()
{
    QFETCH(quint32, firmware);
    QFETCH(int, mask);
    QFETCH(int, kind);
    QFETCH(int, words);
    bringUp("KXWB", firmware);
    board->setDraining(false);
    const QByteArray groups(26, '\x11');
    const auto* bytes = reinterpret_cast<const uchar*>(groups.constData());
    const int written = link->sendRDS(4, {bytes, bytes, bytes, bytes}, 26, quint8(mask));
    QCOMPARE(written, 8 + 2 * words);
    QTRY_COMPARE_WITH_TIMEOUT(board->countOfType(BoardEmulator::RdsStream), 1, kWaitMs);
    const auto stream = board->receivedOfType(BoardEmulator::RdsStream).first();
    QCOMPARE(stream.slot, 4);
    QCOMPARE(stream.kind, kind);
    QCOMPARE(stream.count, words);
    QCOMPARE(int(board->slot(4).rdsFill), words);

    QTest::ignoreMessage(QtDebugMsg, "mo1: bad length! 13");
    QVERIFY(link->sendRDS(4, {bytes, bytes, bytes, bytes}, 13, quint8(mask)) > 0);
    QTest::ignoreMessage(QtDebugMsg, "mo1: sendRDS refused length 1300");
    QCOMPARE(link->sendRDS(4, {bytes, bytes, bytes, bytes}, 1300, quint8(mask)), -1);
}

void TestBoardLink::nothingIsSentWithoutConnection()
{
    BoardLink idle(2);
    QByteArray command = BoardCommand::gainCommand(3, ChannelConfig());
    QCOMPARE(idle.sendPacket(command), -1);
    QCOMPARE(idle.sendRaw(command.constData(), int(command.size())), -1);
    QCOMPARE(idle.sendRDS(0, {}, 26, 1), -1);
    QCOMPARE(idle.pendingCount(), 0);
    QCOMPARE(idle.tickBytes(), 0);
}

void TestBoardLink::sequenceCounterIsSharedAcrossThreads()
{
    constexpr int kThreads = 4;
    constexpr int kEach = 20000;
    std::vector<std::vector<quint32>> taken(kThreads);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([&taken, t] {
            for (int i = 0; i < kEach; ++i)
                taken[t].push_back(BoardLink::nextSequence());
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        QVERIFY(thread->wait(30000));
    QSet<quint32> all;
    for (const auto& list : taken)
        all.unite(QSet<quint32>(list.begin(), list.end()));
    QCOMPARE(all.size(), kThreads * kEach);
}

QTEST_GUILESS_MAIN(TestBoardLink)
#include "tst_boardlink.moc"
