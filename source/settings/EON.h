#pragma once

#include "settings/AFEntry.h"

#include <QList>
#include <QString>

// One other network; channel 0 means entered by hand, otherwise the entry
// follows the RDS source of that channel.
struct EON
{
    quint8 channel = 0;
    quint8 pty = 0;
    quint8 tp = 0;
    quint8 ta = 0;
    quint16 pi = 0;
    quint16 link = 0;
    QString ps;
    QList<AFEntry> af;

    bool operator==(const EON&) const = default;
};
