#include "settings/ListCodecs.h"

#include <QStringList>

#include <cstdlib>
#include <limits>

namespace {

QStringList fieldsKeepingEmpty(const QString& text)
{
    return text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

qint32 signedOrZero(const QString& field)
{
    bool ok = false;
    const qint32 value = field.toInt(&ok, 10);
    return ok ? value : 0;
}

quint32 unsignedOrZero(const QString& field, int base)
{
    bool ok = false;
    const quint32 value = field.toUInt(&ok, base);
    return ok ? value : 0;
}

} // namespace

QString pairsToText(const QList<AFEntry>& list)
{
    QStringList fields;
    fields.reserve(list.size());
    for (const AFEntry& entry : list) {
        const qint64 freq =
            entry.marker == AFEntry::kNegativeMarker ? -qint64(entry.freq) : qint64(entry.freq);
        fields.append(QString::number(freq));
    }
    return fields.join(QLatin1Char(' '));
}

QList<AFEntry> afListFromText(const QString& text, const QList<qint32>& regionalList)
{
    QList<AFEntry> list;
    for (const QString& field : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint32 value = field.toInt(&ok, 10);
        if (!ok)
            continue;
        AFEntry entry;
        entry.freq = value == std::numeric_limits<qint32>::min()
                         ? std::numeric_limits<qint32>::max()
                         : std::abs(value);
        entry.marker = value < 0 ? AFEntry::kNegativeMarker : 0;
        entry.regional = regionalList.contains(entry.freq) ? 1 : 0;
        list.append(entry);
    }
    return list;
}

QString fiveFieldsToText(const GroupRate& rate)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(uint(rate.on))
        .arg(rate.rate[0])
        .arg(rate.rate[1])
        .arg(rate.rate[2])
        .arg(rate.rate[3]);
}

void parseFiveInts(GroupRate& rate, const QString& text)
{
    const QStringList fields = fieldsKeepingEmpty(text);
    if (fields.size() > 0)
        rate.on = signedOrZero(fields[0]) != 0 ? 1 : 0;
    for (int i = 1; i < 5 && i < fields.size(); ++i)
        rate.rate[i - 1] = signedOrZero(fields[i]);
}

QString wordsToHex(const ODARow& row)
{
    QStringList fields;
    for (quint16 word : row.data)
        fields.append(QString::number(word, 16));
    for (quint16 word : row.check)
        fields.append(QString::number(word, 16));
    for (qint32 rate : row.rate)
        fields.append(QString::number(rate));
    fields.append(QString::number(row.active));
    return fields.join(QLatin1Char(' '));
}

void parseThirteenWords(ODARow& row, const QString& text)
{
    const QStringList fields = fieldsKeepingEmpty(text);
    const int count = int(fields.size());
    for (int i = 0; i < 4 && i < count; ++i)
        row.data[i] = quint16(unsignedOrZero(fields[i], 16));
    for (int i = 4; i < 8 && i < count; ++i)
        row.check[i - 4] = quint16(unsignedOrZero(fields[i], 16));
    for (int i = 8; i < 12 && i < count; ++i)
        row.rate[i - 8] = signedOrZero(fields[i]);
    if (count > 12)
        row.active = signedOrZero(fields[12]) != 0 ? 1 : 0;
}

QString eonToText(const EON& entry)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(entry.channel)
        .arg(entry.pi, 0, 16)
        .arg(entry.pty)
        .arg(entry.tp)
        .arg(entry.ta)
        .arg(entry.link, 0, 16);
}

void eonFromText(EON& entry, const QString& text)
{
    const QStringList fields = fieldsKeepingEmpty(text);
    const int count = int(fields.size());
    if (count > 0)
        entry.channel = quint8(unsignedOrZero(fields[0], 10));
    if (count > 1)
        entry.pi = quint16(unsignedOrZero(fields[1], 16));
    if (count > 2)
        entry.pty = quint8(unsignedOrZero(fields[2], 10));
    if (count > 3)
        entry.tp = quint8(unsignedOrZero(fields[3], 10));
    if (count > 4)
        entry.ta = quint8(unsignedOrZero(fields[4], 10));
    if (count > 5)
        entry.link = quint16(unsignedOrZero(fields[5], 16));
}
