#pragma once

// Header only: the testsupport library links nothing but Qt, so only tests
// that link the settings library include this file.

#include "settings/Observer.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariant>

// A store listener that records every SetValue delivered to it: key, value
// and the thread that delivered it. It listens through a SetHandler as the
// program's listeners do. A recorder moved to another thread is written
// there while the test reads it, hence the mutex.
class KeyRecorder : public QObject, public Observer
{
public:
    KeyRecorder() { installEventFilter(new SetHandler(this)); }

    void notify(SetValue* event) override
    {
        QMutexLocker locker(&mutex);
        recordedKeys.append(event->key);
        recordedValues.append(event->value);
        recordedThreads.append(QThread::currentThread());
    }

    QStringList keys() const
    {
        QMutexLocker locker(&mutex);
        return recordedKeys;
    }

    QVariantList values() const
    {
        QMutexLocker locker(&mutex);
        return recordedValues;
    }

    QList<QThread*> threads() const
    {
        QMutexLocker locker(&mutex);
        return recordedThreads;
    }

    int count() const
    {
        QMutexLocker locker(&mutex);
        return int(recordedKeys.size());
    }

    int count(const QString& key) const
    {
        QMutexLocker locker(&mutex);
        return int(recordedKeys.count(key));
    }

    // The latest value of each key, as text; for checks that care about
    // where a key ended up, not how often it was announced.
    QMap<QString, QString> lastValuesAsText() const
    {
        QMutexLocker locker(&mutex);
        QMap<QString, QString> last;
        for (qsizetype i = 0; i < recordedKeys.size(); ++i)
            last.insert(recordedKeys.at(i), recordedValues.at(i).toString());
        return last;
    }

    void clear()
    {
        QMutexLocker locker(&mutex);
        recordedKeys.clear();
        recordedValues.clear();
        recordedThreads.clear();
    }

    // Forgets the events of one key, e.g. a marker published only to learn
    // that everything before it has been delivered.
    void removeAll(const QString& key)
    {
        QMutexLocker locker(&mutex);
        for (qsizetype i = recordedKeys.size() - 1; i >= 0; --i) {
            if (recordedKeys.at(i) != key)
                continue;
            recordedKeys.removeAt(i);
            recordedValues.removeAt(i);
            recordedThreads.removeAt(i);
        }
    }

    // Delivers what the store has posted to this recorder so far; call it in
    // the recorder's own thread.
    void collect() { QCoreApplication::sendPostedEvents(this, SetValue::kType); }

private:
    mutable QMutex mutex;
    QStringList recordedKeys;
    QVariantList recordedValues;
    QList<QThread*> recordedThreads;
};
