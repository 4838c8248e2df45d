#pragma once

#include "board/RdsDataInput.h"
#include "remote/ClientLines.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>

class FMSettings;
class QTcpServer;
class QTcpSocket;
class QTimer;
class RDSInput;

// The TCP server through which another program feeds RDS groups to one
// programme, one group per text line. Every line goes to the programme
// engine and is answered with the line counter and the channel's RDS fill
// level, so the sender can pace itself; while the sender pauses, a changed
// fill level is reported unprompted. One client at a time: a new one
// replaces the old. Lives in the thread of its programme engine.
//
// That thread also runs the board's 1 ms fill tick, so a client is served a
// few lines per pass of the event loop, and one that sends faster than it
// reads is held back: while more than the pause limit of replies waits for
// it, its lines stay unread (TCP then stops the sender, as the socket keeps
// no more than kReadBufferBytes of them). A client that takes none of its
// replies for kStalledIdleTicks idle ticks in a row while held back is
// closed.
class RDSServer : public QObject, public RdsDataInput
{
    Q_OBJECT

public:
    static constexpr quint32 kDefaultPortOffset = 4000;
    static constexpr int kMaxLineBytes = 1000;
    static constexpr int kIdleTickMs = 350;
    static constexpr qint64 kIdleReportAfterMs = 500;
    static constexpr int kLinesPerPass = 32;
    static constexpr qint64 kReadBufferBytes = 16 * 1024;
    static constexpr qint64 kPauseOutputBytes = 64 * 1024;
    // About a minute.
    static constexpr int kStalledIdleTicks = 170;

    // Makes every programme engine made from now on serve its RDS data
    // input through an RDSServer.
    static void serveProgrammes();

    // The engine passes itself for both parent and input.
    RDSServer(int programme, QObject* parent, RDSInput* input);
    // Does not call the input: when the engine deletes its children it is
    // no longer whole. The engine calls stop() before it goes.
    ~RDSServer() override;

    // A new store clears active; listening goes on.
    void setProject(QSharedPointer<FMSettings> store) override;
    // The board has reported its information: listen.
    void setActive(quint32 boardWord = 0) override;
    // New offset (RDS start port - 1): closes listener and client, and
    // listens again on the new port when active.
    void setPort(quint32 portOffset) override;
    // Closes listener and client; a connected client's remote input ends
    // (the engine is handed an empty line).
    void stop() override;
    void listen();

    int programme() const { return programmeNumber; }
    quint32 portOffset() const { return offset; }
    quint16 port() const;
    bool isActive() const { return active; }
    bool isListening() const;
    bool hasClient() const { return !client.isNull(); }
    // True while the client's lines wait for it to take its replies.
    bool isReadingPaused() const { return readingPaused; }

private slots:
    void onConnection();
    void readLine();
    void onBytesWritten();
    void onDisconnect();
    void sendLine(const QByteArray& bytes);
    void timeout();

private:
    bool logsListening() const;
    void closeListener();
    void dropClient();
    void endRemoteInput();
    void acceptClient(QTcpSocket* socket);
    void handleLine(const QByteArray& received);
    void forgetPendingLines();
    void checkStalled();
    void publishRemoteSource(const QString& address) const;

    QSharedPointer<FMSettings> store;
    const int programmeNumber;
    quint32 offset = kDefaultPortOffset;
    QTcpServer* server;
    QPointer<QTcpSocket> client;
    quint32 lineCounter = 0;
    QTimer* idleTimer;
    QTimer* nextPass;
    bool readingPaused = false;
    // Idle ticks in a row that found the client held back and its unsent
    // replies not shrinking.
    int stalledTicks = 0;
    qint64 unsentAtLastTick = 0;
    QElapsedTimer clock; // monotonic: a clock change must not stall or flood the idle reports
    qint64 lastWriteMs = 0;
    int lastFill = 0;
    bool active = false;
    quint32 boardWord = 0; // kept from the board's information, not interpreted here
    RDSInput* input;
    ClientLines lines{kMaxLineBytes};
};
