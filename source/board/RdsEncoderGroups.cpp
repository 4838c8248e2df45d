// Group builders of every type except TMC.
#include "board/RdsEncoder.h"

#include "board/AfCodeList.h"
#include "board/RdsAirText.h"
#include "board/RdsText.h"

#include <QDebug>
#include <QTextCodec>

namespace {

constexpr quint8 kSpace = 0x20;
constexpr int kPsLength = 8;
constexpr int kRtSegments = 16;
constexpr int kErtSegments = 32;
constexpr int kLpsSegments = 8;
constexpr int kOdaSlots = 6;
constexpr int kEonFirstAfStep = 6;
constexpr int kEonVariantLinkage = 12;
constexpr int kEonVariantPty = 13;
constexpr int kEonVariantAf = 4;
constexpr qint64 kJulianToMjd = 2400001;
constexpr int kMaxRtPlusTemplates = 16;
constexpr int kRtPlusFieldMask = 63;
constexpr int kRtPlusShortLength = 31;
constexpr quint16 kRtPlusOnErt = 1 << 13; // rtbit: the tags describe the eRT text
// Noncharacters, never sent: they bracket tag values while positions are found.
constexpr char16_t kTagOpen = 0xFDD0; // + template index
constexpr char16_t kTagClose = 0xFDEF;

quint8 byteAt(const QByteArray& bytes, int index, quint8 pad)
{
    return index < bytes.size() ? quint8(bytes.at(index)) : pad;
}

quint16 pair(const QByteArray& bytes, int index, quint8 pad)
{
    return quint16(byteAt(bytes, index, pad) << 8 | byteAt(bytes, index + 1, pad));
}

int nextMultiple(quint32 value, int step)
{
    return int((value + step - 1) / step * step);
}

} // namespace

quint8 RdsEncoder::diBit(int segment) const
{
    return (source.dec >> (3 - (segment & 3))) & 1;
}

RdsGroup RdsEncoder::startGroup(int stream, int type, bool versionB) const
{
    RdsGroup group;
    group.blocks[RdsGroup::A] = stream == 0 ? source.pi : 0;
    group.blocks[RdsGroup::B] = quint16(type << 12 | (versionB ? 0x0800 : 0) |
                                        (source.tp & 1) << 10 | (source.pty & 31) << 5);
    return group;
}

void RdsEncoder::finish(quint8* out, RdsGroup& group)
{
    group.checks.fill(RdsGroup::kComputeCheckword);
    checkwords(group);
    packGroup(out, group);
}

QByteArray RdsEncoder::shortText(const QString& text) const
{
    return RdsAirText::shortText(text, source.crt);
}

QPair<quint8, quint8> RdsEncoder::psSegmentChars(StreamCursor& cursor)
{
    const QByteArray ps = RdsAirText::ps(source).bytes;
    const quint32 segment = cursor.psSegment;
    const int position = cursor.psScroll + 2 * int(segment & 3);
    const QPair<quint8, quint8> chars(byteAt(ps, position, kSpace),
                                      byteAt(ps, position + 1, kSpace));

    const int step = (source.pss & 7) + 1;
    const int cycles = (source.pss >> 4) + 1;
    const bool scrolling = source.pss & 8;
    if ((segment & 3) == 3 && ((segment + 1) / 4) % cycles == 0)
        cursor.psScroll += step;
    if (!scrolling || cursor.psScroll + kPsLength >= step + ps.size())
        cursor.psScroll = 0;
    return chars;
}

void RdsEncoder::buildGroup0(quint8* out, int stream, bool versionB)
{
    StreamCursor& cursor = cursors[stream];
    const int segment = int(cursor.psSegment & 3);
    const QPair<quint8, quint8> chars = psSegmentChars(cursor);
    ++cursor.psSegment;

    RdsGroup group = startGroup(stream, 0, versionB);
    group.blocks[RdsGroup::B] |=
        quint16((source.ta & 1) << 4 | (source.ms & 1) << 3 | diBit(segment) << 2 | segment);
    if (versionB) {
        group.blocks[RdsGroup::C] = source.pi;
    } else if (source.codes.isEmpty()) {
        group.blocks[RdsGroup::C] = AfCodeList::kEmptyList;
    } else {
        if (cursor.afIndex < 0 || cursor.afIndex >= source.codes.size())
            cursor.afIndex = 0;
        group.blocks[RdsGroup::C] = source.codes[cursor.afIndex++];
    }
    group.blocks[RdsGroup::D] = quint16(chars.first << 8 | chars.second);
    finish(out, group);
}

void RdsEncoder::buildGroup1A(quint8* out, int stream)
{
    RdsGroup group = startGroup(stream, 1, false);
    group.blocks[RdsGroup::B] |= source.page & 31;
    group.blocks[RdsGroup::C] = source.slow;
    group.blocks[RdsGroup::D] = source.pin;
    finish(out, group);
}

void RdsEncoder::buildGroup2A(quint8* out, int stream)
{
    StreamCursor& cursor = cursors[stream];
    bool versionB = source.rtxg == 1;
    int which = 0;
    quint32* segment = &cursor.rtSegment[0];
    quint8 endChar = source.enda;

    if (source.rtxg <= 1) {
        if ((*segment % kRtSegments) == 0) {
            const int current = cursor.rtIndex & 1;
            const int repeats = current ? source.rpb : source.rpa;
            const int otherRepeats = current ? source.rpa : source.rpb;
            if (((*segment >> 4) + 1) % (repeats + 1) == 0) {
                *segment = 0;
                if (otherRepeats != 0)
                    ++cursor.rtIndex;
            }
        }
        which = cursor.rtIndex & 1;
    } else if (source.rtxg == 2) {
        which = cursor.rtAlternate++ & 1;
        versionB = which == 1;
        segment = &cursor.rtSegment[which];
        cursor.rtIndex = 0;
    }
    if (source.rtxg <= 2)
        endChar = which ? source.endb : source.enda;

    const RdsAirText::Bytes air = RdsAirText::radioText(source, which, tagTexts());
    const QByteArray& bytes = air.bytes;
    const QByteArray text = bytes.left(air.textSize);
    if (text != cursor.rtLast[which]) {
        cursor.rtLast[which] = text;
        if (source.rtxt & 16)
            cursor.rtFlags ^= 16;
    }

    const int address = int(*segment & 15);
    ++*segment;
    RdsGroup group = startGroup(stream, 2, versionB);
    const int width = versionB ? 2 : 4;
    const int first = address * width;
    if (versionB) {
        group.blocks[RdsGroup::C] = source.pi;
        group.blocks[RdsGroup::D] = pair(bytes, first, endChar);
    } else {
        group.blocks[RdsGroup::C] = pair(bytes, first, endChar);
        group.blocks[RdsGroup::D] = pair(bytes, first + 2, endChar);
    }
    // The air bytes end with the segment that carries the text's last byte
    // (or its end character).
    if (first + width >= bytes.size() && (*segment % kRtSegments) != 0)
        *segment = quint32(nextMultiple(*segment, kRtSegments));
    group.blocks[RdsGroup::B] |= quint16((cursor.rtFlags & 16) | address);
    finish(out, group);
}

void RdsEncoder::buildGroup3A(quint8* out, int stream)
{
    struct Slot
    {
        bool enabled;
        quint16 application;
        quint16 c;
        quint16 d;
    };
    const bool tmcOn = tmcEnabled();
    const quint16 tmcGroup = 0x10; // 8A
    const quint16 va0 = (tmc.flag & 2) ? quint16(tmc.va0 & ~0x0FC0) : tmc.va0;
    const Slot candidates[kOdaSlots] = {
        {tmcOn && (tmc.flag & 0x01), tmcGroup, va0, tmc.aid},
        {tmcOn && (tmc.flag & 0x08), tmcGroup, tmc.va1, tmc.aid},
        {tmcOn && (tmc.flag & 0x10), tmcGroup, tmc.va2, tmc.aid},
        {tmcOn && (tmc.flag & 0x20), tmcGroup, tmc.va3, tmc.aid},
        {bool(source.rtxt & 64), quint16(2 * source.ertg), source.ertb, source.eaid},
        {bool(source.rtxt & 128), quint16(2 * source.rtgrp), source.rtbit, source.paid},
    };
    RdsGroup group = startGroup(stream, 3, false);
    for (int i = 0; i < kOdaSlots; ++i) {
        const int slot = int((odaCounter + i) % kOdaSlots);
        if (!candidates[slot].enabled)
            continue;
        odaCounter = slot + 1;
        group.blocks[RdsGroup::B] |= candidates[slot].application & 31;
        group.blocks[RdsGroup::C] = candidates[slot].c;
        group.blocks[RdsGroup::D] = candidates[slot].d;
        finish(out, group);
        return;
    }
    qDebug("AID: unknown");
    group.blocks[RdsGroup::B] |= tmcGroup;
    finish(out, group);
}

void RdsEncoder::buildGroup4A(quint8* out, const QDateTime& time)
{
    QDateTime utc = time.toUTC().addSecs(qint64(source.mins) * 60);
    QDate date = utc.date();
    // Day 0 is the page's "heute": a fixed date of today is the clock's date.
    if (source.date && source.days != 0)
        date = QDate(1900, 3, 1).addDays(source.days);
    const qint64 mjd = date.toJulianDay() - kJulianToMjd;
    const QTime clock = utc.time();
    // Local time offset: sign bit and five bits of half hours.
    const int zone = source.zone;
    const quint16 offset = quint16((zone < 0 ? 0x20 : 0) | (std::abs(zone) & 0x1F));

    RdsGroup group = startGroup(0, 4, false);
    group.blocks[RdsGroup::B] |= quint16((mjd >> 15) & 3);
    group.blocks[RdsGroup::C] = quint16(((mjd << 1) & 0xFFFF) | (clock.hour() >> 4));
    group.blocks[RdsGroup::D] = quint16((clock.hour() & 15) << 12 | clock.minute() << 6 | offset);
    finish(out, group);
}

void RdsEncoder::buildGroup10A(quint8* out, int stream)
{
    StreamCursor& cursor = cursors[stream];
    quint32& segment = cursor.ptynSegment;
    if ((segment & 1) == 0) {
        const bool odd = cursor.ptynIndex & 1;
        const int repeats = odd ? source.rp1 : source.rp2;
        const int otherRepeats = odd ? source.rp2 : source.rp1;
        if (((segment >> 1) + 1) % (repeats + 1) == 0) {
            segment = 0;
            if (otherRepeats != 0)
                ++cursor.ptynIndex;
        }
    }
    const QByteArray name = shortText((cursor.ptynIndex & 1) ? source.pn1 : source.pn2);
    const int address = int(segment & 1);
    ++segment;
    RdsGroup group = startGroup(stream, 10, false);
    group.blocks[RdsGroup::B] |= quint16((cursor.ptynIndex & 1) << 4 | address);
    group.blocks[RdsGroup::C] = pair(name, 4 * address, kSpace);
    group.blocks[RdsGroup::D] = pair(name, 4 * address + 2, kSpace);
    finish(out, group);
}

void RdsEncoder::buildGroup14A(quint8* out, int stream)
{
    if (source.eon.isEmpty()) {
        buildGroup15B(out, stream);
        return;
    }
    if (eonIndex < 0 || eonIndex >= source.eon.size())
        eonIndex = 0;
    if (eonStep < 0)
        eonStep = 0;
    const EON& entry = source.eon[eonIndex];
    RdsGroup group = startGroup(stream, 14, false);
    int variant = 0;
    quint16 c = 0;
    if (eonStep < 4) {
        variant = eonStep;
        c = pair(shortText(entry.ps), 2 * eonStep, kSpace);
    } else if (eonStep == 4 && entry.link != 0) {
        variant = kEonVariantLinkage;
        c = entry.link;
    } else if (eonStep < kEonFirstAfStep) {
        variant = kEonVariantPty;
        c = quint16((entry.pty & 31) << 11 | (entry.ta & 1));
    } else {
        variant = kEonVariantAf;
        const int k = eonStep - kEonFirstAfStep;
        quint8 high = AfCodeList::kFiller;
        quint8 low = AfCodeList::kFiller;
        if (k < entry.af.size()) {
            const quint16 code = AfCodeList::afCode(entry.af[k].freq);
            if (AfCodeList::isLfMf(code)) {
                high = quint8(code >> 8);
                low = quint8(code);
            } else if (AfCodeList::isFm(code)) {
                high = quint8(code);
                const quint16 next = k + 1 < entry.af.size()
                                         ? AfCodeList::afCode(entry.af[k + 1].freq)
                                         : AfCodeList::kNoCode;
                if (AfCodeList::isFm(next)) {
                    low = quint8(next);
                    ++eonStep;
                }
            }
        }
        c = quint16(high << 8 | low);
    }
    group.blocks[RdsGroup::B] |= quint16((entry.tp & 1) << 4 | variant);
    group.blocks[RdsGroup::C] = c;
    group.blocks[RdsGroup::D] = entry.pi;
    ++eonStep;
    if (eonStep >= entry.af.size() + kEonFirstAfStep) {
        eonStep = 0;
        eonIndex = (eonIndex + 1) % source.eon.size();
    }
    finish(out, group);
}

void RdsEncoder::buildBurstGroup(quint8* out)
{
    if (eonIndex < 0 || eonIndex >= source.eon.size()) {
        buildGroup15B(out, 0);
        return;
    }
    const EON& entry = source.eon[eonIndex];
    RdsGroup group = startGroup(0, 14, true);
    group.blocks[RdsGroup::B] |= quint16((entry.tp & 1) << 4 | (entry.ta & 1) << 3);
    group.blocks[RdsGroup::C] = source.pi;
    group.blocks[RdsGroup::D] = entry.pi;
    finish(out, group);
}

void RdsEncoder::buildGroup15A(quint8* out, int stream)
{
    StreamCursor& cursor = cursors[stream];
    const QByteArray bytes = RdsAirText::longPs(source).bytes;
    int position = int((cursor.lpsSegment * 4) & 28);
    if (position >= bytes.size()) {
        cursor.lpsSegment = 0;
        position = 0;
    }
    RdsGroup group = startGroup(stream, 15, false);
    group.blocks[RdsGroup::B] |= quint16((source.ta & 1) << 4 | (cursor.lpsSegment % kLpsSegments));
    group.blocks[RdsGroup::C] = pair(bytes, position, 0);
    group.blocks[RdsGroup::D] = pair(bytes, position + 2, 0);
    ++cursor.lpsSegment;
    finish(out, group);
}

void RdsEncoder::buildGroup15B(quint8* out, int stream)
{
    StreamCursor& cursor = cursors[stream];
    const int segment = int(cursor.segment15B & 3);
    ++cursor.segment15B;
    RdsGroup group = startGroup(stream, 15, true);
    group.blocks[RdsGroup::B] |=
        quint16((source.ta & 1) << 4 | (source.ms & 1) << 3 | diBit(segment) << 2 | segment);
    group.blocks[RdsGroup::C] = source.pi;
    group.blocks[RdsGroup::D] = group.blocks[RdsGroup::B];
    finish(out, group);
}

// The tags point into the text exactly as it goes on air: the text passes
// the same markers, escapes and character conversion as its own group, with
// each tag value bracketed by noncharacters (which no escape can join) so its
// place can be found afterwards. RadioText positions count its bytes, eRT
// positions its characters.
QList<RdsEncoder::RtPlusTag> RdsEncoder::rtPlusTags(const QString& text, bool enhanced) const
{
    QMap<int, QString> values;
    for (int i = 0; i < int(source.rttag.size()); ++i) {
        const QString value = substituteTags(source.rttag[i]);
        values.insert(i, i < kMaxRtPlusTemplates
                             ? QChar(char16_t(kTagOpen + i)) + value + QChar(kTagClose)
                             : value);
    }
    QString marked = text;
    RdsText::replaceTagMarkers(marked, values);
    RdsText::decodeEscapes(marked,
                           enhanced ? RdsText::kLongEscapeDigits : RdsText::kShortEscapeDigits);

    const auto size = [&](const QString& part, bool withMark) {
        if (enhanced)
            return int(part.size());
        return int(toRdsCharset(part, {}, withMark && (source.rtxt & 8)).size());
    };
    QList<RtPlusTag> found;
    QList<int> open; // indexes into found, innermost last
    QString plain;
    for (const QChar c : std::as_const(marked)) {
        const char16_t code = c.unicode();
        if (code >= kTagOpen && code < kTagOpen + kMaxRtPlusTemplates) {
            open.append(int(found.size()));
            found.append({source.rttag[code - kTagOpen].type, int(plain.size()), 0});
        } else if (code == kTagClose && !open.isEmpty()) {
            RtPlusTag& tag = found[open.takeLast()];
            const QString value = plain.mid(tag.start);
            const int length = size(value, false);
            tag.start = size(plain, true) - length;
            tag.length = length;
        } else {
            plain.append(c);
        }
    }
    QList<RtPlusTag> tags;
    for (RtPlusTag tag : std::as_const(found)) {
        // An empty item would need a length field of -1: send no tag for it.
        if (tag.length == 0)
            continue;
        tag.length = (tag.length - 1) & kRtPlusFieldMask;
        tag.start &= kRtPlusFieldMask;
        tags.append(tag);
    }
    return tags;
}

void RdsEncoder::buildRtPlusGroup(quint8* out, int stream)
{
    const StreamCursor& cursor = cursors[stream];
    RdsGroup group = startGroup(stream, source.rtgrp & 15, false);
    if (!(source.rtitm & 2))
        itemToggle = (source.rtitm >> 2) & 1;
    group.blocks[RdsGroup::B] |= quint16((itemToggle & 1) << 4 | (source.rtitm & 1) << 3);
    if (source.rttag.isEmpty()) {
        finish(out, group);
        return;
    }
    const bool enhanced = source.rtbit & kRtPlusOnErt;
    const QString& text = enhanced ? ((cursor.ertIndex & 1) ? source.rtd : source.rtc)
                                   : ((cursor.rtIndex & 1) ? source.rtb : source.rta);
    const QList<RtPlusTag> found = rtPlusTags(text, enhanced);
    if (rtPlusIndex >= quint32(found.size()))
        rtPlusIndex = 0;
    RtPlusTag first = rtPlusIndex < quint32(found.size()) ? found[rtPlusIndex] : RtPlusTag();
    RtPlusTag second =
        rtPlusIndex + 1 < quint32(found.size()) ? found[rtPlusIndex + 1] : RtPlusTag();
    rtPlusIndex += 2;
    // Only the first tag has a six-bit length field.
    if (second.length > kRtPlusShortLength && first.length <= kRtPlusShortLength)
        std::swap(first, second);
    group.blocks[RdsGroup::B] |= quint16((first.type >> 3) & 7);
    group.blocks[RdsGroup::C] = quint16((first.type & 7) << 13 | first.start << 7 |
                                        first.length << 1 | ((second.type >> 5) & 1));
    group.blocks[RdsGroup::D] = quint16((second.type & 31) << 11 | second.start << 5 |
                                        qMin(second.length, kRtPlusShortLength));
    finish(out, group);
}

void RdsEncoder::buildErtGroup(quint8* out, int stream)
{
    StreamCursor& cursor = cursors[stream];
    quint32& segment = cursor.ertSegment;
    if ((segment % kErtSegments) == 0) {
        const bool odd = cursor.ertIndex & 1;
        const int repeats = odd ? source.rpd : source.rpc;
        const int otherRepeats = odd ? source.rpc : source.rpd;
        if (((segment >> 5) + 1) % (repeats + 1) == 0) {
            segment = 0;
            if (otherRepeats != 0)
                ++cursor.ertIndex;
        }
    }
    const bool odd = cursor.ertIndex & 1;
    const QByteArray bytes = RdsAirText::enhancedText(source, odd, tagTexts()).bytes;
    const int address = int(segment % kErtSegments);
    ++segment;
    if (4 * address + 4 >= bytes.size() && (segment % kErtSegments) != 0)
        segment = quint32(nextMultiple(segment, kErtSegments));
    RdsGroup group = startGroup(stream, source.ertg & 15, false);
    group.blocks[RdsGroup::B] |= quint16(address);
    group.blocks[RdsGroup::C] = pair(bytes, 4 * address, 0);
    group.blocks[RdsGroup::D] = pair(bytes, 4 * address + 2, 0);
    finish(out, group);
}
