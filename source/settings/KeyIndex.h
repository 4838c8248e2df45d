#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <set>
#include <utility>

// The names of every key an ini-backed QSettings holds, in the order
// QSettings lists them, with the top-level groups kept apart. QSettings
// answers every listing by walking all keys of the file; a project of 96
// channels with every feature holds about 10,000, so a listing here costs
// what it returns instead. Not thread-safe: the store's lock guards it.
class KeyIndex
{
public:
    // The key as QSettings files it: no leading, trailing or doubled '/'.
    static QString normalized(QStringView key);

    void reset(const QStringList& keys);
    void insert(QStringView key);
    // Drops the key and every key below it, as QSettings::remove does; an
    // empty key drops them all.
    void removeTree(QStringView key);

    qsizetype size() const { return qsizetype(keys.size()); }

    // The listings of QSettings::allKeys, childKeys and childGroups with the
    // group open (the empty group is the top level); names relative to it.
    QStringList allKeys(QStringView group) const;
    QStringList childKeys(QStringView group) const;
    QStringList childGroups(QStringView group) const;
    // Top-level groups whose name begins with text, letter case ignored, in
    // the order of childGroups.
    QStringList groupsStartingWith(const QString& text) const;

private:
    enum class Listing
    {
        AllKeys,
        ChildKeys,
        ChildGroups,
    };
    QStringList list(QStringView group, Listing listing) const;
    void count(const QString& key, int delta);

    std::set<QString> keys;
    // top-level group -> number of keys in it
    std::map<QString, qsizetype> groupSizes;
    // (case-folded name, name) of every top-level group
    std::set<std::pair<QString, QString>> foldedGroups;
};
