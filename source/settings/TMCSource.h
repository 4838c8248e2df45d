#pragma once

#include "settings/TMCMessage.h"

#include <QList>
#include <QString>

#include <array>

// One traffic message channel service with its messages.
struct TMCSource
{
    quint8 used = 0;
    QString name;
    QString spn;
    quint8 flag = 9;
    quint8 rate = 15;
    quint16 aid = 0xCD46;
    quint8 rpt = 3;
    quint8 enc = 31;
    quint16 va0 = 0x0047;
    quint16 va1 = 0x400D;
    quint16 va2 = 0x80E0;
    quint16 va3 = 0xC000;
    std::array<quint16, 32> skt{};
    QList<TMCMessage> messages;

    bool operator==(const TMCSource&) const = default;
};
