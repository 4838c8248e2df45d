#include "main/ProjectFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kIniSuffix = QStringLiteral(".ini");
const QString kProjectSuffix = QStringLiteral(".fm");
const QString kBackupSuffix = QStringLiteral(".fbk");

// Projects hold the whole channel plan; nobody else on the machine needs to
// read it, let alone write it.
constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr qint64 kCopyChunk = 64 * 1024;

QString withSuffix(const QString& path, const QString& suffix, const QString& replacement)
{
    if (QFileInfo(path).fileName().endsWith(suffix))
        return path.chopped(suffix.size()) + replacement;
    return path + replacement;
}

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString translated(const char* text)
{
    return QCoreApplication::translate("FMManager", text);
}

// Writes source's content into a new file that replaces target only on
// commit(); target stays untouched until then.
bool stageCopy(const QString& source, QSaveFile& staged)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly) || !staged.open(QIODevice::WriteOnly))
        return false;
    if (!staged.setPermissions(kPrivate))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() || staged.write(chunk) != chunk.size())
            return false;
    }
    return in.error() == QFileDevice::NoError;
}

// The file becomes its backup, replacing an older one.
void rotate(const QString& path, const QString& backup)
{
    if (!QFile::exists(path))
        return;
    QFile::remove(backup);
    QFile::rename(path, backup);
}

} // namespace

QString ProjectFiles::workingCopyPath(const QString& iniPath)
{
    return withSuffix(iniPath, kIniSuffix, kProjectSuffix);
}

QString ProjectFiles::backupPath(const QString& projectPath)
{
    return withSuffix(projectPath, kProjectSuffix, kBackupSuffix);
}

bool ProjectFiles::samePath(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    return cleanAbsolute(a) == cleanAbsolute(b);
}

QString ProjectFiles::loadOntoWorkingCopy(const QString& chosen, const QString& workingCopy)
{
    if (samePath(chosen, workingCopy))
        return QString();
    if (!QFileInfo(chosen).isFile())
        return translated(QT_TRANSLATE_NOOP("FMManager", "Datei nicht gefunden"));
    // Copied before the rotation, so the backup itself can be chosen.
    QSaveFile staged(workingCopy);
    if (!stageCopy(chosen, staged))
        return translated(QT_TRANSLATE_NOOP("FMManager", "Datei kann nicht geladen werden"));
    const QString backup = backupPath(workingCopy);
    rotate(workingCopy, backup);
    if (staged.commit())
        return QString();
    if (!QFile::exists(workingCopy))
        QFile::rename(backup, workingCopy);
    return translated(QT_TRANSLATE_NOOP("FMManager", "Datei kann nicht geladen werden"));
}

bool ProjectFiles::startEmptyWorkingCopy(const QString& workingCopy)
{
    rotate(workingCopy, backupPath(workingCopy));
    // A working copy that could not be moved aside still must not leak
    // into the new project.
    if (QFile::exists(workingCopy))
        QFile::remove(workingCopy);
    return !QFile::exists(workingCopy);
}

bool ProjectFiles::saveCopy(const QString& workingCopy, const QString& target,
                            const QString& iniPath)
{
    if (target.isEmpty() || samePath(target, workingCopy) || samePath(target, iniPath))
        return false;
    QSaveFile staged(target);
    if (!stageCopy(workingCopy, staged))
        return false;
    // The old target is copied, not moved, so it stays in place until the
    // new one replaces it in one step.
    const QString backup = backupPath(target);
    const bool makeBackup = QFileInfo(target).isFile() && !QFileInfo::exists(backup);
    if (makeBackup && !QFile::copy(target, backup))
        return false;
    if (staged.commit())
        return true;
    if (makeBackup)
        QFile::remove(backup);
    return false;
}

QString ProjectFiles::recentNormalForm(const QString& path)
{
    QString normal = path.trimmed();
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    normal.replace(QStringLiteral("//"), QStringLiteral("/"));
    return normal;
}

QStringList ProjectFiles::updatedRecent(const QStringList& stored, const QString& path)
{
    QStringList recent{recentNormalForm(path)};
    for (const QString& entry : stored) {
        const QString normal = recentNormalForm(entry);
        if (!normal.isEmpty() && !recent.contains(normal))
            recent.append(normal);
    }
    return recent.mid(0, kRecentSlots);
}

bool ProjectFiles::makePrivate(const QString& path)
{
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    file.close();
    return file.setPermissions(kPrivate);
}
