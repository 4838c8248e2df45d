#include "board/BoardLock.h"

#include <QSysInfo>

QString BoardLock::ownerName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    QString computer = qEnvironmentVariable("COMPUTERNAME");
    if (computer.isEmpty())
        computer = QSysInfo::machineHostName();
    return user + QLatin1Char('@') + computer;
}
