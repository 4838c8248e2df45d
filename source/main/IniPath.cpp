#include "main/IniPath.h"

namespace {

const QString kIniOption = QStringLiteral("-i");

QString iniNameOf(const QStringList& arguments)
{
    QString name = kDefaultIniName;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == kIniOption)
            name = arguments[i + 1];
    }
    return name;
}

bool hasSeparator(const QString& name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
}

} // namespace

QString iniPath(const QStringList& arguments, const QString& home, const QString& appData)
{
    const QString name = iniNameOf(arguments);
    if (hasSeparator(name))
        return name;
    return preparedSettingsDirectory(home, appData) + name;
}
