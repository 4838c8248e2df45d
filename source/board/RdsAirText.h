#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class QTextCodec;
struct RDSSource;

// The bytes that each text of an RDS source puts on air: escapes resolved,
// RT+ markers filled, encoded in the text's coding, the end character and
// the filler of the last segment added as the groups carry them. The
// encoder cuts these bytes into segments; the RDS page shows and counts the
// same bytes, so what it shows is what goes out.
class RdsAirText
{
public:
    struct Bytes
    {
        QByteArray bytes;      // as sent, end character and filler included
        QString text;          // the text once markers and escapes are resolved
        int textSize = 0;      // bytes of the text alone (byte order mark included)
        int endedSize = 0;     // bytes of the text with its end character
        bool encodable = true; // every character has a code in the coding
    };

    static constexpr int kPsLength = 8;    // group 0A/0B: four segments of two
    static constexpr int kLongPsRoom = 32; // group 15A: eight segments of four
    static constexpr int kErtRoom = 128;   // eRT: 32 segments of four
    static constexpr int kRtSegments = 16; // group 2A/2B segment addresses
    static constexpr int kErtSegmentSize = 4;

    // PS: spaces after a text shorter than eight bytes.
    static Bytes ps(const RDSSource& source);
    // The bytes of a short text (PS, PTYN, provider name, the PS of another
    // network): two-digit escapes, then the RDS table E.1 or the codec that
    // crt names, without byte order mark.
    static QByteArray shortText(QString text, const QByteArray& crt, bool* encodable = nullptr);
    // Long PS: the end character when endx bit 4 asks for it, then 0x00 up
    // to the segment after the text's last one (the groups stop at the first
    // segment that begins past the text).
    static Bytes longPs(const RDSSource& source);
    // RadioText A (which 0) or B (1) as rtxg sends it; the end character
    // fills the last segment. tagTexts fill the RT+ markers "$0", "$1", ...
    static Bytes radioText(const RDSSource& source, int which, const QMap<int, QString>& tagTexts);
    // eRT text A (which 0, rtc) or B (1, rtd): the end character as one more
    // character in the codec, then 0x00 to whole segments.
    static Bytes enhancedText(const RDSSource& source, int which,
                              const QMap<int, QString>& tagTexts);

    // Bytes per RadioText segment (4 in 2A, 2 in 2B) and the room of the
    // text, for RadioText A (which 0) or B (1) under the source's rtxg.
    static int radioTextWidth(const RDSSource& source, int which);
    static int radioTextRoom(const RDSSource& source, int which);

    // The codec of a RadioText coding name (crt): none for the RDS table
    // E.1, which also stands for every name that no codec answers to.
    static QTextCodec* radioTextCodec(const QByteArray& name);
    // The codec of an eRT or long PS codec name: UTF-8 for a name that no
    // codec answers to.
    static QTextCodec* textCodec(const QByteArray& name);
    // Whether two names select the same coding (letter case, aliases and
    // unknown names resolved as the encoder resolves them).
    static bool sameRadioTextCoding(const QByteArray& a, const QByteArray& b);
    static bool sameTextCodec(const QByteArray& a, const QByteArray& b);
};
