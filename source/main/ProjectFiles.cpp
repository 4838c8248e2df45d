#include "main/ProjectFiles.h"

#include "settings/ProjectFileCheck.h"

#include <QCoreApplication>
#include <QDebug>
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

// The path a file is reached by, whatever link or ".." names it; for a
// file that does not exist yet, its folder's canonical path and its name.
QString canonicalForm(const QString& path)
{
    const QFileInfo info(cleanAbsolute(path));
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return info.absoluteFilePath();
    return folder + QLatin1Char('/') + info.fileName();
}

QString translated(const char* text)
{
    return QCoreApplication::translate("FMManager", text);
}

QString reasonFor(ProjectFileCheck::Verdict verdict)
{
    using Verdict = ProjectFileCheck::Verdict;
    switch (verdict) {
    case Verdict::Project:
        return QString();
    case Verdict::Missing:
        return translated(QT_TRANSLATE_NOOP("FMManager", "Datei nicht gefunden"));
    case Verdict::Folder:
        return translated(QT_TRANSLATE_NOOP("FMManager", "Das ist ein Ordner, keine Datei"));
    case Verdict::NotRegularFile:
        return translated(
            QT_TRANSLATE_NOOP("FMManager", "Keine gewöhnliche Datei (FIFO oder Gerät)"));
    case Verdict::Unreadable:
        return translated(QT_TRANSLATE_NOOP("FMManager", "Datei kann nicht geladen werden"));
    case Verdict::NotText:
    case Verdict::NotProject:
    case Verdict::StoredObject:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("FMManager", "Keine FM-Einstellung (Projektdatei)"));
}

// The mode a saved file gets: an existing file keeps the bits its owner
// chose; a new one is private.
QFileDevice::Permissions permissionsFor(const QString& target)
{
    const QFileInfo existing(target);
    return existing.isFile() ? existing.permissions() : kPrivate;
}

// Writes source's content into a new file that replaces target only on
// commit(); target stays untouched until then.
bool stageCopy(const QString& source, QSaveFile& staged, QFileDevice::Permissions permissions)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly) || !staged.open(QIODevice::WriteOnly))
        return false;
    if (!staged.setPermissions(permissions))
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
    return canonicalForm(a) == canonicalForm(b);
}

QString ProjectFiles::loadOntoWorkingCopy(const QString& chosen, const QString& workingCopy)
{
    if (samePath(chosen, workingCopy))
        return QString();
    // Read and checked once, and the bytes checked are the bytes copied:
    // the file may change while it is being looked at. Copied before the
    // rotation, so the backup itself can be chosen.
    QByteArray content;
    const ProjectFileCheck::Result check = ProjectFileCheck::read(chosen, content);
    if (check.verdict != ProjectFileCheck::Verdict::Project) {
        qDebug("man: refused [%s]: %s, line %d", qPrintable(chosen),
               ProjectFileCheck::describe(check.verdict), check.line);
        return reasonFor(check.verdict);
    }
    QSaveFile staged(workingCopy);
    if (!staged.open(QIODevice::WriteOnly) || !staged.setPermissions(kPrivate) ||
        staged.write(content) != content.size())
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
    if (isReserved(target, workingCopy, iniPath))
        return false;
    QSaveFile staged(target);
    if (!stageCopy(workingCopy, staged, permissionsFor(target)))
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

bool ProjectFiles::isReserved(const QString& target, const QString& workingCopy,
                              const QString& iniPath)
{
    return target.isEmpty() || samePath(target, workingCopy) ||
           samePath(target, backupPath(workingCopy)) || samePath(target, iniPath);
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
