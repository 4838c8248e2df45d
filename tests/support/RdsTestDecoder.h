#pragma once

// An RDS group decoder for the tests, written from the RDS standard
// (EN 50067 / EN 62106): 26-bit blocks with a (26,16) shortened cyclic code,
// generator x^10+x^8+x^7+x^5+x^4+x^3+1, offset words A 0x0FC, B 0x198,
// C 0x168, C' 0x350, D 0x1B4, and the group layouts of clause 3.1.5.
// It shares no code with the program's encoder.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QtGlobal>

#include <array>

class RdsTestDecoder
{
public:
    enum Offset
    {
        OffsetA,
        OffsetB,
        OffsetC,
        OffsetCPrime,
        OffsetD,
        OffsetNone
    };

    struct Blocks
    {
        std::array<quint16, 4> data{};
        std::array<quint16, 4> check{};
        std::array<Offset, 4> offset{OffsetNone, OffsetNone, OffsetNone, OffsetNone};

        int type() const { return data[1] >> 12; }
        bool versionB() const { return data[1] & 0x0800; }
        // 0..15 for 0A..15A, 16..31 for 0B..15B
        int index() const { return type() + (versionB() ? 16 : 0); }
        // Every block carries the offset its place in the group asks for.
        bool valid() const;
    };

    struct ClockTime
    {
        QDate date;
        int hour = -1;
        int minute = -1;
        int halfHours = 0; // signed local offset
    };

    struct RtPlusTag
    {
        int type = 0;
        int start = 0;
        int length = 0; // length marker as sent
    };

    struct TmcGroup
    {
        bool tuning = false; // T bit: provider name or tuning information
        int variant = 0;     // tuning variant (B bits 3-0)
        bool single = false; // F bit
        bool first = false;  // first group of a multi-group message
        bool second = false; // second group indicator
        int continuity = 0;
        int duration = 0;
        int sequence = 0; // group sequence indicator
        int extent = 0;   // diversion/direction/extent (5 bits)
        int event = 0;
        int location = 0;
        quint32 freeBits = 0; // 28 bits of a subsequent group
        bool system = false;  // B & 0x1F == 0 (encryption administration)
        quint16 c = 0, d = 0;
    };

    // Splits 13 packed bytes into four blocks and checks their offsets.
    static Blocks unpack(const quint8* bytes);
    static Blocks unpack(const QByteArray& bytes)
    {
        return unpack(reinterpret_cast<const quint8*>(bytes.constData()));
    }
    static Offset offsetOf(quint32 block26);
    static ClockTime clockTime(const Blocks& g);
    static TmcGroup tmcGroup(const Blocks& g);
    static QList<RtPlusTag> rtPlusTags(const Blocks& g);

    // Feeds one group into the accumulated state; false for a group with a
    // bad block (which is then not used).
    bool add(const quint8* bytes);
    bool add(const QByteArray& bytes)
    {
        return add(reinterpret_cast<const quint8*>(bytes.constData()));
    }

    // The bytes of one text as its segments arrived in the groups of one
    // index (0..31): the segment address is B & addressMask, a segment is
    // block D (two bytes) or blocks C and D (four). Segments are joined by
    // address from 0 while no address is missing; a later copy of a segment
    // replaces an earlier one. What a receiver holds once the text is sent.
    QByteArray sentText(int index, int addressMask, int segmentBytes) const;

    // --- accumulated state
    QMap<int, int> counts; // index() -> groups
    int groups = 0;
    quint16 pi = 0;
    QByteArray ps = QByteArray(8, '\0');
    quint8 psSegmentsSeen = 0; // bit s per PS segment address
    quint8 di = 0;
    QByteArray rt = QByteArray(64, '\0');
    QList<int> rtSegments; // addresses in order of arrival
    int rtFlag = -1;
    int rtFlagChanges = 0;
    QByteArray ptyn = QByteArray(8, '\0');
    int ptynFlag = -1;
    QByteArray longPs = QByteArray(32, '\0');
    QList<quint16> afWords;     // block C of 0A in order of arrival
    QMap<int, quint16> odaAids; // application group index -> AID
    QMap<int, quint16> odaMessages;
    struct Eon
    {
        QByteArray ps = QByteArray(8, '\0');
        QList<quint16> afWords;
        int pty = -1;
        int ta = -1;
        int tp = -1;
        quint16 linkage = 0;
    };
    QMap<quint16, Eon> eon;
    QList<Blocks> all;
};
