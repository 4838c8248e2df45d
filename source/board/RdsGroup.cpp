#include "board/RdsGroup.h"

namespace {
constexpr quint32 kGenerator = 0x5B9; // x^10 + x^8 + x^7 + x^5 + x^4 + x^3 + 1
constexpr int kCheckBits = 10;
constexpr int kDataBits = 16;
} // namespace

quint16 RdsGroup::offsetFor(int block) const
{
    switch (block) {
    case A:
        return kOffsetA;
    case B:
        return kOffsetB;
    case C:
        return isVersionB() ? kOffsetCPrime : kOffsetC;
    default:
        return kOffsetD;
    }
}

quint16 RdsGroup::checkword(quint16 data, quint16 offset)
{
    quint32 reg = quint32(data) << kCheckBits;
    for (int bit = kDataBits + kCheckBits - 1; bit >= kCheckBits; --bit) {
        if (reg & (1u << bit))
            reg ^= kGenerator << (bit - kCheckBits);
    }
    return quint16((reg ^ offset) & 0x3FF);
}

void RdsGroup::fillCheckwords()
{
    for (int i = 0; i < 4; ++i) {
        if (checks[i] > 0x3FF)
            checks[i] = checkword(blocks[i], offsetFor(i));
    }
}

void RdsGroup::computeCheckwords()
{
    for (int i = 0; i < 4; ++i)
        checks[i] = checkword(blocks[i], offsetFor(i));
}
