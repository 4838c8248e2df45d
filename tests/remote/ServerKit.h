#pragma once

// Helpers of the control server tests: a line client on a real TCP socket
// and a server serving a copy of the test project on a free port.

#include "remote/FMServer.h"
#include "settings/FMSettings.h"

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

constexpr int kWaitMs = 30000;

// Runs the event loop until done() holds, waking on every socket event
// rather than polling, so that many short exchanges stay quick.
template <typename Done> bool waitUntil(Done done, int timeoutMs = kWaitMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Collects the lines a server sends; every line must end with CR LF.
class LineClient
{
public:
    QTcpSocket socket;
    QStringList lines;
    bool badLineEnd = false; // a CR or LF that was not part of CR LF

    bool connectTo(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(kWaitMs);
    }

    void send(const QByteArray& bytes)
    {
        socket.write(bytes);
        socket.flush();
    }

    void pump()
    {
        pending += socket.readAll();
        qsizetype start = 0;
        qsizetype end = 0;
        while ((end = pending.indexOf("\r\n", start)) >= 0) {
            const QByteArray line = pending.sliced(start, end - start);
            if (line.contains('\r') || line.contains('\n'))
                badLineEnd = true;
            lines.append(QString::fromUtf8(line));
            start = end + 2;
        }
        pending.remove(0, start);
    }

    bool waitForLines(int count, int timeoutMs = kWaitMs)
    {
        return waitUntil(
            [&] {
                pump();
                return lines.size() >= count;
            },
            timeoutMs);
    }

    // Waits for the line and hands back (and forgets) everything up to it.
    QStringList takeUntil(const QString& marker, int timeoutMs = kWaitMs)
    {
        const bool seen = waitUntil(
            [&] {
                pump();
                return lines.contains(marker);
            },
            timeoutMs);
        if (!seen)
            return {QStringLiteral("<no %1 after %2>").arg(marker, lines.join(QLatin1Char('|')))};
        const qsizetype at = lines.indexOf(marker);
        const QStringList before = lines.mid(0, at);
        lines.remove(0, at + 1);
        return before;
    }

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

    bool waitForDisconnect()
    {
        return waitUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }

private:
    QByteArray pending;
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
    std::unique_ptr<LineClient> client()
    {
        auto line = std::make_unique<LineClient>();
        if (!line->connectTo(port()))
            return nullptr;
        line->takeUntil(FMServer::infoLine());
        line->exchange(QByteArray()); // the REG ok lines of the greeting
        return line;
    }

    // Turns off the default pushes, so that replies stand alone.
    void quieten(LineClient& line)
    {
        QByteArray commands;
        for (const QString& key : server->registrations())
            commands += "UNR " + key.toUtf8() + "\r\n";
        line.exchange(commands);
    }
};
