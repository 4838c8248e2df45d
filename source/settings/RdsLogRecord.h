#pragma once

#include <QByteArray>
#include <QTime>

// One RDS group as it went on air: the 13 packed group bytes followed by the
// time of day in milliseconds since midnight, little-endian. The store only
// passes these records on; it never looks inside the group bytes.
class RdsLogRecord
{
public:
    static constexpr int kGroupBytes = 13;
    static constexpr int kSize = kGroupBytes + 4;

    // Null when group is null.
    static QByteArray make(const uchar* group, const QTime& timeOfDay);

    static bool isRecord(const QByteArray& record) { return record.size() == kSize; }
    // Both read only a record of kSize bytes; anything else gives an empty
    // group and -1.
    static QByteArray groupBytes(const QByteArray& record);
    static qint32 msecsSinceMidnight(const QByteArray& record);
};
