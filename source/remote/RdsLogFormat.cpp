#include "remote/RdsLogFormat.h"

#include <QStringList>

namespace {

constexpr int kGroupBytes = 13;
// Block D's data bits end in byte 11; a shorter record holds no whole group.
constexpr int kBlockBytes = 12;
constexpr int kTimeBytes = 4;
constexpr int kRecordBytes = kGroupBytes + kTimeBytes;

constexpr quint32 kMsPerSecond = 1000;
constexpr quint32 kMsPerMinute = 60 * kMsPerSecond;
constexpr quint32 kMsPerHour = 60 * kMsPerMinute;

uint byteAt(const QByteArray& record, int index)
{
    return uint(quint8(record.at(index)));
}

QString hex4(uint word)
{
    return QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0'));
}

RdsLogFormat::Part partOf(const QString& word)
{
    if (word.compare(QLatin1String("raw"), Qt::CaseInsensitive) == 0)
        return RdsLogFormat::Part::Raw;
    if (word.compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
        return RdsLogFormat::Part::Data;
    if (word.compare(QLatin1String("time"), Qt::CaseInsensitive) == 0)
        return RdsLogFormat::Part::Time;
    if (word.compare(QLatin1String("group"), Qt::CaseInsensitive) == 0)
        return RdsLogFormat::Part::Group;
    return RdsLogFormat::Part::None;
}

} // namespace

RdsLogFormat::RdsLogFormat()
{
    parts.fill(Part::None);
    parts[0] = Part::Data;
    parts[1] = Part::Group;
}

void RdsLogFormat::set(const QString& words)
{
    parts.fill(Part::None);
    const QStringList list = words.split(QLatin1Char(' '));
    for (int slot = 0; slot < kSlots && slot < list.size(); ++slot)
        parts[slot] = partOf(list.at(slot));
}

QString RdsLogFormat::format(const QByteArray& record) const
{
    QString text;
    for (Part part : parts) {
        switch (part) {
        case Part::Raw:
            text += rawPart(record);
            break;
        case Part::Data:
            text += dataPart(record);
            break;
        case Part::Time:
            text += timePart(record);
            break;
        case Part::Group:
            text += groupPart(record);
            break;
        case Part::None:
            break;
        }
    }
    return text;
}

QString RdsLogFormat::rawPart(const QByteArray& record)
{
    return QLatin1Char(' ') + QString::fromLatin1(record.left(kGroupBytes).toHex());
}

// The four 26-bit blocks are packed most significant bit first; each starts
// with its 16 data bits (A at bit 0, B at bit 26, C at bit 52, D at bit 78).
QString RdsLogFormat::dataPart(const QByteArray& record)
{
    if (record.size() < kBlockBytes)
        return QString();
    const uint a = byteAt(record, 0) << 8 | byteAt(record, 1);
    const uint b =
        (byteAt(record, 3) & 0x3F) << 10 | byteAt(record, 4) << 2 | byteAt(record, 5) >> 6;
    const uint c =
        (byteAt(record, 6) & 0x0F) << 12 | byteAt(record, 7) << 4 | byteAt(record, 8) >> 4;
    const uint d =
        (byteAt(record, 9) & 0x03) << 14 | byteAt(record, 10) << 6 | byteAt(record, 11) >> 2;
    return QStringLiteral(" %1 %2 %3 %4").arg(hex4(a), hex4(b), hex4(c), hex4(d));
}

QString RdsLogFormat::timePart(const QByteArray& record)
{
    if (record.size() < kRecordBytes)
        return QString();
    quint32 ms = 0;
    for (int i = 0; i < kTimeBytes; ++i)
        ms |= quint32(byteAt(record, kGroupBytes + i)) << (8 * i);
    return QStringLiteral(" %1:%2:%3.%4")
        .arg(ms / kMsPerHour, 2, 10, QLatin1Char('0'))
        .arg(ms / kMsPerMinute % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / kMsPerSecond % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % kMsPerSecond, 3, 10, QLatin1Char('0'));
}

// Group type and version are the top five bits of block B.
QString RdsLogFormat::groupPart(const QByteArray& record)
{
    if (record.size() < kBlockBytes)
        return QString();
    const uint type = (byteAt(record, 3) >> 2) & 0x0F;
    const bool versionB = byteAt(record, 3) & 0x02;
    return QStringLiteral(" %1%2").arg(type).arg(versionB ? QLatin1Char('B') : QLatin1Char('A'));
}
