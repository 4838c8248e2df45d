// One decoder on a song file written from the input, chosen through the file
// ending as the decode thread chooses it (FUZZ_SONG_SUFFIX: ".wav", ".flac",
// ".ogg", ".mp3"). The song is decoded in the decode thread's steps up to a
// bound, rewound, played a little again, and opened a second time with the
// same decoder object, as the next song of a playlist would be.
#include "FuzzKit.h"

#include "audio/DecoderSet.h"

#include <array>
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
// at the page check of libvorbisfile and never reach the decoder's own code.
// The pages of an input get correct checksums before it is written.
void fixOggChecksums(QByteArray& bytes)
{
    constexpr int kHeaderBytes = 27;
    constexpr int kChecksumAt = 22;
    constexpr int kSegmentCountAt = 26;
    static const std::array<quint32, 256> kTable = [] {
        std::array<quint32, 256> table{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
            table[i] = r;
        }
        return table;
    }();
    qsizetype at = 0;
    while ((at = bytes.indexOf("OggS", at)) >= 0 && at + kHeaderBytes <= bytes.size()) {
        const int segments = quint8(bytes[at + kSegmentCountAt]);
        qsizetype length = kHeaderBytes + segments;
        for (int i = 0; i < segments && at + kHeaderBytes + i < bytes.size(); ++i)
            length += quint8(bytes[at + kHeaderBytes + i]);
        length = qMin(length, bytes.size() - at);
        for (int i = 0; i < 4; ++i)
            bytes[at + kChecksumAt + i] = 0;
        quint32 crc = 0;
        for (qsizetype i = at; i < at + length; ++i)
            crc = (crc << 8) ^ kTable[((crc >> 24) ^ quint8(bytes[i])) & 0xFF];
        for (int i = 0; i < 4; ++i)
            bytes[at + kChecksumAt + i] = char((crc >> (8 * i)) & 0xFF);
        at += length;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzKit::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString suffix = QStringLiteral(FUZZ_SONG_SUFFIX);
    QByteArray bytes = FuzzKit::bytes(data, size);
    if (suffix == QLatin1String(".ogg"))
        fixOggChecksums(bytes);
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
