#include "settings/LatestValues.h"

#include "settings/MonotonicClock.h"
#include "settings/Observer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <utility>

namespace {

// The shortest time between two wakes of the other threads' receivers for
// what the store's thread held back.
constexpr qint64 kHeldDropGapMs = 1;

} // namespace

// Lives in the thread that made the store (the receivers' thread) and runs
// the deliveries there. Its event is an empty SetValue, so that whoever hands
// out the waiting notifications by their type hands out these too.
class LatestValues::Courier : public QObject
{
public:
    Courier(LatestValues& values, Batch& batch) : values(values), batch(batch) {}

    bool event(QEvent* event) override
    {
        if (event->type() != SetValue::kType)
            return QObject::event(event);
        values.arrived(batch);
        return true;
    }

private:
    LatestValues& values;
    Batch& batch;
};

// The values on their way to one receiver outside the batches. Shared with
// the event posted for them, which may outlive the store.
struct LatestValues::Mailbox
{
    QMutex mutex;
    std::vector<Entry> entries;
    bool posted = false; // a MailboxDrop is on its way
};

// Posted to the receiver when its mailbox gets its first value; whatever
// joins the mailbox until the receiver's loop comes to it is delivered with
// it, in order.
class LatestValues::MailboxDrop : public SetValue
{
public:
    explicit MailboxDrop(std::shared_ptr<Mailbox> box)
        : SetValue(QString(), QVariant()), box(std::move(box))
    {
    }

    ~MailboxDrop() override
    {
        if (opened)
            return;
        // Taken back undelivered (the receiver went away or dropped what was
        // on its way): so is what it carried.
        QMutexLocker locker(&box->mutex);
        box->entries.clear();
        box->posted = false;
    }

    void deliverTo(Observer& observer) override
    {
        std::vector<Entry> entries;
        {
            QMutexLocker locker(&box->mutex);
            entries.swap(box->entries);
            box->posted = false;
        }
        opened = true;
        for (Entry& entry : entries) {
            SetValue event(std::move(entry.key), std::move(entry.value));
            observer.notify(&event);
        }
    }

private:
    std::shared_ptr<Mailbox> box;
    bool opened = false;
};

// A receiver's share of a delivery in its own thread, handed over in one
// event: the event log hears a remote client's lines of a pass through one
// event, not one each.
class LatestValues::BatchDrop : public SetValue
{
public:
    BatchDrop(LatestValues& values, QObject* receiver, std::vector<Entry>& entries)
        : SetValue(QString(), QVariant()), values(values), receiver(receiver), entries(entries)
    {
    }

    void deliverTo(Observer& observer) override
    {
        for (Entry& entry : entries) {
            // The receiver may leave the batches while it is notified.
            if (!values.takes(receiver))
                return;
            SetValue event(std::move(entry.key), std::move(entry.value));
            observer.notify(&event);
        }
    }

private:
    LatestValues& values;
    QObject* receiver;
    std::vector<Entry>& entries;
};

LatestValues::LatestValues() : clock(monotonicMs)
{
    makeCourier(runTime);
    makeCourier(others);
    home = runTime.courier->thread();
    heldDropsDue = new QTimer(others.courier.get());
    heldDropsDue->setSingleShot(true);
    heldDropsDue->setTimerType(Qt::PreciseTimer);
    QObject::connect(heldDropsDue, &QTimer::timeout, others.courier.get(), [this] {
        QMutexLocker locker(&mutex);
        postHeldDrops();
        heldDropsPosted = clock();
    });
}

void LatestValues::makeCourier(Batch& batch)
{
    batch.courier = std::make_unique<Courier>(*this, batch);
    batch.intervalEnd = new QTimer(batch.courier.get());
    batch.intervalEnd->setSingleShot(true);
    batch.intervalEnd->setTimerType(Qt::PreciseTimer);
    QObject::connect(batch.intervalEnd, &QTimer::timeout, batch.courier.get(),
                     [this, &batch] { arrived(batch); });
}

void LatestValues::setInterval(int ms, Clock clock)
{
    runTime.intervalMs = std::max(ms, 0);
    this->clock = clock ? std::move(clock) : Clock(monotonicMs);
}

LatestValues::~LatestValues()
{
    QMutexLocker locker(&mutex);
    postHeldDrops();
}

bool LatestValues::isStateKey(const QString& storedKey)
{
    if (storedKey == QLatin1String("songinfo"))
        return true;
    if (storedKey.startsWith(QLatin1String("chstatus.")))
        return !storedKey.contains(QLatin1Char('/'));
    if (!storedKey.startsWith(QLatin1String("chinfo.")))
        return false;
    static const QLatin1String kStateParts[] = {QLatin1String("/playpos"), QLatin1String("/dist"),
                                                QLatin1String("/playing"),
                                                QLatin1String("/playrate")};
    for (QLatin1String part : kStateParts) {
        if (storedKey.endsWith(part))
            return true;
    }
    return false;
}

bool LatestValues::isRecordKey(const QString& storedKey)
{
    return storedKey.startsWith(QLatin1String("chinfo.")) &&
           storedKey.contains(QLatin1String("/rdslog/"));
}

bool LatestValues::isStreamKey(const QString& storedKey)
{
    if (isRecordKey(storedKey))
        return true;
    return isStateKey(storedKey) && !storedKey.endsWith(QLatin1String("/playing")) &&
           !storedKey.endsWith(QLatin1String("/playrate"));
}

void LatestValues::add(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    skipping.remove(receiver);
    receivers.insert(receiver);
}

void LatestValues::skip(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    receivers.insert(receiver);
    skipping.insert(receiver);
}

void LatestValues::forget(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    receivers.remove(receiver);
    skipping.remove(receiver);
    // What is on its way stays so (a drop held back goes out now): only new
    // values would need the mailbox.
    mailboxes.remove(receiver);
    const auto held =
        std::find_if(heldDrops.begin(), heldDrops.end(),
                     [receiver](const HeldDrop& h) { return h.receiver == receiver; });
    if (held != heldDrops.end()) {
        QCoreApplication::postEvent(receiver, new MailboxDrop(std::move(held->box)),
                                    Qt::NormalEventPriority);
        heldDrops.erase(held);
    }
    for (Batch* batch : {&runTime, &others}) {
        batch->queues.remove(receiver);
        batch->queued.removeAll(receiver);
    }
}

void LatestValues::post(QObject* receiver, const QString& key, const QVariant& value)
{
    post({&receiver, 1}, key, value);
}

LatestValues::KeyKind LatestValues::kindOf(const QString& storedKey)
{
    return {isRecordKey(storedKey), isStreamKey(storedKey)};
}

void LatestValues::post(std::span<QObject* const> receivers, const QString& key,
                        const QVariant& value)
{
    post(receivers, key, value, kindOf(key));
}

void LatestValues::post(std::span<QObject* const> receivers, const QString& key,
                        const QVariant& value, KeyKind kind)
{
    QMutexLocker locker(&mutex);
    for (QObject* receiver : receivers) {
        if (!this->receivers.contains(receiver)) {
            postToMailbox(receiver, key, value);
        } else if (!skipping.contains(receiver)) {
            // A page shows what the keys hold, at most once a frame: a key
            // the boards publish a thousand times a second, or a remote
            // client sets line after line, is drawn with its newest value.
            enqueue(runTime, receiver, key, value, !kind.record);
        } else if (kind.stream) {
            continue;
        } else if (receiver->thread() == home) {
            // The event log and the timeline's recorder keep each change,
            // with its time: one delivery for all of them in the next pass.
            enqueue(others, receiver, key, value, false);
        } else {
            postToMailbox(receiver, key, value);
        }
    }
}

void LatestValues::postToMailbox(QObject* receiver, const QString& key, const QVariant& value)
{
    std::shared_ptr<Mailbox>& box = mailboxes[receiver];
    if (!box)
        box = std::make_shared<Mailbox>();
    {
        QMutexLocker locker(&box->mutex);
        box->entries.push_back({key, value});
        if (box->posted)
            return;
        box->posted = true;
    }
    // A remote client's lines are run one after another in a pass of the
    // store's thread. A board thread woken at each would take its values
    // one at a time: its drop goes out when the pass ends, with the event
    // log's delivery of the same values.
    if (receiver->thread() != home && QThread::currentThread() == home) {
        heldDrops.push_back({receiver, box});
        postCourier(others);
        return;
    }
    // Outside the mailbox's lock: a drop that cannot be posted is deleted at
    // once, and its destructor takes the lock.
    QCoreApplication::postEvent(receiver, new MailboxDrop(box), Qt::NormalEventPriority);
}

void LatestValues::postHeldDrops()
{
    for (HeldDrop& held : heldDrops)
        QCoreApplication::postEvent(held.receiver, new MailboxDrop(std::move(held.box)),
                                    Qt::NormalEventPriority);
    heldDrops.clear();
}

void LatestValues::releaseHeldDrops()
{
    if (heldDrops.empty())
        return;
    const qint64 now = clock();
    if (heldDropsPosted < 0 || now - heldDropsPosted >= kHeldDropGapMs) {
        heldDropsDue->stop();
        postHeldDrops();
        heldDropsPosted = now;
        return;
    }
    // What the passes until then hold back joins these drops. The timer
    // posts them whatever the clock says: it only ends the wait.
    if (!heldDropsDue->isActive())
        heldDropsDue->start(int(kHeldDropGapMs));
}

void LatestValues::enqueue(Batch& batch, QObject* receiver, const QString& key,
                           const QVariant& value, bool latestOnly)
{
    Queue& queue = batch.queues[receiver];
    if (latestOnly) {
        Queue::Slot& slot = queue.latestEntry[key];
        if (slot.delivery == queue.delivery) {
            queue.entries[slot.index].value = value;
            return;
        }
        slot = {queue.delivery, queue.entries.size()};
    }
    if (queue.entries.empty())
        batch.queued.append(receiver);
    queue.entries.push_back({key, value});
    postCourier(batch);
}

void LatestValues::postCourier(Batch& batch)
{
    if (batch.posted)
        return;
    batch.posted = true;
    QCoreApplication::postEvent(batch.courier.get(), new SetValue(QString(), QVariant()),
                                Qt::NormalEventPriority);
}

bool LatestValues::takes(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    return receivers.contains(receiver);
}

void LatestValues::arrived(Batch& batch)
{
    if (batch.intervalMs > 0 && batch.delivered) {
        const qint64 since = clock() - batch.lastDelivery;
        if (since < batch.intervalMs) {
            // Until then no one posts again: everything published meanwhile
            // joins this delivery. The clock decides when the interval ends;
            // the timer only wakes us to look.
            if (!batch.intervalEnd->isActive())
                batch.intervalEnd->start(int(batch.intervalMs - since));
            return;
        }
    }
    deliver(batch);
}

void LatestValues::deliver(Batch& from)
{
    if (from.intervalMs > 0) {
        from.lastDelivery = clock();
        from.delivered = true;
    }
    std::vector<std::pair<QObject*, std::vector<Entry>>> batch;
    {
        QMutexLocker locker(&mutex);
        batch.reserve(size_t(from.queued.size()));
        for (QObject* receiver : std::as_const(from.queued)) {
            Queue& queue = from.queues[receiver];
            batch.emplace_back(receiver, std::move(queue.entries));
            queue.entries.clear();
            ++queue.delivery;
        }
        from.queued.clear();
        from.posted = false;
        if (&from == &others)
            releaseHeldDrops();
    }
    for (auto& [receiver, entries] : batch) {
        // A receiver may go away while an earlier one is notified.
        if (!takes(receiver))
            continue;
        if (receiver->thread() == QThread::currentThread()) {
            BatchDrop drop(*this, receiver, entries);
            QCoreApplication::sendEvent(receiver, &drop);
            continue;
        }
        for (Entry& entry : entries) {
            QCoreApplication::postEvent(
                receiver, new SetValue(std::move(entry.key), std::move(entry.value)),
                Qt::NormalEventPriority);
        }
    }
}
