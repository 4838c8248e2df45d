// The text command layer: key paths with instance lists, SET, GET, ADD, DEL,
// the key listing and HELP, with the result codes the remote server sends.
#include "settings/FMSettings.h"

#include "settings/ListCodecs.h"
#include "settings/ParameterSchema.h"

#include <QDebug>
#include <QLocale>
#include <QReadLocker>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int kMaxListItems = 512;

bool isDecimalInt(const QString& text, int* value = nullptr)
{
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (ok && value)
        *value = number;
    return ok;
}

// Bounds in error texts: hexadecimal keys in lower-case base 16, others in
// the general format with six significant digits.
QString errorBound(const KeyInfo& info, double bound)
{
    if (info.valueType() == KeyInfo::Hex)
        return QString::number(qint64(std::lround(bound)), 16);
    return QString::number(bound, 'g', 6);
}

// Bounds in HELP: the shortest text that reads back as the same number.
QString helpBound(const KeyInfo& info, double bound)
{
    if (info.valueType() == KeyInfo::Hex)
        return QString::number(qint64(std::lround(bound)), 16);
    if (bound == std::trunc(bound) && std::fabs(bound) < 1e15)
        return QString::number(qint64(bound));
    return QString::number(bound, 'g', QLocale::FloatingPointShortest);
}

QString typeName(const KeyInfo& info)
{
    switch (info.valueType()) {
    case KeyInfo::Integer:
        return info.isFlag() ? QStringLiteral("bool") : QStringLiteral("integer");
    case KeyInfo::Double:
        return QStringLiteral("double");
    case KeyInfo::String:
        return QStringLiteral("string");
    case KeyInfo::IdLink:
        return QStringLiteral("id link");
    case KeyInfo::Hex:
        return QStringLiteral("hexadecimal");
    default:
        return QString();
    }
}

// Reads one value of a key for the range check; false when unreadable.
bool readNumber(const KeyInfo& info, const QString& text, double& number)
{
    bool ok = false;
    if (info.valueType() == KeyInfo::Hex)
        number = text.toInt(&ok, 16);
    else
        number = text.toDouble(&ok);
    return ok && std::isfinite(number);
}

bool withinBounds(const KeyInfo& info, const QString& text)
{
    if (info.isFlag())
        return true;
    double number = 0;
    return readNumber(info, text, number) && number >= info.min && number <= info.max;
}

// The RDS source fields GET answers for a source whose key is not stored.
QVariant rdsField(const RDSSource& s, const QString& field)
{
    using Getter = std::function<QVariant(const RDSSource&)>;
    static const QHash<QString, Getter> kFields{
        {"used", [](const RDSSource& r) { return QVariant(int(r.used)); }},
        {"name", [](const RDSSource& r) { return QVariant(r.name); }},
        {"lps", [](const RDSSource& r) { return QVariant(r.lps); }},
        {"ps", [](const RDSSource& r) { return QVariant(r.ps); }},
        {"pi", [](const RDSSource& r) { return QVariant(QString::number(r.pi, 16)); }},
        {"tp", [](const RDSSource& r) { return QVariant(int(r.tp)); }},
        {"ta", [](const RDSSource& r) { return QVariant(int(r.ta)); }},
        {"ms", [](const RDSSource& r) { return QVariant(int(r.ms)); }},
        {"afu", [](const RDSSource& r) { return QVariant(int(r.afu)); }},
        {"pty", [](const RDSSource& r) { return QVariant(int(r.pty)); }},
        {"dec", [](const RDSSource& r) { return QVariant(int(r.dec)); }},
        {"rta", [](const RDSSource& r) { return QVariant(r.rta); }},
        {"rtb", [](const RDSSource& r) { return QVariant(r.rtb); }},
        {"rtc", [](const RDSSource& r) { return QVariant(r.rtc); }},
        {"rtd", [](const RDSSource& r) { return QVariant(r.rtd); }},
        {"rpa", [](const RDSSource& r) { return QVariant(int(r.rpa)); }},
        {"rpb", [](const RDSSource& r) { return QVariant(int(r.rpb)); }},
        {"rpc", [](const RDSSource& r) { return QVariant(int(r.rpc)); }},
        {"rpd", [](const RDSSource& r) { return QVariant(int(r.rpd)); }},
        {"enc", [](const RDSSource& r) { return QVariant(r.enc); }},
        {"crt", [](const RDSSource& r) { return QVariant(r.crt); }},
        {"clps", [](const RDSSource& r) { return QVariant(r.clps); }},
        {"enda", [](const RDSSource& r) { return QVariant(int(r.enda)); }},
        {"endb", [](const RDSSource& r) { return QVariant(int(r.endb)); }},
        {"endc", [](const RDSSource& r) { return QVariant(int(r.endc)); }},
        {"endd", [](const RDSSource& r) { return QVariant(int(r.endd)); }},
        {"endl", [](const RDSSource& r) { return QVariant(int(r.endl)); }},
        {"endx", [](const RDSSource& r) { return QVariant(int(r.endx)); }},
        {"pn1", [](const RDSSource& r) { return QVariant(r.pn1); }},
        {"pn2", [](const RDSSource& r) { return QVariant(r.pn2); }},
        {"rp1", [](const RDSSource& r) { return QVariant(int(r.rp1)); }},
        {"rp2", [](const RDSSource& r) { return QVariant(int(r.rp2)); }},
        {"pss", [](const RDSSource& r) { return QVariant(int(r.pss)); }},
        {"zone", [](const RDSSource& r) { return QVariant(int(r.zone)); }},
        {"mins", [](const RDSSource& r) { return QVariant(int(r.mins)); }},
        {"days", [](const RDSSource& r) { return QVariant(uint(r.days)); }},
        {"date", [](const RDSSource& r) { return QVariant(int(r.date)); }},
        {"err", [](const RDSSource& r) { return QVariant(int(r.err)); }},
        {"ber", [](const RDSSource& r) { return QVariant(int(r.ber)); }},
        {"fix", [](const RDSSource& r) { return QVariant(int(r.fix)); }},
        {"buc1", [](const RDSSource& r) { return QVariant(int(r.buc1)); }},
        {"buc2", [](const RDSSource& r) { return QVariant(int(r.buc2)); }},
        {"but1", [](const RDSSource& r) { return QVariant(int(r.but1)); }},
        {"but2", [](const RDSSource& r) { return QVariant(int(r.but2)); }},
        {"eoc1", [](const RDSSource& r) { return QVariant(int(r.eoc1)); }},
        {"eoc2", [](const RDSSource& r) { return QVariant(int(r.eoc2)); }},
        {"eot1", [](const RDSSource& r) { return QVariant(int(r.eot1)); }},
        {"eot2", [](const RDSSource& r) { return QVariant(int(r.eot2)); }},
        {"tmcsi", [](const RDSSource& r) { return QVariant(uint(r.tmcsi)); }},
        {"tmgap", [](const RDSSource& r) { return QVariant(int(r.tmgap)); }},
        {"rtgrp", [](const RDSSource& r) { return QVariant(int(r.rtgrp)); }},
        {"rtbit", [](const RDSSource& r) { return QVariant(int(r.rtbit)); }},
        {"rtitm", [](const RDSSource& r) { return QVariant(int(r.rtitm)); }},
        {"boml", [](const RDSSource& r) { return QVariant(int(r.boml)); }},
        {"rtxt", [](const RDSSource& r) { return QVariant(int(r.rtxt)); }},
        {"rtxg", [](const RDSSource& r) { return QVariant(int(r.rtxg)); }},
        {"ertg", [](const RDSSource& r) { return QVariant(int(r.ertg)); }},
        {"ertb", [](const RDSSource& r) { return QVariant(int(r.ertb)); }},
        {"paid", [](const RDSSource& r) { return QVariant(int(r.paid)); }},
        {"eaid", [](const RDSSource& r) { return QVariant(int(r.eaid)); }},
        {"page", [](const RDSSource& r) { return QVariant(int(r.page)); }},
        {"slow", [](const RDSSource& r) { return QVariant(int(r.slow)); }},
        {"pin", [](const RDSSource& r) { return QVariant(int(r.pin)); }},
        {"mode", [](const RDSSource& r) { return QVariant(int(r.mode)); }},
        {"fused", [](const RDSSource& r) { return QVariant(r.fused); }},
        {"files", [](const RDSSource& r) { return QVariant(r.files); }},
    };
    const auto it = kFields.constFind(field);
    return it == kFields.cend() ? QVariant() : (*it)(s);
}

QVariant channelField(const ChannelConfig& c, const QString& field)
{
    using Getter = std::function<QVariant(const ChannelConfig&)>;
    static const QHash<QString, Getter> kFields{
        {"freq", [](const ChannelConfig& r) { return QVariant(r.freq); }},
        {"used", [](const ChannelConfig& r) { return QVariant(r.used); }},
        {"mute", [](const ChannelConfig& r) { return QVariant(r.mute); }},
        {"mono", [](const ChannelConfig& r) { return QVariant(r.mono); }},
        {"gain", [](const ChannelConfig& r) { return QVariant(int(r.gain)); }},
        {"volm", [](const ChannelConfig& r) { return QVariant(int(r.volm)); }},
        {"devi", [](const ChannelConfig& r) { return QVariant(r.devi); }},
        {"emph", [](const ChannelConfig& r) { return QVariant(r.emph); }},
        {"rate", [](const ChannelConfig& r) { return QVariant(r.rate); }},
        {"auto", [](const ChannelConfig& r) { return QVariant(r.autoRate); }},
        {"idrds", [](const ChannelConfig& r) { return QVariant(r.idrds); }},
        {"idaudio", [](const ChannelConfig& r) { return QVariant(r.idaudio); }},
    };
    const auto it = kFields.constFind(field);
    return it == kFields.cend() ? QVariant() : (*it)(c);
}

// Writes the instance number of a stored key in plain decimal; false when
// the key names no instance from 1 upward ("tmc.", "tmc.0", "playlist.-1",
// "tmc.1,2"). The number itself is read: parseKey takes "-1" for the range
// 0-1.
bool plainInstance(QString& key)
{
    const qsizetype dot = key.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const qsizetype slash = key.indexOf(QLatin1Char('/'), dot);
    const qsizetype end = slash < 0 ? key.size() : slash;
    int number = 0;
    if (!isDecimalInt(key.mid(dot + 1, end - dot - 1), &number) || number < 1)
        return false;
    key = key.left(dot + 1) + QString::number(number) + key.mid(end);
    return true;
}

QString lastPart(const QString& key)
{
    QString text = key;
    text.replace(QLatin1Char('/'), QLatin1Char('.'));
    return text.section(QLatin1Char('.'), -1).toLower();
}

} // namespace

QString FMSettings::resolveKey(QString keyPath, int* instance)
{
    keyPath.replace(QLatin1Char('/'), QLatin1Char('.'));
    keyPath = keyPath.toLower();

    QStringList parts = keyPath.split(QLatin1Char('.'));
    for (int i = 1; i + 1 < parts.size();) {
        int number = 0;
        if (isDecimalInt(parts[i], &number)) {
            if (instance)
                *instance = number;
            parts.removeAt(i);
        } else {
            ++i;
        }
    }
    const QString key = parts.join(QLatin1Char('.'));
    if (ParameterSchema::contains(key))
        return key;
    if (ParameterSchema::contains(key + QLatin1Char('.')))
        return key + QLatin1Char('.');
    for (qsizetype dot = key.lastIndexOf(QLatin1Char('.')); dot >= 1;
         dot = key.lastIndexOf(QLatin1Char('.'), dot - 1)) {
        if (dot + 1 >= key.size())
            continue;
        const QString head = key.left(dot + 1);
        if (!ParameterSchema::contains(head))
            continue;
        return isDecimalInt(key.mid(dot + 1)) ? head : key;
    }
    return key;
}

QString FMSettings::errorText(int code) const
{
    switch (code) {
    case NoError:
        return tr("no error occurred");
    case UnknownKey:
        return tr("key is unknown");
    case OutOfRange:
        return tr("data out of range [%1..%2]")
            .arg(errorBound(keyInfo, keyInfo.min), errorBound(keyInfo, keyInfo.max));
    case Unchanged:
        return tr("data did not change");
    case WrongCount:
        return tr("expecting %1 values").arg(QString::number(keyInfo.step, 'g', 6));
    case NotAList:
        return tr("is not a list or list item");
    case NotSet:
        return tr("is not set");
    case UseAdd:
        return tr("use ADD to insert list items");
    default:
        return tr("unknown error");
    }
}

int FMSettings::setOne(const QString& key, const QVariant& value, bool notify, QObject* sender)
{
    const QString schemaKey = resolveKey(key);
    if (!ParameterSchema::contains(schemaKey))
        return UnknownKey;
    keyInfo = ParameterSchema::info(schemaKey);
    const KeyInfo& info = keyInfo;
    const QString text = value.toString();

    if (info.isList()) {
        if (schemaKey.endsWith(QLatin1Char('.')) && !contains(key))
            return UseAdd;
        const QStringList values = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!info.hasRange() && info.step > 1 && values.size() != std::lround(info.step))
            return WrongCount;
        if (info.hasRange() && !values.isEmpty()) {
            for (const QString& v : values)
                if (!withinBounds(info, v))
                    return OutOfRange;
        }
    } else if (info.hasRange() && !info.isFlag()) {
        if (info.valueType() == KeyInfo::String) {
            const qsizetype length = text.size();
            if (length < info.min || length > info.max)
                return OutOfRange;
        } else if (!withinBounds(info, text)) {
            return OutOfRange;
        }
    }
    return setValue(key, value, notify, sender) ? NoError : Unchanged;
}

int FMSettings::set(const QString& keyPath, const QVariant& value, bool notify, QObject* sender)
{
    const QString n = normalizeKey(keyPath);
    QString prefix;
    QString rest;
    const QList<int> instances = parseKey(n, prefix, rest);
    if (instances.isEmpty())
        return setOne(n, value, notify, sender);

    // "channel.*.freq" or "channel.x.freq" name no channel at all.
    if (std::none_of(instances.cbegin(), instances.cend(), [](int i) { return i >= 1; }))
        return UnknownKey;

    QList<int> changed;
    QStringList words;
    int code = UnknownKey;
    for (int instance : instances) {
        if (instance < 1)
            continue;
        const QString key = prefix + QString::number(instance) + rest;
        code = setOne(key, value, false, nullptr);
        if (code == NoError) {
            if (!changed.contains(instance))
                changed.append(instance);
            const QString word = syncTMCWord(key);
            if (!word.isEmpty())
                words.append(word);
        } else if (code != Unchanged) {
            break;
        }
    }
    // The records are current before anyone hears of the change: a board
    // thread reads them as soon as a notification arrives.
    reloadGroup(prefix, changed);
    if (notify && !changed.isEmpty()) {
        publishPattern(keyPath, value, changed, sender);
        for (const QString& word : std::as_const(words))
            publish(word, Settings::value(word));
    }
    return code;
}

QVariant FMSettings::get(const QString& keyPath) const
{
    // A linked EON row's AF list is derived in memory; the file may hold an
    // older one until the EON table is saved.
    const QStringList parts = normalizeKey(keyPath).split(QLatin1Char('/'));
    if (parts.size() == 4 && parts[1] == QLatin1String("eon") && parts[3] == QLatin1String("af") &&
        parts[0].startsWith(QLatin1String("rds."))) {
        bool sourceOk = false;
        bool rowOk = false;
        const int id = parts[0].mid(4).toInt(&sourceOk);
        const int row = parts[2].toInt(&rowOk);
        QReadLocker locker(&recordsLock);
        const auto it = rdsMap.constFind(id);
        if (sourceOk && rowOk && it != rdsMap.cend() && row >= 0 && row < it->eon.size() &&
            it->eon[row].channel != 0)
            return pairsToText(it->eon[row].af);
    }
    if (contains(keyPath))
        return value(keyPath);
    int instance = 0;
    resolveKey(keyPath, &instance);
    if (instance > 0) {
        if (keyPath.startsWith(QLatin1String("channel")))
            return channelField(channel(instance), lastPart(keyPath));
        if (keyPath.startsWith(QLatin1String("rds"))) {
            QReadLocker locker(&recordsLock);
            const auto it = rdsMap.constFind(instance);
            if (it != rdsMap.cend())
                return rdsField(*it, lastPart(keyPath));
        }
    }
    qDebug("FMS: get empty %s", qPrintable(keyPath));
    return QVariant();
}

QStringList FMSettings::knownKeys(const QString& path) const
{
    QStringList result;
    if (!path.isEmpty()) {
        QList<int> numbered;
        QStringList named;
        for (const QString& key : rawAllKeys(path)) {
            int number = 0;
            if (isDecimalInt(key, &number))
                numbered.append(number);
            else
                named.append(key);
        }
        std::sort(numbered.begin(), numbered.end());
        for (int number : numbered)
            result.append(path + QLatin1Char('.') + QString::number(number));
        for (const QString& key : named)
            result.append(path + QLatin1Char('.') + key);
        if (!result.isEmpty())
            return result;
    }

    static const QStringList kFamilies{QStringLiteral("channel."), QStringLiteral("audio."),
                                       QStringLiteral("playlist."), QStringLiteral("rds."),
                                       QStringLiteral("tmc.")};
    struct Numbered
    {
        int family;
        int number;
        QString name;
    };
    QList<Numbered> numberedGroups;
    QStringList otherGroups;
    for (const QString& group : rawGroupsStartingWith(path)) {
        const qsizetype dot = group.indexOf(QLatin1Char('.'));
        const QString numberText = dot < 0 ? group : group.mid(dot + 1);
        int number = 0;
        const int family = dot < 0 ? -1 : int(kFamilies.indexOf(group.left(dot + 1)));
        if (family >= 0 && isDecimalInt(numberText, &number))
            numberedGroups.append({family, number, group});
        else
            otherGroups.append(group);
    }
    std::stable_sort(numberedGroups.begin(), numberedGroups.end(),
                     [](const Numbered& a, const Numbered& b) {
                         return a.family != b.family ? a.family < b.family : a.number < b.number;
                     });
    for (const Numbered& group : numberedGroups)
        result.append(group.name);
    result.append(otherGroups);
    if (!result.isEmpty())
        return result;

    int instance = 0;
    const QString schemaKey = resolveKey(path, &instance);
    if (ParameterSchema::contains(schemaKey) && !ParameterSchema::info(schemaKey).isList()) {
        qDebug("FMS: known \"%s\" \"%s\" %d", qPrintable(path), qPrintable(schemaKey), instance);
        if (instance > 0)
            result.append(path);
    }
    return result;
}

QString FMSettings::help(const QString& path) const
{
    const QString schemaKey = resolveKey(path);
    if (!ParameterSchema::contains(schemaKey))
        return QString();
    const KeyInfo info = ParameterSchema::info(schemaKey);
    QString line = info.help;
    if (info.hasRange())
        line +=
            QStringLiteral(" [%1..%2]").arg(helpBound(info, info.min), helpBound(info, info.max));
    if (!info.unit.isEmpty())
        line += QLatin1Char(' ') + info.unit;
    if (info.type != KeyInfo::None) {
        line += QStringLiteral(" (");
        if (info.isList()) {
            line += QStringLiteral("list of ");
            if (!info.hasRange() && info.step != 0)
                line += QString::number(info.step, 'g', 6) + QLatin1Char(' ');
        }
        line += typeName(info) + QLatin1Char(')');
    }
    return line;
}

int FMSettings::add(const QString& keyPath, const QVariant& item)
{
    QString key = normalizeKey(keyPath);
    // Items of an instance that cannot exist would land in a group that no
    // reader loads and no DEL removes.
    if (!plainInstance(key))
        return UnknownKey;
    const QString schemaKey = resolveKey(key);
    if (!ParameterSchema::contains(schemaKey))
        return UnknownKey;
    keyInfo = ParameterSchema::info(schemaKey);
    if (!keyInfo.isList())
        return NotAList;

    QString text = item.toString();
    // A family of numbered items is named with a trailing separator
    // ("rds.1.eon."), without one when its last part is no item number, or
    // by its instance alone ("tmc.1", "playlist.2").
    const bool namesFamily = schemaKey.endsWith(QLatin1Char('.')) &&
                             (!key.contains(QLatin1Char('/')) || key.endsWith(QLatin1Char('/')) ||
                              !isDecimalInt(lastPart(key)));
    if (namesFamily) {
        if (!key.endsWith(QLatin1Char('/')))
            key += QLatin1Char('/');
        int item = 0;
        while (item < kMaxListItems && contains(key + QString::number(item)))
            ++item;
        if (item == kMaxListItems)
            return OutOfRange;
        key += QString::number(item);
    } else {
        QStringList list = value(key).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        list.append(text.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        text = list.join(QLatin1Char(' '));
    }
    qDebug("FMS: add [%s] [%s]", qPrintable(key), qPrintable(text));

    const QStringList values = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!keyInfo.hasRange()) {
        if (keyInfo.step > 1 && values.size() != std::lround(keyInfo.step))
            return WrongCount;
    } else {
        for (const QString& v : values)
            if (!withinBounds(keyInfo, v))
                return OutOfRange;
    }
    if (!setValue(key, text, false, nullptr))
        return Unchanged;

    QString prefix;
    QString rest;
    const QList<int> instances = parseKey(key, prefix, rest);
    reloadGroup(prefix, instances);
    publish(key, text);
    return NoError;
}

void FMSettings::moveListItem(const QString& from, const QString& to)
{
    rawRemove(to);
    rawStore(to, rawValue(from));
    for (const QString& sub : rawAllKeys(from))
        rawStore(to + QLatin1Char('/') + sub, rawValue(from + QLatin1Char('/') + sub));
}

int FMSettings::del(const QString& keyPath)
{
    const QString key = normalizeKey(keyPath);
    if (!key.contains(QLatin1Char('/')))
        return UnknownKey;
    QString lookup = key;
    if (lookup.endsWith(QLatin1Char('*')))
        lookup.chop(1);
    const QString schemaKey = resolveKey(lookup);
    if (!ParameterSchema::contains(schemaKey))
        return UnknownKey;
    keyInfo = ParameterSchema::info(schemaKey);
    if (!keyInfo.isList())
        return NotAList;

    const QString base = key.left(key.lastIndexOf(QLatin1Char('/')) + 1);
    if (!contains(key)) {
        if (!key.endsWith(QLatin1Char('*')))
            return NotSet;
        qDebug("FMS: del %s", qPrintable(key));
        int item = 0;
        while (contains(base + QString::number(item)))
            remove(base + QString::number(item++), true);
        if (item == 0)
            return NotSet;
    } else {
        int index = 0;
        if (!isDecimalInt(key.mid(base.size()), &index) || index < 0) {
            remove(key, true);
        } else {
            // Later items move up one place with their sub-keys (eon/M/ps).
            int j = index + 1;
            for (; contains(base + QString::number(j)); ++j)
                moveListItem(base + QString::number(j), base + QString::number(j - 1));
            rawRemove(base + QString::number(j - 1));
            dirty.store(true, std::memory_order_release);
        }
    }
    QString prefix;
    QString rest;
    const QList<int> instances = parseKey(key, prefix, rest);
    reloadGroup(prefix, instances);
    publish(key, QVariant());
    return NoError;
}
