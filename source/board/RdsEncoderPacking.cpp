// Checkwords, error injection, packing and group text lines.
#include "board/RdsEncoder.h"

#include "board/RdsGroupBytes.h"

#include <QList>
#include <QtMath>

#include <bitset>
#include <cstring>

namespace {

constexpr int kGroupBits = 104;
constexpr int kDataBits = 64;
constexpr quint8 kErrorsOn = 0x80;
constexpr int kOpXor = 0, kOpAnd = 1, kOpOr = 2;
constexpr quint8 kFixCheckwords = 1, kFixType = 2, kFixPi = 4, kFixExactCount = 0x80;
constexpr int kFullRate = 100;
constexpr int kHalfRate = 50;
constexpr double kBitsPerPercent = 1.04;
constexpr int kPackedHexChars = 26;
constexpr int kBlockHexChars = 4;
constexpr int kByteHexChars = 2;
constexpr int kBlocksHexChars = 16;
constexpr int kBytesForm = 8;
constexpr quint16 kCheckMask = 0x3FF;

using Mask = std::bitset<kGroupBits>;

bool readHex(const QByteArray& text, quint16* value)
{
    bool ok = false;
    const uint parsed = text.toUInt(&ok, 16);
    for (const char c : text) {
        if (!isxdigit(uchar(c)))
            return false;
    }
    *value = quint16(parsed);
    return ok && parsed <= 0xFFFF;
}

bool readBlocks(const QList<QByteArray>& parts, RdsGroup* group)
{
    for (int i = 0; i < 4; ++i) {
        if (!readHex(parts[i], &group->blocks[i]))
            return false;
    }
    return true;
}

bool statusGood(quint16 status, int block)
{
    const int shift = 12 - 4 * block;
    return ((status >> shift) & 0xF) == 0xA + block;
}

} // namespace

void RdsEncoder::checkwords(RdsGroup& group)
{
    group.fillCheckwords();
}

void RdsEncoder::injectErrors(RdsGroup& group, qint8 err, quint8 ber, quint8 fix)
{
    if (!(quint8(err) & kErrorsOn) || ber == 0)
        return;
    const int operation = quint8(err) & 0x7F;
    if (operation != kOpXor && operation != kOpAnd && operation != kOpOr)
        return;
    const bool andOp = operation == kOpAnd;
    const int percent = ber <= kHalfRate ? ber : kFullRate - ber;

    Mask mask;
    if (ber >= kFullRate) {
        if (!andOp)
            mask.set();
    } else {
        if (fix & kFixExactCount) {
            const int wanted = qRound(percent * kBitsPerPercent);
            while (int(mask.count()) < wanted)
                mask.set(random.below(kGroupBits));
        } else if (ber == kHalfRate) {
            for (int i = 0; i < kGroupBits; ++i)
                mask[i] = random.next() & 1;
        } else {
            for (int i = 0; i < kGroupBits; ++i)
                mask[i] = percent / 100.0 > random.next() / 32768.0;
        }
        // So that ber is always the share of bits that change.
        if ((ber > kHalfRate) != andOp)
            mask.flip();
    }

    auto apply = [&](quint16 value, quint16 bits) -> quint16 {
        switch (operation) {
        case kOpXor:
            return value ^ bits;
        case kOpAnd:
            return value & bits;
        default:
            return value | bits;
        }
    };
    // Bit i of the mask is bit (103 - i) of the group as sent: the 64 data
    // bits come first, then the four 10-bit checkwords.
    for (int block = 0; block < 4; ++block) {
        quint16 bits = 0;
        for (int b = 0; b < 16; ++b)
            bits |= quint16(mask[block * 16 + b]) << (15 - b);
        group.blocks[block] = apply(group.blocks[block], bits);
        quint16 checkBits = 0;
        for (int b = 0; b < 10; ++b)
            checkBits |= quint16(mask[kDataBits + block * 10 + b]) << (9 - b);
        group.checks[block] = apply(group.checks[block] & kCheckMask, checkBits) & kCheckMask;
    }
}

void RdsEncoder::packGroup(quint8* out, RdsGroup group)
{
    const quint16 blockA = group.blocks[RdsGroup::A];
    const quint16 blockB = group.blocks[RdsGroup::B];
    group.fillCheckwords();
    injectErrors(group, qint8(source.err), source.ber, source.fix);
    if ((source.err & kErrorsOn) && source.ber != 0) {
        if (source.fix & kFixType)
            group.blocks[RdsGroup::B] =
                quint16((group.blocks[RdsGroup::B] & 0x07FF) | (blockB & 0xF800));
        if (source.fix & kFixPi) {
            group.blocks[RdsGroup::A] = blockA;
            if (blockB & 0x0800)
                group.blocks[RdsGroup::C] = blockA;
        }
        if (source.fix & kFixCheckwords)
            group.computeCheckwords();
    }
    RdsGroupBytes::pack(group, out);
}

int RdsEncoder::parseGroupLine(quint8* out, const QByteArray& line)
{
    const QList<QByteArray> tokens = line.simplified().split(' ');
    if (tokens.isEmpty() || tokens[0].isEmpty() || tokens[0].startsWith('#'))
        return 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const QByteArray& token = tokens[i];
        const int behind = int(tokens.size()) - i - 1;
        RdsGroup group;
        if (token.size() == kPackedHexChars) {
            const QByteArray bytes = QByteArray::fromHex(token);
            bool hex = true;
            for (const char c : token)
                hex = hex && isxdigit(uchar(c));
            if (!hex || bytes.size() != RdsGroupBytes::kSize)
                continue;
            memcpy(out, bytes.constData(), RdsGroupBytes::kSize);
            return RdsGroupBytes::kSize;
        }
        if (token.size() == kBlockHexChars && behind >= 4) {
            bool form = true;
            for (int k = 1; k <= 4; ++k)
                form = form && tokens[i + k].size() == kBlockHexChars;
            quint16 status = 0;
            if (form && readHex(token, &status) && readBlocks(tokens.mid(i + 1, 4), &group)) {
                group.computeCheckwords();
                for (int block = 0; block < 4; ++block) {
                    if (!statusGood(status, block))
                        group.checks[block] ^= kCheckMask;
                }
                RdsGroupBytes::pack(group, out);
                return RdsGroupBytes::kSize;
            }
        }
        bool read = false;
        if (token.size() == kBlockHexChars && behind >= 3) {
            read = readBlocks(tokens.mid(i, 4), &group);
        } else if (token.size() == kByteHexChars && behind + 1 > 7) {
            read = true;
            for (int k = 0; k < kBytesForm && read; ++k) {
                quint16 byte = 0;
                read = tokens[i + k].size() <= kByteHexChars && readHex(tokens[i + k], &byte);
                group.blocks[k / 2] = quint16(group.blocks[k / 2] << 8 | byte);
            }
        } else if (token.size() >= kBlocksHexChars) {
            QList<QByteArray> parts;
            for (int k = 0; k < 4; ++k)
                parts.append(token.mid(k * kBlockHexChars, kBlockHexChars));
            read = readBlocks(parts, &group);
        }
        if (read) {
            group.computeCheckwords();
            packGroup(out, group);
            return RdsGroupBytes::kSize;
        }
    }
    return 0;
}
