#include "settings/RdsLogRecord.h"

QByteArray RdsLogRecord::make(const uchar* group, const QTime& timeOfDay)
{
    if (group == nullptr)
        return {};
    QByteArray record(reinterpret_cast<const char*>(group), kGroupBytes);
    const quint32 ms = quint32(timeOfDay.isValid() ? timeOfDay.msecsSinceStartOfDay() : 0);
    for (int shift = 0; shift < 32; shift += 8)
        record.append(char((ms >> shift) & 0xFF));
    return record;
}

QByteArray RdsLogRecord::groupBytes(const QByteArray& record)
{
    return isRecord(record) ? record.left(kGroupBytes) : QByteArray();
}

qint32 RdsLogRecord::msecsSinceMidnight(const QByteArray& record)
{
    if (!isRecord(record))
        return -1;
    quint32 ms = 0;
    for (int i = 0; i < 4; ++i)
        ms |= quint32(quint8(record.at(kGroupBytes + i))) << (8 * i);
    return qint32(ms);
}
