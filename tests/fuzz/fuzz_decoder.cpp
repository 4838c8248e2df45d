// One decoder on a song file written from the input, chosen through the file
// ending as the decode thread chooses it (FUZZ_SONG_SUFFIX: ".wav", ".flac",
// ".ogg", ".mp3"). The song is decoded in the decode thread's steps up to a
// bound, rewound, played a little again, and opened a second time with the
// same decoder object, as the next song of a playlist would be.
#include "FuzzKit.h"

#include "audio/DecoderSet.h"

#include "AudioFiles.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Enough for every seed to reach its end, small enough that a stream that
// decodes to a lot of audio does not slow the fuzzer down.
constexpr qint64 kMaxDecodedBytes = 4 << 20;
constexpr qint32 kStepBytes = 16384;
constexpr int kMaxEmptySteps = 4;

[[noreturn]] void fail(const char* what)
{
    fprintf(stderr, "decoder: %s\n", what);
    abort();
}

// What the decode thread and the engine take for granted of an open song:
// a format to play it at, and steps of whole frames (a torn frame would
// swap the channels of everything after it).
void play(DecoderSet& decoders, const SongInfo& song, qint64 limit)
{
    if (song.channels < 1 || song.sampleRate < 1 || song.frames < 0)
        fail("open song without a playable format");
    const qint32 frameBytes = 2 * song.channels;
    std::vector<char> buffer(kStepBytes);
    qint64 decoded = 0;
    int emptySteps = 0;
    while (decoded < limit && emptySteps < kMaxEmptySteps) {
        bool end = false;
        const qint32 got = decoders.decode(song.kind, buffer.data(), kStepBytes, end);
        if (got < 0 || got > kStepBytes)
            fail("step outside the destination");
        if (got % frameBytes != 0)
            fail("step of a torn frame");
        decoded += got;
        emptySteps = got == 0 ? emptySteps + 1 : 0;
        if (end)
            break;
    }
}

// Ogg pages carry a CRC, so nearly every mutation of an Ogg file would end
// at the page check of libvorbisfile and never reach the decoder's own code;
// inputs are written with their checksums made right (AudioFiles). The
// frame headers of FLAC carry a CRC-8 over their own bytes: without it
// libFLAC skips every mutated header, and the decoder never sees a frame
// that changes its block size, channels or sample depth mid-stream.
void fixFlacHeaderChecksums(QByteArray& bytes)
{
    constexpr int kMetadataStart = 4; // after "fLaC"
    constexpr int kMetadataHeaderBytes = 4;
    if (!bytes.startsWith("fLaC"))
        return;
    qsizetype at = kMetadataStart;
    bool last = false;
    while (!last && at + kMetadataHeaderBytes <= bytes.size()) {
        last = quint8(bytes[at]) & 0x80;
        const qsizetype length =
            (quint8(bytes[at + 1]) << 16) | (quint8(bytes[at + 2]) << 8) | quint8(bytes[at + 3]);
        at += kMetadataHeaderBytes + length;
    }
    for (; at + 4 < bytes.size(); ++at) {
        if (quint8(bytes[at]) != 0xFF || (quint8(bytes[at + 1]) & 0xFE) != 0xF8)
            continue;
        const int blockCode = quint8(bytes[at + 2]) >> 4;
        const int rateCode = quint8(bytes[at + 2]) & 0x0F;
        // The frame or sample number is coded like UTF-8: its first byte
        // tells the length by its leading ones.
        const quint8 first = quint8(bytes[at + 4]);
        int numberBytes = 1;
        while (numberBytes < 7 && (first << numberBytes) & 0x80)
            ++numberBytes;
        qsizetype end = at + 4 + numberBytes;
        end += blockCode == 6 ? 1 : blockCode == 7 ? 2 : 0;
        end += rateCode == 12 ? 1 : rateCode == 13 || rateCode == 14 ? 2 : 0;
        if (end >= bytes.size())
            break;
        quint8 crc = 0;
        for (qsizetype i = at; i < end; ++i) {
            crc ^= quint8(bytes[i]);
            for (int bit = 0; bit < 8; ++bit)
                crc = crc & 0x80 ? quint8((crc << 1) ^ 0x07) : quint8(crc << 1);
        }
        bytes[end] = char(crc);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString suffix = QStringLiteral(FUZZ_SONG_SUFFIX);
    QByteArray bytes = FuzzKit::bytes(data, size);
    if (suffix == QLatin1String(".ogg"))
        bytes = AudioFiles::withOggChecksums(bytes);
    else if (suffix == QLatin1String(".flac"))
        fixFlacHeaderChecksums(bytes);
    const QString path = FuzzKit::inputFile(QStringLiteral("input") + suffix, bytes);
    {
        DecoderSet decoders;
        for (int pass = 0; pass < 2; ++pass) {
            SongInfo song;
            song.path = path;
            if (!openDecoder(decoders, song))
                break;
            play(decoders, song, pass == 0 ? kMaxDecodedBytes : kStepBytes);
            decoders.rewind(song.kind);
            play(decoders, song, kStepBytes);
        }
    }
    return 0;
}
