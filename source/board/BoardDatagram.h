#pragma once

#include "board/BoardInfo.h"
#include "board/BoardLock.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>
#include <span>

// One slot's entry of a status reply, as the board sends it.
struct StatusEntry
{
    quint16 pcmFill = 0;
    quint16 rdsFill = 0;
    quint16 flags = 0;
    qint32 power = 0;
};

// The datagrams between the program and a board, other than the tagged
// commands (BoardCommand). Builders return the bytes to send; readers take a
// received datagram whole, check its length before reading any field, and
// return nothing when it is too short or inconsistent. Header fields are
// big-endian; PCM samples are the one little-endian exception.
class BoardDatagram
{
public:
    enum Type : quint16
    {
        kInfoRequest = 0x0000,
        kInfo = 0x0001,
        kInfoSecond = 0x0002,
        kCommand = 0x0010,
        kAck = 0x0011,
        kStatusRequest = 0x0020,
        kStatus = 0x0021,
        kPcmStream = 0x0030,
        kRdsStream = 0x0031,
        kLockQuery = 0x0060,
        kLockState = 0x0061,
        kSetLock = 0x0062,
        kUnlock = 0x0063,
    };

    static constexpr int kTypeSize = 2;
    static constexpr int kSlots = 24;
    static constexpr int kMaxStatusEntries = 32;
    static constexpr int kStatusEntrySize = 10;
    static constexpr int kInfoMinSize = 20;
    static constexpr int kInfoExtraEnd = 24;
    static constexpr int kInfoNumberEnd = 26;
    static constexpr int kLockMinSize = 24;
    static constexpr int kLockClientsEnd = 56;
    static constexpr int kLockClients = 4;
    static constexpr int kSetLockSize = 18;
    static constexpr int kStreamHeaderSize = 8;
    static constexpr int kSequenceEnd = 6; // bytes 2 to 5: sequence and target
    static constexpr quint8 kPcmStereo = 2;
    static constexpr quint8 kPcmMono = 0;
    static constexpr quint8 kRdsOneStream = 1;
    static constexpr quint8 kRdsFourStreams = 15;
    static constexpr int kRdsStreams = 4;

    // Nothing for a datagram under two bytes.
    static std::optional<quint16> type(const QByteArray& datagram);

    // --- to the board
    // The two-byte requests: info, status, lock query, UNLOCK.
    static QByteArray request(Type type);
    // ownerUtf8 is cut to 15 bytes or padded with zero bytes.
    static QByteArray setLock(quint8 random, const QByteArray& ownerUtf8);
    static QByteArray pcmStream(int slot, bool stereo, std::span<const qint16> samples);
    // samples: 16-bit little-endian, interleaved left/right for stereo.
    static QByteArray pcmStreamBytes(int slot, bool stereo, const QByteArray& samples);
    // length bytes from each stream; one stream carries stream 0 only, four
    // streams are interleaved two bytes at a time. A null stream sends zeros.
    static QByteArray rdsStream(int slot, const std::array<const uchar*, kRdsStreams>& streams,
                                int length, bool fourStreams);

    // Writes the low 24 bits of sequence into bytes 2 to 4, least
    // significant first. The command must hold at least kSequenceEnd bytes.
    static void stampSequence(QByteArray& command, quint32 sequence);
    // Bytes 2 to 5 read least significant first; 0 for a shorter datagram.
    // Commands and their acknowledgements share it, so it pairs them.
    static quint32 sequenceKey(const QByteArray& datagram);

    // --- from the board
    static std::optional<BoardInfo> readInfo(const QByteArray& datagram);
    static std::optional<QList<StatusEntry>> readStatus(const QByteArray& datagram);
    static std::optional<BoardLock> readLock(const QByteArray& datagram);
};
