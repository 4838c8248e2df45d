#include "board/RdsLogRecord.h"

#include "board/RdsGroupBytes.h"

#include <QtEndian>

QByteArray RdsLogRecord::make(const quint8* groupBytes, qint32 msSinceMidnight)
{
    QByteArray record(kSize, '\0');
    memcpy(record.data(), groupBytes, RdsGroupBytes::kSize);
    qToLittleEndian<qint32>(msSinceMidnight, record.data() + RdsGroupBytes::kSize);
    return record;
}

bool RdsLogRecord::read(const QByteArray& record, quint8* groupBytes, qint32* msSinceMidnight)
{
    if (record.size() != kSize)
        return false;
    memcpy(groupBytes, record.constData(), RdsGroupBytes::kSize);
    *msSinceMidnight = qFromLittleEndian<qint32>(record.constData() + RdsGroupBytes::kSize);
    return true;
}
