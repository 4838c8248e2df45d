#include "board/RdsGroupBytes.h"

namespace {
constexpr int kBlockBits = 26;
constexpr int kCheckBits = 10;
} // namespace

void RdsGroupBytes::pack(const RdsGroup& group, quint8* out)
{
    // Two 52-bit halves (blocks A+B and C+D) fit a 64-bit accumulator each.
    for (int half = 0; half < 2; ++half) {
        quint64 bits = 0;
        for (int i = 0; i < 2; ++i) {
            const int block = half * 2 + i;
            const quint64 word =
                (quint64(group.blocks[block]) << kCheckBits) | (group.checks[block] & 0x3FF);
            bits = (bits << kBlockBits) | word;
        }
        // 52 bits = 6.5 bytes: the first half ends in the high nibble of byte 6.
        if (half == 0) {
            for (int b = 0; b < 6; ++b)
                out[b] = quint8(bits >> (44 - 8 * b));
            out[6] = quint8((bits & 0xF) << 4);
        } else {
            out[6] |= quint8(bits >> 48);
            for (int b = 0; b < 6; ++b)
                out[7 + b] = quint8(bits >> (40 - 8 * b));
        }
    }
}

RdsGroup RdsGroupBytes::unpack(const quint8* in)
{
    RdsGroup group;
    int bitPos = 0;
    auto take = [&](int count) {
        quint32 value = 0;
        for (int i = 0; i < count; ++i, ++bitPos) {
            const int bit = (in[bitPos / 8] >> (7 - bitPos % 8)) & 1;
            value = (value << 1) | quint32(bit);
        }
        return value;
    };
    for (int block = 0; block < 4; ++block) {
        group.blocks[block] = quint16(take(16));
        group.checks[block] = quint16(take(kCheckBits));
    }
    return group;
}

RdsGroupBytes RdsGroupBytes::fromGroup(const RdsGroup& group)
{
    RdsGroupBytes packed;
    pack(group, packed.bytes.data());
    return packed;
}

QByteArray RdsGroupBytes::toByteArray() const
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), kSize);
}
