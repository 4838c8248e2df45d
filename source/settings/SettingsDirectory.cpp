#include "settings/SettingsDirectory.h"

#include <QDir>

QString settingsDirectoryOf(const QString& home)
{
    const QString directory = QDir(home).absolutePath() + QStringLiteral("/.quorvin/");
    QDir().mkpath(directory);
    return directory;
}

QString preparedSettingsDirectory(const QString& home, const QString& appData)
{
    Q_UNUSED(appData)
    return settingsDirectoryOf(home);
}

QString settingsDirectory()
{
    return preparedSettingsDirectory(QDir::homePath(), qEnvironmentVariable("APPDATA"));
}
