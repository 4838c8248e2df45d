#include "board/DiscoverDatagram.h"

#include <QtEndian>

namespace {

void append16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

void append32(QByteArray& bytes, quint32 value)
{
    append16(bytes, quint16(value >> 16));
    append16(bytes, quint16(value & 0xFFFF));
}

} // namespace

QByteArray DiscoverDatagram::discover(quint32 broadcast)
{
    QByteArray bytes;
    append16(bytes, kDiscover);
    append32(bytes, broadcast);
    return bytes;
}

QByteArray DiscoverDatagram::config(const std::array<quint8, 6>& mac, quint32 ipv4, quint16 port)
{
    QByteArray bytes;
    append16(bytes, kConfig);
    for (quint8 byte : mac)
        bytes.append(char(byte));
    append32(bytes, ipv4);
    append16(bytes, port);
    return bytes;
}

std::optional<BoardIP> DiscoverDatagram::readAnswer(const QByteArray& payload)
{
    if (payload.size() != kAnswerPayload)
        return std::nullopt;
    BoardIP address;
    for (int i = 0; i < 6; ++i)
        address.mac[i] = quint8(payload.at(i));
    address.ipv4 = qFromBigEndian<quint32>(payload.constData() + 6);
    address.port = qFromBigEndian<quint16>(payload.constData() + 10);
    return address;
}
