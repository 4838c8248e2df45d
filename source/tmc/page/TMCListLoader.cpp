#include "tmc/page/TMCListLoader.h"

#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"

#include <QDebug>
#include <QDir>

void TMCListLoader::loadOnce()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const QString dir = QDir::current().filePath(QStringLiteral("lists"));
    TMCEvents::loadLists(dir);
    const QString file = TMCPlaces::locationFile(dir);
    if (!file.isEmpty())
        header() = TMCPlaces::loadLocations(file);
}

const QByteArrayList& TMCListLoader::locationHeader()
{
    return header();
}

QByteArrayList& TMCListLoader::header()
{
    static QByteArrayList row;
    return row;
}
