#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QtGlobal>

// The lock of a board as its lock-state reply tells it: who holds it and
// which clients the board has seen lately.
struct BoardLock
{
    struct Client
    {
        quint32 ipv4 = 0;
        quint16 port = 0;
        quint16 lastSeen = 0; // tenths of a second ago
    };

    static constexpr int kIdentitySize = 16; // random byte + 15 name bytes
    static constexpr int kNameSize = kIdentitySize - 1;

    quint32 holderIpv4 = 0;
    quint16 holderPort = 0;
    QByteArray holderIdentity; // kIdentitySize bytes
    QList<Client> clients;     // only when the reply carries them

    // "user@computer" as the lock carries it. The computer name is
    // COMPUTERNAME where it is set, else the host name.
    static QString ownerName();
};

Q_DECLARE_METATYPE(BoardLock)
