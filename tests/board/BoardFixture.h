#pragma once

// A board thread driving the board emulator on 127.0.0.1, with a project
// store made from ini text in a temporary folder.

#include "BoardEmulator.h"
#include "board/FMBoard.h"
#include "settings/FMSettings.h"

#include <QFile>
#include <QSharedPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

class BoardFixture
{
public:
    static constexpr int kOnlineTimeoutMs = 30000;

    BoardFixture()
    {
        emulator = std::make_unique<BoardEmulator>();
        if (!emulator->start())
            qFatal("emulator does not bind");
    }

    ~BoardFixture() { stopBoard(); }

    BoardIP address() const
    {
        BoardIP ip;
        ip.ipv4 = emulator->ipv4();
        ip.port = emulator->port();
        ip.mac = {0x00, 0x50, 0xC2, 0x11, 0x01, 0x02};
        return ip;
    }

    // The store of a project made of iniText.
    QSharedPointer<FMSettings> project(const QByteArray& iniText)
    {
        const QString path = dir.filePath(QStringLiteral("project%1.fm").arg(++projects));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the project");
        file.write("[board]\ngmin=1\n" + iniText);
        file.close();
        return QSharedPointer<FMSettings>::create(path);
    }

    // RDS data start port 0: the servers are left alone.
    FMBoard* startBoard(QSharedPointer<FMSettings> settings = {})
    {
        board = std::make_unique<FMBoard>(0, 0u, 52u);
        onlineSpy = std::make_unique<QSignalSpy>(board.get(), &FMBoard::online);
        offlineSpy = std::make_unique<QSignalSpy>(board.get(), &FMBoard::offline);
        unlockSpy = std::make_unique<QSignalSpy>(board.get(), &FMBoard::userUnlock);
        if (settings)
            board->setConfig(settings);
        return board.get();
    }

    bool bringOnline(QSharedPointer<FMSettings> settings = {})
    {
        if (!board)
            startBoard(settings);
        board->connectTo(address());
        return QTest::qWaitFor([this] { return board->connectionState() == FMBoard::Online; },
                               kOnlineTimeoutMs);
    }

    // From here on time passes for the board thread and for the emulator
    // only when the test calls advance(): what the board plays and what the
    // engine counts as played are the same, whatever the machine's load.
    // Call between startBoard() and bringOnline().
    void driveClock()
    {
        emulator->setClock([this] { return clockMs.load() * 1000000; });
        board->setClock([this] { return clockMs.load(); });
    }
    void advance(qint64 ms) { clockMs += ms; }

    void stopBoard()
    {
        if (!board)
            return;
        board->quit();
        board->wait();
        board.reset();
    }

    // Types of the datagrams the emulator received, in arrival order.
    QList<quint16> types() const
    {
        QList<quint16> list;
        for (const BoardEmulator::Datagram& d : emulator->received())
            list.append(d.type);
        return list;
    }

    QTemporaryDir dir;
    int projects = 0;
    std::atomic<qint64> clockMs{1000};
    std::unique_ptr<BoardEmulator> emulator;
    std::unique_ptr<FMBoard> board;
    std::unique_ptr<QSignalSpy> onlineSpy;
    std::unique_ptr<QSignalSpy> offlineSpy;
    std::unique_ptr<QSignalSpy> unlockSpy;
};
