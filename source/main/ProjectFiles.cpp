#include "main/ProjectFiles.h"

QString ProjectFiles::workingCopyPath(const QString& iniPath)
{
    return iniPath + QStringLiteral(".fm");
}

QString ProjectFiles::backupPath(const QString& projectPath)
{
    return projectPath + QStringLiteral(".fbk");
}

bool ProjectFiles::samePath(const QString& a, const QString& b)
{
    return a == b;
}

QString ProjectFiles::loadOntoWorkingCopy(const QString& chosen, const QString& workingCopy)
{
    Q_UNUSED(chosen)
    Q_UNUSED(workingCopy)
    return {};
}

bool ProjectFiles::startEmptyWorkingCopy(const QString& workingCopy)
{
    Q_UNUSED(workingCopy)
    return true;
}

bool ProjectFiles::saveCopy(const QString& workingCopy, const QString& target,
                            const QString& iniPath)
{
    Q_UNUSED(workingCopy)
    Q_UNUSED(target)
    Q_UNUSED(iniPath)
    return false;
}

QString ProjectFiles::recentNormalForm(const QString& path)
{
    return path.trimmed();
}

QStringList ProjectFiles::updatedRecent(const QStringList& stored, const QString& path)
{
    return QStringList{path} + stored;
}
