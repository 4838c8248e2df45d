#pragma once

// Helpers of the project file tests: project files made from ini text in a
// temporary folder, and what they hold on disk.

#include "settings/FMSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class ProjectFolder
{
public:
    QString path(const QString& name = QStringLiteral("project.fm")) const
    {
        return dir.filePath(name);
    }

    // A project file holding the given ini text.
    QString write(const QByteArray& iniText,
                  const QString& name = QStringLiteral("project.fm")) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write(iniText);
        return file.fileName();
    }

    // A writable copy of a fixture of the data folder.
    QString copyFixture(const QString& fixture) const
    {
        const QString target = path(fixture);
        QFile::remove(target);
        if (!QFile::copy(QStringLiteral(TEST_DATA_DIR "/") + fixture, target))
            qFatal("cannot copy fixture %s", qPrintable(fixture));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    static std::unique_ptr<FMSettings> open(const QString& fileName)
    {
        return std::make_unique<FMSettings>(fileName);
    }

    // What is on disk now, read past the store.
    static QVariant onDisk(const QString& fileName, const QString& key)
    {
        QSettings file(fileName, QSettings::IniFormat);
        return file.value(key);
    }

    static bool existsOnDisk(const QString& fileName, const QString& key)
    {
        QSettings file(fileName, QSettings::IniFormat);
        return file.contains(key);
    }

private:
    QTemporaryDir dir;
};
