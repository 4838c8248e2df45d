#pragma once

#include "settings/KeyIndex.h"
#include "settings/LatestValues.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QReadWriteLock>
#include <QSet>
#include <QSettings>
#include <QStringList>
#include <QThreadPool>
#include <QVarLengthArray>
#include <QVariant>

#include <atomic>
#include <functional>
#include <map>
#include <vector>

// The ini-backed key store of one project with publish/subscribe of key
// changes. Every operation may be called from any thread; one read-write lock
// guards the file and the subscriber table, and no listener code ever runs
// under it: notifications are posted SetValue events.
class Settings : public QSettings
{
public:
    static constexpr int kMaxInstance = 96;

    Settings(const QString& fileName, QObject* parent = nullptr);
    ~Settings() override;

    // "Channel/1/FREQ" -> "channel.1/freq"; "board.band" stays; "3.x" -> "3/x".
    static QString normalizeKey(QString key);

    virtual QVariant value(const QString& key, const QVariant& defaultValue = QVariant()) const;
    virtual bool setValue(const QString& key, const QVariant& value, bool notify = true,
                          QObject* sender = nullptr);
    virtual bool contains(const QString& key) const;

    void remove(const QString& key, bool notify = false);
    void publish(const QString& key, const QVariant& value) const;

    // Splits a stored key "channel.1,3-5/freq" into its prefix "channel.", its
    // rest "/freq" and its instances 1, 3, 4, 5 (ranges limited to 1..96).
    static QList<int> parseKey(const QString& storedKey, QString& prefix, QString& rest);
    // Notifies a command over several instances once per receiver: "*" hears
    // the key path as given, subscribers of a changed instance its stored key.
    void publishPattern(const QString& keyPath, const QVariant& value,
                        const QList<int>& changedInstances, QObject* sender) const;

    bool subscribe(const QString& key, QObject* receiver);
    // The receiver shows what the keys hold and needs only the newest: at
    // most one delivery per key waits in its queue (see LatestValues); RDS
    // log records still reach it one by one.
    void takeLatestStateValues(QObject* receiver);
    // As takeLatestStateValues(), and the receiver hears none of the values
    // the boards publish many times a second (play positions, distances,
    // status, RDS log records; see LatestValues) until it calls
    // takeLatestStateValues(). Every other value it hears in the next pass,
    // unpaced: it stamps what it hears with the time.
    void skipRunTimeValues(QObject* receiver);
    // The values batched for the pages reach them at most once per
    // interval, all that came meanwhile in one go (0, the default: in every
    // pass of their event loop). Call it in the store's thread.
    void setRunTimeInterval(int ms, LatestValues::Clock clock = {});
    bool unsubscribe(const QString& key, QObject* receiver);
    bool unsubscribeAll(QObject* receiver);
    QStringList subscriptions(QObject* receiver) const;

    bool isDirty() const { return dirty.load(std::memory_order_acquire); }
    // The store sets the flag on every change but never clears it itself: the
    // main window does, once it has saved the project.
    void clearDirty() { dirty.store(false, std::memory_order_release); }
    // Writes the store to its file now, under the write lock, so no board
    // thread changes it halfway (the main window saves a project from the
    // file). True when the file on disk holds every key.
    bool writeNow();
    // Why the last write of pending changes failed ("cannot be written",
    // "incomplete on disk"); empty when it succeeded. A failed write leaves
    // the previous file in place and keeps the changes for the next one.
    QString writeError() const;

    // Runs right after each write of the file, before it is checked: tests
    // stand in for a full disk by cutting the file short. Empty: nothing.
    static void setAfterWriteHook(std::function<void(const QString& fileName)> hook);

    // Direct access to the ini under the store's lock, with the key taken as
    // written ("board/band", "rds.1/eon/2"): no normalisation, no dirty flag,
    // no notification. Used by the project reader and the record writers for
    // the keys the file layout names directly.
    QVariant rawValue(const QString& key, const QVariant& defaultValue = QVariant()) const;
    bool rawContains(const QString& key) const;
    void rawStore(const QString& key, const QVariant& value);
    void rawRemove(const QString& key);
    // Listings of an ini group (the empty group is the top level) in the
    // order QSettings gives them, from the store's index of its keys: they
    // cost what they return, not the size of the project.
    QStringList rawChildKeys(const QString& group) const;
    QStringList rawChildGroups(const QString& group) const;
    // Every key below a group, sub-groups included ("eon/2/af").
    QStringList rawAllKeys(const QString& group) const;
    // Child keys of a group that are decimal numbers, in numeric order.
    QList<int> rawNumberedKeys(const QString& group) const;
    // Top-level groups whose name begins with text, letter case ignored.
    QStringList rawGroupsStartingWith(const QString& text) const;

    // Writes pending changes to the file and takes in what another writer
    // put there meanwhile.
    void sync();

    // Two stored values are the same when they compare equal or, because the
    // ini file hands every value back as text, when their texts are equal.
    static bool sameValue(const QVariant& a, const QVariant& b);

protected:
    // The receivers of one notification, each once, in the order found.
    // The sender, when given, counts as served but is never notified.
    struct ServedSet
    {
        ServedSet() = default;
        explicit ServedSet(QObject* sender) : notified(sender ? 1 : 0)
        {
            if (sender)
                all.append(sender);
        }
        // False when receiver is in already.
        bool add(QObject* receiver);

        QVarLengthArray<QObject*, 16> all;
        qsizetype notified = 0; // those before it were notified (or sent)
    };

    // QSettings writes the whole file after every change it is asked to
    // store; a burst of changes (a remote client setting keys in a loop) is
    // written once, shortly after it, by a thread of the store's own: a
    // large project takes milliseconds to write and check, which the
    // window's thread must not spend ten times a second.
    static constexpr int kWriteDelayMs = 100;
    // After a write the disk did not take, the next one waits longer, so a
    // full disk is not written to in a loop.
    static constexpr int kRetryDelayMs = 2000;
    bool event(QEvent* event) override;
    // Called after every write of pending changes, outside the lock, in the
    // store's own thread (a write of its writer thread is reported there a
    // moment later).
    virtual void writeChecked(bool complete) { Q_UNUSED(complete) }
    // Waits for a write the writer thread has begun; a subclass whose
    // destructor takes away what its writeChecked() uses calls it first.
    void finishWrites();

    // Adds the subscribers of pattern to served; postToServed() notifies
    // those added since its last call, taking the store's batching lock once.
    void collectSubscribers(const QString& pattern, ServedSet& served) const;
    // Those of a changed or removed key: "*", the key, its group, its word.
    void collectStoredKeySubscribers(const QString& storedKey, ServedSet& served) const;
    void postToServed(ServedSet& served, const QString& key, const QVariant& value) const;

    static QString groupOf(const QString& storedKey);
    static QString firstWordOf(const QString& storedKey);
    static QString wildFormOf(const QString& storedKey);

    mutable QReadWriteLock lock;
    std::atomic_bool dirty{false};

private:
    static bool isStoredForm(QStringView key);
    static QString subscriptionPattern(const QString& key);
    void forgetReceiver(QObject* receiver);
    void startWrite();
    void writeFile();
    enum class Write
    {
        NothingPending,
        Complete,
        Failed
    };
    // Expects the write lock held. A failed write keeps the previous file;
    // with retry its changes stay pending for the next write.
    Write syncLocked(bool retry = true);
    void reportWrite(Write result);

    std::atomic_bool writeScheduled{false};
    // At most one thread: the delayed writes, one after another.
    QThreadPool writer;
    // Changes not yet on disk; set by every change, cleared by a complete
    // write.
    bool pendingWrite = false;
    QString lastWriteError;

    // Every key the ini object holds; changed with it under the write lock.
    KeyIndex index;
    // Size and time of the file as the last sync left it: QSettings reads
    // the file again when another writer changed them, and so does the index.
    struct FileStamp
    {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };
    FileStamp stampOfFile() const;
    FileStamp syncedStamp;

    // Those of a publication: "*", the key and its wild form, each
    // ancestor and its wild form, the key's first word. Looked up once per
    // key and thread until the subscriptions change: the boards publish
    // thousands of values a second under a few hundred keys.
    struct Publication
    {
        QVarLengthArray<QObject*, 16> receivers; // each once
        LatestValues::KeyKind kind;
    };
    const Publication& publicationOf(const QString& storedKey) const;
    void collectPublicationSubscribersUncached(const QString& storedKey, ServedSet& served) const;
    // Whom a command over several instances notifies, under which key, in
    // order, each receiver once. Looked up once per key, changed instances
    // and thread until the subscriptions change: a remote client sets the
    // same key line after line.
    struct PatternGroup
    {
        QString key;
        QVarLengthArray<QObject*, 8> receivers;
    };
    using PatternPlan = std::vector<PatternGroup>;
    const PatternPlan& patternPlan(const QString& storedKey,
                                   const QList<int>& changedInstances) const;
    PatternPlan planPattern(const QString& storedKey, const QList<int>& changedInstances) const;
    // Expects the write lock held.
    void subscriptionsChanged();

    // pattern -> receivers; among equal patterns the newest comes first
    std::multimap<QString, QObject*> subscribers;
    // Unique among all stores: a thread's lookups made for one state of one
    // store's subscriptions serve only that state.
    quint64 subscriptionGeneration = 0;
    QHash<QObject*, QMetaObject::Connection> watchedReceivers;
    mutable LatestValues latestValues;
};
