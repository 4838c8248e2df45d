#include "main/IniPath.h"

#include <QFileInfo>

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

QString iniPathRefusal(const QString& path)
{
    const QFileInfo file(path);
    const QString name = file.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || file.isDir())
        return QStringLiteral("it is a folder");
    if (file.exists() && !file.isFile())
        return QStringLiteral("it is no regular file");
    return QString();
}
