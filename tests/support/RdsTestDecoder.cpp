#include "RdsTestDecoder.h"

namespace {

constexpr quint32 kGenerator = 0x5B9;

quint16 remainderOf(quint32 block26)
{
    quint32 value = block26;
    for (int bit = 25; bit >= 10; --bit) {
        if (value & (1u << bit))
            value ^= kGenerator << (bit - 10);
    }
    return quint16(value & 0x3FF);
}

void put(QByteArray& text, int at, quint16 word)
{
    if (at + 1 < text.size()) {
        text[at] = char(word >> 8);
        text[at + 1] = char(word & 0xFF);
    }
}

} // namespace

bool RdsTestDecoder::Blocks::valid() const
{
    const Offset c = versionB() ? OffsetCPrime : OffsetC;
    return offset[0] == OffsetA && offset[1] == OffsetB && offset[2] == c && offset[3] == OffsetD;
}

RdsTestDecoder::Offset RdsTestDecoder::offsetOf(quint32 block26)
{
    switch (remainderOf(block26)) {
    case 0x0FC:
        return OffsetA;
    case 0x198:
        return OffsetB;
    case 0x168:
        return OffsetC;
    case 0x350:
        return OffsetCPrime;
    case 0x1B4:
        return OffsetD;
    default:
        return OffsetNone;
    }
}

RdsTestDecoder::Blocks RdsTestDecoder::unpack(const quint8* bytes)
{
    Blocks g;
    quint64 high = 0; // bits 0..51
    quint64 low = 0;  // bits 52..103
    for (int i = 0; i < 13; ++i) {
        for (int b = 7; b >= 0; --b) {
            const int pos = i * 8 + (7 - b);
            const quint64 bit = (bytes[i] >> b) & 1;
            if (pos < 52)
                high = (high << 1) | bit;
            else
                low = (low << 1) | bit;
        }
    }
    const quint32 words[4] = {quint32(high >> 26) & 0x3FFFFFF, quint32(high) & 0x3FFFFFF,
                              quint32(low >> 26) & 0x3FFFFFF, quint32(low) & 0x3FFFFFF};
    for (int i = 0; i < 4; ++i) {
        g.data[i] = quint16(words[i] >> 10);
        g.check[i] = quint16(words[i] & 0x3FF);
        g.offset[i] = offsetOf(words[i]);
    }
    return g;
}

RdsTestDecoder::ClockTime RdsTestDecoder::clockTime(const Blocks& g)
{
    ClockTime t;
    const qint64 mjd = (qint64(g.data[1] & 3) << 15) | (g.data[2] >> 1);
    t.date = QDate::fromJulianDay(mjd + 2400001);
    t.hour = ((g.data[2] & 1) << 4) | (g.data[3] >> 12);
    t.minute = (g.data[3] >> 6) & 0x3F;
    const int magnitude = g.data[3] & 0x1F;
    t.halfHours = (g.data[3] & 0x20) ? -magnitude : magnitude;
    return t;
}

RdsTestDecoder::TmcGroup RdsTestDecoder::tmcGroup(const Blocks& g)
{
    TmcGroup m;
    const quint16 b = g.data[1];
    m.c = g.data[2];
    m.d = g.data[3];
    m.system = (b & 0x1F) == 0;
    m.tuning = b & 0x10;
    m.variant = b & 0x0F;
    m.single = !m.tuning && (b & 0x08);
    if (m.tuning || m.system)
        return m;
    if (m.single) {
        m.duration = b & 7;
        m.extent = g.data[2] >> 11;
        m.event = g.data[2] & 0x7FF;
        m.location = g.data[3];
        return m;
    }
    m.continuity = b & 7;
    m.first = g.data[2] & 0x8000;
    if (m.first) {
        m.extent = (g.data[2] >> 11) & 0x0F;
        m.event = g.data[2] & 0x7FF;
        m.location = g.data[3];
    } else {
        m.second = g.data[2] & 0x4000;
        m.sequence = (g.data[2] >> 12) & 3;
        m.freeBits = (quint32(g.data[2] & 0x0FFF) << 16) | g.data[3];
    }
    return m;
}

QList<RdsTestDecoder::RtPlusTag> RdsTestDecoder::rtPlusTags(const Blocks& g)
{
    // RT+ (IEC 62106 annex): B bits 2-0 hold the top three bits of type 1.
    RtPlusTag first;
    first.type = ((g.data[1] & 7) << 3) | (g.data[2] >> 13);
    first.start = (g.data[2] >> 7) & 0x3F;
    first.length = (g.data[2] >> 1) & 0x3F;
    RtPlusTag second;
    second.type = ((g.data[2] & 1) << 5) | (g.data[3] >> 11);
    second.start = (g.data[3] >> 5) & 0x3F;
    second.length = g.data[3] & 0x1F;
    return {first, second};
}

QByteArray RdsTestDecoder::sentText(int index, int addressMask, int segmentBytes) const
{
    QMap<int, QByteArray> segments;
    for (const Blocks& g : all) {
        if (g.index() != index)
            continue;
        QByteArray segment;
        for (int block = segmentBytes == 2 ? 3 : 2; block <= 3; ++block) {
            segment.append(char(g.data[block] >> 8));
            segment.append(char(g.data[block] & 0xFF));
        }
        segments.insert(g.data[1] & addressMask, segment);
    }
    QByteArray bytes;
    for (int address = 0; segments.contains(address); ++address)
        bytes.append(segments.value(address));
    return bytes;
}

bool RdsTestDecoder::add(const quint8* bytes)
{
    const Blocks g = unpack(bytes);
    if (!g.valid())
        return false;
    all.append(g);
    ++groups;
    ++counts[g.index()];
    pi = g.data[0];
    const quint16 b = g.data[1];
    switch (g.index()) {
    case 0:
    case 16: {
        const int s = b & 3;
        put(ps, 2 * s, g.data[3]);
        psSegmentsSeen |= quint8(1 << s);
        di = quint8((di & ~(1 << (3 - s))) | (((b >> 2) & 1) << (3 - s)));
        if (g.index() == 0)
            afWords.append(g.data[2]);
        break;
    }
    case 2:
    case 18: {
        const int flag = (b >> 4) & 1;
        if (rtFlag >= 0 && flag != rtFlag) {
            ++rtFlagChanges;
            rt.fill('\0');
        }
        rtFlag = flag;
        const int a = b & 15;
        rtSegments.append(a);
        if (g.versionB()) {
            put(rt, 2 * a, g.data[3]);
        } else {
            put(rt, 4 * a, g.data[2]);
            put(rt, 4 * a + 2, g.data[3]);
        }
        break;
    }
    case 3:
        odaAids[b & 31] = g.data[3];
        odaMessages[b & 31] = g.data[2];
        break;
    case 10: {
        const int flag = (b >> 4) & 1;
        if (ptynFlag >= 0 && flag != ptynFlag)
            ptyn.fill('\0');
        ptynFlag = flag;
        const int a = b & 1;
        put(ptyn, 4 * a, g.data[2]);
        put(ptyn, 4 * a + 2, g.data[3]);
        break;
    }
    case 14: {
        Eon& e = eon[g.data[3]];
        e.tp = (b >> 4) & 1;
        const int variant = b & 15;
        if (variant < 4)
            put(e.ps, 2 * variant, g.data[2]);
        else if (variant == 4)
            e.afWords.append(g.data[2]);
        else if (variant == 12)
            e.linkage = g.data[2];
        else if (variant == 13) {
            e.pty = g.data[2] >> 11;
            e.ta = g.data[2] & 1;
        }
        break;
    }
    case 15: {
        const int a = b & 7;
        put(longPs, 4 * a, g.data[2]);
        put(longPs, 4 * a + 2, g.data[3]);
        break;
    }
    default:
        break;
    }
    return true;
}
