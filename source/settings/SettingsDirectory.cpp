#include "settings/SettingsDirectory.h"

#include <QDebug>
#include <QDir>
#include <QFile>

namespace {

// Where the Windows versions before this one kept the application ini.
const QString kOlderIni = QStringLiteral("/Ostvalde/Quorvin.ini");

} // namespace

QString settingsDirectoryOf(const QString& home)
{
    const QString directory = QDir(home).absolutePath() + QStringLiteral("/.quorvin/");
    QDir().mkpath(directory);
    return directory;
}

QString preparedSettingsDirectory(const QString& home, const QString& appData)
{
    const QString directory = settingsDirectoryOf(home);
    // The default name is what an older version left, whatever "-i" names.
    const QString ini = directory + kDefaultIniName;
    if (QFile::exists(ini) || appData.isEmpty() || !QDir(appData).exists())
        return directory;
    if (QFile::copy(appData + kOlderIni, ini))
        qDebug("Quorvin.ini copied to %s", qPrintable(directory));
    return directory;
}

QString settingsDirectory()
{
    return preparedSettingsDirectory(QDir::homePath(), qEnvironmentVariable("APPDATA"));
}
