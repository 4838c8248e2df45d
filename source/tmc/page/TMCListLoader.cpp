#include "tmc/page/TMCListLoader.h"

#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

void TMCListLoader::loadOnce()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const QString dir = QDir::current().filePath(QStringLiteral("lists"));
    loadedFolder() = QDir::cleanPath(QDir::current().absoluteFilePath(QStringLiteral("lists")));
    const QStringList missing = missingIn(dir);
    if (!missing.isEmpty())
        qDebug("TMC: no %s in [%s]", qPrintable(missing.join(QStringLiteral(", "))),
               qPrintable(loadedFolder()));
    TMCEvents::loadLists(dir);
    const QString file = TMCPlaces::locationFile(dir);
    if (!file.isEmpty())
        header() = TMCPlaces::loadLocations(file);
}

const QByteArrayList& TMCListLoader::locationHeader()
{
    return header();
}

QString TMCListLoader::folder()
{
    return loadedFolder();
}

QStringList TMCListLoader::missingFiles()
{
    return loadedFolder().isEmpty() ? QStringList() : missingIn(loadedFolder());
}

QStringList TMCListLoader::missingIn(const QString& listsDir)
{
    QStringList missing;
    for (const char* name : {"ECL401.csv", "forecast.csv", "suppinfo.csv"}) {
        if (!QFileInfo::exists(QDir(listsDir).filePath(QLatin1String(name))))
            missing.append(QLatin1String(name));
    }
    if (TMCPlaces::locationFile(listsDir).isEmpty())
        missing.append(QStringLiteral("LCL*.csv"));
    return missing;
}

QString& TMCListLoader::loadedFolder()
{
    static QString path;
    return path;
}

QByteArrayList& TMCListLoader::header()
{
    static QByteArrayList row;
    return row;
}
