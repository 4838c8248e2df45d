#pragma once

#include "settings/SetValue.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>

#include <memory>

class QObject;

// The run-time state values the board threads publish all the time (play
// position, distance, song playing, channel status) arrive thousands of
// times a second. A receiver that only shows them (a page) needs the
// newest: for it, each such key has at most one delivery waiting in its
// queue, and a newer value replaces the waiting one. Everything else, and
// every receiver that did not ask for this (a remote client's pushes), gets
// each publication.
class LatestValues
{
public:
    // Stored key form: "chinfo.3/playpos", "chstatus.3", "songinfo".
    static bool isStateKey(const QString& storedKey);

    void add(QObject* receiver);
    void forget(QObject* receiver);
    // Posts key=value to receiver, or replaces the value of its delivery of
    // key that still waits. False when receiver takes every value.
    bool post(QObject* receiver, const QString& key, const QVariant& value);

private:
    QMutex mutex;
    QSet<QObject*> receivers;
    QHash<QObject*, QHash<QString, std::shared_ptr<PendingValue>>> pendingByReceiver;
};
