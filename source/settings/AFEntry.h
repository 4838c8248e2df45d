#pragma once

#include <QtGlobal>

// One alternative frequency: frequency x10 (958 = 95.8 MHz; LF/MF in kHz x10).
struct AFEntry
{
    static constexpr quint16 kNegativeMarker = 6666; // written as a negative number

    qint32 freq = 0;
    quint16 marker = 0;
    quint8 regional = 0; // also in the regional list (method B)
    quint8 spare = 0;

    bool operator==(const AFEntry&) const = default;
};
