// The project file reader: board values, then one record per group of the
// families audio, playlist, rds and tmc.
#include "settings/FMSettings.h"

#include "settings/ListCodecs.h"
#include "settings/RDSSampleText.h"

#include <QDate>
#include <QDebug>
#include <QRandomGenerator>
#include <QReadLocker>
#include <QWriteLocker>

#include <cmath>

namespace {

// Older files give the stream-0 group rates as intervals in tenths of a
// second: 600 tenths make a minute.
constexpr double kTenthsPerMinute = 600.0;

// Day 0 of the fixed date of group 4A.
const QDate kDayZero(1900, 3, 1);

constexpr quint16 kFirstSourcePi = 0xD310;
constexpr quint16 kCheckWordComputed = 1024;
constexpr quint8 kEONStartPty = 10;
constexpr quint8 kEONStartTp = 1;

// A value as text: the ini format hands a text with commas back as a list.
QString textOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// Reads the keys of one group with the values a missing key takes. A value
// that is not a number reads as 0; fields keep the low bits of their width.
class GroupReader
{
public:
    GroupReader(const Settings& settings, const QString& group)
        : settings(settings), prefix(group + QLatin1Char('/'))
    {
    }

    QVariant raw(const QString& key) const { return settings.rawValue(prefix + key); }

    QString text(const QString& key, const QString& missing = QString()) const
    {
        const QVariant value = raw(key);
        return value.isValid() ? textOf(value) : missing;
    }

    qint32 toInt(const QString& key, qint32 missing) const
    {
        const QVariant value = raw(key);
        if (!value.isValid())
            return missing;
        bool ok = false;
        const qint32 number = textOf(value).trimmed().toInt(&ok, 10);
        return ok ? number : 0;
    }

    quint32 toUInt(const QString& key, quint32 missing, int base = 10) const
    {
        const QVariant value = raw(key);
        if (!value.isValid())
            return missing;
        bool ok = false;
        const quint32 number = textOf(value).trimmed().toUInt(&ok, base);
        return ok ? number : 0;
    }

    bool toBool(const QString& key, bool missing) const
    {
        const QVariant value = raw(key);
        return value.isValid() ? value.toBool() : missing;
    }

    QByteArray bytes(const QString& key, const QByteArray& missing) const
    {
        const QVariant value = raw(key);
        if (!value.isValid())
            return missing;
        if (value.metaType().id() == QMetaType::QByteArray)
            return value.toByteArray();
        return textOf(value).toUtf8();
    }

private:
    const Settings& settings;
    const QString prefix;
};

bool hasContent(const Settings& settings, const QString& group)
{
    return !settings.rawChildKeys(group).isEmpty() || !settings.rawChildGroups(group).isEmpty();
}

// Instance number of a top-level group ("rds.12" -> 12); 0 when the group
// names none in plain decimal form.
int groupNumber(const QString& group)
{
    const qsizetype dot = group.indexOf(QLatin1Char('.'));
    const QString numberText = dot < 0 ? group : group.mid(dot + 1);
    bool ok = false;
    const int number = numberText.toInt(&ok, 10);
    if (!ok || number < 1 || QString::number(number) != numberText)
        return 0;
    return number;
}

} // namespace

void FMSettings::load()
{
    rawStore(QStringLiteral("board/rand"), QRandomGenerator::global()->generate());
    sync();
    {
        // Board threads copy the maps under this lock.
        QWriteLocker locker(&recordsLock);
        audioMap.clear();
        playlistMap.clear();
    }
    conformToSchema();
    loadBoard();
    loadGroups();
    if (gminFlag == 0) {
        gminFlag = 1;
        rawStore(QStringLiteral("board/gmin"), 1);
    }
    // The conversion of an older file is on disk at once, not at some later
    // write.
    sync();
}

void FMSettings::loadBoard()
{
    gminFlag = rawValue(QStringLiteral("board/gmin")).toInt();
    int band = rawValue(QStringLiteral("board/band")).toInt();
    int attn = rawValue(QStringLiteral("board/attn")).toInt();
    setBandAttn(band, attn);
}

void FMSettings::loadGroups()
{
    // Each source would otherwise walk every source loaded before it for
    // the EON entries that name it: time growing with the square of the
    // project. The entries are brought in line once, after all are read.
    loadingGroups = true;
    for (const QString& group : rawChildGroups(QString())) {
        const int n = groupNumber(group);
        if (n == 0)
            continue;
        const QString family = group.toLower();
        if (family.startsWith(QLatin1String("playlist.")))
            loadPlaylist(n);
        else if (family.startsWith(QLatin1String("audio.")))
            loadAudio(n);
        else if (family.startsWith(QLatin1String("rds.")))
            loadRDS(n);
        else if (family.startsWith(QLatin1String("tmc.")))
            loadTMC(n);
    }
    loadingGroups = false;
    QWriteLocker locker(&recordsLock);
    publishAllEONsLocked();
}

void FMSettings::reloadGroup(const QString& key, const QList<int>& ids)
{
    for (int id : ids) {
        if (key.startsWith(QLatin1String("playlist.")))
            loadPlaylist(id);
        else if (key.startsWith(QLatin1String("audio.")))
            loadAudio(id);
        else if (key.startsWith(QLatin1String("rds.")))
            loadRDS(id);
        else if (key.startsWith(QLatin1String("tmc.")))
            loadTMC(id);
        else
            return;
    }
}

Playlist FMSettings::loadPlaylist(int n)
{
    if (n < 1)
        return Playlist();
    QWriteLocker locker(&recordsLock);
    const QString group = QStringLiteral("playlist.%1").arg(n);
    if (!hasContent(*this, group)) {
        playlistMap.remove(n);
        return Playlist();
    }
    const GroupReader reader(*this, group);
    Playlist playlist;
    playlist.name = reader.text(QStringLiteral("name"), QLatin1Char('P') + group.mid(1));
    for (int number : rawNumberedKeys(group))
        playlist.items.append(reader.text(QString::number(number)));
    playlistMap.insert(n, playlist);
    return playlist;
}

AudioSource FMSettings::loadAudio(int n)
{
    if (n < 1)
        return AudioSource();
    QWriteLocker locker(&recordsLock);
    const QString group = QStringLiteral("audio.%1").arg(n);
    if (!hasContent(*this, group)) {
        audioMap.remove(n);
        return AudioSource();
    }
    const GroupReader r(*this, group);
    AudioSource& s = audioMap[n];
    s.used = r.toBool(QStringLiteral("used"), true);
    s.type = qint32(r.toUInt(QStringLiteral("type"), 0));
    s.name = r.text(QStringLiteral("name"), QStringLiteral("Audio-%1").arg(n));
    s.file = r.text(QStringLiteral("file"));
    s.frq1 = quint16(r.toUInt(QStringLiteral("frq1"), 440));
    s.frq2 = quint16(r.toUInt(QStringLiteral("frq2"), 880));
    s.vol1 = quint16(r.toUInt(QStringLiteral("vol1"), 100));
    s.vol2 = quint16(r.toUInt(QStringLiteral("vol2"), 100));
    s.time = quint16(r.toUInt(QStringLiteral("time"), 10));
    return s;
}

RDSSource FMSettings::loadRDS(int n)
{
    if (n < 1)
        return RDSSource();
    QWriteLocker locker(&recordsLock);
    const QString group = QStringLiteral("rds.%1").arg(n);
    if (!hasContent(*this, group)) {
        rdsMap.remove(n);
        return RDSSource();
    }
    const GroupReader r(*this, group);
    RDSSource& s = rdsMap[n];
    auto i = [&r](const char* key, qint32 missing) { return r.toInt(QLatin1String(key), missing); };
    auto u = [&r](const char* key, quint32 missing) {
        return r.toUInt(QLatin1String(key), missing);
    };
    auto t = [&r](const char* key, const QString& missing) {
        return r.text(QLatin1String(key), missing);
    };
    const QString defaultName = QStringLiteral("RDS-%1").arg(n);
    const QByteArray noEncoding = QByteArrayLiteral("0");

    s.used = r.toBool(QStringLiteral("used"), true) ? 1 : 0;
    s.name = t("name", defaultName);
    s.lps = t("lps", defaultName);
    s.ps = t("ps", defaultName);
    s.pi = quint16(r.toUInt(QStringLiteral("pi"), quint16(kFirstSourcePi + uint(n)), 16));
    s.tp = quint8(i("tp", 1));
    s.ta = quint8(i("ta", 0));
    s.ms = quint8(i("ms", 1));
    s.afu = quint8(i("afu", 10));
    s.pty = quint8(i("pty", 10));
    s.dec = quint8(i("dec", 9));
    s.rta = t("rta", RDSSampleText::text(RDSSampleText::A));
    s.rtb = t("rtb", RDSSampleText::text(RDSSampleText::B));
    s.rtc = t("rtc", RDSSampleText::text(RDSSampleText::C));
    s.rtd = t("rtd", RDSSampleText::text(RDSSampleText::D));
    s.rpa = quint8(i("rpa", 4));
    s.rpb = quint8(i("rpb", 0));
    s.rpc = quint8(i("rpc", 4));
    s.rpd = quint8(i("rpd", 0));
    s.enc = r.bytes(QStringLiteral("enc"), noEncoding);
    s.crt = r.bytes(QStringLiteral("crt"), noEncoding);
    s.clps = r.bytes(QStringLiteral("clps"), noEncoding);
    s.enda = quint8(i("enda", 13));
    s.endb = quint8(i("endb", 13));
    s.endc = quint8(i("endc", 13));
    s.endd = quint8(i("endd", 13));
    s.endl = quint8(i("endl", 13));
    s.endx = quint8(i("endx", 31));
    s.pn1 = t("pn1", QString());
    s.pn2 = t("pn2", QString());
    s.rp1 = quint8(i("rp1", 8));
    s.rp2 = quint8(i("rp2", 8));
    s.pss = quint8(i("pss", 49));
    s.zone = qint8(i("zone", 1));
    s.mins = i("mins", 0);
    s.days = u("days", quint32(kDayZero.daysTo(QDate::currentDate())));
    s.date = quint8(u("date", 0));
    s.err = quint8(i("err", 0));
    s.ber = quint8(i("ber", 2));
    s.fix = quint8(i("fix", 0));
    s.buc1 = quint8(u("buc1", 8));
    s.buc2 = quint8(u("buc2", 0));
    s.but1 = quint8(u("but1", 10));
    s.but2 = quint8(u("but2", 0));
    s.eoc1 = quint8(u("eoc1", 8));
    s.eoc2 = quint8(u("eoc2", 0));
    s.eot1 = quint8(u("eot1", 10));
    s.eot2 = quint8(u("eot2", 0));
    s.tmcsi = quint32(i("tmcsi", 0));
    s.tmgap = quint8(i("tmgap", 0));
    s.rtgrp = quint8(i("rtgrp", 7));
    s.rtbit = quint16(u("rtbit", 0));
    s.rtitm = quint8(u("rtitm", 11));
    s.boml = quint8(u("boml", 0));
    s.rtxt = quint8(u("rtxt", 8));
    s.rtxg = quint8(u("rtxg", 0));
    s.ertg = quint8(i("ertg", 9));
    s.ertb = quint16(u("ertb", 1));
    s.paid = quint16(u("paid", 0x4BD7));
    s.eaid = quint16(u("eaid", 0x6552));
    s.page = quint8(u("page", 0));
    s.slow = quint16(u("slow", 224));
    s.pin = quint16(u("pin", 0));
    s.mode = quint8(u("mode", 1));
    s.fused = r.toBool(QStringLiteral("fused"), false);
    s.files = r.raw(QStringLiteral("files")).toStringList();

    readGroupRates(n, s);

    s.afr.clear();
    for (const QString& field :
         r.text(QStringLiteral("afr")).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint32 frequency = field.toInt(&ok, 10);
        if (ok)
            s.afr.append(frequency);
    }
    s.afs = afListFromText(r.text(QStringLiteral("afs")), s.afr);

    readRadioTextTags(n, s);
    readEONs(n, s);
    readODAs(n, s);
    if (!loadingGroups)
        publishEONLocked(n, s);
    return s;
}

void FMSettings::readGroupRates(int n, RDSSource& source)
{
    const GroupReader r(*this, QStringLiteral("rds.%1").arg(n));
    for (int k = 0; k < GroupRate::kGroupCount; ++k) {
        GroupRate& rate = source.gmin[k];
        rate = GroupRate();
        const QString stream0Key = QString::number(k);
        qint32 stream0 = r.toInt(stream0Key, 0);
        if (stream0 != 0) {
            if (gminFlag == 0) {
                stream0 = qint32(std::trunc(kTenthsPerMinute / stream0));
                rawStore(QStringLiteral("rds.%1/%2").arg(n).arg(k), stream0);
            }
            rate.rate[0] = stream0;
            rate.on = 1;
        }
        QString text = r.text(QStringLiteral("gmin/%1").arg(k));
        if (text.isEmpty()) {
            text = r.text(QStringLiteral("gmin%1").arg(k));
            if (text.isEmpty())
                continue;
            qDebug("FMS: found only old deprecated gmin%d", k);
        }
        parseFiveInts(rate, text);
        if (stream0 != 0 && rate.rate[0] != stream0)
            qDebug("FMS: stream0 group %d rate %d != %d", k, stream0, rate.rate[0]);
    }
}

void FMSettings::readRadioTextTags(int n, RDSSource& source)
{
    const QString group = QStringLiteral("rds.%1/rttag").arg(n);
    const GroupReader r(*this, group);
    source.rttag.clear();
    for (int number : rawNumberedKeys(group)) {
        const QString line = r.text(QString::number(number));
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        bool ok = false;
        RTag tag;
        tag.type = (blank < 0 ? line : line.left(blank)).toInt(&ok, 10);
        if (!ok)
            tag.type = 0;
        tag.text = blank < 0 ? line : line.mid(blank + 1);
        source.rttag.append(tag);
    }
}

void FMSettings::readEONs(int n, RDSSource& source)
{
    const QString group = QStringLiteral("rds.%1/eon").arg(n);
    const GroupReader r(*this, group);
    source.eon.clear();
    for (int number : rawNumberedKeys(group)) {
        const QString key = QString::number(number);
        EON entry;
        entry.pty = kEONStartPty;
        entry.tp = kEONStartTp;
        eonFromText(entry, r.text(key));
        entry.ps = r.text(key + QLatin1String("/ps"));
        entry.af = afListFromText(r.text(key + QLatin1String("/af")));
        // Once the automatic lists are built, a linked row's list is derived
        // in memory and its stored form may be older.
        if (autoAF)
            linkedAF(entry.channel, entry.af);
        source.eon.append(entry);
    }
}

void FMSettings::readODAs(int n, RDSSource& source)
{
    const QString group = QStringLiteral("rds.%1/oda").arg(n);
    const GroupReader r(*this, group);
    source.oda.clear();
    for (int number : rawNumberedKeys(group)) {
        ODARow row;
        row.check.fill(kCheckWordComputed);
        parseThirteenWords(row, r.text(QString::number(number)));
        source.oda.append(row);
    }
}

TMCSource FMSettings::loadTMC(int n)
{
    if (n < 1)
        return TMCSource();
    QWriteLocker locker(&recordsLock);
    const QString group = QStringLiteral("tmc.%1").arg(n);
    if (!hasContent(*this, group)) {
        tmcMap.remove(n);
        return TMCSource();
    }
    const GroupReader r(*this, group);
    TMCSource& s = tmcMap[n];
    auto u = [&r](const char* key, quint32 missing) {
        return r.toUInt(QLatin1String(key), missing);
    };
    s.used = r.toBool(QStringLiteral("used"), true) ? 1 : 0;
    s.name = r.text(QStringLiteral("name"), QStringLiteral("TMC-%1").arg(n));
    s.flag = quint8(u("flag", 9));
    s.rate = quint8(u("rate", 10));
    s.spn = r.text(QStringLiteral("spn"), s.name);
    s.aid = quint16(u("aid", 0xCD46));
    s.va0 = quint16(u("va0", 0));
    s.va1 = quint16(u("va1", 0));
    s.va2 = quint16(u("va2", 0));
    s.va3 = quint16(u("va3", 0));
    s.rpt = quint8(u("rpt", 3));
    s.enc = quint8(u("enc", 31));

    if (!r.raw(QStringLiteral("skt")).isValid())
        s.skt.fill(0);
    const QStringList words =
        r.text(QStringLiteral("skt")).split(QLatin1Char(' '), Qt::KeepEmptyParts);
    for (qsizetype w = 0; w < words.size() && w < qsizetype(s.skt.size()); ++w) {
        bool ok = false;
        const quint32 word = words[w].toUInt(&ok, 16);
        s.skt[w] = quint16(ok ? word : 0);
    }

    s.messages.clear();
    for (int m = 0; rawContains(group + QLatin1Char('/') + QString::number(m)); ++m)
        s.messages.append(tmcMessageFromText(r.text(QString::number(m))));
    return s;
}
