#include "board/BoardDatagram.h"

#include "board/BigEndian.h"

#include <QtEndian>

namespace {

using BigEndian::append16;

quint16 read16(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

quint32 read32(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

QByteArray streamHeader(BoardDatagram::Type type, int slot, quint8 kind, quint16 count)
{
    QByteArray header;
    append16(header, type);
    header.append('\0');
    header.append(char(slot));
    header.append('\0');
    header.append(char(kind));
    append16(header, count);
    return header;
}

} // namespace

std::optional<quint16> BoardDatagram::type(const QByteArray& datagram)
{
    if (datagram.size() < kTypeSize)
        return std::nullopt;
    return read16(datagram, 0);
}

QByteArray BoardDatagram::request(Type type)
{
    QByteArray bytes;
    append16(bytes, type);
    return bytes;
}

QByteArray BoardDatagram::setLock(quint8 random, const QByteArray& ownerUtf8)
{
    QByteArray bytes = request(kSetLock);
    bytes.append(char(random));
    bytes.append(ownerUtf8.left(BoardLock::kNameSize));
    bytes.append(kSetLockSize - bytes.size(), '\0');
    return bytes;
}

QByteArray BoardDatagram::pcmStream(int slot, bool stereo, std::span<const qint16> samples)
{
    QByteArray bytes(qsizetype(samples.size() * 2), Qt::Uninitialized);
    qToLittleEndian<qint16>(samples.data(), qsizetype(samples.size()), bytes.data());
    return pcmStreamBytes(slot, stereo, bytes);
}

QByteArray BoardDatagram::pcmStreamBytes(int slot, bool stereo, const QByteArray& samples)
{
    const int frameSize = stereo ? 4 : 2;
    const quint16 frames = quint16(samples.size() / frameSize);
    return streamHeader(kPcmStream, slot, stereo ? kPcmStereo : kPcmMono, frames) +
           samples.left(frames * frameSize);
}

QByteArray BoardDatagram::rdsStream(int slot, const std::array<const uchar*, kRdsStreams>& streams,
                                    int length, bool fourStreams)
{
    length = qMax(length, 0);
    const int streamCount = fourStreams ? kRdsStreams : 1;
    const int payload = length * streamCount;
    QByteArray bytes = streamHeader(kRdsStream, slot, fourStreams ? kRdsFourStreams : kRdsOneStream,
                                    quint16(payload / 2));
    bytes.reserve(kStreamHeaderSize + payload);
    auto byteOf = [&](int stream, int at) {
        return streams[stream] != nullptr ? char(streams[stream][at]) : '\0';
    };
    if (!fourStreams) {
        for (int at = 0; at < length; ++at)
            bytes.append(byteOf(0, at));
        return bytes;
    }
    for (int pair = 0; pair < length; pair += 2) {
        for (int stream = 0; stream < kRdsStreams; ++stream) {
            for (int at = pair; at < pair + 2 && at < length; ++at)
                bytes.append(byteOf(stream, at));
        }
    }
    return bytes;
}

void BoardDatagram::stampSequence(QByteArray& command, quint32 sequence)
{
    Q_ASSERT(command.size() >= kSequenceEnd);
    for (int i = 0; i < 3; ++i)
        command[kTypeSize + i] = char((sequence >> (8 * i)) & 0xFF);
}

quint32 BoardDatagram::sequenceKey(const QByteArray& datagram)
{
    if (datagram.size() < kSequenceEnd)
        return 0;
    return qFromLittleEndian<quint32>(datagram.constData() + kTypeSize);
}

std::optional<BoardInfo> BoardDatagram::readInfo(const QByteArray& datagram)
{
    if (datagram.size() < kInfoMinSize)
        return std::nullopt;
    BoardInfo info;
    info.tag = read32(datagram, 2);
    info.firmware = read32(datagram, 6);
    info.pcmCapacity = read32(datagram, 12);
    info.rdsCapacity = read32(datagram, 16);
    if (datagram.size() >= kInfoExtraEnd)
        info.extra = datagram.mid(kInfoMinSize, kInfoExtraEnd - kInfoMinSize);
    if (datagram.size() >= kInfoNumberEnd)
        info.number = read16(datagram, kInfoExtraEnd);
    return info;
}

std::optional<QList<StatusEntry>> BoardDatagram::readStatus(const QByteArray& datagram)
{
    constexpr int kEntriesAt = 4;
    if (datagram.size() < kEntriesAt)
        return std::nullopt;
    const int count = read16(datagram, 2);
    if (count < 1 || count > kMaxStatusEntries ||
        count * kStatusEntrySize > datagram.size() - kEntriesAt)
        return std::nullopt;
    QList<StatusEntry> entries;
    const int used = qMin(count, kSlots);
    entries.reserve(used);
    for (int i = 0; i < used; ++i) {
        const int at = kEntriesAt + i * kStatusEntrySize;
        StatusEntry entry;
        entry.pcmFill = read16(datagram, at);
        entry.rdsFill = read16(datagram, at + 2);
        entry.flags = read16(datagram, at + 4);
        entry.power = qint32(read32(datagram, at + 6));
        entries.append(entry);
    }
    return entries;
}

std::optional<BoardLock> BoardDatagram::readLock(const QByteArray& datagram)
{
    constexpr int kClientSize = 8;
    if (datagram.size() < kLockMinSize)
        return std::nullopt;
    BoardLock lock;
    lock.holderIpv4 = read32(datagram, 2);
    lock.holderPort = read16(datagram, 6);
    lock.holderIdentity = datagram.mid(8, BoardLock::kIdentitySize);
    if (datagram.size() >= kLockClientsEnd) {
        for (int i = 0; i < kLockClients; ++i) {
            const int at = kLockMinSize + i * kClientSize;
            lock.clients.append(
                {read32(datagram, at), read16(datagram, at + 4), read16(datagram, at + 6)});
        }
    }
    return lock;
}
