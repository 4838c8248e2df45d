// The text forms of the list-valued RDS keys (AF lists, group rates, ODA
// rows, EON entries) as the project file and SET hand them in. Whatever a
// text reads as must write out and read back as the same value. The first
// byte chooses the codec, the second gives up to three regional frequencies
// (32 bits each, little-endian) for the AF list; the rest is the text.
#include "FuzzKit.h"

#include "settings/ListCodecs.h"

#include <QtEndian>

#include <cstdlib>

namespace {

void check(bool same, const char* codec)
{
    if (same)
        return;
    fprintf(stderr, "%s: value changed on the way through its text\n", codec);
    abort();
}

// Reads the text, writes what it read and reads that again.
template <typename Value>
void checkRoundTrip(const QString& text, void (*parse)(Value&, const QString&),
                    QString (*write)(const Value&), const char* codec)
{
    Value value;
    parse(value, text);
    Value again;
    parse(again, write(value));
    check(again == value, codec);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int codec = data[0] % 4;
    QList<qint32> regional;
    size_t at = 2;
    for (int i = data[1] % 4; i > 0 && at + 4 <= size; --i, at += 4)
        regional.append(qFromLittleEndian<qint32>(data + at));
    const QString text = QString::fromUtf8(FuzzKit::bytes(data + at, size - at));

    switch (codec) {
    case 0: {
        const QList<AFEntry> list = afListFromText(text, regional);
        check(afListFromText(pairsToText(list), regional) == list, "AF list");
        break;
    }
    case 1:
        checkRoundTrip<GroupRate>(text, parseFiveInts, fiveFieldsToText, "group rate");
        break;
    case 2:
        checkRoundTrip<ODARow>(text, parseThirteenWords, wordsToHex, "ODA row");
        break;
    default:
        checkRoundTrip<EON>(text, eonFromText, eonToText, "EON entry");
        break;
    }
    return 0;
}
