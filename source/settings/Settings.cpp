#include "settings/Settings.h"

#include "settings/IniWrite.h"

#include <QDebug>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace {

// What a thread worked out from one state of a store's subscriptions, by
// key: kept until the subscriptions change (the generation tells), and
// bounded, so that a thread meeting unusual keys does not hoard them.
template <typename Value> class SubscriptionLookups
{
public:
    template <typename Make>
    const Value& get(quint64 subscriptions, const QString& key, const Make& make)
    {
        if (generation != subscriptions || values.size() >= kMaxKeys) {
            values.clear();
            generation = subscriptions;
        }
        auto found = values.constFind(key);
        if (found == values.cend())
            found = values.insert(key, make());
        return *found;
    }

private:
    static constexpr qsizetype kMaxKeys = 8192;
    quint64 generation = 0;
    QHash<QString, Value> values;
};

} // namespace

Settings::Settings(const QString& fileName, QObject* parent)
    : QSettings(fileName, QSettings::IniFormat, parent)
{
    index.reset(QSettings::allKeys());
    syncedStamp = stampOfFile();
    subscriptionsChanged();
    writer.setMaxThreadCount(1);
    writer.setObjectName(QStringLiteral("store writer"));
}

Settings::~Settings()
{
    finishWrites();
    QWriteLocker locker(&lock);
    // Written and checked here: what QSettings would write at its end is
    // not checked.
    syncLocked(false);
    for (const auto& connection : std::as_const(watchedReceivers))
        QObject::disconnect(connection);
    watchedReceivers.clear();
    subscribers.clear();
}

bool Settings::event(QEvent* event)
{
    if (event->type() != QEvent::UpdateRequest)
        return QSettings::event(event);
    if (!writeScheduled.exchange(true))
        QTimer::singleShot(writeError().isEmpty() ? kWriteDelayMs : kRetryDelayMs, this,
                           &Settings::startWrite);
    return true;
}

void Settings::startWrite()
{
    writer.start([this] { writeFile(); });
}

void Settings::finishWrites()
{
    writer.waitForDone();
}

// Runs in the writer thread. Changes made while it writes schedule the
// next write.
void Settings::writeFile()
{
    writeScheduled.store(false);
    Write result = Write::NothingPending;
    {
        QWriteLocker locker(&lock);
        result = syncLocked();
    }
    if (result != Write::NothingPending)
        QMetaObject::invokeMethod(
            this, [this, result] { reportWrite(result); }, Qt::QueuedConnection);
}

void Settings::sync()
{
    Write result = Write::NothingPending;
    {
        QWriteLocker locker(&lock);
        result = syncLocked();
    }
    reportWrite(result);
}

void Settings::setRunTimeInterval(int ms, LatestValues::Clock clock)
{
    latestValues.setInterval(ms, std::move(clock));
}

void Settings::setAfterWriteHook(std::function<void(const QString&)> hook)
{
    IniWrite::setAfterWriteHook(std::move(hook));
}

QString Settings::writeError() const
{
    QReadLocker locker(&lock);
    return lastWriteError;
}

void Settings::reportWrite(Write result)
{
    if (result != Write::NothingPending)
        writeChecked(result == Write::Complete);
}

Settings::Write Settings::syncLocked(bool retry)
{
    // Rebuilding the index costs as much as the write itself on a large
    // project, so it is only done when QSettings takes in another writer's
    // file.
    const bool changedElsewhere = stampOfFile() != syncedStamp;
    const bool pending = pendingWrite;
    const bool failedBefore = !lastWriteError.isEmpty();
    // The index counts the keys, unless another writer's file is coming in.
    if (pending)
        lastWriteError = IniWrite::write(*this, retry, changedElsewhere ? -1 : index.size());
    else
        QSettings::sync();
    if (changedElsewhere)
        index.reset(QSettings::allKeys());
    syncedStamp = stampOfFile();
    if (!pending)
        return Write::NothingPending;
    if (lastWriteError.isEmpty()) {
        pendingWrite = false;
        return Write::Complete;
    }
    if (!failedBefore)
        qWarning("FMS: write of %s failed: %s; the previous file is kept", qPrintable(fileName()),
                 qPrintable(lastWriteError));
    return Write::Failed;
}

Settings::FileStamp Settings::stampOfFile() const
{
    const QFileInfo file(fileName());
    if (!file.exists())
        return {};
    return {file.size(), file.lastModified()};
}

bool Settings::writeNow()
{
    Write result = Write::NothingPending;
    bool complete = true;
    {
        QWriteLocker locker(&lock);
        result = syncLocked();
        // Nothing pending after an earlier failure means nothing new, not
        // that the file is complete.
        complete = result == Write::Complete ||
                   (result == Write::NothingPending && lastWriteError.isEmpty());
    }
    reportWrite(result);
    return complete;
}

// Whether normalizeKey() would hand the key back as it is: the keys the
// boards publish thousands of times a second come in their stored form
// and need no copy. Lower case, the first separator a '.', the others '/';
// a single separator after a number would become a '/', so a key with one
// separator counts only when it starts with a letter.
bool Settings::isStoredForm(QStringView key)
{
    qsizetype separators = 0;
    for (QChar c : key) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || (u >= u'A' && u <= u'Z'))
            return false;
        if (u != u'.' && u != u'/')
            continue;
        if ((separators == 0) != (u == u'.'))
            return false;
        ++separators;
    }
    return separators != 1 || (key.front() >= u'a' && key.front() <= u'z');
}

QString Settings::normalizeKey(QString key)
{
    if (isStoredForm(key))
        return key;
    key.replace(QLatin1Char('.'), QLatin1Char('/'));
    const qsizetype first = key.indexOf(QLatin1Char('/'));
    if (first >= 0) {
        key[first] = QLatin1Char('.');
        if (key.indexOf(QLatin1Char('/'), first + 1) < 0) {
            bool isNumber = false;
            const int number = key.left(first).toInt(&isNumber, 10);
            if (isNumber && number != 0)
                key[first] = QLatin1Char('/');
        }
    }
    return key.toLower();
}

QVariant Settings::value(const QString& key, const QVariant& defaultValue) const
{
    QReadLocker locker(&lock);
    return QSettings::value(normalizeKey(key), defaultValue);
}

bool Settings::contains(const QString& key) const
{
    QReadLocker locker(&lock);
    return QSettings::contains(normalizeKey(key));
}

bool Settings::sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isValid() != b.isValid())
        return false;
    if (a == b)
        return true;
    const auto isList = [](const QVariant& v) {
        return v.metaType().id() == QMetaType::QStringList ||
               v.metaType().id() == QMetaType::QVariantList;
    };
    if (isList(a) || isList(b))
        return a.toStringList() == b.toStringList();
    if (a.canConvert<QString>() && b.canConvert<QString>())
        return a.toString() == b.toString();
    return false;
}

bool Settings::setValue(const QString& key, const QVariant& value, bool notify, QObject* sender)
{
    QWriteLocker locker(&lock);
    const QString n = normalizeKey(key);
    if (!n.contains(QLatin1Char('/')))
        return false;
    if (sameValue(QSettings::value(n), value))
        return false;
    QSettings::setValue(n, value);
    index.insert(n);
    pendingWrite = true;
    dirty.store(true, std::memory_order_release);
    if (!notify)
        return true;

    ServedSet served(sender);
    collectStoredKeySubscribers(n, served);
    postToServed(served, n, value);
    return true;
}

void Settings::remove(const QString& key, bool notify)
{
    QWriteLocker locker(&lock);
    const QString n = normalizeKey(key);
    QSettings::remove(n);
    index.removeTree(n);
    pendingWrite = true;
    if (!notify)
        return;
    ServedSet served;
    collectStoredKeySubscribers(n, served);
    postToServed(served, n, QVariant());
}

void Settings::publish(const QString& key, const QVariant& value) const
{
    QReadLocker locker(&lock);
    const QString n = normalizeKey(key);
    const Publication& to = publicationOf(n);
    if (!to.receivers.isEmpty())
        latestValues.post({to.receivers.constData(), size_t(to.receivers.size())}, n, value,
                          to.kind);
}

const Settings::Publication& Settings::publicationOf(const QString& storedKey) const
{
    thread_local SubscriptionLookups<Publication> publications;
    return publications.get(subscriptionGeneration, storedKey, [this, &storedKey] {
        ServedSet fresh;
        collectPublicationSubscribersUncached(storedKey, fresh);
        return Publication{fresh.all, LatestValues::kindOf(storedKey)};
    });
}

void Settings::collectPublicationSubscribersUncached(const QString& n, ServedSet& served) const
{
    collectSubscribers(QStringLiteral("*"), served);
    const QString wild = wildFormOf(n);
    if (!wild.isEmpty())
        collectSubscribers(wild, served);
    collectSubscribers(n, served);

    for (qsizetype cut = n.lastIndexOf(QLatin1Char('/')); cut > 0;
         cut = n.lastIndexOf(QLatin1Char('/'), cut - 1)) {
        const QString ancestor = n.left(cut);
        const QString ancestorWild = wildFormOf(ancestor);
        if (!ancestorWild.isEmpty())
            collectSubscribers(ancestorWild, served);
        collectSubscribers(ancestor, served);
    }
    if (n.contains(QLatin1Char('.')))
        collectSubscribers(firstWordOf(n), served);
}

void Settings::subscriptionsChanged()
{
    static std::atomic<quint64> lastGeneration{0};
    subscriptionGeneration = ++lastGeneration;
}

QList<int> Settings::parseKey(const QString& storedKey, QString& prefix, QString& rest)
{
    const qsizetype dot = storedKey.indexOf(QLatin1Char('.'));
    const qsizetype slash = storedKey.indexOf(QLatin1Char('/'));
    prefix = dot < 0 ? QString() : storedKey.left(dot + 1).toLower();
    rest = (slash < 0 || slash < dot + 2) ? QString() : storedKey.mid(slash).toLower();

    QList<int> instances;
    if (dot < 0)
        return instances;
    const QString instanceText =
        slash < 0 || slash < dot ? storedKey.mid(dot + 1) : storedKey.mid(dot + 1, slash - dot - 1);
    const auto readNumber = [](const QString& text) {
        bool ok = false;
        const int value = text.toInt(&ok, 10);
        return ok ? value : 0;
    };
    for (const QString& item : instanceText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!item.contains(QLatin1Char('-'))) {
            instances.append(readNumber(item));
            continue;
        }
        const QStringList bounds = item.split(QLatin1Char('-'));
        const int a = readNumber(bounds.value(0));
        const int b = readNumber(bounds.value(1));
        if (a > b || a > kMaxInstance)
            continue;
        // Clamped before walking, so a huge range costs no more than 1-96.
        for (int v = std::max(a, 1); v <= std::min(b, kMaxInstance); ++v)
            instances.append(v);
    }
    return instances;
}

void Settings::publishPattern(const QString& keyPath, const QVariant& value,
                              const QList<int>& changedInstances, QObject* sender) const
{
    QReadLocker locker(&lock);
    ServedSet served(sender);
    const QString n = normalizeKey(keyPath);
    for (const PatternGroup& group : patternPlan(n, changedInstances)) {
        for (QObject* receiver : group.receivers)
            served.add(receiver);
        postToServed(served, group.key, value);
    }
}

const Settings::PatternPlan& Settings::patternPlan(const QString& storedKey,
                                                   const QList<int>& changedInstances) const
{
    thread_local SubscriptionLookups<PatternPlan> plans;
    QString id = storedKey;
    for (int number : changedInstances)
        id += QLatin1Char(' ') + QString::number(number);
    return plans.get(subscriptionGeneration, id,
                     [&] { return planPattern(storedKey, changedInstances); });
}

Settings::PatternPlan Settings::planPattern(const QString& storedKey,
                                            const QList<int>& changedInstances) const
{
    PatternPlan plan;
    ServedSet seen;
    const auto add = [&plan, &seen](const QString& key, auto first, auto last) {
        if (plan.empty() || plan.back().key != key)
            plan.push_back({key, {}});
        for (auto it = first; it != last; ++it) {
            if (seen.add(it->second))
                plan.back().receivers.append(it->second);
        }
    };
    auto [everyKey, everyKeyEnd] = subscribers.equal_range(QStringLiteral("*"));
    add(storedKey, everyKey, everyKeyEnd);
    QString prefix;
    QString rest;
    parseKey(storedKey, prefix, rest);
    const QString family = prefix.endsWith(QLatin1Char('.')) ? prefix.chopped(1) : prefix;
    if (family.isEmpty())
        return plan;
    // The table is sorted by pattern, so the family's own subscribers and,
    // per changed instance, "family.N" and "family.N/..." are looked up
    // directly instead of walking the family. Instances taken in the order
    // of their decimal text keep the table's order ("channel.1",
    // "channel.1/freq", "channel.10", "channel.2").
    auto [first, last] = subscribers.equal_range(family);
    add(storedKey, first, last);
    QStringList instances;
    for (int number : changedInstances)
        instances.append(QString::number(number));
    instances.sort();
    instances.removeDuplicates();
    for (const QString& number : std::as_const(instances)) {
        const QString instance = family + QLatin1Char('.') + number;
        const QString key = instance + rest;
        auto [own, ownEnd] = subscribers.equal_range(instance);
        add(key, own, ownEnd);
        const QString below = instance + QLatin1Char('/');
        const auto begin = subscribers.lower_bound(below);
        auto end = begin;
        while (end != subscribers.end() && end->first.startsWith(below))
            ++end;
        add(key, begin, end);
    }
    return plan;
}

QString Settings::subscriptionPattern(const QString& key)
{
    QString n = normalizeKey(key);
    while (n.endsWith(QLatin1String("/*")))
        n.chop(2);
    return n;
}

bool Settings::subscribe(const QString& key, QObject* receiver)
{
    if (!receiver || key.isEmpty())
        return false;
    QWriteLocker locker(&lock);
    const QString n = subscriptionPattern(key);
    auto [first, last] = subscribers.equal_range(n);
    if (std::any_of(first, last,
                    [receiver](const auto& entry) { return entry.second == receiver; }))
        return false;
    subscribers.emplace_hint(first, n, receiver);
    subscriptionsChanged();
    if (!watchedReceivers.contains(receiver)) {
        // A receiver that is destroyed without unsubscribing must never be
        // posted to again.
        watchedReceivers.insert(receiver, QObject::connect(
                                              receiver, &QObject::destroyed, receiver,
                                              [this, receiver] { forgetReceiver(receiver); },
                                              Qt::DirectConnection));
    }
    return true;
}

void Settings::takeLatestStateValues(QObject* receiver)
{
    if (receiver)
        latestValues.add(receiver);
}

void Settings::skipRunTimeValues(QObject* receiver)
{
    if (receiver)
        latestValues.skip(receiver);
}

bool Settings::unsubscribe(const QString& key, QObject* receiver)
{
    QWriteLocker locker(&lock);
    const QString n = subscriptionPattern(key);
    bool removed = false;
    auto [it, last] = subscribers.equal_range(n);
    while (it != last) {
        if (it->second == receiver) {
            it = subscribers.erase(it);
            removed = true;
        } else {
            ++it;
        }
    }
    if (removed)
        subscriptionsChanged();
    return removed;
}

bool Settings::unsubscribeAll(QObject* receiver)
{
    QWriteLocker locker(&lock);
    const auto before = subscribers.size();
    std::erase_if(subscribers, [receiver](const auto& entry) { return entry.second == receiver; });
    if (subscribers.size() != before)
        subscriptionsChanged();
    if (auto connection = watchedReceivers.take(receiver))
        QObject::disconnect(connection);
    latestValues.forget(receiver);
    return subscribers.size() != before;
}

void Settings::forgetReceiver(QObject* receiver)
{
    QWriteLocker locker(&lock);
    std::erase_if(subscribers, [receiver](const auto& entry) { return entry.second == receiver; });
    subscriptionsChanged();
    watchedReceivers.remove(receiver);
    latestValues.forget(receiver);
}

QStringList Settings::subscriptions(QObject* receiver) const
{
    QReadLocker locker(&lock);
    QStringList patterns;
    for (const auto& [pattern, subscriber] : subscribers)
        if (subscriber == receiver)
            patterns.append(pattern);
    return patterns;
}

bool Settings::ServedSet::add(QObject* receiver)
{
    if (std::find(all.cbegin(), all.cend(), receiver) != all.cend())
        return false;
    all.append(receiver);
    return true;
}

void Settings::collectSubscribers(const QString& pattern, ServedSet& served) const
{
    auto [first, last] = subscribers.equal_range(pattern);
    for (auto it = first; it != last; ++it)
        served.add(it->second);
}

void Settings::collectStoredKeySubscribers(const QString& storedKey, ServedSet& served) const
{
    collectSubscribers(QStringLiteral("*"), served);
    collectSubscribers(storedKey, served);
    collectSubscribers(groupOf(storedKey), served);
    collectSubscribers(firstWordOf(storedKey), served);
}

void Settings::postToServed(ServedSet& served, const QString& key, const QVariant& value) const
{
    const qsizetype count = served.all.size() - served.notified;
    if (count <= 0)
        return;
    latestValues.post({served.all.constData() + served.notified, size_t(count)}, key, value);
    served.notified = served.all.size();
}

QString Settings::groupOf(const QString& storedKey)
{
    const qsizetype slash = storedKey.indexOf(QLatin1Char('/'));
    return slash < 0 ? storedKey : storedKey.left(slash);
}

QString Settings::firstWordOf(const QString& storedKey)
{
    const qsizetype dot = storedKey.indexOf(QLatin1Char('.'));
    return dot < 0 ? storedKey : storedKey.left(dot);
}

QString Settings::wildFormOf(const QString& storedKey)
{
    // The instance part runs from the first '.' to the first '/', or to the
    // end of a group key, so "rds.*" hears every key of every RDS source.
    const qsizetype dot = storedKey.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {};
    const qsizetype slash = storedKey.indexOf(QLatin1Char('/'));
    if (slash >= 0 && slash < dot)
        return {};
    const QString rest = slash < 0 ? QString() : storedKey.mid(slash);
    return storedKey.left(dot + 1) + QLatin1Char('*') + rest;
}

QVariant Settings::rawValue(const QString& key, const QVariant& defaultValue) const
{
    QReadLocker locker(&lock);
    return QSettings::value(key, defaultValue);
}

bool Settings::rawContains(const QString& key) const
{
    QReadLocker locker(&lock);
    return QSettings::contains(key);
}

void Settings::rawStore(const QString& key, const QVariant& value)
{
    QWriteLocker locker(&lock);
    QSettings::setValue(key, value);
    index.insert(key);
    pendingWrite = true;
}

void Settings::rawRemove(const QString& key)
{
    QWriteLocker locker(&lock);
    QSettings::remove(key);
    index.removeTree(key);
    pendingWrite = true;
}

QStringList Settings::rawChildKeys(const QString& group) const
{
    QReadLocker locker(&lock);
    return index.childKeys(group);
}

QStringList Settings::rawChildGroups(const QString& group) const
{
    QReadLocker locker(&lock);
    return index.childGroups(group);
}

QStringList Settings::rawAllKeys(const QString& group) const
{
    QReadLocker locker(&lock);
    return index.allKeys(group);
}

QStringList Settings::rawGroupsStartingWith(const QString& text) const
{
    QReadLocker locker(&lock);
    return index.groupsStartingWith(text);
}

QList<int> Settings::rawNumberedKeys(const QString& group) const
{
    QList<int> numbers;
    for (const QString& key : rawChildKeys(group)) {
        bool isNumber = false;
        const int number = key.toInt(&isNumber, 10);
        if (isNumber && number >= 0 && QString::number(number) == key)
            numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}
