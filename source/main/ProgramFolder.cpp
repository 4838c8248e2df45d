#include "main/ProgramFolder.h"

#include "audio/AudioPath.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString& chosen()
{
    static QString path;
    return path;
}

} // namespace

QString ProgramFolder::path()
{
    return chosen().isEmpty() ? QCoreApplication::applicationDirPath() : chosen();
}

QString ProgramFolder::filePath(const QString& name)
{
    return QDir(path()).filePath(name);
}

void ProgramFolder::setPath(const QString& path)
{
    chosen() = path;
    // Audio named relative to the examples' folder is found beside them.
    AudioPath::setFallbackFolder(path);
}
