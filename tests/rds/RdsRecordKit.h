#pragma once

// What the RDS monitor takes in, made here: group records as the board
// engine publishes them, built from blocks, and a source whose encoder sends
// every kind of text the monitor decodes.

#include "board/RdsEncoder.h"
#include "board/RdsGroupBytes.h"
#include "settings/RDSSource.h"
#include "settings/RdsLogRecord.h"

#include <QDateTime>
#include <QList>

using Blocks = QList<int>; // A, B, C, D

// A record of a group with correct check words; dataFlips and checkFlips are
// XORed into the data and check words afterwards, as noise on air would.
inline QByteArray record(const Blocks& blocks, const Blocks& dataFlips = {0, 0, 0, 0},
                         const Blocks& checkFlips = {0, 0, 0, 0}, QTime sent = QTime(12, 0))
{
    RdsGroup group;
    for (int i = 0; i < 4; ++i)
        group.blocks[i] = quint16(blocks[i]);
    group.computeCheckwords();
    for (int i = 0; i < 4; ++i) {
        group.blocks[i] ^= quint16(dataFlips[i]);
        group.checks[i] ^= quint16(checkFlips[i]);
    }
    return RdsLogRecord::make(RdsGroupBytes::fromGroup(group).bytes.data(), sent);
}

// PI 0x2345 (its records begin with the byte of '#'), PS, a RadioText with
// two RT+ tags filled from ID3 tags, an eRT in UTF-8, three manual AFs under
// method A and a local time 1.5 hours west of UTC; 0A, 2A, 3A, 4A, RT+ in
// 11A and eRT in 12A at 60 groups per minute each.
inline RDSSource encodedSource()
{
    RDSSource source;
    source.pi = 0x2345;
    source.ps = "QUORVIN ";
    source.rta = "$0 - $1";
    source.rttag = {RTag{1, "Title"}, RTag{4, "Artist"}};
    source.rtitm = 1 | 8;
    source.rtc = QString::fromUtf8("Grüße ≠ Gruesse");
    source.rtxt = 8 | 64 | 128;
    source.rtgrp = 11;
    source.ertg = 12;
    source.afu = 1 | 4; // AF on, manual list, method A
    source.afs = {AFEntry{876, 0, 0, 0}, AFEntry{1000, 0, 0, 0}, AFEntry{1530, 0, 0, 0}};
    source.zone = -3;
    source.mode = 0x01;
    source.gmin = {};
    for (int type : {0, 2, 3, 4, 11, 12}) {
        source.gmin[type].on = 1;
        source.gmin[type].rate[0] = 60;
    }
    return source;
}

// The encoder of a source on 95.8 MHz, with the ID3 tags that fill the RT+
// tags and the clock time 2024-05-05 08:00 UTC for its one 4A group.
inline void startEncoder(RdsEncoder& encoder, const RDSSource& source)
{
    encoder.setSource(source, 95.8);
    encoder.setTags({{"Title", "Yesterday"}, {"Artist", "Beatles"}});
    encoder.setTime(QDateTime(QDate(2024, 5, 5), QTime(8, 0), Qt::UTC));
}
