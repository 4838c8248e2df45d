// Numbers of a project file held against the schema on load: a value
// outside its key's range is clamped into it, one that does not read as a
// number is removed so that its key takes the default. The file is trusted
// no more than a remote client.
#include "settings/FMSettings.h"

#include "settings/ParameterSchema.h"

#include <QDebug>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Families whose groups carry schema keys; the groups' numbers do not
// change which schema key a stored key is.
const QStringList kFamilies{QStringLiteral("board"), QStringLiteral("channel"),
                            QStringLiteral("audio"), QStringLiteral("playlist"),
                            QStringLiteral("rds"),   QStringLiteral("tmc")};

// The family of a group "rds.12" or "board"; empty for any other group.
QString familyOf(const QString& group)
{
    const qsizetype dot = group.indexOf(QLatin1Char('.'));
    const QString family = (dot < 0 ? group : group.left(dot)).toLower();
    if (!kFamilies.contains(family))
        return QString();
    if (dot < 0)
        return family == QLatin1String("board") ? family : QString();
    bool ok = false;
    const int number = group.mid(dot + 1).toInt(&ok, 10);
    return ok && number >= 1 ? family : QString();
}

// The range a stored key is held to: single numbers with bounds. Flags,
// texts and lists are read as they are.
std::optional<KeyInfo> rangeOf(const QString& storedKey)
{
    const QString schemaKey = FMSettings::resolveKey(storedKey);
    if (!ParameterSchema::contains(schemaKey))
        return std::nullopt;
    const KeyInfo info = ParameterSchema::info(schemaKey);
    if (info.isList() || !info.hasRange() || info.isFlag())
        return std::nullopt;
    switch (info.valueType()) {
    case KeyInfo::Integer:
    case KeyInfo::Double:
    case KeyInfo::IdLink:
    case KeyInfo::Hex:
        return info;
    default:
        return std::nullopt;
    }
}

std::optional<double> numberIn(const KeyInfo& info, const QString& text)
{
    bool ok = false;
    const double number =
        info.valueType() == KeyInfo::Hex ? double(text.toLongLong(&ok, 16)) : text.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

// The clamped value in the form the store writes such a key.
QVariant storedForm(const KeyInfo& info, double number)
{
    if (info.valueType() == KeyInfo::Hex)
        return QString::number(qint64(number), 16);
    if (info.valueType() == KeyInfo::Double)
        return number;
    return qint64(std::trunc(number));
}

} // namespace

void FMSettings::conformToSchema()
{
    // Looked up once per key shape ("rds/pty"), not once per source.
    QHash<QString, std::optional<KeyInfo>> ranges;
    for (const QString& group : rawChildGroups(QString())) {
        const QString family = familyOf(group);
        if (family.isEmpty())
            continue;
        for (const QString& key : rawAllKeys(group)) {
            const QString stored = group + QLatin1Char('/') + key;
            const QString shape = family + QLatin1Char('/') + key;
            auto range = ranges.constFind(shape);
            if (range == ranges.cend())
                range = ranges.insert(shape, rangeOf(stored));
            if (*range)
                conformValue(stored, **range);
        }
        // A source whose only key did not read still is a source; "used"
        // holds what the reader takes when it is missing.
        if (family != QLatin1String("board") && family != QLatin1String("channel") &&
            rawAllKeys(group).isEmpty())
            rawStore(group + QLatin1String("/used"), 1);
    }
}

void FMSettings::conformValue(const QString& stored, const KeyInfo& info)
{
    const QVariant value = rawValue(stored);
    const QString text = value.metaType().id() == QMetaType::QStringList
                             ? value.toStringList().join(QStringLiteral(", "))
                             : value.toString().trimmed();
    const std::optional<double> number = numberIn(info, text);
    if (!number) {
        qWarning("FMS: %s = \"%s\" is no number, default used", qPrintable(stored),
                 qPrintable(text.left(40)));
        rawRemove(stored);
        return;
    }
    const double clamped = std::clamp(*number, info.min, info.max);
    if (clamped == *number)
        return;
    const QVariant replacement = storedForm(info, clamped);
    qWarning("FMS: %s = %s out of range, clamped to %s", qPrintable(stored),
             qPrintable(text.left(40)), qPrintable(replacement.toString()));
    rawStore(stored, replacement);
}
