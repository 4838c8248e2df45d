#pragma once

#include "board/BoardIP.h"

#include <QByteArray>

#include <array>
#include <optional>

// The broadcast datagrams that find boards and set their addresses.
class DiscoverDatagram
{
public:
    enum Type : quint16
    {
        kDiscover = 0x0050,
        kAnswer = 0x0051,
        kConfig = 0x0052,
        kConfigAck = 0x0053,
    };

    static constexpr quint16 kPort = 21519;
    static constexpr int kDiscoverSize = 6;
    static constexpr int kAnswerPayload = 12; // after the type
    static constexpr int kConfigSize = 14;

    // broadcast: the address the request is sent to, numeric.
    static QByteArray discover(quint32 broadcast);
    static QByteArray config(const std::array<quint8, 6>& mac, quint32 ipv4, quint16 port);
    // payload: the answer's bytes after the type; exactly 12 are accepted.
    static std::optional<BoardIP> readAnswer(const QByteArray& payload);
};
