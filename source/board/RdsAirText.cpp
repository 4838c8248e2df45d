#include "board/RdsAirText.h"

#include "board/RdsText.h"
#include "settings/RDSSource.h"

#include <QTextCodec>

#include <algorithm>

namespace {

constexpr char kSpace = 0x20;
constexpr char kZero = 0x00;
constexpr quint8 kLongPsEnd = 1 << 4; // endx bit 4
constexpr quint8 kErtMark = 1 << 2;   // rtxt bit 2
constexpr quint8 kRtMark = 1 << 3;    // rtxt bit 3
constexpr int kRtBothGroups = 2;      // rtxg: text A in 2A, text B in 2B
constexpr int kRtVersionB = 1;        // rtxg: both texts in 2B
constexpr int kWidthA = 4;            // bytes of a 2A segment
constexpr int kWidthB = 2;            // bytes of a 2B segment

int roundUp(int size, int step)
{
    return (size + step - 1) / step * step;
}

// The text and, when it fits in the room, the end character appended to it
// as one more character before encoding, as a codec needs it (UTF-16 gives
// it two bytes, UTF-8 two for a code above 0x7F).
void encodeEnded(RdsAirText::Bytes& out, QTextCodec* codec, bool mark, bool ended, quint8 end,
                 int room)
{
    out.bytes = RdsText::encodeWithCodec(out.text, &out.encodable, mark, codec);
    out.textSize = int(out.bytes.size());
    if (ended && out.textSize < room) {
        bool encodable = true;
        const QByteArray withEnd =
            RdsText::encodeWithCodec(out.text + QChar(char16_t(end)), &encodable, mark, codec);
        if (withEnd.size() <= room) {
            out.bytes = withEnd;
            out.encodable = encodable;
        }
    }
    out.endedSize = int(out.bytes.size());
}

} // namespace

QByteArray RdsAirText::shortText(QString text, const QByteArray& crt, bool* encodable)
{
    const QList<int> escapes = RdsText::decodeEscapes(text, RdsText::kShortEscapeDigits);
    QTextCodec* codec = radioTextCodec(crt);
    if (codec)
        return RdsText::encodeWithCodec(text, encodable, false, codec);
    if (encodable)
        *encodable = RdsText::hasE1Codes(text, escapes);
    return RdsText::toE1(text, escapes);
}

RdsAirText::Bytes RdsAirText::ps(const RDSSource& source)
{
    Bytes out;
    out.text = source.ps;
    RdsText::decodeEscapes(out.text, RdsText::kShortEscapeDigits);
    out.bytes = shortText(source.ps, source.crt, &out.encodable);
    out.textSize = out.endedSize = int(out.bytes.size());
    if (out.bytes.size() < kPsLength)
        out.bytes.append(kPsLength - out.bytes.size(), kSpace);
    return out;
}

RdsAirText::Bytes RdsAirText::longPs(const RDSSource& source)
{
    Bytes out;
    out.text = source.lps;
    RdsText::decodeEscapes(out.text, RdsText::kLongEscapeDigits);
    encodeEnded(out, textCodec(source.clps), source.boml & 1, source.endx & kLongPsEnd, source.endl,
                kLongPsRoom);
    // Group 15A sends segments until one begins past the text's end, so a
    // text below the room is always followed by at least one 0x00.
    if (out.bytes.size() < kLongPsRoom)
        out.bytes.append(int(out.bytes.size()) / 4 * 4 + 4 - out.bytes.size(), kZero);
    return out;
}

RdsAirText::Bytes RdsAirText::radioText(const RDSSource& source, int which,
                                        const QMap<int, QString>& tagTexts)
{
    Bytes out;
    quint8 end = source.enda;
    bool ended = false;
    // Another rtxg sends an empty text A in 2A.
    if (source.rtxg <= kRtBothGroups) {
        out.text = which ? source.rtb : source.rta;
        end = which ? source.endb : source.enda;
        ended = (source.endx >> which) & 1;
    }
    RdsText::replaceTagMarkers(out.text, tagTexts);
    const QList<int> escapes = RdsText::decodeEscapes(out.text, RdsText::kShortEscapeDigits);
    QTextCodec* codec = radioTextCodec(source.crt);
    if (codec) {
        out.bytes =
            RdsText::encodeWithCodec(out.text, &out.encodable, source.rtxt & kRtMark, codec);
    } else {
        out.bytes = RdsText::toE1(out.text, escapes);
        out.encodable = RdsText::hasE1Codes(out.text, escapes);
    }
    out.textSize = int(out.bytes.size());
    // The end character is a byte of the coding, sent as it is.
    const int room = radioTextRoom(source, which);
    if (ended && out.bytes.size() < room)
        out.bytes.append(char(end));
    out.endedSize = int(out.bytes.size());
    const int width = radioTextWidth(source, which);
    const int filled = std::max(width, roundUp(int(out.bytes.size()), width));
    out.bytes.append(filled - out.bytes.size(), char(end));
    return out;
}

RdsAirText::Bytes RdsAirText::enhancedText(const RDSSource& source, int which,
                                           const QMap<int, QString>& tagTexts)
{
    Bytes out;
    out.text = which ? source.rtd : source.rtc;
    RdsText::replaceTagMarkers(out.text, tagTexts);
    RdsText::decodeEscapes(out.text, RdsText::kLongEscapeDigits);
    const quint8 end = which ? source.endd : source.endc;
    const bool ended = (source.endx >> (2 + which)) & 1;
    encodeEnded(out, textCodec(source.enc), source.rtxt & kErtMark, ended, end, kErtRoom);
    const int filled = std::max(kErtSegmentSize, roundUp(int(out.bytes.size()), kErtSegmentSize));
    out.bytes.append(filled - out.bytes.size(), kZero);
    return out;
}

int RdsAirText::radioTextWidth(const RDSSource& source, int which)
{
    const bool versionB =
        source.rtxg == kRtVersionB || (source.rtxg == kRtBothGroups && which == 1);
    return versionB ? kWidthB : kWidthA;
}

int RdsAirText::radioTextRoom(const RDSSource& source, int which)
{
    return kRtSegments * radioTextWidth(source, which);
}

QTextCodec* RdsAirText::radioTextCodec(const QByteArray& name)
{
    return RdsText::usesE1Table(name) ? nullptr : QTextCodec::codecForName(name);
}

QTextCodec* RdsAirText::textCodec(const QByteArray& name)
{
    QTextCodec* codec = QTextCodec::codecForName(name);
    return codec ? codec : QTextCodec::codecForName("UTF-8");
}

bool RdsAirText::sameRadioTextCoding(const QByteArray& a, const QByteArray& b)
{
    return radioTextCodec(a) == radioTextCodec(b);
}

bool RdsAirText::sameTextCodec(const QByteArray& a, const QByteArray& b)
{
    return textCodec(a) == textCodec(b);
}
