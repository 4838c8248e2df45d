#include "board/BoardLink.h"

#include "board/BoardCommand.h"
#include "board/StatusRates.h"
#include "settings/FMSettings.h"
#include "settings/MonotonicClock.h"

#include <QDebug>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <cstring>

namespace {

constexpr int kDefaultPcmRate = 44100;
constexpr int kLoggedBytes = 42;
constexpr int kBandDatagramSize = 31;
constexpr int kAttnOffDb = -31;
constexpr int kRdsPairBytes = 26; // two 13-byte groups

} // namespace

std::atomic<quint32> BoardLink::sequenceCounter{0};

BoardLink::BoardLink(int board, QObject* parent)
    : QObject(parent), index(board), now(monotonicMs),
      nominalRate([](int) { return kDefaultPcmRate; })
{
}

BoardLink::~BoardLink() = default;

quint32 BoardLink::nextSequence()
{
    return sequenceCounter.fetch_add(1, std::memory_order_relaxed) + 1;
}

void BoardLink::setSocket(QUdpSocket* socket)
{
    if (udp)
        disconnect(udp, nullptr, this, nullptr);
    udp = socket;
    if (udp)
        connect(udp, &QUdpSocket::readyRead, this, &BoardLink::readUdp);
}

void BoardLink::setStore(QSharedPointer<FMSettings> settings)
{
    store = std::move(settings);
}

void BoardLink::setClock(Clock clock)
{
    now = std::move(clock);
}

bool BoardLink::isConnected() const
{
    return udp && udp->state() == QAbstractSocket::ConnectedState;
}

int BoardLink::write(const char* data, int length, bool counted)
{
    if (!udp || udp->socketDescriptor() < 0 || !batch.add(data, length))
        return -1;
    if (counted) {
        bytesThisTick += length;
        ++datagramsThisTick;
    }
    if (!holding)
        flushWrites();
    return length;
}

void BoardLink::flushWrites()
{
    holding = false;
    if (batch.isEmpty() || !udp || udp->socketDescriptor() < 0)
        return;
    const int sent = batch.flush(udp->socketDescriptor());
    // Once per spell of failures, not once per tick.
    if (!batch.isEmpty() && !sendFailing) {
        qDebug("mo%d: sendRaw failed %d [%s], %d waiting", index, sent,
               std::strerror(batch.error()), batch.size());
    }
    sendFailing = !batch.isEmpty();
}

int BoardLink::sendControl(const QByteArray& datagram)
{
    if (!isConnected())
        return -1;
    return write(datagram.constData(), int(datagram.size()), false);
}

int BoardLink::sendPacket(QByteArray& datagram)
{
    if (!isConnected())
        return -1;
    if (datagram.size() >= BoardDatagram::kSequenceEnd &&
        BoardDatagram::type(datagram) == BoardDatagram::kCommand) {
        BoardDatagram::stampSequence(datagram, nextSequence());
        pending.insert(BoardDatagram::sequenceKey(datagram), datagram);
        lastCommand = now();
    } else {
        qDebug("mo%d: ??? %2d [%s] %d", index, int(datagram.size()),
               datagram.left(kLoggedBytes).toHex(' ').constData(), int(pending.size()));
    }
    const int written = write(datagram.constData(), int(datagram.size()));
    if (written <= 0)
        qDebug("mo%d: sendRaw failed %d", index, written);
    return written;
}

int BoardLink::sendRaw(const char* data, int length)
{
    if (!isConnected())
        return -1;
    const int written = write(data, length);
    if (written <= 0)
        qDebug("mo%d: sendRaw failed %d", index, written);
    return written;
}

int BoardLink::sendRDS(int slot, const std::array<const uchar*, 4>& streams, int length,
                       quint8 mask)
{
    if (!udp)
        return -1;
    const bool fourStreams = (mask & 0x0E) != 0 && info.firmware >= kFourStreamFirmware;
    const int streamCount = fourStreams ? BoardDatagram::kRdsStreams : 1;
    // The board's stream buffer holds no more; a longer datagram would be
    // cut or refused at the far end.
    if (length < 0 || length * streamCount > kRdsPayloadBytes) {
        qDebug("mo%d: sendRDS refused length %d", index, length);
        return -1;
    }
    if (length % kRdsPairBytes != 0)
        qDebug("mo%d: bad length! %d", index, length);
    const QByteArray datagram = BoardDatagram::rdsStream(slot, streams, length, fourStreams);
    const int written = write(datagram.constData(), int(datagram.size()));
    if (written <= 0)
        qDebug("mo%d: sendRDS failed %d", index, written);
    else if (written != datagram.size())
        qDebug("mo%d: sendRDS %d != %d", index, written, int(datagram.size()));
    return written;
}

bool BoardLink::configBand(bool onAir, int band, int attnDb, unsigned osciMHz)
{
    dropPending("CF-");
    qDebug("mo%d: CFG on=%d band=%d attn=%ddB", index, int(onAir), band,
           onAir ? attnDb : kAttnOffDb);
    const QList<QByteArray> datagrams =
        BoardCommand::bandConfig(info.type(), onAir, attnDb, band, osciMHz);
    QList<int> written;
    for (QByteArray datagram : datagrams)
        written.append(sendPacket(datagram));
    if (datagrams.size() == 1)
        return written.first() == datagrams.first().size();
    const bool ok = written.at(0) == kBandDatagramSize && written.at(1) == kBandDatagramSize;
    if (!ok)
        qDebug("mo%d: band %d failed %d,%d != 31", index, band, written.at(0), written.at(1));
    return ok;
}

bool BoardLink::enlargeSendBuffer()
{
    if (!udp || udp->socketDescriptor() < 0)
        return false;
    udp->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    // Linux reports twice what it granted (the doubled value includes its
    // bookkeeping), so only a smaller value means the request failed.
    const int granted = udp->socketOption(QAbstractSocket::SendBufferSizeSocketOption).toInt();
    if (granted < kSendBufferBytes) {
        qDebug("mo%d: set udp send buffer size to 512k failed, got %dk", index, granted / 1024);
        return false;
    }
    return true;
}

void BoardLink::readUdp()
{
    while (udp && udp->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = udp->receiveDatagram();
        dispatchPacket(datagram.data());
    }
}

void BoardLink::dispatchPacket(const QByteArray& datagram)
{
    const std::optional<quint16> type = BoardDatagram::type(datagram);
    if (!type)
        return;
    lastReceive = now();
    switch (*type) {
    case BoardDatagram::kInfo:
        onInfo(datagram);
        break;
    case BoardDatagram::kInfoSecond:
        qDebug("mo%d: packet %.4x %d", index, *type, int(datagram.size()));
        break;
    case BoardDatagram::kAck:
        onAck(datagram);
        break;
    case BoardDatagram::kStatus:
        onStatus(datagram);
        break;
    case BoardDatagram::kLockState:
        onLock(datagram);
        break;
    default:
        qDebug("mo%d: unknown packet (0x%04X len=%i)", index, *type, int(datagram.size()));
        break;
    }
    expirePending();
}

void BoardLink::onInfo(const QByteArray& datagram)
{
    const std::optional<BoardInfo> reply = BoardDatagram::readInfo(datagram);
    if (!reply) {
        qDebug("mo%d: short info %d", index, int(datagram.size()));
        return;
    }
    if (!reply->isKnown()) {
        qDebug("mo%d: info with unknown tag %08X", index, reply->tag);
        return;
    }
    info = *reply;
    for (SlotFill& fill : fills)
        fill.setCapacity(int(info.pcmCapacity));
    qDebug("mo%d: #%03d %8X info v%d pcm:%d rds:%d [%s]", index, info.number, info.tag,
           int(info.firmware), int(info.pcmCapacity), int(info.rdsCapacity),
           datagram.mid(BoardDatagram::kInfoMinSize).toHex(' ').constData());
    emit infoReceived(info);
}

void BoardLink::onAck(const QByteArray& datagram)
{
    const quint32 key = BoardDatagram::sequenceKey(datagram);
    if (!pending.remove(key))
        qDebug("mo%d: ack %.08x unknown", index, key);
}

void BoardLink::noteSent(int slot, int pcmFrames, int rdsWords)
{
    if (slot >= 0 && slot < kSlots)
        fills[slot].noteSent(pcmFrames, rdsWords);
}

bool BoardLink::statusRequestDue() const
{
    return !statusAskedAt || now() - *statusAskedAt > SlotFill::kRequestLifeMs;
}

void BoardLink::noteStatusRequest()
{
    const qint64 at = now();
    statusAskedAt = at;
    for (int slot = 0; slot < kSlots; ++slot) {
        fills[slot].setPcmRate(nominalRate(slot));
        fills[slot].noteRequest(at);
    }
}

int BoardLink::pcmFill(int slot) const
{
    return slot >= 0 && slot < kSlots ? fills[slot].pcm(now()) : 0;
}

int BoardLink::rdsFill(int slot) const
{
    return slot >= 0 && slot < kSlots ? fills[slot].rds() : 0;
}

void BoardLink::forgetPcm(int slot, int frames)
{
    if (slot >= 0 && slot < kSlots)
        fills[slot].forgetPcm(frames, now());
}

void BoardLink::onStatus(const QByteArray& datagram)
{
    constexpr int kStatusHeader = 4;
    if (datagram.size() < kStatusHeader)
        return;
    const auto entries = BoardDatagram::readStatus(datagram);
    if (!entries) {
        qDebug("mo%d: bad status reply %d", index, int(datagram.size()));
        return;
    }
    const qint64 at = now();
    statusAskedAt.reset();
    for (int slot = 0; slot < entries->size(); ++slot) {
        const StatusEntry& entry = entries->at(slot);
        const auto interval = fills[slot].noteReply(entry.pcmFill, entry.rdsFill, at);
        StatusRates::update(status[slot], entry, interval, nominalRate(slot));
        if (store)
            store->setChannelStatus(index * kSlots + slot + 1, status[slot]);
    }
    emit statusReceived();
}

void BoardLink::onLock(const QByteArray& datagram)
{
    const std::optional<BoardLock> lock = BoardDatagram::readLock(datagram);
    if (!lock) {
        qDebug("mo%d: unknown lock %d", index, int(datagram.size()));
        emit lockUnknown(int(datagram.size()));
        return;
    }
    emit lockReceived(*lock, int(datagram.size()));
}

void BoardLink::expirePending()
{
    if (!pending.isEmpty() && now() - lastCommand >= kAckTimeoutMs) {
        dropPending("CF!");
        lastCommand = now();
    }
}

void BoardLink::dropPending(const char* reason)
{
    if (pending.isEmpty())
        return;
    qDebug("mo%d: %s %d", index, reason, int(pending.size()));
    pending.clear();
}
