#pragma once

#include "board/BoardIP.h"
#include "board/BoardInfo.h"
#include "board/BoardLink.h"
#include "board/BoardLock.h"
#include "board/FillTickStats.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QElapsedTimer>
#include <QMutex>
#include <QSharedPointer>
#include <QThread>
#include <QWaitCondition>

#include <array>
#include <atomic>
#include <functional>

class FMProgram;
class FMSettings;
class QTimer;
class QUdpSocket;

// The protocol thread of one board. It connects and locks the board on a
// 200 ms status tick, and on a 1 ms fill tick lets its 24 programme engines
// stream RDS and PCM within fixed byte budgets. The datagram exchange itself
// is the BoardLink the thread creates; the programme engines, the socket and
// the timers all live in the thread.
class FMBoard : public QThread
{
    Q_OBJECT
public:
    static constexpr int kSlots = BoardLink::kSlots;
    static constexpr int kStatusTickMs = 200;
    static constexpr int kFillTickMs = 1;
    // Bytes per fill tick below which RDS, and below which PCM, may go out.
    static constexpr int kRdsBudgetBytes = 9585;
    static constexpr int kPcmBudgetBytes = 5569;
    static constexpr qint64 kTimeoutMs = 2000;
    static constexpr qint64 kLockRetryMs = 1000;
    // Boards below this firmware have no lock.
    static constexpr quint32 kLockFirmware = 25;
    // In state Online every 32nd status tick also asks for the lock.
    static constexpr quint8 kLockPollMask = 0x1F;
    static constexpr int kDecoderPollMs = 10;
    // How long the end of the board thread waits for its decode threads.
    static constexpr qint64 kDecoderStopMs = 2160;
    static constexpr int kUnknownBand = -1;
    static constexpr int kOffAttenuation = -31;

    enum State
    {
        Idle = 0,
        Reconnect = 1,
        Connecting = 2,
        AskLock = 3,
        HeldByOther = 4,
        Online = 5,
        DisconnectWanted = 6,
    };

    // Starts the thread and returns once its event loop is about to run.
    FMBoard(int board, unsigned rdsDataPort, unsigned osciMHz);
    // Ends the thread if the owner has not (quit(), then wait()).
    ~FMBoard() override;

    // --- called from the GUI thread
    int connectTo(const BoardIP& address);
    void reconnect();
    // Takes band and attenuation from the store; the programme engines get
    // the store in the board thread.
    void setConfig(QSharedPointer<FMSettings> settings);
    // A band the board cannot produce is replaced, and band tells which.
    void setFMBand(int& band, int attenuation);
    void setRDSDataPort(quint16 port);
    void setPendingCommand(quint16 port) { setRDSDataPort(port); }
    // Replaces the steady clock of the link (time-outs, fill estimates), so
    // a test decides how much time passes for the board thread. Waits until
    // the board thread has taken it: not to be called from that thread.
    void setClock(BoardLink::Clock clock);

    // --- readable from any thread
    int boardIndex() const { return index; }
    int connectionState() const { return connState.load(); }
    BoardIP address() const;
    BoardInfo lastBoardInfo() const;
    BoardLock lockRecord() const;
    FillTickStats::Snapshot fillStats() const { return stats.snapshot(); }
    void resetFillStats() { stats.reset(); }
    // The engines live in the board thread; call into them only there.
    FMProgram* program(int slot) const;

    // --- board thread: used by the programme engines
    int sendPacket(QByteArray& datagram);
    int sendRaw(const char* data, int length);
    int sendRDS(int slot, const std::array<const uchar*, 4>& streams, int length, quint8 mask);
    void noteSent(int slot, int pcmFrames, int rdsWords);
    // What the engine counts as held in the board's buffers of a slot.
    int pcmFill(int slot) const;
    int rdsFill(int slot) const;
    void forgetPcm(int slot, int frames);
    bool configBand(bool onAir);
    bool isOnline() const { return connState.load() == Online; }
    // Fill ticks that found the board not online; the fill timer stops at
    // the first, so an idle board thread sleeps.
    int fillTicksOffline() const { return offlineFillTicks.load(std::memory_order_relaxed); }
    BoardLink* link() const { return boardLink; }

public slots:
    void disconnectRequest();
    void unlock(bool take);
    void setOnAir(bool on);
    void toggleOnAir();
    void timeReadStatus();
    void timeFillBuffer();
    void error(QAbstractSocket::SocketError code);
    void state(QAbstractSocket::SocketState socketState);

signals:
    void online(const BoardIP& address, int board);
    void offline(const BoardIP& address, int board);
    void onair(bool on, int board);
    void boardInfo(const BoardInfo& info, int board);
    void userUnlock(int board);

protected:
    void run() override;

private:
    // Band, attenuation and on-air travel as one word, so the board thread
    // never reads a band of one call with the attenuation of another.
    struct BandSetting
    {
        int band = 0;
        int attenuation = 0;
        bool onAir = true;
        quint32 pack() const;
        static BandSetting unpack(quint32 word);
        bool operator==(const BandSetting&) const = default;
    };

    void applyConfig();
    void updatePending(const std::function<void(BandSetting&)>& change);
    bool bandPending() const;
    void applyBand();
    void applyRdsPort();
    void actByState();
    void checkTimeout(bool statusWritten);
    void connectSocket();
    void renewSocket();
    void disconnectBoard();
    void setLock();
    void goOnline();
    void stopDecoders();
    void onInfo(const BoardInfo& info);
    void onLock(const BoardLock& lock, int length);
    void onLockUnknown(int length);
    void onStatus();
    void logClients(const BoardLock& lock);
    int writeControl(const QByteArray& datagram);
    int writeRequest(quint16 type);
    qint64 msSinceReceive() const;

    const int index;
    const unsigned osci;
    QMutex mutex; // board mutex: store and connection requests
    QWaitCondition started;
    bool running = false;
    QSharedPointer<FMSettings> store;

    mutable QMutex dataMutex; // address, info and lock copies read by others
    BoardIP target;
    BoardInfo infoCopy;
    BoardLock lockCopy;

    std::atomic<int> connState{Idle};
    std::atomic<quint32> pendingBand;
    std::atomic<quint32> rdsPortToApply{0};
    BandSetting current{kUnknownBand, kOffAttenuation, false};

    // board thread only
    BoardIP connected;
    QByteArray ownIdentity = QByteArray(BoardLock::kIdentitySize, char(0xFF));
    QByteArray holderIdentity = QByteArray(BoardLock::kIdentitySize, '\0');
    quint8 lockPoll = 0;
    bool unlockRequest = false;
    QUdpSocket* socket = nullptr;
    BoardLink* boardLink = nullptr;
    QTimer* statusTimer = nullptr;
    QTimer* fillTimer = nullptr;
    std::array<FMProgram*, kSlots> programs{};
    QElapsedTimer fillClock;
    qint64 lastFillNs = -1;
    std::atomic_int offlineFillTicks{0};
    FillTickStats stats;
};
