#include "settings/IniWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<void(const QString&)>& afterWriteHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

QByteArray keptName(const QString& fileName)
{
    return QFile::encodeName(fileName + QStringLiteral(".keep"));
}

// The file's identity on disk: the writer puts a new file in place of the
// old one, so a file that was written is another file. 0: no file.
ino_t fileId(const QString& fileName)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0)
        return 0;
    return status.st_ino;
}

// A second link to the file costs no space: a full disk still has room for
// it, and the writer's replacement leaves the old content there.
void keep(const QString& fileName)
{
    const QByteArray kept = keptName(fileName);
    ::unlink(kept.constData());
    if (QFileInfo::exists(fileName))
        ::link(QFile::encodeName(fileName).constData(), kept.constData());
}

void settle(const QString& fileName, bool complete)
{
    const QByteArray kept = keptName(fileName);
    if (complete || ::access(kept.constData(), F_OK) != 0) {
        ::unlink(kept.constData());
        return;
    }
    ::rename(kept.constData(), QFile::encodeName(fileName).constData());
}

} // namespace

void IniWrite::setAfterWriteHook(std::function<void(const QString&)> hook)
{
    afterWriteHook() = std::move(hook);
}

QString IniWrite::write(QSettings& settings, bool retry, qsizetype keyCount)
{
    const QString fileName = settings.fileName();
    const ino_t previous = fileId(fileName);
    // QSettings keeps the first error it met for good, so its status tells
    // whether this write failed only while it has not failed before.
    const bool failedBefore = settings.status() != QSettings::NoError;
    keep(fileName);
    settings.sync();
    if (afterWriteHook())
        afterWriteHook()(fileName);
    const ino_t current = fileId(fileName);
    QString error;
    if (previous != 0 && current == previous) {
        // Nothing was put in place: a write that failed, or nothing to
        // write. Once the status has nothing more to say, the file tells
        // whether it lacks keys.
        const bool failedNow = failedBefore ? !isComplete(settings, keyCount)
                                            : settings.status() != QSettings::NoError;
        if (failedNow)
            error = QStringLiteral("cannot be written");
    } else if (!isComplete(settings, keyCount)) {
        error = QStringLiteral("incomplete on disk");
    }
    settle(fileName, error.isEmpty());
    if (error.isEmpty() || !retry)
        return error;
    // QSettings takes the write it could not check for done and would read
    // the previous file over the changes: every key is handed to it again.
    for (const QString& key : settings.allKeys())
        settings.setValue(key, settings.value(key));
    return error;
}

bool IniWrite::isComplete(const QSettings& settings, qsizetype keyCount)
{
    const qsizetype keys = keyCount >= 0 ? keyCount : settings.allKeys().size();
    QFile file(settings.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return keys == 0;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    if (content.isEmpty())
        return keys == 0;
    // Every key is one line "name=value" below its group's line, and every
    // line ends with a line feed; a file cut short lacks lines or its last
    // line end.
    if (!content.endsWith('\n'))
        return false;
    qsizetype keyLines = 0;
    for (qsizetype start = 0; start < content.size();) {
        const qsizetype end = content.indexOf('\n', start);
        const QByteArrayView line = QByteArrayView(content).sliced(start, end - start).trimmed();
        if (!line.isEmpty() && !line.startsWith('[') && !line.startsWith(';') && line.contains('='))
            ++keyLines;
        start = end + 1;
    }
    return keyLines >= keys;
}
