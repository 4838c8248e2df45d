#pragma once

#include <QByteArray>
#include <QtGlobal>

// One logged group: the 13 packed bytes followed by a little-endian signed
// 32-bit count of milliseconds since midnight.
class RdsLogRecord
{
public:
    static constexpr int kSize = 17;

    static QByteArray make(const quint8* groupBytes, qint32 msSinceMidnight);
    // False for a record that is not exactly 17 bytes long.
    static bool read(const QByteArray& record, quint8* groupBytes, qint32* msSinceMidnight);
};
