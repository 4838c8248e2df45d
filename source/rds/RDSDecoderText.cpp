// The text line of one group and the TMC free-format walk of the monitor.
#include "rds/RDSDecoder.h"

#include "board/AfCodeList.h"
#include "board/RdsCharset.h"

#include <QDate>

namespace {

constexpr quint8 kCountFirst = 224, kCountLast = 249;
constexpr quint8 kLfMfFollows = 250;
// Modified Julian day 0 is Julian day 2400001 as QDate counts them.
constexpr qint64 kMjdToJulianDay = 2400001;
// Application identifiers (RDS forum register).
constexpr quint16 kAidTmc = 0xCD46, kAidTmcAlt = 0xCD47, kAidTmcOld = 0x0D45;
constexpr quint16 kAidRtPlus = 0x4BD7, kAidErt = 0x6552;
constexpr int kTmcWordBits = 28;
constexpr int kAccumulatorBits = 64;
// Field lengths of the free-format labels, ISO 14819-1 table 5.
constexpr int kLabelBits[16] = {3, 3, 5, 5, 5, 8, 8, 8, 8, 11, 16, 16, 16, 16, 0, 0};

QString bits3(quint16 b)
{
    QString text;
    for (int bit = 2; bit >= 0; --bit)
        text += (b >> bit) & 1 ? u'1' : u'0';
    return text;
}

QString chars(quint16 word)
{
    return QString(RdsCharset::shownChar(quint8(word >> 8))) +
           RdsCharset::shownChar(quint8(word & 0xFF));
}

QString hex(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

quint64 lowBits(quint64 value, int count)
{
    return count >= kAccumulatorBits ? value : value & ((quint64(1) << count) - 1);
}

} // namespace

QString RDSDecoder::frequencyText(int tenths)
{
    return QString::number(tenths * 0.1, 'g', 6);
}

void RDSDecoder::decodeGroup(const RdsChannelState& state, QString& line)
{
    const quint16 b = state.group.blocks[RdsGroup::B];
    const quint16 c = state.group.blocks[RdsGroup::C];
    const quint16 d = state.group.blocks[RdsGroup::D];
    switch (b >> 11) {
    case 0: // 0A
        line += u' ' + bits3(b) + u' ' + chars(d);
        appendAfPart(c, line);
        break;
    case 1: // 0B
        line += u' ' + bits3(b) + u' ' + chars(d);
        break;
    case 2: // 1A
        if (((c >> 12) & 7) == 0)
            line += QStringLiteral(" ECC=") + hex(c & 0xFF, 2);
        break;
    case 4:  // 2A
    case 20: // 10A
        line += u' ' + chars(c) + chars(d);
        break;
    case 5: // 2B
        line += u' ' + chars(d);
        break;
    case 6: // 3A
        appendOdaAnnouncement(b, c, d, line);
        break;
    case 8: // 4A
        appendClockTime(b, c, d, line);
        break;
    case 16: // 8A
        line += QStringLiteral(" G%1").arg(tmcSpacing);
        appendTmcGroup(b, c, d, line);
        break;
    case 30: // 15A
        line += QStringLiteral(" [%1]").arg(b & 7);
        break;
    case 31: // 15B
        line += u' ' + bits3(b);
        break;
    default:
        break;
    }
}

void RDSDecoder::appendAfPart(quint16 c, QString& line) const
{
    const quint8 first = quint8(c >> 8);
    const quint8 second = quint8(c & 0xFF);
    if (first >= kCountFirst && first <= kCountLast)
        line += QStringLiteral(" #%1").arg(first - kCountFirst);
    const bool lfMf = first == kLfMfFollows;
    for (const int tenths : {lfMf ? 0 : AfCodeList::afFrequency(first, false),
                             AfCodeList::afFrequency(second, lfMf)}) {
        if (tenths != 0)
            line += u' ' + frequencyText(tenths);
    }
}

void RDSDecoder::appendOdaAnnouncement(quint16 b, quint16 c, quint16 d, QString& line)
{
    line += QStringLiteral(" %1%2").arg((b >> 1) & 0x0F).arg(QChar((b & 1) ? u'B' : u'A'));
    if (d == kAidTmc || d == kAidTmcAlt || d == kAidTmcOld)
        line += QStringLiteral(":TMC");
    else if (d == kAidRtPlus)
        line += QStringLiteral(":RT+");
    else if (d == kAidErt)
        line += QStringLiteral(":eRT");
    if ((b & 0x1F) == kCode8AApplication)
        appendTmcAnnouncement(c, line);
}

void RDSDecoder::appendTmcAnnouncement(quint16 c, QString& line)
{
    const int variant = c >> 14;
    line += QStringLiteral(" VA%1").arg(variant);
    switch (variant) {
    case 0:
        tmcMode = (c >> 4) & 1;
        line += QStringLiteral(" LTN=%1 M=%2").arg((c >> 6) & 0x3F).arg(tmcMode ? 1 : 0);
        break;
    case 1:
        line += QStringLiteral(" SID=%1").arg((c >> 6) & 0x3F);
        if (!tmcMode)
            line += QStringLiteral(" CC=") + hex(c & 0x0F, 1);
        break;
    case 2:
        line += QStringLiteral(" LTECC=") + hex(c & 0xFF, 2);
        break;
    default:
        break;
    }
}

void RDSDecoder::appendClockTime(quint16 b, quint16 c, quint16 d, QString& line) const
{
    const int hour = ((c & 1) << 4) | (d >> 12);
    const int minute = (d >> 6) & 0x3F;
    const qint64 mjd = (qint64(b & 3) << 15) | (c >> 1);
    const QDate date = QDate::fromJulianDay(mjd + kMjdToJulianDay);
    line += u' ' + date.toString(QStringLiteral("yyyy-MM-dd")) +
            QStringLiteral(" %1:%2")
                .arg(hour, 2, 10, QLatin1Char('0'))
                .arg(minute, 2, 10, QLatin1Char('0'));
    // Local time offset: sign bit 5, then half hours in bits 4-0.
    const bool negative = d & 0x20;
    const int halfHours = d & 0x1F;
    line += QStringLiteral(" %1%2%3")
                .arg(QChar(negative ? u'-' : u'+'))
                .arg(halfHours / 2)
                .arg((halfHours & 1) ? QStringLiteral(":30") : QStringLiteral("h"));
}

void RDSDecoder::appendTmcGroup(quint16 b, quint16 c, quint16 d, QString& line)
{
    if ((b & 0x1F) == 0) {
        line += QStringLiteral(" X%1 LTN=%2 SID=%3 ENC=%4")
                    .arg(c >> 11, 2)
                    .arg(d >> 10)
                    .arg((c >> 5) & 0x3F)
                    .arg(c & 0x1F);
    } else if (b & 0x10) {
        line += QStringLiteral(" TI%1").arg(b & 0x0F);
    } else if (b & 0x08) {
        line += QStringLiteral(" SG%1 E=%2").arg(b & 7).arg(c & 0x7FF, 4);
    } else if (c & 0x8000) {
        line += QStringLiteral(" MG%1 E=%2").arg(b & 7).arg(c & 0x7FF, 4);
        tmcAccumulator = 0;
        tmcBitCount = 0;
        tmcLastSequence = -1;
    } else {
        const int sequence = (c >> 12) & 3;
        line += QStringLiteral(" MG%1 %2%3")
                    .arg(b & 7)
                    .arg((c & 0x4000) ? QStringLiteral("SG") : QStringLiteral("++"))
                    .arg(sequence);
        // A repeated group carries the same bits again.
        if (sequence != tmcLastSequence) {
            tmcLastSequence = sequence;
            decodeTMC((quint32(c & 0x0FFF) << 16) | d, line);
        }
    }
}

void RDSDecoder::decodeTMC(quint32 bits, QString& line)
{
    tmcAccumulator = (tmcAccumulator << kTmcWordBits) | (bits & 0x0FFFFFFF);
    // Only the newest 64 bits are kept, so no more can wait.
    tmcBitCount = qMin(tmcBitCount + kTmcWordBits, kAccumulatorBits);
    line += QStringLiteral(" :%1:").arg(tmcBitCount);
    while (tmcBitCount > 3) {
        if (lowBits(tmcAccumulator, tmcBitCount) == 0)
            break; // the rest is fill
        const int label = int((tmcAccumulator >> (tmcBitCount - 4)) & 0x0F);
        const int length = kLabelBits[label];
        if (tmcBitCount < length + 4)
            break;
        tmcBitCount -= length + 4;
        const quint64 value = lowBits(tmcAccumulator >> tmcBitCount, length);
        const QString name = QString::number(label, 16);
        if (label <= 8)
            line += QStringLiteral(" %1+%2=%3").arg(name).arg(length).arg(value);
        else if (label == 9)
            line += QStringLiteral(" %1=E=%2").arg(name).arg(value);
        else if (label <= 13)
            line += QStringLiteral(" %1=L=%2").arg(name).arg(value);
        else
            line += u' ' + name;
    }
}
