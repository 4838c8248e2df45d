#pragma once

#include <QtGlobal>

#include <array>

// One RDS group: four 16-bit information words and their 10-bit checkwords.
// A checkword above 1023 is still to be computed.
struct RdsGroup
{
    enum Block
    {
        A = 0,
        B = 1,
        C = 2,
        D = 3
    };

    static constexpr quint16 kComputeCheckword = 0x400;

    // Offset words of EN 50067 clause B.3 (C' replaces C in version-B groups).
    static constexpr quint16 kOffsetA = 0x0FC;
    static constexpr quint16 kOffsetB = 0x198;
    static constexpr quint16 kOffsetC = 0x168;
    static constexpr quint16 kOffsetCPrime = 0x350;
    static constexpr quint16 kOffsetD = 0x1B4;

    std::array<quint16, 4> blocks{};
    std::array<quint16, 4> checks{kComputeCheckword, kComputeCheckword, kComputeCheckword,
                                  kComputeCheckword};

    bool isVersionB() const { return (blocks[B] & 0x0800) != 0; }

    // The offset word that belongs to a block of this group.
    quint16 offsetFor(int block) const;

    // 10-bit CRC of one information word (generator x^10+x^8+x^7+x^5+x^4+x^3+1)
    // XORed with the offset word.
    static quint16 checkword(quint16 data, quint16 offset);

    // Computes every checkword that is marked for computing.
    void fillCheckwords();
    // Computes all four checkwords afresh.
    void computeCheckwords();

    bool operator==(const RdsGroup&) const = default;
};
