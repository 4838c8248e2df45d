#pragma once

#include "tmc/TMCEventRecord.h"
#include "tmc/TMCLocationRecord.h"

#include <QByteArrayList>
#include <QMap>
#include <QMultiMap>

// The process-global TMC tables. They are filled before any board thread
// starts and only read afterwards, so lookups from board threads take no
// lock; a lookup must never insert into a table.
struct TMCReferenceLists
{
    QMap<int, TMCEventRecord> events;
    QMultiMap<int, int> cancellations; // update class -> silent event code
    QMap<int, QByteArrayList> suppInfo;
    QMap<int, TMCLocationRecord> locations;

    static TMCReferenceLists& instance();
};
