#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>

#include <array>
#include <functional>

class QUdpSocket;

// A generator board on 127.0.0.1 for tests, written from the datagram
// descriptions alone. It answers info, lock, status, discovery and network
// configuration requests, acknowledges commands (switchable), lets its
// buffer fills drain at the rates its channels were set to, counts what ran
// dry or did not fit, and records every datagram it receives, decoded, for
// the tests to assert on.
class BoardEmulator : public QObject
{
    Q_OBJECT
public:
    // Datagram types as the board knows them.
    enum Type : quint16
    {
        InfoRequest = 0x0000,
        InfoReply = 0x0001,
        Command = 0x0010,
        Ack = 0x0011,
        StatusRequest = 0x0020,
        StatusReply = 0x0021,
        PcmStream = 0x0030,
        RdsStream = 0x0031,
        Discover = 0x0050,
        DiscoverAnswer = 0x0051,
        NetConfig = 0x0052,
        NetConfigAck = 0x0053,
        LockQuery = 0x0060,
        LockState = 0x0061,
        SetLock = 0x0062,
        Unlock = 0x0063,
    };

    static constexpr int kSlots = 24;
    static constexpr double kPcmRate = 44100.0;
    static constexpr double kRdsRate = 1187.5 / 16.0; // words per second

    struct Item
    {
        quint16 tag = 0;
        QByteArray value;
    };

    // One received datagram; the fields of its type are filled in.
    struct Datagram
    {
        quint16 type = 0xFFFF; // 0xFFFF: under two bytes
        QByteArray bytes;
        QHostAddress from;
        quint16 fromPort = 0;
        // command
        quint32 sequence = 0; // 24 bits
        quint8 target = 0;
        QList<Item> items;
        bool itemsComplete = true; // false when the last item ran past the end
        // PCM and RDS streams
        int slot = -1;
        int kind = -1; // PCM: 2 stereo, 0 mono; RDS: 1 or 15 streams
        int count = 0; // PCM frames or RDS payload words
        QByteArray payload;
        QList<qint16> samples; // PCM, decoded little-endian
        // SET LOCK
        quint8 lockRandom = 0;
        QByteArray lockName; // up to the first zero byte
        // discovery
        quint32 broadcast = 0;
        std::array<quint8, 6> configMac{};
        quint32 configIpv4 = 0;
        quint16 configPort = 0;

        QList<quint16> tags() const;
        QByteArray item(quint16 tag) const; // empty when absent
    };

    struct SlotState
    {
        double pcmFill = 0.0;
        double rdsFill = 0.0;
        quint16 flags = 0;
        qint32 power = 0;
        double pcmRate = kPcmRate;
        double rdsRate = kRdsRate;
        // Counted since start (or clearReceived).
        int pcmDatagrams = 0;
        qint64 pcmFrames = 0;
        int rdsDatagrams = 0;
        // Times the PCM buffer ran dry after it had been fed; each adds the
        // underflow flag (bit 0) to the next status reply.
        int underruns = 0;
        bool fed = false;
        bool underflowSinceReply = false;
        // Stream datagrams that did not fit the buffer; what did not fit is
        // dropped, as a board does. PCM overflow adds the overflow flag
        // (bit 1) to the next status reply.
        int pcmOverflows = 0;
        qint64 pcmFramesDropped = 0;
        int rdsOverflows = 0;
        bool overflowSinceReply = false;
    };

    static constexpr quint16 kPcmUnderflowFlag = 0x0001;
    static constexpr quint16 kPcmOverflowFlag = 0x0002;
    // Nanoseconds of a steady clock; the fills drain by its readings.
    using Clock = std::function<qint64()>;

    explicit BoardEmulator(QObject* parent = nullptr);
    ~BoardEmulator() override;

    bool start(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);
    // A board switched off: the socket closes, so what arrives at its port
    // is answered by ICMP "port unreachable". start() on the same port
    // brings it back.
    void stop();
    QHostAddress address() const;
    quint16 port() const;
    quint32 ipv4() const { return address().toIPv4Address(); }

    // --- what the board says about itself
    void setTag(const QByteArray& tag) { boardTag = tag.leftJustified(4, '\0', true); }
    void setFirmware(quint32 version) { firmware = version; }
    void setCapacities(quint32 pcmFrames, quint32 rdsWords);
    void setBoardNumber(quint16 number) { boxNumber = number; }
    void setInfoExtra(const QByteArray& fourBytes)
    {
        infoExtra = fourBytes.leftJustified(4, '\0', true);
    }
    // Cuts the info reply to this many bytes (26 in full); 0 sends it whole.
    void setInfoReplySize(int size) { infoReplySize = size; }
    void setMac(const std::array<quint8, 6>& mac) { macAddress = mac; }
    // Address and port the discovery answer names; defaults to its own.
    void setAnnouncedAddress(quint32 ipv4, quint16 port);
    void setAnswerDiscovery(bool on) { answerDiscovery = on; }

    // --- behaviour
    void setAckEnabled(bool on) { ackEnabled = on; }
    void setStatusSlots(int count) { statusSlots = count; }
    void setDraining(bool on);
    // Replaces the steady clock the fills drain by, so a test decides how
    // much the board plays between two looks at it.
    void setClock(Clock clock);
    // Off: PCM stream datagrams are counted per slot but neither decoded nor
    // kept in the record of received datagrams (long runs of many channels).
    void setLogPcm(bool on) { logPcm = on; }
    // A dead board: it still records what arrives but answers nothing.
    void setSilent(bool on) { silent = on; }
    SlotState& slot(int index)
    {
        drain();
        return slotStates[index];
    }
    void setLockHolder(quint32 ipv4, quint16 port, const QByteArray& identity);
    void clearLock() { setLockHolder(0, 0, QByteArray(16, '\0')); }
    QByteArray lockIdentity() const { return holderIdentity; }
    quint32 lockHolderAddress() const { return holderIpv4; }

    // --- what it received
    QList<Datagram> received() const { return log; }
    QList<Datagram> receivedOfType(quint16 type) const;
    int countOfType(quint16 type) const { return int(receivedOfType(type).size()); }
    void clearReceived();
    int totalUnderruns() const;
    int totalOverflows() const;

    // Sends raw bytes to whoever sent the last datagram, or to a given peer.
    void sendToPeer(const QByteArray& datagram);
    void sendTo(const QByteArray& datagram, const QHostAddress& to, quint16 port);

signals:
    void datagramReceived(const BoardEmulator::Datagram& datagram);

private slots:
    void readPending();

private:
    // samples: also decode the PCM samples (only kept when PCM is logged).
    Datagram decode(const QByteArray& bytes, bool samples) const;
    void answer(const Datagram& datagram);
    void drain();
    void count(const Datagram& datagram);
    void followRate(const Datagram& command);
    QByteArray infoReply() const;
    QByteArray statusReply();
    QByteArray lockReply() const;
    void noteClient(const QHostAddress& from, quint16 port);

    QUdpSocket* socket;
    QByteArray boardTag = "KXWB";
    quint32 firmware = 30;
    quint32 pcmCapacity = 16384;
    quint32 rdsCapacity = 1024;
    quint16 boxNumber = 0x0102;
    QByteArray infoExtra = QByteArray(4, '\0');
    int infoReplySize = 0;
    std::array<quint8, 6> macAddress{0x00, 0x50, 0xC2, 0x11, 0x01, 0x02};
    quint32 announcedIpv4 = 0;
    quint16 announcedPort = 0;
    bool answerDiscovery = true;
    bool ackEnabled = true;
    int statusSlots = kSlots;
    bool draining = true;
    bool logPcm = true;
    bool silent = false;
    Clock drainClock;
    qint64 lastDrainNs = 0;
    std::array<SlotState, kSlots> slotStates{};
    quint32 holderIpv4 = 0;
    quint16 holderPort = 0;
    QByteArray holderIdentity = QByteArray(16, '\0');
    struct Client
    {
        quint32 ipv4 = 0;
        quint16 port = 0;
        QElapsedTimer seen;
    };
    QList<Client> clients;
    QHostAddress lastPeer;
    quint16 lastPeerPort = 0;
    QList<Datagram> log;
};

Q_DECLARE_METATYPE(BoardEmulator::Datagram)
