#pragma once

// The program window on a temporary home: its ini, working copy and
// projects live in one QTemporaryDir, the control server takes a port that
// was free a moment ago so nothing collides, and every modal question is answered ahead or
// dismissed. The update check asks nobody, nothing is handed to a browser or viewer (the locations
// are kept in opened), and the folder beside the program is the temporary one.

#include "gui/ModalQuestions.h"
#include "main/FMManager.h"
#include "main/ProgramFolder.h"
#include "main/Updater.h"
#include "main/UrlOpener.h"
#include "settings/FMSettings.h"
#include "KeyRecorder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

class WindowKit
{
public:
    static constexpr int kWaitMs = 30000;

    WindowKit()
    {
        qputenv("HOME", dir.path().toUtf8());
        ModalQuestions::setUnattended(true);
        ModalQuestions::clear();
        Updater::setLookup([](const QString&, Updater*) {});
        UrlOpener::setHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        ProgramFolder::setPath(dir.path());
        ini = std::make_unique<QSettings>(iniPath(), QSettings::IniFormat);
        ini->setValue(QStringLiteral("Remote/portRDSData"), 0);
        ini->setValue(QStringLiteral("Remote/portControl"), freePort());
        // A chosen language and a known release: no question at start.
        ini->setValue(QStringLiteral("Board/lang"), QStringLiteral("de"));
        ini->setValue(QStringLiteral("Board/soft"), FMManager::versionText());
    }

    ~WindowKit()
    {
        delete window;
        Updater::setLookup({});
        UrlOpener::setHandler({});
        ProgramFolder::setPath(QString());
    }

    // The system's choice of a port nobody listens on; the ini refuses 0.
    static quint16 freePort()
    {
        QTcpServer probe;
        return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString iniPath() const { return path(QStringLiteral("q.ini")); }
    QString workingCopy() const { return path(QStringLiteral("q.fm")); }

    FMManager* open()
    {
        window = new FMManager(ini.get());
        window->show();
        return window;
    }

    // Closes as the user does and waits for the window to go.
    void close()
    {
        window->close();
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), kWaitMs);
    }

    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }

    // The pages take the store's changes a frame at a time. A probe that
    // takes them as a page does hears a value published now once every page
    // had what came before; each round also lets what the pages answered
    // reach them.
    void settlePages(int rounds = 3) const
    {
        const QSharedPointer<FMSettings> store = window->project();
        KeyRecorder probe;
        store->subscribe(QStringLiteral("windowkitprobe"), &probe);
        store->takeLatestStateValues(&probe);
        for (int round = 1; round <= rounds; ++round) {
            store->publish(QStringLiteral("windowkitprobe"), round);
            QTRY_COMPARE_WITH_TIMEOUT(probe.count(), round, kWaitMs);
        }
        store->unsubscribeAll(&probe);
    }

    void trigger(const QString& action) const
    {
        QAction* found = find<QAction>(action);
        QVERIFY2(found, qPrintable(action));
        found->trigger();
    }

    // Runs an operation of the window that loads a project and asks about
    // unsaved changes first: a menu action by name, "recent" for the recent
    // entry naming project, or "example" for the first example, which is
    // project copied into the folder examples/ of a current directory.
    void runLoading(const QString& operation, const QString& project)
    {
        if (operation == QLatin1String("recent")) {
            QAction entry(project);
            window->openRecent(&entry);
        } else if (operation == QLatin1String("example")) {
            const QString examples = path(QStringLiteral("examples"));
            QDir().mkpath(examples);
            QFile::copy(project, examples + QStringLiteral("/11-1.fm"));
            const QString previous = QDir::currentPath();
            QDir::setCurrent(dir.path());
            trigger(QStringLiteral("act1"));
            QDir::setCurrent(previous);
        } else {
            trigger(operation);
        }
    }

    // A project file holding the given keys (ini form: "channel.1/freq"),
    // or a channel switched off when there are none.
    QString writeProject(const QString& name, const QList<std::pair<QString, QString>>& keys) const
    {
        const QString file = path(name);
        QSettings project(file, QSettings::IniFormat);
        if (keys.isEmpty())
            project.setValue(QStringLiteral("channel.96/used"), 0);
        for (const auto& [key, value] : keys)
            project.setValue(key, value);
        project.sync();
        return file;
    }

    // "BOX IPV4 PORT" of a board emulator as the ini stores a board.
    template <typename Emulator> static QString storedBoard(const Emulator& emulator, int box = 0)
    {
        return QStringLiteral("%1 %2 %3").arg(box).arg(emulator.ipv4()).arg(emulator.port());
    }

    static bool shows(QLabel* light, const QString& icon)
    {
        return light && light->pixmap().toImage() == QPixmap(icon).toImage();
    }

    QTemporaryDir dir;
    std::unique_ptr<QSettings> ini;
    QPointer<FMManager> window;
    QList<QUrl> opened;
};
