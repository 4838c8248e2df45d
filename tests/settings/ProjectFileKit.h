#pragma once

// Helpers of the project file tests: project files made from ini text in a
// temporary folder, and a listener that records the store's notifications.

#include "settings/FMSettings.h"
#include "settings/SetValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Records the key of every SetValue posted to it.
class KeyRecorder : public QObject
{
public:
    QStringList keys;
    QVariantList values;

    bool event(QEvent* event) override
    {
        if (event->type() != SetValue::kType)
            return QObject::event(event);
        auto* setValue = static_cast<SetValue*>(event);
        keys.append(setValue->key);
        values.append(setValue->value);
        return true;
    }

    int count(const QString& key) const { return int(keys.count(key)); }

    // Delivers what the store posted so far.
    void collect() { QCoreApplication::sendPostedEvents(this, SetValue::kType); }
};

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
