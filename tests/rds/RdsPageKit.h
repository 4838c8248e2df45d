#pragma once

// The RDS page on a real store: a project file in a temporary folder, made
// from ini keys, opened by FMSettings and attached to a fresh page. Every
// modal question is answered ahead or dismissed.

#include "KeyRecorder.h"
#include "gui/ModalQuestions.h"
#include "rds/TabRDS.h"
#include "settings/FMSettings.h"

#include <QApplication>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class RdsPageKit
{
public:
    using Keys = QList<std::pair<QString, QVariant>>;

    explicit RdsPageKit(const Keys& keys)
    {
        ModalQuestions::setUnattended(true);
        ModalQuestions::clear();
        store = openProject(QStringLiteral("project.fm"), keys);
        page = std::make_unique<TabRDS>();
        page->setProgram(store);
        deliver();
        recorder.collect();
        recorder.clear();
        store->subscribe(QStringLiteral("rds"), &recorder);
    }

    ~RdsPageKit() { store->unsubscribeAll(&recorder); }

    // Used sources with the given ids, named "Quelle <id>".
    static Keys sources(std::initializer_list<int> ids)
    {
        Keys keys;
        for (int id : ids) {
            keys.append({QStringLiteral("rds.%1/used").arg(id), 1});
            keys.append(
                {QStringLiteral("rds.%1/name").arg(id), QStringLiteral("Quelle %1").arg(id)});
        }
        return keys;
    }

    QSharedPointer<FMSettings> openProject(const QString& name, const Keys& keys) const
    {
        const QString file = dir.filePath(name);
        {
            QSettings project(file, QSettings::IniFormat);
            project.setValue(QStringLiteral("channel.96/used"), 0);
            for (const auto& [key, value] : keys)
                project.setValue(key, value);
        }
        return QSharedPointer<FMSettings>::create(file);
    }

    // Hands the page what the store has posted to it, and what its answers
    // to that posted in turn.
    void deliver() const
    {
        for (int round = 0; round < kRounds; ++round)
            QCoreApplication::sendPostedEvents(nullptr, SetValue::kType);
    }

    // The rds keys written since the page was attached.
    QStringList written()
    {
        deliver();
        recorder.collect();
        return recorder.keys();
    }

    template <typename T> T* find(const char* name) const
    {
        T* found = page->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }

    QTableWidget* table() const { return find<QTableWidget>("sources"); }

    QList<int> rowIds() const
    {
        QList<int> ids;
        for (int row = 0; row < table()->rowCount(); ++row)
            ids.append(table()->item(row, 0)->data(Qt::UserRole).toInt());
        return ids;
    }

    int currentId() const
    {
        QTableWidgetItem* item = table()->currentItem();
        return item ? item->data(Qt::UserRole).toInt() : 0;
    }

    QTemporaryDir dir;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<TabRDS> page;
    KeyRecorder recorder;

private:
    static constexpr int kRounds = 4;
};
