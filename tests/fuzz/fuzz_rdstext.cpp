// The RDS texts a user or a remote client sets (PS, long PS, RadioText with
// its templates and RadioText+ tags, programme type names, eRT) in every
// character set the source can name, through the escapes, the E.1 table and
// the text codecs, and out through the groups that carry them.
#include "FuzzKit.h"

#include "board/RdsCharset.h"
#include "board/RdsEncoder.h"
#include "board/RdsText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>

namespace {

QString text(FuzzedDataProvider& input, size_t maxLength = 80)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QByteArray codecName(FuzzedDataProvider& input)
{
    static const char* const kNames[] = {"E.1",   "UTF-8",      "UTF-16BE",   "UTF-16LE",
                                         "UCS-2", "ISO-8859-1", "ISO-8859-7", "windows-1252"};
    const size_t pick = input.ConsumeIntegralInRange<size_t>(0, std::size(kNames));
    if (pick < std::size(kNames))
        return kNames[pick];
    const std::string name = input.ConsumeRandomLengthString(16);
    return QByteArray(name.data(), qsizetype(name.size()));
}

void convertAlone(FuzzedDataProvider& input)
{
    QString line = text(input);
    const int digits =
        input.ConsumeBool() ? RdsText::kShortEscapeDigits : RdsText::kLongEscapeDigits;
    const QList<int> escapes = RdsText::decodeEscapes(line, digits);
    RdsText::toE1(line, escapes);
    RdsText::toRdsCharset(line, escapes, codecName(input), input.ConsumeBool());
    for (const QChar c : std::as_const(line))
        RdsCharset::fromRds(RdsCharset::toRds(c.unicode()));
}

RDSSource sourceOf(FuzzedDataProvider& input)
{
    RDSSource source;
    source.ps = text(input, 16);
    source.lps = text(input, 40);
    source.rta = text(input);
    source.rtb = text(input);
    source.pn1 = text(input, 16);
    source.pn2 = text(input, 16);
    source.crt = codecName(input);
    source.enc = codecName(input);
    source.clps = codecName(input);
    source.boml = input.ConsumeIntegral<quint8>();
    source.pss = input.ConsumeIntegral<quint8>();
    source.rtitm = input.ConsumeIntegral<quint8>();
    source.rtxt = input.ConsumeIntegral<quint8>();
    source.mode = input.ConsumeIntegral<quint8>();
    source.dec = input.ConsumeIntegral<quint8>();
    for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
        source.rttag.append(RTag{input.ConsumeIntegralInRange(0, 63), text(input, 40)});
    // Every group type on every stream, so each text goes out.
    for (GroupRate& rate : source.gmin) {
        rate.on = 1;
        rate.rate = {60, 60, 60, 60};
    }
    return source;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    convertAlone(input);

    RdsEncoder encoder;
    encoder.seedRandom(1);
    encoder.setClock([] { return qint64(0); });
    encoder.setSource(sourceOf(input), 95.8);
    RdsEncoder::TagMap tags;
    tags.insert(QStringLiteral("Title"), text(input));
    tags.insert(QStringLiteral("Artist"), text(input));
    encoder.setTags(tags);
    std::array<std::array<quint8, RdsEncoder::kGroupBytes>, RdsEncoder::kStreams> groups{};
    constexpr int kRounds = 200;
    for (int round = 0; round < kRounds; ++round)
        encoder.generate(groups[0].data(), groups[1].data(), groups[2].data(), groups[3].data());
    encoder.currentText();
    return 0;
}
