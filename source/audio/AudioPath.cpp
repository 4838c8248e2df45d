#include "audio/AudioPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>

namespace {

QMutex folderLock;

QString& chosenFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString AudioPath::resolved(const QString& path)
{
    const QFileInfo given(path);
    if (path.isEmpty() || given.isAbsolute() || given.exists())
        return path;
    const QString beside = QDir(fallbackFolder()).filePath(path);
    return QFileInfo::exists(beside) ? beside : path;
}

void AudioPath::setFallbackFolder(const QString& folder)
{
    QMutexLocker locker(&folderLock);
    chosenFolder() = folder;
}

QString AudioPath::fallbackFolder()
{
    {
        QMutexLocker locker(&folderLock);
        if (!chosenFolder().isEmpty())
            return chosenFolder();
    }
    return QCoreApplication::applicationDirPath();
}
