// RDS group text lines as the RDS data input server and the RDS text files
// hand them to the encoder: packed hex, blocks with or without a status
// word, bytes, one run of hex digits. The first three bytes set the error
// generator (err, ber, fix), which every parsed group passes through.
#include "FuzzKit.h"

#include "board/RdsEncoder.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kSettingBytes = 3;
    if (size < kSettingBytes)
        return 0;
    RDSSource source;
    source.err = data[0];
    source.ber = data[1];
    source.fix = data[2];
    RdsEncoder encoder;
    encoder.seedRandom(1);
    encoder.setSource(source, 95.8);

    const QByteArray text = FuzzKit::bytes(data + kSettingBytes, size - kSettingBytes);
    // The text files are read line by line with their line ends.
    for (const QByteArray& line : text.split('\n')) {
        std::array<quint8, RdsEncoder::kGroupBytes> group{};
        encoder.parseGroupLine(group.data(), line + '\n');
    }
    return 0;
}
