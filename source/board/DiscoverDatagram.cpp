#include "board/DiscoverDatagram.h"

#include "board/BigEndian.h"

#include <QtEndian>

using BigEndian::append16;
using BigEndian::append32;

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
