#include "settings/LatestValues.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>

// Lives in the thread that made the store (the receivers' thread) and runs
// the deliveries there. Its event is an empty SetValue, so that whoever hands
// out the waiting notifications by their type hands out these too.
class LatestValues::Courier : public QObject
{
public:
    explicit Courier(LatestValues& values) : values(values) {}

    bool event(QEvent* event) override
    {
        if (event->type() != SetValue::kType)
            return QObject::event(event);
        values.arrived();
        return true;
    }

private:
    LatestValues& values;
};

LatestValues::LatestValues() : courier(std::make_unique<Courier>(*this))
{
    intervalEnd = new QTimer(courier.get());
    intervalEnd->setSingleShot(true);
    intervalEnd->setTimerType(Qt::PreciseTimer);
    QObject::connect(intervalEnd, &QTimer::timeout, courier.get(), [this] { arrived(); });
}

void LatestValues::setInterval(int ms, Clock clock)
{
    intervalMs = std::max(ms, 0);
    if (clock) {
        this->clock = std::move(clock);
        return;
    }
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    this->clock = [started] { return started->elapsed(); };
}

LatestValues::~LatestValues() = default;

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
    queues.remove(receiver);
    queued.removeAll(receiver);
}

bool LatestValues::post(QObject* receiver, const QString& key, const QVariant& value)
{
    Receivers direct;
    post({&receiver, 1}, key, value, direct);
    return direct.isEmpty();
}

void LatestValues::post(std::span<QObject* const> receivers, const QString& key,
                        const QVariant& value, Receivers& direct)
{
    const bool state = isStateKey(key);
    if (!state && !isRecordKey(key)) {
        direct.append(receivers.data(), qsizetype(receivers.size()));
        return;
    }
    const bool stream = isStreamKey(key);
    QMutexLocker locker(&mutex);
    for (QObject* receiver : receivers) {
        if (!this->receivers.contains(receiver))
            direct.append(receiver);
        else if (!stream || !skipping.contains(receiver))
            enqueue(receiver, key, value, state);
    }
}

void LatestValues::enqueue(QObject* receiver, const QString& key, const QVariant& value,
                           bool state)
{
    auto found = queues.find(receiver);
    if (found == queues.end()) {
        found = queues.insert(receiver, Queue());
        queued.append(receiver);
    }
    Queue& queue = *found;
    if (state) {
        const auto waiting = queue.stateEntry.constFind(key);
        if (waiting != queue.stateEntry.constEnd()) {
            queue.entries[*waiting].value = value;
            return;
        }
        queue.stateEntry.insert(key, queue.entries.size());
    }
    queue.entries.push_back({key, value});
    if (!deliveryPosted) {
        deliveryPosted = true;
        QCoreApplication::postEvent(courier.get(), new SetValue(QString(), QVariant()),
                                    Qt::NormalEventPriority);
    }
}

bool LatestValues::takes(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    return receivers.contains(receiver);
}

void LatestValues::arrived()
{
    if (intervalMs > 0 && delivered) {
        const qint64 since = clock() - lastDelivery;
        if (since < intervalMs) {
            // Until then no board posts again: everything published
            // meanwhile joins this delivery. The clock decides when the
            // interval ends; the timer only wakes us to look.
            if (!intervalEnd->isActive())
                intervalEnd->start(int(intervalMs - since));
            return;
        }
    }
    deliver();
}

void LatestValues::deliver()
{
    if (intervalMs > 0) {
        lastDelivery = clock();
        delivered = true;
    }
    QHash<QObject*, Queue> batch;
    QList<QObject*> order;
    {
        QMutexLocker locker(&mutex);
        batch.swap(queues);
        order.swap(queued);
        deliveryPosted = false;
    }
    for (QObject* receiver : std::as_const(order)) {
        for (Entry& entry : batch[receiver].entries) {
            // A receiver may go away while an earlier one is notified.
            if (!takes(receiver))
                break;
            if (receiver->thread() == QThread::currentThread()) {
                SetValue event(entry.key, entry.value);
                QCoreApplication::sendEvent(receiver, &event);
            } else {
                QCoreApplication::postEvent(receiver, new SetValue(entry.key, entry.value),
                                            Qt::NormalEventPriority);
            }
        }
    }
}
