#pragma once

#include <QByteArray>
#include <QtGlobal>

// One event code of the TMC event lists (ISO 14819-2 structure).
struct TMCEventRecord
{
    static constexpr quint8 kNoQuantifier = 255;

    quint16 code = 0;
    quint16 row = 0;
    quint8 nature = 0; // 'F' forecast, 'S' silent, 0 none
    quint8 quantifier = kNoQuantifier;
    quint8 durationType = 0;   // 'D', 'L', or lower case for a bracketed letter
    quint8 directionality = 0; // 2: both directions
    quint8 urgency = 0;        // 'U', 'X'
    quint8 updateClass = 0;
    QByteArray english; // UTF-8
    QByteArray german;  // UTF-8
    QByteArray references;
};
