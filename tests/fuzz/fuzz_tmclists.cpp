// The TMC reference lists of the "lists" folder: event list, forecast list,
// supplementary information and one location list, each a ';'-separated
// file that anyone may edit. After loading, every code found (and a few of
// the input's own) is looked up the way the TMC page shows it.
#include "FuzzKit.h"

#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"
#include "tmc/TMCReferenceLists.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString listFile(FuzzedDataProvider& input, const QString& name)
{
    constexpr size_t kMaxLength = 4096;
    const std::string bytes = input.ConsumeRandomLengthString(kMaxLength);
    return FuzzKit::inputFile(name, QByteArray(bytes.data(), qsizetype(bytes.size())));
}

void lookUp(quint16 code, int value)
{
    TMCEvents::eventRecord(code);
    TMCEvents::eventInfo(code);
    TMCEvents::eventText(code);
    TMCEvents::durationText(code, value);
    TMCEvents::quantifierText(code, value);
    TMCEvents::suppInfoText(code, true);
    TMCEvents::suppInfoText(code, false);
    TMCPlaces::placeText(code);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QStringList files{listFile(input, QStringLiteral("ECL401.csv")),
                            listFile(input, QStringLiteral("forecast.csv")),
                            listFile(input, QStringLiteral("suppinfo.csv")),
                            listFile(input, QStringLiteral("LCL1.csv"))};
    TMCEvents::loadEvents(files[0], 0);
    TMCEvents::loadEvents(files[1], 1);
    TMCEvents::loadSuppInfo(files[2]);
    TMCPlaces::loadLocations(files[3]);

    const TMCReferenceLists& lists = TMCReferenceLists::instance();
    QList<int> codes = lists.events.keys() + lists.suppInfo.keys() + lists.locations.keys();
    while (input.remaining_bytes() >= 2)
        codes.append(input.ConsumeIntegral<quint16>());
    int value = -300;
    for (int code : std::as_const(codes)) {
        lookUp(quint16(code), value);
        value = value < 300 ? value + 37 : -300;
    }

    TMCEvents::clear();
    TMCPlaces::clear();
    return 0;
}
