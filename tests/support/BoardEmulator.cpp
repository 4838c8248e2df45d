#include "BoardEmulator.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QVariant>
#include <QtEndian>

#include <algorithm>
#include <cmath>

#include <sys/socket.h>

namespace {

constexpr int kMaxClients = 4;
constexpr quint16 kFillLimit = 0xFFFF;
constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;
constexpr quint16 kRateItem = 0x2605;
constexpr int kProgrammes = 96;

qint64 steadyNs()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer.nsecsElapsed();
}

// The sample rate a rate item's code byte selects.
double rateOfCode(quint8 code)
{
    switch (code) {
    case 0:
        return 32000.0;
    case 2:
        return 48000.0;
    default:
        return 44100.0;
    }
}

quint16 be16(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

quint32 be32(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

void put16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

void put32(QByteArray& bytes, quint32 value)
{
    put16(bytes, quint16(value >> 16));
    put16(bytes, quint16(value & 0xFFFF));
}

} // namespace

QList<quint16> BoardEmulator::Datagram::tags() const
{
    QList<quint16> list;
    for (const Item& entry : items)
        list.append(entry.tag);
    return list;
}

QByteArray BoardEmulator::Datagram::item(quint16 tag) const
{
    for (const Item& entry : items) {
        if (entry.tag == tag)
            return entry.value;
    }
    return {};
}

BoardEmulator::BoardEmulator(QObject* parent)
    : QObject(parent), socket(new QUdpSocket(this)), drainClock(steadyNs)
{
    qRegisterMetaType<BoardEmulator::Datagram>();
    lastDrainNs = drainClock();
    connect(socket, &QUdpSocket::readyRead, this, &BoardEmulator::readPending);
}

BoardEmulator::~BoardEmulator() = default;

bool BoardEmulator::start(const QHostAddress& address, quint16 port)
{
    if (!socket->bind(address, port))
        return false;
    // A real board reads at wire speed; the emulator shares its thread with
    // a test, or its process with three more boards, so it keeps a second of
    // streams queued. The kernel caps the ordinary request (rmem_max); a
    // privileged process may ask past the cap.
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption,
                            QVariant(kReceiveBufferBytes));
#ifdef SO_RCVBUFFORCE
    const int bytes = kReceiveBufferBytes;
    setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes);
#endif
    return true;
}

void BoardEmulator::stop()
{
    socket->close();
}

QHostAddress BoardEmulator::address() const
{
    return socket->localAddress();
}

quint16 BoardEmulator::port() const
{
    return socket->localPort();
}

void BoardEmulator::setCapacities(quint32 pcmFrames, quint32 rdsWords)
{
    pcmCapacity = pcmFrames;
    rdsCapacity = rdsWords;
}

void BoardEmulator::setAnnouncedAddress(quint32 ipv4, quint16 port)
{
    announcedIpv4 = ipv4;
    announcedPort = port;
}

void BoardEmulator::setDraining(bool on)
{
    drain();
    draining = on;
}

void BoardEmulator::setClock(Clock clock)
{
    drain();
    drainClock = std::move(clock);
    lastDrainNs = drainClock();
}

void BoardEmulator::setLockHolder(quint32 ipv4, quint16 port, const QByteArray& identity)
{
    holderIpv4 = ipv4;
    holderPort = port;
    holderIdentity = identity.leftJustified(16, '\0', true);
}

QList<BoardEmulator::Datagram> BoardEmulator::receivedOfType(quint16 type) const
{
    QList<Datagram> list;
    std::copy_if(log.cbegin(), log.cend(), std::back_inserter(list),
                 [type](const Datagram& d) { return d.type == type; });
    return list;
}

void BoardEmulator::sendToPeer(const QByteArray& datagram)
{
    sendTo(datagram, lastPeer, lastPeerPort);
}

void BoardEmulator::sendTo(const QByteArray& datagram, const QHostAddress& to, quint16 port)
{
    socket->writeDatagram(datagram, to, port);
}

void BoardEmulator::readPending()
{
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram received = socket->receiveDatagram();
        Datagram datagram = decode(received.data(), logPcm);
        datagram.from = received.senderAddress();
        datagram.fromPort = quint16(received.senderPort());
        lastPeer = datagram.from;
        lastPeerPort = datagram.fromPort;
        noteClient(datagram.from, datagram.fromPort);
        if (logPcm || datagram.type != PcmStream)
            log.append(datagram);
        if (!silent)
            answer(datagram);
        else
            count(datagram);
        emit datagramReceived(datagram);
    }
}

BoardEmulator::Datagram BoardEmulator::decode(const QByteArray& bytes, bool samples) const
{
    Datagram d;
    d.bytes = bytes;
    if (bytes.size() < 2)
        return d;
    d.type = be16(bytes, 0);
    switch (d.type) {
    case Command: {
        if (bytes.size() < 6) {
            d.itemsComplete = false;
            break;
        }
        d.sequence = quint8(bytes[2]) | quint8(bytes[3]) << 8 | quint8(bytes[4]) << 16;
        d.target = quint8(bytes[5]);
        int at = 6;
        while (at + 2 <= bytes.size()) {
            const quint16 tag = be16(bytes, at);
            const int length = tag & 0xFF;
            if (at + 2 + length > bytes.size()) {
                d.itemsComplete = false;
                break;
            }
            d.items.append({tag, bytes.mid(at + 2, length)});
            at += 2 + length;
        }
        if (at != bytes.size())
            d.itemsComplete = false;
        break;
    }
    case PcmStream:
    case RdsStream:
        if (bytes.size() < 8)
            break;
        d.slot = quint8(bytes[3]);
        d.kind = quint8(bytes[5]);
        d.count = be16(bytes, 6);
        d.payload = bytes.mid(8);
        if (d.type == PcmStream && samples) {
            for (int at = 0; at + 1 < d.payload.size(); at += 2)
                d.samples.append(qFromLittleEndian<qint16>(d.payload.constData() + at));
        }
        break;
    case SetLock:
        if (bytes.size() < 3)
            break;
        d.lockRandom = quint8(bytes[2]);
        d.lockName = bytes.mid(3);
        if (d.lockName.contains('\0'))
            d.lockName.truncate(d.lockName.indexOf('\0'));
        break;
    case Discover:
        if (bytes.size() >= 6)
            d.broadcast = be32(bytes, 2);
        break;
    case NetConfig:
        if (bytes.size() >= 14) {
            for (int i = 0; i < 6; ++i)
                d.configMac[i] = quint8(bytes[2 + i]);
            d.configIpv4 = be32(bytes, 8);
            d.configPort = be16(bytes, 12);
        }
        break;
    default:
        break;
    }
    return d;
}

void BoardEmulator::answer(const Datagram& d)
{
    switch (d.type) {
    case InfoRequest:
        sendToPeer(infoReply());
        break;
    case StatusRequest:
        sendToPeer(statusReply());
        break;
    case LockQuery:
        sendToPeer(lockReply());
        break;
    case SetLock:
        if (d.bytes.size() >= 18)
            setLockHolder(d.from.toIPv4Address(), d.fromPort, d.bytes.mid(2, 16));
        break;
    case Unlock:
        clearLock();
        break;
    case Command:
        followRate(d);
        if (ackEnabled && d.bytes.size() >= 6) {
            QByteArray ack;
            put16(ack, Ack);
            ack.append(d.bytes.mid(2, 4));
            sendToPeer(ack);
        }
        break;
    case PcmStream:
    case RdsStream:
        count(d);
        break;
    case Discover:
        if (answerDiscovery) {
            QByteArray reply;
            put16(reply, DiscoverAnswer);
            for (quint8 byte : macAddress)
                reply.append(char(byte));
            put32(reply, announcedIpv4 != 0 ? announcedIpv4 : ipv4());
            put16(reply, announcedPort != 0 ? announcedPort : port());
            sendToPeer(reply);
        }
        break;
    case NetConfig:
        if (d.bytes.size() >= 14 && d.configMac == macAddress) {
            setAnnouncedAddress(d.configIpv4, d.configPort);
            QByteArray reply;
            put16(reply, NetConfigAck);
            sendToPeer(reply);
        }
        break;
    default:
        break;
    }
}

// A stream datagram fills its slot's buffer.
void BoardEmulator::count(const Datagram& d)
{
    if ((d.type != PcmStream && d.type != RdsStream) || d.slot < 0 || d.slot >= kSlots)
        return;
    drain();
    SlotState& s = slotStates[d.slot];
    if (d.type == PcmStream) {
        const double room = std::min<double>(pcmCapacity, kFillLimit) - s.pcmFill;
        if (d.count > room) {
            ++s.pcmOverflows;
            s.pcmFramesDropped += qint64(std::ceil(d.count - room));
            s.overflowSinceReply = true;
        }
        s.pcmFill += std::clamp<double>(d.count, 0.0, std::max(0.0, room));
        s.fed = true;
        ++s.pcmDatagrams;
        s.pcmFrames += d.count;
    } else {
        const double room = std::min<double>(rdsCapacity, kFillLimit) - s.rdsFill;
        if (d.count > room)
            ++s.rdsOverflows;
        s.rdsFill += std::clamp<double>(d.count, 0.0, std::max(0.0, room));
        ++s.rdsDatagrams;
    }
}

// A channel plays at the rate its last sample-rate item chose.
void BoardEmulator::followRate(const Datagram& d)
{
    const QByteArray rate = d.item(kRateItem);
    if (rate.isEmpty() || d.target < 1 || d.target > kProgrammes)
        return;
    drain();
    slotStates[(d.target - 1) % kSlots].pcmRate = rateOfCode(quint8(rate.at(0)));
}

void BoardEmulator::clearReceived()
{
    log.clear();
    for (SlotState& s : slotStates) {
        s.pcmDatagrams = 0;
        s.pcmFrames = 0;
        s.rdsDatagrams = 0;
        s.underruns = 0;
        s.pcmOverflows = 0;
        s.pcmFramesDropped = 0;
        s.rdsOverflows = 0;
    }
}

int BoardEmulator::totalUnderruns() const
{
    int sum = 0;
    for (const SlotState& s : slotStates)
        sum += s.underruns;
    return sum;
}

int BoardEmulator::totalOverflows() const
{
    int sum = 0;
    for (const SlotState& s : slotStates)
        sum += s.pcmOverflows;
    return sum;
}

void BoardEmulator::drain()
{
    // Nanoseconds: datagrams come far less than a millisecond apart, and a
    // clock in whole milliseconds would lose most of the time between them.
    const qint64 nowNs = drainClock();
    const double seconds = (nowNs - lastDrainNs) * 1e-9;
    lastDrainNs = nowNs;
    if (!draining)
        return;
    for (SlotState& s : slotStates) {
        const double pcmLeft = s.pcmFill - s.pcmRate * seconds;
        if (s.fed && pcmLeft < 0.0 && s.pcmFill > 0.0) {
            ++s.underruns;
            s.underflowSinceReply = true;
        }
        s.pcmFill = std::max(0.0, pcmLeft);
        s.rdsFill = std::max(0.0, s.rdsFill - s.rdsRate * seconds);
    }
}

QByteArray BoardEmulator::infoReply() const
{
    QByteArray reply;
    put16(reply, InfoReply);
    reply.append(boardTag);
    put32(reply, firmware);
    put16(reply, 0);
    put32(reply, pcmCapacity);
    put32(reply, rdsCapacity);
    reply.append(infoExtra);
    put16(reply, boxNumber);
    if (infoReplySize > 0)
        reply.truncate(infoReplySize);
    return reply;
}

QByteArray BoardEmulator::statusReply()
{
    drain();
    QByteArray reply;
    put16(reply, StatusReply);
    put16(reply, quint16(statusSlots));
    for (int i = 0; i < statusSlots; ++i) {
        const SlotState& s = slotStates[i % kSlots];
        put16(reply, quint16(s.pcmFill));
        put16(reply, quint16(s.rdsFill));
        put16(reply, quint16(s.flags | (s.underflowSinceReply ? kPcmUnderflowFlag : 0) |
                             (s.overflowSinceReply ? kPcmOverflowFlag : 0)));
        put32(reply, quint32(s.power));
    }
    // The two flags tell of what happened since the last reply.
    for (SlotState& s : slotStates) {
        s.underflowSinceReply = false;
        s.overflowSinceReply = false;
    }
    return reply;
}

QByteArray BoardEmulator::lockReply() const
{
    QByteArray reply;
    put16(reply, LockState);
    put32(reply, holderIpv4);
    put16(reply, holderPort);
    reply.append(holderIdentity);
    for (int i = 0; i < kMaxClients; ++i) {
        if (i < clients.size()) {
            put32(reply, clients[i].ipv4);
            put16(reply, clients[i].port);
            put16(reply, quint16(std::min<qint64>(clients[i].seen.elapsed() / 100, 0xFFFF)));
        } else {
            reply.append(8, '\0');
        }
    }
    return reply;
}

void BoardEmulator::noteClient(const QHostAddress& from, quint16 port)
{
    const quint32 ip = from.toIPv4Address();
    auto known = std::find_if(clients.begin(), clients.end(),
                              [&](const Client& c) { return c.ipv4 == ip && c.port == port; });
    if (known == clients.end()) {
        if (clients.size() == kMaxClients)
            clients.removeFirst();
        clients.append({ip, port, {}});
        known = clients.end() - 1;
    }
    known->seen.start();
}
