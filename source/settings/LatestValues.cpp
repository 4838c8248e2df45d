#include "settings/LatestValues.h"

#include <QCoreApplication>
#include <QMutexLocker>

bool LatestValues::isStateKey(const QString& storedKey)
{
    if (storedKey == QLatin1String("songinfo"))
        return true;
    if (storedKey.startsWith(QLatin1String("chstatus.")))
        return !storedKey.contains(QLatin1Char('/'));
    if (!storedKey.startsWith(QLatin1String("chinfo.")))
        return false;
    // RDS log records are never among them: the monitor counts every group.
    static const QLatin1String kStateParts[] = {QLatin1String("/playpos"), QLatin1String("/dist"),
                                                QLatin1String("/playing"),
                                                QLatin1String("/playrate")};
    for (QLatin1String part : kStateParts) {
        if (storedKey.endsWith(part))
            return true;
    }
    return false;
}

void LatestValues::add(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    receivers.insert(receiver);
}

void LatestValues::forget(QObject* receiver)
{
    QMutexLocker locker(&mutex);
    receivers.remove(receiver);
    pendingByReceiver.remove(receiver);
}

bool LatestValues::post(QObject* receiver, const QString& key, const QVariant& value)
{
    QMutexLocker locker(&mutex);
    if (!receivers.contains(receiver))
        return false;
    std::shared_ptr<PendingValue>& pending = pendingByReceiver[receiver][key];
    if (!pending)
        pending = std::make_shared<PendingValue>();
    QMutexLocker valueLocker(&pending->mutex);
    pending->value = value;
    if (pending->waiting)
        return true;
    pending->waiting = true;
    QCoreApplication::postEvent(receiver, new SetValue(key, pending), Qt::NormalEventPriority);
    return true;
}
