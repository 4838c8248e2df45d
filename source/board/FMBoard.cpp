#include "board/FMBoard.h"

#include "board/BoardDatagram.h"
#include "board/FMProgram.h"
#include "board/ThreadScheduling.h"
#include "settings/FMSettings.h"

#include <QDebug>
#include <QMutexLocker>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>

namespace {

constexpr quint32 kBandBits = 0xFF;
constexpr int kAttnShift = 8;
constexpr quint32 kOnAirBit = 1u << 16;

} // namespace

quint32 FMBoard::BandSetting::pack() const
{
    const quint32 bandCode = quint32(std::clamp(band, kUnknownBand, 2) - kUnknownBand);
    const quint32 attnCode = quint32(-std::clamp(attenuation, -127, 0));
    return bandCode | attnCode << kAttnShift | (onAir ? kOnAirBit : 0);
}

FMBoard::BandSetting FMBoard::BandSetting::unpack(quint32 word)
{
    BandSetting s;
    s.band = int(word & kBandBits) + kUnknownBand;
    s.attenuation = -int((word >> kAttnShift) & kBandBits);
    s.onAir = (word & kOnAirBit) != 0;
    return s;
}

FMBoard::FMBoard(int board, unsigned rdsDataPort, unsigned osciMHz)
    : index(board), osci(osciMHz), pendingBand(BandSetting{0, 0, true}.pack()),
      rdsPortToApply(rdsDataPort)
{
    qRegisterMetaType<BoardIP>();
    qRegisterMetaType<BoardInfo>();
    moveToThread(this);
    QMutexLocker locker(&mutex);
    start(QThread::TimeCriticalPriority);
    while (!running)
        started.wait(&mutex);
}

FMBoard::~FMBoard()
{
    if (isRunning()) {
        quit();
        wait();
    }
    qDebug("~mo%d", index);
}

// --- GUI thread

int FMBoard::connectTo(const BoardIP& address)
{
    QMutexLocker locker(&mutex);
    qDebug("mo%d: #%03d connectTo %s", index, address.boxNumber(), qPrintable(address.toString()));
    {
        QMutexLocker data(&dataMutex);
        target = address;
        infoCopy = BoardInfo();
    }
    connState = Reconnect;
    return 0;
}

void FMBoard::reconnect()
{
    QMutexLocker locker(&mutex);
    const BoardIP address = this->address();
    qDebug("mo%d: #%03d reconnect %s", index, address.boxNumber(), qPrintable(address.toString()));
    {
        QMutexLocker data(&dataMutex);
        infoCopy = BoardInfo();
    }
    connState = Reconnect;
}

void FMBoard::setConfig(QSharedPointer<FMSettings> settings)
{
    QMutexLocker locker(&mutex);
    store = std::move(settings);
    if (store) {
        const int band = std::max(0, store->band());
        const int attenuation = store->attenuation();
        updatePending([&](BandSetting& s) {
            s.band = band;
            s.attenuation = attenuation;
        });
    }
    // The engines, their encoders and servers are used by the fill tick, so
    // they take the new store in the board thread only.
    QMetaObject::invokeMethod(this, &FMBoard::applyConfig, Qt::QueuedConnection);
}

void FMBoard::setFMBand(int& band, int attenuation)
{
    if (band < 0 || band > 2) {
        qDebug("mo%d: setFMBand %d (not %d)", index, 0, band);
        band = 0;
    }
    const int chosen = band;
    updatePending([&](BandSetting& s) {
        s.band = chosen;
        s.attenuation = attenuation;
    });
}

void FMBoard::setRDSDataPort(quint16 port)
{
    rdsPortToApply = port;
}

void FMBoard::setClock(BoardLink::Clock clock)
{
    QMetaObject::invokeMethod(
        this, [this, clock] { boardLink->setClock(clock); }, Qt::BlockingQueuedConnection);
}

void FMBoard::updatePending(const std::function<void(BandSetting&)>& change)
{
    quint32 word = pendingBand.load();
    BandSetting next;
    do {
        next = BandSetting::unpack(word);
        change(next);
    } while (!pendingBand.compare_exchange_weak(word, next.pack()));
}

BoardIP FMBoard::address() const
{
    QMutexLocker data(&dataMutex);
    return target;
}

BoardInfo FMBoard::lastBoardInfo() const
{
    QMutexLocker data(&dataMutex);
    return infoCopy;
}

BoardLock FMBoard::lockRecord() const
{
    QMutexLocker data(&dataMutex);
    return lockCopy;
}

FMProgram* FMBoard::program(int slot) const
{
    return slot >= 0 && slot < kSlots ? programs[slot] : nullptr;
}

// --- board thread

void FMBoard::applyConfig()
{
    QSharedPointer<FMSettings> settings;
    {
        QMutexLocker locker(&mutex);
        settings = store;
    }
    const int band = BandSetting::unpack(pendingBand.load()).band;
    if (boardLink)
        boardLink->setStore(settings);
    // The engines send the carriers of the new project at once; with the
    // band of the old one still set, the board would transmit them on
    // frequencies of the wrong band until the status tick sets the band.
    if (connState.load() == Online && bandPending()) {
        current = BandSetting::unpack(pendingBand.load());
        configBand(current.onAir);
        emit onair(current.onAir, index);
    }
    for (FMProgram* p : programs)
        p->setConfig(settings, band);
}

int FMBoard::sendPacket(QByteArray& datagram)
{
    return boardLink ? boardLink->sendPacket(datagram) : -1;
}

int FMBoard::sendRaw(const char* data, int length)
{
    return boardLink ? boardLink->sendRaw(data, length) : -1;
}

void FMBoard::noteSent(int slot, int pcmFrames, int rdsWords)
{
    if (boardLink)
        boardLink->noteSent(slot, pcmFrames, rdsWords);
}

int FMBoard::pcmFill(int slot) const
{
    return boardLink ? boardLink->pcmFill(slot) : 0;
}

int FMBoard::rdsFill(int slot) const
{
    return boardLink ? boardLink->rdsFill(slot) : 0;
}

void FMBoard::forgetPcm(int slot, int frames)
{
    if (boardLink)
        boardLink->forgetPcm(slot, frames);
}

int FMBoard::sendRDS(int slot, const std::array<const uchar*, 4>& streams, int length, quint8 mask)
{
    return boardLink ? boardLink->sendRDS(slot, streams, length, mask) : -1;
}

bool FMBoard::configBand(bool onAir)
{
    return boardLink && boardLink->configBand(onAir, current.band, current.attenuation, osci);
}

int FMBoard::writeControl(const QByteArray& datagram)
{
    return boardLink ? boardLink->sendControl(datagram) : -1;
}

int FMBoard::writeRequest(quint16 type)
{
    return writeControl(BoardDatagram::request(BoardDatagram::Type(type)));
}

qint64 FMBoard::msSinceReceive() const
{
    return boardLink->monotonicNow() - boardLink->lastReceiveMs();
}

void FMBoard::run()
{
    {
        QMutexLocker locker(&mutex);
        running = true;
        started.wakeAll();
    }
    // Before the engines start their decode threads, which ask for a low
    // priority of their own and so keep ordinary scheduling.
    ThreadScheduling::raiseCurrentThread(qPrintable(QStringLiteral("mo%1: ").arg(index)));
    boardLink = new BoardLink(index);
    renewSocket();
    connect(boardLink, &BoardLink::infoReceived, this, &FMBoard::onInfo);
    connect(boardLink, &BoardLink::lockReceived, this, &FMBoard::onLock);
    connect(boardLink, &BoardLink::lockUnknown, this, &FMBoard::onLockUnknown);
    connect(boardLink, &BoardLink::statusReceived, this, &FMBoard::onStatus);

    for (int slot = 0; slot < kSlots; ++slot) {
        programs[slot] =
            new FMProgram(index * kSlots + slot + 1, QSharedPointer<FMSettings>(), this);
    }
    boardLink->setNominalRate([this](int slot) { return programs[slot]->nominalRate(); });

    statusTimer = new QTimer;
    statusTimer->setInterval(kStatusTickMs);
    connect(statusTimer, &QTimer::timeout, this, &FMBoard::timeReadStatus);
    fillTimer = new QTimer;
    fillTimer->setTimerType(Qt::PreciseTimer);
    fillTimer->setInterval(kFillTickMs);
    connect(fillTimer, &QTimer::timeout, this, &FMBoard::timeFillBuffer);
    statusTimer->start();
    // The fill timer starts when the board goes online.
    fillClock.start();

    exec();

    qDebug("mo%d: exit thread", index);
    fillTimer->stop();
    statusTimer->stop();
    disconnectBoard();
    delete fillTimer;
    delete statusTimer;
    boardLink->setSocket(nullptr);
    delete socket;
    socket = nullptr;
    stopDecoders();
    // Slot 24 first, as they were made in slot order.
    for (int slot = kSlots - 1; slot >= 0; --slot) {
        delete programs[slot];
        programs[slot] = nullptr;
    }
    delete boardLink;
    boardLink = nullptr;
    qDebug("mo%d: exit done", index);
}

// A socket that took an ICMP error ("port unreachable" from a board that
// was switched off or restarted) no longer reports arriving datagrams, and
// the replies of the board that came back would go unread: every
// connection starts on a fresh socket.
void FMBoard::renewSocket()
{
    boardLink->setSocket(nullptr);
    delete socket;
    socket = new QUdpSocket;
    boardLink->setSocket(socket);
    connect(socket, &QUdpSocket::errorOccurred, this, &FMBoard::error);
    connect(socket, &QUdpSocket::stateChanged, this, &FMBoard::state);
}

void FMBoard::stopDecoders()
{
    qDebug("mo%d: stop all decoders", index);
    for (FMProgram* p : programs)
        p->stopDecoder(true);
    // One bound for all decode threads of the board: a thread stuck in a
    // read that never returns (a file on a hung network mount) must not keep
    // the program from ending. Such a thread is left where it is, with the
    // object it runs in; the end of the process ends it.
    QElapsedTimer waited;
    waited.start();
    for (FMProgram* p : programs) {
        while (!p->isDecoderStopped() && waited.elapsed() < kDecoderStopMs)
            QThread::msleep(kDecoderPollMs);
        if (!p->isDecoderStopped()) {
            qDebug("mo%d: decoder %2d still busy after %3lld ms, left running", index, p->number(),
                   waited.elapsed());
            p->abandonDecoder();
            continue;
        }
        p->waitDecoder();
        qDebug("mo%d: decoder %2d done after %3lld ms", index, p->number(), waited.elapsed());
    }
}

// --- slots

void FMBoard::disconnectRequest()
{
    connState = DisconnectWanted;
}

void FMBoard::unlock(bool take)
{
    unlockRequest = take;
    if (!take)
        connState = DisconnectWanted;
}

void FMBoard::setOnAir(bool on)
{
    if (connState.load() != Online)
        return;
    updatePending([on](BandSetting& s) { s.onAir = on; });
}

void FMBoard::toggleOnAir()
{
    if (connState.load() != Online)
        return;
    updatePending([](BandSetting& s) { s.onAir = !s.onAir; });
}

void FMBoard::error(QAbstractSocket::SocketError code)
{
    qDebug("mo%d: socket error %d [%s]", index, int(code),
           socket ? qPrintable(socket->errorString()) : "NULL");
}

void FMBoard::state(QAbstractSocket::SocketState socketState)
{
    qDebug("mo%d: socket state %d", index, int(socketState));
}
