#pragma once

#include "board/RdsGroup.h"

#include <QList>
#include <QMap>
#include <QTime>

// What the RDS monitor knows of one channel: its last group as received and
// the statistics of the group types it has sent.
struct RdsChannelState
{
    // Check words stay at 0x400 (outside 10 bits) until a group arrives.
    RdsGroup group;
    QTime time;
    quint8 errors = 0;
    // Bit n set: block n (A = 0 ... D = 3) failed its check.
    quint8 errorFlags = 0;
    int since8A = 0;
    // The keys of counts in ascending order: the rows of the statistics table.
    QList<int> rows;
    // Groups per group code (B >> 11); the total is kept under kTotal.
    QMap<int, int> counts;
    QMap<quint16, quint16> odaTypes;    // AID -> application group code
    QMap<quint16, quint16> odaMessages; // application group code -> block C

    static constexpr int kTotal = 512; // above every group code, so it sorts last
};
