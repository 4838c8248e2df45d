#pragma once

#include "settings/SetValue.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>
#include <span>
#include <vector>

// The run-time values the board threads publish all the time (play
// position, distance, song playing, channel status, RDS log records) arrive
// thousands of times a second, and a remote client may set a key thousands
// of times a second. A receiver that only shows what the keys hold (a page)
// takes them in batches: the publishing thread queues each value and posts
// one delivery for all such receivers, made at most once per interval, so
// the receivers' thread is woken and lays its pages out once per frame, not
// once per value. Within a batch a key keeps only its newest value, in the
// place of its first; RDS log records are kept every one, in order (the
// monitor counts every group). A receiver that skips the stream keys (the
// event log, the timeline's recorder) never has them queued and hears every
// other value each one, in order, in the next pass of the store's thread,
// with the others of the same pass in one delivery. Any other receiver (a
// board thread's programme, a remote client that did not ask for batches)
// hears each value through a mailbox of its own that is posted once until
// it is emptied: its thread is woken once for all the values that came
// before it got to them, not once per value. A mailbox in another thread
// that the store's thread fills is posted when that thread's pass ends, so
// a remote client's lines run in one pass wake a board thread once, and no
// sooner than a millisecond after the previous such wake: a client that sends
// line after line, each in a pass of its own, wakes it a thousand times a
// second at most, not once per line (its board takes a command at most once
// per fill tick of a millisecond anyway).
class LatestValues
{
public:
    LatestValues();
    ~LatestValues();

    // Stored key form: "chinfo.3/playpos", "chstatus.3", "songinfo".
    static bool isStateKey(const QString& storedKey);
    // "chinfo.3/rdslog/2": kept every one.
    static bool isRecordKey(const QString& storedKey);
    // What the boards publish many times a second, on every play position,
    // status reply or RDS group: the state keys but the song playing and
    // its rate, and the RDS log records.
    static bool isStreamKey(const QString& storedKey);
    // What post() needs to know of a key, for a caller that publishes the
    // same keys again and again to work out once.
    struct KeyKind
    {
        bool record = false;
        bool stream = false;
    };
    static KeyKind kindOf(const QString& storedKey);

    // Milliseconds of a monotonic clock; tests hand in their own.
    using Clock = std::function<qint64()>;
    // Hands the queued values over at most once per interval (0: in every
    // pass of the receivers' event loop, as they come). A window that paints
    // fifty frames a second has no use for more, and every delivery wakes
    // its thread: the boards publish thousands of values a second. Called in
    // the receivers' thread.
    void setInterval(int ms, Clock clock = {});

    // The receiver shows the keys: it takes their newest values, paced.
    void add(QObject* receiver);
    // The receiver has no use for the stream keys: they are dropped before
    // anything is queued for it (until add() again); every other value it
    // hears each one.
    void skip(QObject* receiver);
    void forget(QObject* receiver);
    // Queues key=value for receiver (for a page, replacing a value of the key
    // that still waits), or drops a stream key for a receiver that skips
    // them.
    void post(QObject* receiver, const QString& key, const QVariant& value);
    // As post() for each of receivers, in one go.
    void post(std::span<QObject* const> receivers, const QString& key, const QVariant& value);
    void post(std::span<QObject* const> receivers, const QString& key, const QVariant& value,
              KeyKind kind);

private:
    struct Entry
    {
        QString key;
        QVariant value;
    };
    // A receiver's values waiting for the next delivery. It stays from one
    // delivery to the next, with the keys it was sent: the boards publish
    // the same keys again and again, and a board thread must not build a
    // table of them anew for every frame.
    struct Queue
    {
        std::vector<Entry> entries;
        struct Slot
        {
            quint64 delivery = 0; // the value waits in entries while this is the queue's
            size_t index = 0;     // into entries
        };
        QHash<QString, Slot> latestEntry;
        quint64 delivery = 1; // counts the deliveries of the queue
    };
    class Courier;
    struct Mailbox;
    class MailboxDrop;
    class BatchDrop;

    // The values waiting for one delivery, and who delivers them.
    struct Batch
    {
        QHash<QObject*, Queue> queues;
        QList<QObject*> queued; // receivers with values waiting, in the order of their first
        bool posted = false;    // the courier has a delivery on its way
        std::unique_ptr<Courier> courier;

        // Used in the receivers' thread only.
        int intervalMs = 0;
        qint64 lastDelivery = 0;
        bool delivered = false;
        QTimer* intervalEnd = nullptr; // a child of the courier
    };

    void makeCourier(Batch& batch);
    // A delivery was posted: it is made now, or when the batch's interval
    // ends.
    void arrived(Batch& batch);
    // Hands every value queued in from to its receiver, in the order queued.
    void deliver(Batch& from);
    bool takes(QObject* receiver);
    // Expects the mutex held.
    void postToMailbox(QObject* receiver, const QString& key, const QVariant& value);
    // Expects the mutex held.
    void postHeldDrops();
    // Expects the mutex held; in the receivers' thread. Posts the held drops
    // now, or when a millisecond has passed since the last were posted.
    void releaseHeldDrops();
    // Expects the mutex held.
    void postCourier(Batch& batch);
    // Expects the mutex held. latestOnly: a value of the key still waiting
    // is replaced, in its place.
    void enqueue(Batch& batch, QObject* receiver, const QString& key, const QVariant& value,
                 bool latestOnly);

    QMutex mutex;
    QSet<QObject*> receivers;
    QSet<QObject*> skipping;
    Batch runTime; // the pages' values, paced by the interval
    Batch others;  // for the receivers that skip the stream, in the next pass
    // Of the receivers outside the batches, for as long as they are heard of.
    QHash<QObject*, std::shared_ptr<Mailbox>> mailboxes;
    // Drops for receivers in other threads, made in the store's thread: they
    // go out with the next delivery of the others batch (postToMailbox()).
    struct HeldDrop
    {
        QObject* receiver;
        std::shared_ptr<Mailbox> box;
    };
    std::vector<HeldDrop> heldDrops;
    qint64 heldDropsPosted = -1;    // when the held drops were last posted, by clock
    QTimer* heldDropsDue = nullptr; // a child of the others' courier
    QThread* home = nullptr; // the receivers' thread, where the couriers live

    Clock clock; // used in the receivers' thread only; paces the held drops too
};
