// TMC (group 8A): message cycle, multi-group labels, encryption and the
// service provider name.
#include "board/RdsEncoder.h"

#include "board/RdsText.h"
#include "tmc/TMCEvents.h"

#include <QDebug>

namespace {

constexpr int kChunkBits = 28;
// The group sequence indicator has two bits: a message carries at most four
// subsequent groups.
constexpr int kMaxChunks = 4;
constexpr int kLabelNumberBits = 4;
constexpr std::array<int, 16> kLabelWidth = {3, 3, 5, 5, 5, 8, 8, 8, 8, 11, 16, 16, 16, 16, 0, 0};
constexpr int kFirstLocationLabel = 10;
constexpr int kLastLocationLabel = 13;
constexpr quint8 kPhaseMessages = 0;
constexpr quint8 kPhaseListDone = 4;
constexpr quint8 kPhaseNameSecondHalf = 5;
constexpr quint8 kEncrypted = 2;
constexpr quint8 kUseKeyTable = 4;
constexpr int kKeyTableSize = 32;
constexpr quint16 kFallbackKey = 0x535A; // rotate 5, shift 3, XOR 0x5A
constexpr quint16 kSingleGroup = 0x08;   // block B bit 3 (F)
constexpr int kContinuityMax = 6;
constexpr quint16 kEventMask = 0x7FF;

quint16 rotateRight(quint16 value, int bits)
{
    bits &= 15;
    return bits == 0 ? value : quint16((value >> bits) | (value << (16 - bits)));
}

} // namespace

quint16 RdsEncoder::tmcKey() const
{
    if ((tmc.flag & kUseKeyTable) && tmc.enc < kKeyTableSize)
        return tmc.skt[tmc.enc];
    return kFallbackKey;
}

void RdsEncoder::packTmcLabels()
{
    tmcChunks.clear();
    QList<quint32> labels = tmcMessage.labels;
    if (tmc.flag & kEncrypted) {
        const quint16 key = tmcKey();
        const int rotation = key >> 12;
        const int shift = (key >> 8) & 15;
        const quint16 mask = key & 255;
        tmcMessage.location = quint16(mask << shift) ^ rotateRight(tmcMessage.location, rotation);
        for (quint32& label : labels) {
            const int number = (label >> 16) & 15;
            if (number < kFirstLocationLabel || number > kLastLocationLabel)
                continue;
            const quint16 value = quint16(number << shift) ^ rotateRight(quint16(label), rotation);
            label = quint32(number) << 16 | value;
        }
    }
    if (labels.isEmpty())
        return;

    quint64 accumulator = 0;
    int bits = 0;
    int packed = 0;
    for (const quint32 label : std::as_const(labels)) {
        const int number = (label >> 16) & 15;
        const int width = kLabelWidth[number];
        const int needed = kLabelNumberBits + width;
        if (tmcChunks.size() * kChunkBits + bits + needed > kMaxChunks * kChunkBits) {
            qDebug("enc: TMC message %d cut after %d of %d labels (at most %d groups)",
                   tmcMessageIndex, packed, int(labels.size()), kMaxChunks);
            break;
        }
        accumulator =
            (accumulator << needed) | (quint64(number) << width) | (label & ((1u << width) - 1));
        bits += needed;
        ++packed;
        if (bits >= kChunkBits) {
            bits -= kChunkBits;
            tmcChunks.append(quint32(accumulator >> bits) & ((1u << kChunkBits) - 1));
            accumulator &= (quint64(1) << bits) - 1;
        }
    }
    if (bits > 0)
        tmcChunks.append(quint32(accumulator << (kChunkBits - bits)) & ((1u << kChunkBits) - 1));
}

bool RdsEncoder::takeNextTmcMessage()
{
    while (++tmcMessageIndex < tmc.messages.size()) {
        const TMCMessage& message = tmc.messages[tmcMessageIndex];
        if (message.send == TMCMessage::No)
            continue;
        tmcMessage = message;
        tmcHasMessage = true;
        packTmcLabels();
        if (!tmcChunks.isEmpty())
            tmcContinuity = quint8(tmcContinuity % kContinuityMax + 1);
        return true;
    }
    tmcMessageIndex = -1;
    tmcRepeat = 255;
    tmcPhase = kPhaseListDone;
    return false;
}

void RdsEncoder::buildGroup8A(quint8* out, int stream)
{
    if (!tmcEnabled()) {
        buildGroup15B(out, stream);
        return;
    }
    if (tmc.messages.isEmpty() || tmcPhase != kPhaseMessages) {
        buildTmcProviderGroup(out, stream);
        return;
    }
    if (tmcRepeat < tmc.rpt) {
        sendTmc(out, stream);
        return;
    }
    tmcRepeat = 0;
    tmcAdminPending = 0;
    if (tmcHasMessage && !tmcChunks.isEmpty() && tmcMessage.send != TMCMessage::Cancel) {
        ++tmcSubIndex;
        if (tmcSubIndex <= tmcChunks.size()) {
            sendTmc(out, stream);
            return;
        }
    }
    tmcSubIndex = 0;
    tmcHasMessage = false;
    tmcChunks.clear();
    const qint64 now = clock();
    if ((tmc.flag & kEncrypted) && now - tmcLastAdmin >= qint64(tmc.rate) * 1000) {
        tmcLastAdmin = now;
        tmcAdminPending = 1;
        sendTmc(out, stream);
        return;
    }
    if (!takeNextTmcMessage()) {
        buildTmcProviderGroup(out, stream);
        return;
    }
    sendTmc(out, stream);
}

void RdsEncoder::sendTmc(quint8* out, int stream)
{
    if (tmcRepeat < 255)
        ++tmcRepeat;
    RdsGroup group = startGroup(stream, 8, false);
    quint16& b = group.blocks[RdsGroup::B];
    quint16& c = group.blocks[RdsGroup::C];
    quint16& d = group.blocks[RdsGroup::D];
    const quint16 extent = quint16((tmcMessage.extentFlags & 31) << 11);
    if (tmcAdminPending) {
        c = quint16(0x1800 | ((tmc.va1 >> 1) & 0x7E0) | (tmc.enc & 31));
        d = quint16((tmc.va0 << 4) & 0xFC00);
    } else if (tmcMessage.send == TMCMessage::Cancel) {
        b |= quint16(kSingleGroup | (tmcMessage.duration & 7));
        c = quint16(extent | (TMCEvents::eventInfo(tmcMessage.event) & kEventMask));
        d = tmcMessage.location;
    } else if (!tmcChunks.isEmpty()) {
        b |= quint16(tmcContinuity & 7);
        if (tmcSubIndex == 0) {
            c = quint16(0x8000 | extent | (tmcMessage.event & kEventMask));
            d = tmcMessage.location;
        } else {
            const int k = tmcSubIndex;
            const quint32 chunk = tmcChunks[k - 1];
            c = quint16((k == 1 ? 0x4000 : 0) | ((tmcChunks.size() - k) & 3) << 12 |
                        ((chunk >> 16) & 0xFFF));
            d = quint16(chunk);
        }
    } else {
        b |= quint16(kSingleGroup | (tmcMessage.duration & 7));
        c = quint16(extent | (tmcMessage.event & kEventMask));
        d = tmcMessage.location;
    }
    finish(out, group);
}

void RdsEncoder::buildTmcProviderGroup(quint8* out, int stream)
{
    QByteArray name = shortText(tmc.spn).left(8);
    name.append(QByteArray(8 - name.size(), '\0'));
    RdsGroup group = startGroup(stream, 8, false);
    if (tmcPhase == kPhaseNameSecondHalf) {
        group.blocks[RdsGroup::B] |= 0x15;
        group.blocks[RdsGroup::C] = quint16(quint8(name[4]) << 8 | quint8(name[5]));
        group.blocks[RdsGroup::D] = quint16(quint8(name[6]) << 8 | quint8(name[7]));
        tmcPhase = kPhaseMessages;
        tmcRepeat = 255;
    } else {
        group.blocks[RdsGroup::B] |= 0x14;
        group.blocks[RdsGroup::C] = quint16(quint8(name[0]) << 8 | quint8(name[1]));
        group.blocks[RdsGroup::D] = quint16(quint8(name[2]) << 8 | quint8(name[3]));
        tmcPhase = kPhaseNameSecondHalf;
    }
    finish(out, group);
}
