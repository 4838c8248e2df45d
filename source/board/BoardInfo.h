#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

// The board families the program drives; they differ in attenuator, carrier
// sections, synthesizer words and deviation clock.
enum class BoardType
{
    Unknown,
    QRV4,
    KXWB,
    KXWBLower, // tag "kXWB": the KXWB with its own reference oscillator
};

// What a board reports about itself in its info reply.
struct BoardInfo
{
    static constexpr quint32 kTagQRV4 = 0x51525634;      // "QRV4"
    static constexpr quint32 kTagKXWB = 0x4B585742;      // "KXWB"
    static constexpr quint32 kTagKXWBLower = 0x6B585742; // "kXWB"

    quint32 tag = 0; // four ASCII characters read big-endian
    quint32 firmware = 0;
    quint32 pcmCapacity = 0; // frames
    quint32 rdsCapacity = 0; // 16-bit words
    QByteArray extra;        // bytes 20 to 23 of the reply, passed on unchanged
    quint16 number = 0;      // box number

    static BoardType typeOf(quint32 tag);
    BoardType type() const { return typeOf(tag); }
    bool isKnown() const { return type() != BoardType::Unknown; }
    // "#007" for board 7, at least three digits; "#???" while unknown (0).
    QString serialText() const;
};

Q_DECLARE_METATYPE(BoardInfo)
