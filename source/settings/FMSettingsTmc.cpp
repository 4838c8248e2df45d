// TMC source operations: new/remove, system information, service key table
// and the message list.
#include "settings/FMSettings.h"

#include "settings/SourceNumbers.h"

#include <QDebug>
#include <QWriteLocker>

#include <algorithm>
#include <iterator>
#include <tuple>

namespace {

QString tmcPath(int id, const QString& key)
{
    return QStringLiteral("tmc.%1/").arg(id) + key;
}

QString tmcKey(int id, const char* key)
{
    return tmcPath(id, QLatin1String(key));
}

// Location table number, service identifier and country codes as they sit
// in the variant words of group 3A (ISO 14819-1, system information).
constexpr int kLtnShift = 6;
constexpr int kSixBits = 63;
constexpr int kLtccMask = 15;
constexpr int kLteccMask = 255;
constexpr quint16 kVa0NoLtccBit = 16;

// A field of group 3A that a client may set on its own, and the variant
// word that carries it.
struct WordField
{
    QLatin1String name;
    QLatin1String word;
    int base;
    quint16 mask;
    int shift;
};

constexpr WordField kWordFields[] = {
    {QLatin1String("ltn"), QLatin1String("va0"), 10, kSixBits, kLtnShift},
    {QLatin1String("sid"), QLatin1String("va1"), 10, kSixBits, kLtnShift},
    {QLatin1String("ltcc"), QLatin1String("va1"), 16, kLtccMask, 0},
    {QLatin1String("ltecc"), QLatin1String("va2"), 16, kLteccMask, 0},
};

QString sktText(const std::array<quint16, 32>& skt)
{
    QStringList words;
    for (quint16 word : skt)
        words.append(QString::number(word, 16));
    return words.join(QLatin1Char(' '));
}

} // namespace

int FMSettings::newTMC()
{
    QWriteLocker locker(&recordsLock);
    int row = 0;
    for (auto it = tmcMap.begin(); it != tmcMap.end(); ++it, ++row) {
        if (it->used || it.key() < 1)
            continue;
        it->used = 1;
        setValue(tmcKey(it.key(), "used"), 1);
        return row;
    }
    const int id = nextSourceNumber(tmcMap);
    TMCSource source;
    source.used = 1;
    source.name = QStringLiteral("TMC-%1").arg(id);
    source.spn = QStringLiteral("SPN-%1").arg(id);
    qDebug("FMS: new TMC source [%s]", qPrintable(source.name));
    const auto inserted = tmcMap.insert(id, source);
    setValue(tmcKey(id, "used"), true);
    setValue(tmcKey(id, "name"), source.name);
    setValue(tmcKey(id, "spn"), source.spn);
    // Missing keys read differently from the record defaults (rate, the
    // variant words), so the new source goes into the file whole.
    writeTMCSystemInfo(id, source);
    return int(std::distance(tmcMap.begin(), inserted));
}

bool FMSettings::removeTMC(int id)
{
    QWriteLocker locker(&recordsLock);
    auto it = tmcMap.find(id);
    if (id < 1 || it == tmcMap.end())
        return false;
    it->used = 0;
    setValue(tmcKey(id, "used"), 0);
    return true;
}

bool FMSettings::setTMCName(int id, const QString& name)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    tmcMap[id].name = name;
    setValue(tmcKey(id, "name"), name);
    return true;
}

bool FMSettings::setTMCFile(int id, const TMCSource& src)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    TMCSource& stored = tmcMap[id];
    stored.flag = src.flag;
    stored.rate = src.rate;
    stored.spn = src.spn;
    stored.aid = src.aid;
    stored.va0 = src.va0;
    stored.va1 = src.va1;
    stored.va2 = src.va2;
    stored.va3 = src.va3;
    stored.rpt = src.rpt;
    stored.enc = src.enc;

    writeTMCSystemInfo(id, src);
    writeTMCMessagesFrom(id, 0);
    return true;
}

void FMSettings::writeTMCSystemInfo(int id, const TMCSource& src)
{
    setValue(tmcKey(id, "flag"), int(src.flag));
    setValue(tmcKey(id, "rate"), int(src.rate));
    setValue(tmcKey(id, "spn"), src.spn);
    setValue(tmcKey(id, "aid"), int(src.aid));
    setValue(tmcKey(id, "va0"), int(src.va0));
    setValue(tmcKey(id, "va1"), int(src.va1));
    setValue(tmcKey(id, "va2"), int(src.va2));
    setValue(tmcKey(id, "va3"), int(src.va3));
    setValue(tmcKey(id, "ltn"), (src.va0 >> kLtnShift) & kSixBits);
    setValue(tmcKey(id, "sid"), (src.va1 >> kLtnShift) & kSixBits);
    if ((src.va0 & kVa0NoLtccBit) == 0)
        setValue(tmcKey(id, "ltcc"), QString::number(src.va1 & kLtccMask, 16));
    setValue(tmcKey(id, "ltecc"),
             QStringLiteral("%1").arg(src.va2 & kLteccMask, 2, 16, QLatin1Char('0')));
    setValue(tmcKey(id, "rpt"), int(src.rpt));
    setValue(tmcKey(id, "enc"), int(src.enc));
}

bool FMSettings::setTMCWord(int id, quint8 index, quint16 value)
{
    if (id < 1 || index >= std::tuple_size_v<decltype(TMCSource::skt)>)
        return false;
    QWriteLocker locker(&recordsLock);
    TMCSource& stored = tmcMap[id];
    stored.skt[index] = value;
    setValue(tmcKey(id, "skt"), sktText(stored.skt));
    return true;
}

void FMSettings::setTMCMessage(int id, int index, const TMCMessage& message)
{
    if (index < 0)
        return;
    QWriteLocker locker(&recordsLock);
    auto it = tmcMap.find(id);
    if (id < 1 || it == tmcMap.end())
        return;
    if (index < it->messages.size()) {
        it->messages[index] = message;
        setValue(tmcPath(id, QString::number(index)), tmcMessageToText(message));
        return;
    }
    // Stored under its real position: a gap would end the list on the next
    // load and hide every message after it.
    it->messages.append(message);
    writeTMCMessagesFrom(id, int(it->messages.size()) - 1);
}

void FMSettings::removeTMCMessage(int id, int index)
{
    QWriteLocker locker(&recordsLock);
    auto it = tmcMap.find(id);
    if (id < 1 || it == tmcMap.end())
        return;
    const qsizetype keep = std::max(index, 0);
    bool removed = false;
    while (it->messages.size() > keep) {
        rawRemove(tmcPath(id, QString::number(it->messages.size() - 1)));
        it->messages.removeLast();
        removed = true;
    }
    if (removed)
        dirty.store(true, std::memory_order_release);
    publish(QStringLiteral("tmc.%1").arg(id), QVariant());
}

void FMSettings::writeTMCMessagesFrom(int id, int first)
{
    const QList<TMCMessage>& messages = tmcMap[id].messages;
    for (int m = std::max(first, 0); m < messages.size(); ++m)
        setValue(tmcPath(id, QString::number(m)), tmcMessageToText(messages[m]));
    // Lines left beyond the list (from a shorter list or a file with a gap)
    // would come back as messages on the next load.
    removeNumberedFrom(QStringLiteral("tmc.%1").arg(id), int(messages.size()));
}

QString FMSettings::syncTMCWord(const QString& key)
{
    const QString n = normalizeKey(key);
    const qsizetype slash = n.indexOf(QLatin1Char('/'));
    if (slash < 0 || !n.startsWith(QLatin1String("tmc."), Qt::CaseInsensitive))
        return {};
    const QString name = n.mid(slash + 1).toLower();
    for (const WordField& field : kWordFields) {
        if (name != field.name)
            continue;
        bool ok = false;
        const quint32 v = value(n).toString().toUInt(&ok, field.base);
        if (!ok)
            return {};
        const QString wordKey = n.left(slash + 1) + field.word;
        const quint32 kept = value(wordKey, 0).toUInt() & ~(quint32(field.mask) << field.shift);
        const int word = int((kept | (v & field.mask) << field.shift) & 0xFFFF);
        return setValue(wordKey, word, false) ? wordKey : QString();
    }
    return {};
}
