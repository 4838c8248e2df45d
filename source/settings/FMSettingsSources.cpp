// RDS and TMC source records.
#include "settings/FMSettings.h"

#include <QReadLocker>
#include <QWriteLocker>

QMap<int, RDSSource> FMSettings::rdsSources() const
{
    QReadLocker locker(&recordsLock);
    return rdsMap;
}

RDSSource FMSettings::rdsSource(int id) const
{
    QReadLocker locker(&recordsLock);
    return rdsMap.value(id);
}

QMap<int, TMCSource> FMSettings::tmcSources() const
{
    QReadLocker locker(&recordsLock);
    return tmcMap;
}

TMCSource FMSettings::tmcSource(int id) const
{
    QReadLocker locker(&recordsLock);
    return tmcMap.value(id);
}
