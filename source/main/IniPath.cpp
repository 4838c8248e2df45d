#include "main/IniPath.h"

QString iniPath(const QStringList& arguments, const QString& home, const QString& appData)
{
    Q_UNUSED(arguments)
    return preparedSettingsDirectory(home, appData) + kDefaultIniName;
}
