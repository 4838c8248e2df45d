#include "settings/KeyIndex.h"

#include <algorithm>

QString KeyIndex::normalized(QStringView key)
{
    QString result;
    result.reserve(key.size());
    for (const QChar c : key) {
        if (c == QLatin1Char('/') && (result.isEmpty() || result.back() == QLatin1Char('/')))
            continue;
        result.append(c);
    }
    if (result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

void KeyIndex::reset(const QStringList& names)
{
    keys.clear();
    groupSizes.clear();
    foldedGroups.clear();
    for (const QString& name : names)
        insert(name);
}

void KeyIndex::insert(QStringView key)
{
    QString name = normalized(key);
    if (name.isEmpty())
        return;
    const auto [it, added] = keys.insert(std::move(name));
    if (added)
        count(*it, +1);
}

void KeyIndex::removeTree(QStringView key)
{
    const QString name = normalized(key);
    if (name.isEmpty()) {
        reset({});
        return;
    }
    if (keys.erase(name) != 0)
        count(name, -1);
    const QString below = name + QLatin1Char('/');
    auto it = keys.lower_bound(below);
    while (it != keys.end() && it->startsWith(below)) {
        count(*it, -1);
        it = keys.erase(it);
    }
}

void KeyIndex::count(const QString& key, int delta)
{
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return;
    const QString group = key.left(slash);
    qsizetype& size = groupSizes[group];
    if (size == 0)
        foldedGroups.emplace(group.toCaseFolded(), group);
    size += delta;
    if (size <= 0) {
        groupSizes.erase(group);
        foldedGroups.erase({group.toCaseFolded(), group});
    }
}

QStringList KeyIndex::list(QStringView group, Listing listing) const
{
    const QString name = normalized(group);
    const QString prefix = name.isEmpty() ? QString() : name + QLatin1Char('/');
    QStringList result;
    for (auto it = keys.lower_bound(prefix); it != keys.end() && it->startsWith(prefix); ++it) {
        const QStringView below = QStringView(*it).mid(prefix.size());
        const qsizetype slash = below.indexOf(QLatin1Char('/'));
        if (listing == Listing::AllKeys)
            result.append(below.toString());
        else if (listing == Listing::ChildKeys && slash < 0)
            result.append(below.toString());
        else if (listing == Listing::ChildGroups && slash >= 0)
            result.append(below.left(slash).toString());
    }
    if (listing == Listing::ChildGroups) {
        // "eon/2" and "eon2/x" interleave the names of their groups.
        std::sort(result.begin(), result.end());
        result.erase(std::unique(result.begin(), result.end()), result.end());
    }
    return result;
}

QStringList KeyIndex::allKeys(QStringView group) const
{
    return list(group, Listing::AllKeys);
}

QStringList KeyIndex::childKeys(QStringView group) const
{
    return list(group, Listing::ChildKeys);
}

QStringList KeyIndex::childGroups(QStringView group) const
{
    if (!normalized(group).isEmpty())
        return list(group, Listing::ChildGroups);
    QStringList result;
    result.reserve(qsizetype(groupSizes.size()));
    for (const auto& [name, size] : groupSizes)
        result.append(name);
    return result;
}

QStringList KeyIndex::groupsStartingWith(const QString& text) const
{
    const QString folded = text.toCaseFolded();
    QStringList result;
    for (auto it = foldedGroups.lower_bound({folded, QString()});
         it != foldedGroups.end() && it->first.startsWith(folded); ++it) {
        if (it->second.startsWith(text, Qt::CaseInsensitive))
            result.append(it->second);
    }
    std::sort(result.begin(), result.end());
    return result;
}
