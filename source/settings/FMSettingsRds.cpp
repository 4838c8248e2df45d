// RDS source operations: whole-record write-back, new/remove, and the
// list-valued parts (EON, ODA, AF lists, group rates).
#include "settings/FMSettings.h"

#include "settings/ListCodecs.h"
#include "settings/RDSSampleText.h"
#include "settings/SourceNumbers.h"

#include <QDebug>
#include <QReadLocker>
#include <QWriteLocker>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

QString rdsKey(int id, const QString& key)
{
    return QStringLiteral("rds.%1.").arg(id) + key;
}

QString rdsPath(int id, const QString& path)
{
    return QStringLiteral("rds.%1/").arg(id) + path;
}

using KeyValue = std::pair<const char*, QVariant>;

// The scalar keys of a source in the order they are written.
std::vector<KeyValue> scalarValues(const RDSSource& r)
{
    return {
        {"lps", r.lps},
        {"ps", r.ps},
        {"pi", QString::number(r.pi, 16)},
        {"tp", int(r.tp)},
        {"ta", int(r.ta)},
        {"ms", int(r.ms)},
        {"afu", int(r.afu)},
        {"pty", int(r.pty)},
        {"dec", int(r.dec)},
        {"rta", r.rta},
        {"rtb", r.rtb},
        {"rtc", r.rtc},
        {"rtd", r.rtd},
        {"rpa", int(r.rpa)},
        {"rpb", int(r.rpb)},
        {"rpc", int(r.rpc)},
        {"rpd", int(r.rpd)},
        {"enc", r.enc},
        {"crt", r.crt},
        {"clps", r.clps},
        {"enda", int(r.enda)},
        {"endb", int(r.endb)},
        {"endc", int(r.endc)},
        {"endd", int(r.endd)},
        {"endl", int(r.endl)},
        {"endx", int(r.endx)},
        {"pn1", r.pn1},
        {"pn2", r.pn2},
        {"rp1", int(r.rp1)},
        {"rp2", int(r.rp2)},
        {"pss", int(r.pss)},
        {"mins", int(r.mins)},
        {"days", uint(r.days)},
        {"date", int(r.date)},
        {"zone", int(r.zone)},
        {"err", int(r.err)},
        {"ber", int(r.ber)},
        {"fix", int(r.fix)},
        {"buc1", int(r.buc1)},
        {"buc2", int(r.buc2)},
        {"but1", int(r.but1)},
        {"but2", int(r.but2)},
        {"eoc1", int(r.eoc1)},
        {"eoc2", int(r.eoc2)},
        {"eot1", int(r.eot1)},
        {"eot2", int(r.eot2)},
        {"tmcsi", uint(r.tmcsi)},
        {"tmgap", int(r.tmgap)},
        {"rtgrp", int(r.rtgrp)},
        {"rtbit", int(r.rtbit)},
        {"rtitm", int(r.rtitm)},
        {"boml", int(r.boml)},
        {"rtxt", int(r.rtxt)},
        {"rtxg", int(r.rtxg)},
        {"ertg", int(r.ertg)},
        {"ertb", int(r.ertb)},
        {"paid", int(r.paid)},
        {"eaid", int(r.eaid)},
        {"page", int(r.page)},
        {"slow", int(r.slow)},
        {"pin", int(r.pin)},
        {"mode", int(r.mode)},
        {"fused", r.fused},
    };
}

// The record with the scalar fields of rec and everything else of stored:
// lists and used/name have setters of their own.
RDSSource withScalarsOf(const RDSSource& stored, const RDSSource& rec)
{
    RDSSource merged = rec;
    merged.used = stored.used;
    merged.name = stored.name;
    merged.eon = stored.eon;
    merged.oda = stored.oda;
    merged.rttag = stored.rttag;
    merged.af = stored.af;
    merged.afs = stored.afs;
    merged.codes = stored.codes;
    merged.afr = stored.afr;
    merged.gmin = stored.gmin;
    merged.files = stored.files;
    return merged;
}

bool hasRate(const GroupRate& rate)
{
    return std::any_of(rate.rate.begin(), rate.rate.end(), [](qint32 r) { return r != 0; });
}

void markRegional(QList<AFEntry>& list, const QList<qint32>& regional)
{
    for (AFEntry& entry : list)
        entry.regional = regional.contains(entry.freq) ? 1 : 0;
}

QString numbersToText(const QList<qint32>& numbers)
{
    QStringList fields;
    for (qint32 number : numbers)
        fields.append(QString::number(number));
    return fields.join(QLatin1Char(' '));
}

} // namespace

bool FMSettings::setRDS(int id, const RDSSource& rec)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    RDSSource& stored = rdsMap[id];
    stored = withScalarsOf(stored, rec);
    writeRDSScalars(id, rec);

    if (stored.files != rec.files) {
        stored.files = rec.files;
        setValue(rdsKey(id, QStringLiteral("files")), rec.files);
    }

    for (int m = 0; m < rec.rttag.size(); ++m) {
        const RTag& tag = rec.rttag[m];
        rawStore(rdsPath(id, QStringLiteral("rttag/%1").arg(m)),
                 QStringLiteral("%1 %2").arg(tag.type).arg(tag.text));
    }
    removeNumberedFrom(rdsPath(id, QStringLiteral("rttag")), int(rec.rttag.size()));
    if (stored.rttag != rec.rttag) {
        stored.rttag = rec.rttag;
        // The tags go straight into the file; a changed list must still count
        // as an unsaved change of the project.
        dirty.store(true, std::memory_order_release);
        publish(rdsPath(id, QStringLiteral("rttag")), QVariant());
    }

    publishEONLocked(id, stored);
    return true;
}

int FMSettings::newRDS()
{
    QWriteLocker locker(&recordsLock);
    for (auto it = rdsMap.begin(); it != rdsMap.end(); ++it) {
        if (it->used || it.key() < 1)
            continue;
        it->used = 1;
        setValue(rdsKey(it.key(), QStringLiteral("used")), 1);
        return it.key();
    }
    const int id = nextSourceNumber(rdsMap);
    RDSSource source;
    source.name = QStringLiteral("RDS-%1").arg(id);
    source.lps = source.name;
    source.ps = source.name;
    source.pi = quint16(0xD310u + uint(id));
    source.rta =
        rawValue(RDSSampleText::keyOf(RDSSampleText::A), RDSSampleText::text(RDSSampleText::A))
            .toString();
    source.rtb =
        rawValue(RDSSampleText::keyOf(RDSSampleText::B), RDSSampleText::text(RDSSampleText::B))
            .toString();
    source.rtc =
        rawValue(RDSSampleText::keyOf(RDSSampleText::C), RDSSampleText::text(RDSSampleText::C))
            .toString();
    source.rtd =
        rawValue(RDSSampleText::keyOf(RDSSampleText::D), RDSSampleText::text(RDSSampleText::D))
            .toString();
    rdsMap.insert(id, source);
    setValue(rdsKey(id, QStringLiteral("name")), source.name);
    setValue(rdsKey(id, QStringLiteral("used")), true);
    // A file key that is missing reads differently from the record default
    // (mode, afu, endx, days, encodings), so the new source must be in the
    // file whole to read back as it is now.
    writeRDSScalars(id, source);
    return id;
}

void FMSettings::writeRDSScalars(int id, const RDSSource& rec)
{
    for (const auto& [key, value] : scalarValues(rec))
        setValue(rdsKey(id, QLatin1String(key)), value);
}

bool FMSettings::removeRDS(int id)
{
    QWriteLocker locker(&recordsLock);
    auto it = rdsMap.find(id);
    if (id < 1 || it == rdsMap.end())
        return false;
    it->used = 0;
    setValue(rdsKey(id, QStringLiteral("used")), 0);
    return true;
}

bool FMSettings::setRDSName(int id, const QString& name)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    rdsMap[id].name = name;
    return setValue(rdsKey(id, QStringLiteral("name")), name);
}

EON FMSettings::linkedEON(EON entry) const
{
    if (entry.channel == 0)
        return entry;
    const int source = rawValue(QStringLiteral("channel.%1/idrds").arg(entry.channel)).toInt();
    const auto it = rdsMap.constFind(source);
    if (it == rdsMap.cend())
        return entry;
    entry.pi = it->pi;
    entry.ps = it->ps;
    entry.pty = it->pty;
    entry.tp = it->tp;
    entry.ta = it->ta;
    linkedAF(entry.channel, entry.af);
    return entry;
}

bool FMSettings::linkedAF(int number, QList<AFEntry>& list) const
{
    const int source = rawValue(QStringLiteral("channel.%1/idrds").arg(number)).toInt();
    const auto it = rdsMap.constFind(source);
    if (number == 0 || it == rdsMap.cend())
        return false;
    list = it->af + it->afs;
    // A receiver needs the other network's own frequency too, also where
    // the automatic list lacks it (its channel not on a board of the plan).
    AFEntry own;
    own.freq = qint32(std::abs(std::lround(channel(number).freq * 10)));
    own.regional = it->afr.contains(own.freq) ? 1 : 0;
    const bool known = std::any_of(list.cbegin(), list.cend(),
                                   [&own](const AFEntry& e) { return e.freq == own.freq; });
    if (own.freq != 0 && !known)
        list.prepend(own);
    return true;
}

bool FMSettings::setEON(int id, QList<EON>& list)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    for (int m = 0; m < list.size(); ++m) {
        list[m] = linkedEON(list[m]);
        const QString entryKey = rdsPath(id, QStringLiteral("eon/%1").arg(m));
        setValue(entryKey, eonToText(list[m]));
        setValue(entryKey + QLatin1String("/ps"), list[m].ps);
        setValue(entryKey + QLatin1String("/af"), pairsToText(list[m].af));
    }
    removeNumberedFrom(rdsPath(id, QStringLiteral("eon")), int(list.size()));
    rdsMap[id].eon = list;
    return true;
}

void FMSettings::publishEON(int id, const RDSSource& rec)
{
    QWriteLocker locker(&recordsLock);
    publishEONLocked(id, rec);
}

void FMSettings::publishEONLocked(int id, const RDSSource& rec)
{
    for (auto source = rdsMap.begin(); source != rdsMap.end(); ++source) {
        for (int m = 0; m < source->eon.size(); ++m) {
            EON& entry = source->eon[m];
            if (entry.channel == 0)
                continue;
            const QString idrdsKey = QStringLiteral("channel.%1/idrds").arg(entry.channel);
            if (rawValue(idrdsKey).toInt() != id)
                continue;
            entry.pi = rec.pi;
            entry.ps = rec.ps;
            entry.pty = rec.pty;
            entry.tp = rec.tp;
            entry.ta = rec.ta;
            // Published in the stored form, with the entry's channel first, so
            // a listener parses it like the key it reads from the file.
            publish(QStringLiteral("rds.%1.eon.%2").arg(source.key()).arg(m), eonToText(entry));
        }
    }
}

void FMSettings::publishAllEONsLocked()
{
    // The RDS source of each channel, looked up once per channel.
    QHash<int, int> sourceOfChannel;
    for (auto source = rdsMap.begin(); source != rdsMap.end(); ++source) {
        for (int m = 0; m < source->eon.size(); ++m) {
            EON& entry = source->eon[m];
            if (entry.channel == 0)
                continue;
            auto id = sourceOfChannel.constFind(entry.channel);
            if (id == sourceOfChannel.cend())
                id = sourceOfChannel.insert(
                    entry.channel,
                    rawValue(QStringLiteral("channel.%1/idrds").arg(entry.channel)).toInt());
            const auto linked = rdsMap.constFind(*id);
            if (linked == rdsMap.cend())
                continue;
            entry.pi = linked->pi;
            entry.ps = linked->ps;
            entry.pty = linked->pty;
            entry.tp = linked->tp;
            entry.ta = linked->ta;
            publish(QStringLiteral("rds.%1.eon.%2").arg(source.key()).arg(m), eonToText(entry));
        }
    }
}

bool FMSettings::setODA(int id, const QList<ODARow>& list)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    for (int m = 0; m < list.size(); ++m)
        setValue(rdsPath(id, QStringLiteral("oda/%1").arg(m)), wordsToHex(list[m]));
    removeNumberedFrom(rdsPath(id, QStringLiteral("oda")), int(list.size()));
    rdsMap[id].oda = list;
    return true;
}

bool FMSettings::setAFs(int id, QList<AFEntry>& list)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    RDSSource& source = rdsMap[id];
    markRegional(list, source.afr);
    source.afs = list;
    const QString text = pairsToText(list);
    if (setValue(rdsKey(id, QStringLiteral("afs")), text))
        qDebug("FMS: set rds.%d.afs %s", id, qPrintable(text));
    return true;
}

bool FMSettings::setAFr(int id, uint freq)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    RDSSource& source = rdsMap[id];
    const auto frequency = qint32(freq);
    if (source.afr.contains(frequency))
        source.afr.removeAll(frequency);
    else
        source.afr.append(frequency);
    markRegional(source.af, source.afr);
    markRegional(source.afs, source.afr);
    const QString text = numbersToText(source.afr);
    if (setValue(rdsKey(id, QStringLiteral("afr")), text))
        qDebug("FMS: set rds.%d.afr %s", id, qPrintable(text));
    return true;
}

bool FMSettings::setGroupRates(int id, const std::array<GroupRate, GroupRate::kGroupCount>& rates)
{
    if (id < 1)
        return false;
    QWriteLocker locker(&recordsLock);
    RDSSource& source = rdsMap[id];
    for (int k = 0; k < GroupRate::kGroupCount; ++k) {
        GroupRate& stored = source.gmin[k];
        const QString ratesKey = rdsKey(id, QStringLiteral("gmin/%1").arg(k));
        if (hasRate(rates[k])) {
            setValue(ratesKey, fiveFieldsToText(rates[k]));
        } else {
            const bool hadRate = hasRate(stored);
            remove(ratesKey, hadRate);
            remove(rdsKey(id, QStringLiteral("gmin%1").arg(k)), false);
            if (hadRate)
                qDebug("FMS: remove %s", qPrintable(ratesKey));
        }

        const QString stream0Key = rdsKey(id, QString::number(k));
        if (rates[k].on) {
            setValue(stream0Key, rates[k].rate[0], false);
        } else if (stored.on) {
            qDebug("FMS: remove %s", qPrintable(stream0Key));
            remove(stream0Key, false);
        }
        stored = rates[k];
    }
    return true;
}

void FMSettings::removeNumberedFrom(const QString& group, int count)
{
    QList<int> numbers = rawNumberedKeys(group);
    for (const QString& child : rawChildGroups(group)) {
        bool isNumber = false;
        const int number = child.toInt(&isNumber, 10);
        if (isNumber && number >= 0 && QString::number(number) == child &&
            !numbers.contains(number))
            numbers.append(number);
    }
    bool removed = false;
    for (int number : std::as_const(numbers)) {
        if (number < count)
            continue;
        rawRemove(group + QLatin1Char('/') + QString::number(number));
        removed = true;
    }
    // Rows dropped straight from the file are an unsaved change all the same.
    if (removed)
        dirty.store(true, std::memory_order_release);
}
