// The status tick (connection state machine, lock handshake, band) and the
// fill tick (the stream pump) of the board thread.
#include "board/FMBoard.h"

#include "board/BoardDatagram.h"
#include "board/FMProgram.h"

#include <QDebug>
#include <QHostAddress>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

namespace {

constexpr quint16 kPcmUnderflow = 0x0001;
constexpr quint16 kPcmOverflow = 0x0002;

} // namespace

bool FMBoard::bandPending() const
{
    return !(BandSetting::unpack(pendingBand.load()) == current);
}

void FMBoard::timeReadStatus()
{
    const int now = connState.load();
    if (now >= Connecting) {
        if (now == Online && bandPending()) {
            if (mutex.tryLock()) {
                applyBand();
                mutex.unlock();
                return;
            }
            qDebug("mo%d: timer not locked for band", index);
        }
    } else if (mutex.tryLock()) {
        connectSocket();
        mutex.unlock();
    } else if (now != Idle) {
        qDebug("mo%d: timer not locked for open", index);
    }
    applyRdsPort();
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return;
    actByState();
}

void FMBoard::applyBand()
{
    current = BandSetting::unpack(pendingBand.load());
    configBand(current.onAir);
    emit onair(current.onAir, index);
    for (FMProgram* p : programs)
        p->setBand(current.band);
}

void FMBoard::applyRdsPort()
{
    const quint32 port = rdsPortToApply.exchange(0);
    if (port == 0)
        return;
    for (FMProgram* p : programs)
        p->stopRDSServer();
    for (FMProgram* p : programs)
        p->startRDSServer(port);
}

void FMBoard::actByState()
{
    // After an ICMP error the socket may stop announcing datagrams; the
    // handshake reads on every tick, as streaming does below, and then acts
    // on the state that what it read left.
    const int handshake = connState.load();
    if (handshake == Connecting || handshake == AskLock || handshake == HeldByOther)
        boardLink->readUdp();
    switch (connState.load()) {
    case Idle:
    case Reconnect:
        qDebug("mo%d: state %d", index, connState.load());
        break;
    case AskLock:
        qDebug("mo%d: get lock", index);
        writeRequest(BoardDatagram::kLockQuery);
        break;
    case HeldByOther:
        if (unlockRequest) {
            unlockRequest = false;
            qDebug("mo%d: * UNLOCK %02X", index, quint8(holderIdentity.at(0)));
            writeRequest(BoardDatagram::kUnlock);
            setLock();
            goOnline();
        } else if (msSinceReceive() >= kLockRetryMs) {
            writeRequest(BoardDatagram::kLockQuery);
        }
        break;
    case Online: {
        // A reply already here answers the request before: read first, so
        // the next request can go out. A board that lags behind keeps its
        // request waiting, and no second one joins it.
        boardLink->readUdp();
        bool written = true;
        if (boardLink->statusRequestDue()) {
            written = writeRequest(BoardDatagram::kStatusRequest) > 0;
            if (written)
                boardLink->noteStatusRequest();
        }
        ++lockPoll;
        if ((lockPoll & kLockPollMask) == 0)
            writeRequest(BoardDatagram::kLockQuery);
        checkTimeout(written);
        break;
    }
    case DisconnectWanted:
        qDebug("mo%d: force disconnect", index);
        disconnectBoard();
        break;
    default: // Connecting, and anything out of range
        std::fputc('.', stderr);
        writeRequest(BoardDatagram::kInfoRequest);
        break;
    }
}

void FMBoard::checkTimeout(bool statusWritten)
{
    if (statusWritten && msSinceReceive() < kTimeoutMs)
        return;
    qDebug("mo%d: timeout", index);
    connState = Reconnect;
    disconnectBoard();
}

// Under the board mutex.
void FMBoard::connectSocket()
{
    if (connState.load() != Idle)
        disconnectBoard();
    const BoardIP address = this->address();
    if (!address.isSet() || !socket)
        return;
    connected = address;
    boardLink->clearBoardInfo();
    boardLink->forgetStatusRequest();
    renewSocket();
    socket->connectToHost(QHostAddress(address.ipv4), address.port, QIODevice::ReadWrite);
    connState = Connecting;
    qDebug("mo%d: connect #%03d %s", index, address.boxNumber(), qPrintable(address.toString()));
    boardLink->enlargeSendBuffer();
}

void FMBoard::disconnectBoard()
{
    if (socket && socket->state() == QAbstractSocket::ConnectedState) {
        qDebug("mo%d: disconnect %d", index, connState.load());
        if (connState.load() != Reconnect) {
            if (ownIdentity == holderIdentity) {
                // Carrier off before the lock goes, so no other host finds
                // the board transmitting what this one left behind.
                configBand(false);
                qDebug("mo%d: * UNLOCK %02X", index, quint8(holderIdentity.at(0)));
                writeRequest(BoardDatagram::kUnlock);
            } else {
                qDebug("mo%d: disconnect w/o unlock %02X != %02X", index, quint8(ownIdentity.at(0)),
                       quint8(holderIdentity.at(0)));
            }
            {
                QMutexLocker data(&dataMutex);
                target = BoardIP();
            }
            ownIdentity.fill(char(0xFF));
        }
        socket->disconnectFromHost();
    }
    boardLink->dropWaitingWrites();
    connState = Idle;
    emit offline(connected, index);
}

void FMBoard::setLock()
{
    const quint8 random = quint8(QRandomGenerator::global()->generate64());
    const QByteArray name = BoardLock::ownerName().toUtf8();
    const QByteArray datagram = BoardDatagram::setLock(random, name);
    ownIdentity = datagram.mid(2, BoardLock::kIdentitySize);
    holderIdentity = ownIdentity;
    {
        QMutexLocker data(&dataMutex);
        lockCopy.holderIdentity = holderIdentity;
    }
    qDebug("mo%d: SET LOCK %02X [%s]", index, random, name.left(BoardLock::kNameSize).constData());
    writeControl(datagram);
}

void FMBoard::goOnline()
{
    qDebug("mo%d: online, force set band", index);
    connState = Online;
    boardLink->markReceived();
    if (fillTimer && !fillTimer->isActive())
        fillTimer->start();
    emit online(connected, index);
    // Before the first fill tick streams the carriers.
    applyBand();
}

void FMBoard::onInfo(const BoardInfo& info)
{
    {
        QMutexLocker data(&dataMutex);
        infoCopy = info;
    }
    emit boardInfo(info, index);
    // The engines know the board's type before going online sends them
    // the band.
    for (FMProgram* p : programs)
        p->setBoardInfo(info);
    if (info.firmware < kLockFirmware)
        goOnline();
    else
        connState = AskLock;
}

void FMBoard::onLock(const BoardLock& lock, int length)
{
    holderIdentity = lock.holderIdentity;
    {
        QMutexLocker data(&dataMutex);
        lockCopy = lock;
    }
    const int now = connState.load();
    if (holderIdentity == ownIdentity) {
        if (now == Online || now == DisconnectWanted)
            return;
        setLock();
        goOnline();
        return;
    }
    if (lock.holderIpv4 != 0) {
        const QHostAddress holder(lock.holderIpv4);
        qDebug("mo%d: is locked from %s : %d [%s]", index, qPrintable(holder.toString()),
               lock.holderPort, lock.holderIdentity.mid(1).constData());
        connState = HeldByOther;
        // Asked once per take-over, not on every lock reply that follows
        // while the user decides.
        if (now != HeldByOther)
            emit userUnlock(index);
    } else {
        qDebug("mo%d: not locked yet", index);
        setLock();
        goOnline();
    }
    if (length >= BoardDatagram::kLockClientsEnd)
        logClients(lock);
}

void FMBoard::logClients(const BoardLock& lock)
{
    for (const BoardLock::Client& client : lock.clients) {
        if (client.ipv4 == 0)
            continue;
        qDebug("mo%d: %s : %u last seen %u ds ago", index,
               qPrintable(QHostAddress(client.ipv4).toString()), unsigned(client.port),
               unsigned(client.lastSeen));
    }
}

void FMBoard::onLockUnknown(int)
{
    if (connState.load() > HeldByOther)
        return;
    setLock();
    goOnline();
}

void FMBoard::onStatus()
{
    int underruns = 0;
    int overflows = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        const quint16 flags = boardLink->channelStatus(slot)->flags;
        underruns += (flags & kPcmUnderflow) ? 1 : 0;
        overflows += (flags & kPcmOverflow) ? 1 : 0;
    }
    stats.addStatus(underruns, overflows);
}

void FMBoard::timeFillBuffer()
{
    if (connState.load() != Online) {
        // The 1 ms tick runs only while the board is online: an idle or
        // unreachable board must not wake its thread a thousand times a
        // second. goOnline() starts it again.
        fillTimer->stop();
        offlineFillTicks.fetch_add(1, std::memory_order_relaxed);
        lastFillNs = -1;
        return;
    }
    const qint64 nowNs = fillClock.nsecsElapsed();
    const qint64 interval = lastFillNs < 0 ? -1 : (nowNs - lastFillNs) / 1000;
    lastFillNs = nowNs;
    // The tick's datagrams leave together, in the order written.
    boardLink->holdWrites();
    if (boardLink->tickBytes() < kRdsBudgetBytes) {
        for (FMProgram* p : programs) {
            p->fillRDS();
            if (boardLink->tickBytes() >= kRdsBudgetBytes)
                break;
        }
    }
    if (boardLink->tickBytes() < kPcmBudgetBytes) {
        for (FMProgram* p : programs) {
            p->fillAudio();
            if (boardLink->tickBytes() >= kPcmBudgetBytes)
                break;
        }
    }
    boardLink->flushWrites();
    stats.addTick(interval, boardLink->tickBytes(), boardLink->tickDatagrams());
    boardLink->resetTickBytes();
}
