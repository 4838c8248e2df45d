#pragma once

// Helpers of the control server tests: a line client that knows the
// server's markers and a server serving a copy of the test project on a free
// port.

#include "remote/FMServer.h"
#include "settings/FMSettings.h"

#include "LineClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The exchanges of one command with the server's own markers.
class ServerClient : public LineClient
{
public:
    // The reply lines of one command: VER is sent behind it, and its info
    // line marks the end of the command's replies.
    QStringList exchange(const QByteArray& command)
    {
        send(command + "\r\nVER\r\n");
        return takeUntil(FMServer::infoLine());
    }

    // The same for commands that answer with the info line themselves.
    QStringList exchangeBeforeUsage(const QByteArray& command)
    {
        send(command + "\r\nREG\r\n");
        return takeUntil(QStringLiteral("register key example: REG channel.1"));
    }
};

// A server on a free port with a store on a copy of data/project.fm. The
// home directory is moved into the temporary folder so that the server's
// settings folder is made there.
class ServerRig
{
public:
    QTemporaryDir dir;
    QString projectPath;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<FMServer> server;

    ServerRig()
    {
        qputenv("HOME", dir.path().toUtf8());
        projectPath = copyProject(QStringLiteral("project.fm"));
        store = QSharedPointer<FMSettings>::create(projectPath);
        server = std::make_unique<FMServer>();
        server->setPort(0);
        server->setCurrentDirectory(dir.path());
        server->setProject(store, projectPath);
    }

    QString copyProject(const QString& name) const
    {
        const QString target = dir.filePath(name);
        QFile::remove(target);
        QFile::copy(QStringLiteral(TEST_DATA_DIR "/project.fm"), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    quint16 port() const { return server->listeningPort(); }

    // A connected client past its greeting.
    std::unique_ptr<ServerClient> client()
    {
        auto line = std::make_unique<ServerClient>();
        if (!line->connectTo(port()))
            return nullptr;
        line->takeUntil(FMServer::infoLine());
        line->exchange(QByteArray()); // the REG ok lines of the greeting
        return line;
    }

    // Turns off the default pushes, so that replies stand alone.
    void quieten(ServerClient& line)
    {
        QByteArray commands;
        for (const QString& key : server->registrations())
            commands += "UNR " + key.toUtf8() + "\r\n";
        line.exchange(commands);
    }
};
