#pragma once

#include <QDebug>
#include <QMetaType>
#include <QString>

#include <array>

// Where a board is: IPv4 address, UDP port and MAC address, as discovery
// reports it and as the board thread connects to it.
struct BoardIP
{
    quint32 ipv4 = 0; // numeric, as QHostAddress::toIPv4Address gives it
    quint16 port = 0;
    std::array<quint8, 6> mac{}; // wire order

    // The last two MAC bytes read big-endian; boards show it on their label.
    int boxNumber() const { return (mac[4] << 8) | mac[5]; }
    bool isSet() const { return ipv4 != 0 && port != 0; }

    // "192.168.1.20 : 21000"
    QString toString() const;
    QString macText() const;

    // "BOX IPV4 PORT" in decimal, as the application ini stores a board:
    // box number, the address as one number, the port.
    QString toText() const;
    // Reads that form over start: blank-separated pieces, an empty one or
    // one that is no unsigned decimal number reads as 0, a missing one
    // leaves its field. Piece 1 gives the MAC (its low 48 bits, most
    // significant byte first), an address beyond 32 bits or a port beyond
    // 16 bits reads as 0.
    static BoardIP fromText(const QString& text, BoardIP start);
    static BoardIP fromText(const QString& text) { return fromText(text, BoardIP()); }

    bool operator==(const BoardIP& other) const = default;
};

QDebug operator<<(QDebug debug, const BoardIP& address);

Q_DECLARE_METATYPE(BoardIP)
