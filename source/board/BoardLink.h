#pragma once

#include "board/BoardDatagram.h"
#include "board/BoardInfo.h"
#include "board/BoardLock.h"
#include "board/DatagramBatch.h"
#include "board/SlotFill.h"
#include "settings/ChannelStatus.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QUdpSocket>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class FMSettings;

// The datagram exchange with one board: sends commands, streams and
// requests over the board's UDP socket, keeps the commands that wait for
// their acknowledgement, and dispatches what the board answers. The board
// thread (FMBoard) owns one, hands it its socket and reacts to its signals;
// everything here runs in that thread.
class BoardLink : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<qint64()>;       // monotonic milliseconds
    using NominalRate = std::function<int(int)>; // slot 0..23 -> frames per second

    static constexpr qint64 kAckTimeoutMs = 1667;
    static constexpr int kSendBufferBytes = 425984;
    static constexpr int kSlots = BoardDatagram::kSlots;
    // Above this firmware the board takes four interleaved RDS streams.
    static constexpr quint32 kFourStreamFirmware = 29;
    // The board's RDS stream buffer: 1040 payload bytes, 260 per stream.
    static constexpr int kRdsPayloadBytes = 1040;

    explicit BoardLink(int board, QObject* parent = nullptr);
    ~BoardLink() override;

    // Not owned; the board thread creates and destroys it.
    void setSocket(QUdpSocket* socket);
    QUdpSocket* socket() const { return udp; }
    void setStore(QSharedPointer<FMSettings> settings);
    void setClock(Clock clock);
    void setNominalRate(NominalRate rate) { nominalRate = std::move(rate); }

    const BoardInfo& boardInfo() const { return info; }
    void clearBoardInfo() { info = BoardInfo(); }
    // The status a slot last reported, with the rates worked out from it.
    const ChannelStatus* channelStatus(int slot) const { return &status.at(slot); }
    // What a slot was sent counts as held by the board at once. A status
    // reply only knows what reached the board before its request, so what
    // went out after the request is added to the fill it reports; a stale
    // reply would let every engine send its whole buffer again.
    void noteSent(int slot, int pcmFrames, int rdsWords);
    // Right after the status request was written.
    void noteStatusRequest();
    // One status request waits at a time, so each reply answers the one
    // request that waits: true when none waits, or its reply is lost.
    bool statusRequestDue() const;
    // A new connection: no reply to an earlier request is awaited.
    void forgetStatusRequest() { statusAskedAt.reset(); }
    // What the engine counts as held in a slot now (SlotFill).
    int pcmFill(int slot) const;
    int rdsFill(int slot) const;
    void forgetPcm(int slot, int frames);

    // --- sending; every successful write counts towards the fill tick
    // A command datagram gets the next sequence number and waits for its
    // acknowledgement; anything else is logged and written as it is.
    int sendPacket(QByteArray& datagram);
    int sendRaw(const char* data, int length);
    int sendRDS(int slot, const std::array<const uchar*, 4>& streams, int length, quint8 mask);
    // Requests and lock datagrams: written like the others, in order after
    // them, but not counted towards the fill tick.
    int sendControl(const QByteArray& datagram);
    // While held, what is written waits and leaves with the flush in one
    // system call: the fill tick holds its datagrams. A datagram the kernel
    // does not take waits for the next flush and goes out unchanged; while
    // the batch is full, writes fail and the engines keep their datagrams.
    void holdWrites() { holding = true; }
    void flushWrites();
    int waitingWrites() const { return batch.size(); }
    // A new connection: what waits for the old one is dropped.
    void dropWaitingWrites() { batch.clear(); }
    // Drops the pending commands, then sends the band configuration.
    bool configBand(bool onAir, int band, int attnDb, unsigned osciMHz);
    // Asks for SEND_BUFFER and logs only when the kernel grants less.
    bool enlargeSendBuffer();

    int tickBytes() const { return bytesThisTick; }
    int tickDatagrams() const { return datagramsThisTick; }
    void resetTickBytes()
    {
        bytesThisTick = 0;
        datagramsThisTick = 0;
    }
    int pendingCount() const { return pending.size(); }
    bool isPending(quint32 key) const { return pending.contains(key); }
    qint64 lastReceiveMs() const { return lastReceive; }
    // The board thread counts a fresh start of the link as a receipt, so the
    // time-out measures from there.
    void markReceived() { lastReceive = now(); }
    qint64 monotonicNow() const { return now(); }

    // One counter for all boards of the process; the first value is 1.
    static quint32 nextSequence();

public slots:
    void readUdp();
    void dispatchPacket(const QByteArray& datagram);

signals:
    void infoReceived(const BoardInfo& info);
    void lockReceived(const BoardLock& lock, int length);
    void lockUnknown(int length);
    void statusReceived();

private:
    void onInfo(const QByteArray& datagram);
    void onAck(const QByteArray& datagram);
    void onStatus(const QByteArray& datagram);
    void onLock(const QByteArray& datagram);
    void expirePending();
    void dropPending(const char* reason);
    bool isConnected() const;
    int write(const char* data, int length, bool counted = true);

    int index;
    QPointer<QUdpSocket> udp;
    QSharedPointer<FMSettings> store;
    Clock now;
    NominalRate nominalRate;
    BoardInfo info;
    std::array<ChannelStatus, kSlots> status{};
    std::array<SlotFill, kSlots> fills{};
    std::optional<qint64> statusAskedAt;
    QHash<quint32, QByteArray> pending;
    qint64 lastCommand = 0;
    qint64 lastReceive = 0;
    int bytesThisTick = 0;
    int datagramsThisTick = 0;
    DatagramBatch batch;
    bool holding = false;
    bool sendFailing = false;

    static std::atomic<quint32> sequenceCounter;
};
