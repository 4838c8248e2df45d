// One decoder on a song file written from the input, chosen through the file
// ending as the decode thread chooses it (FUZZ_SONG_SUFFIX: ".wav", ".flac",
// ".ogg", ".mp3"). The song is decoded in the decode thread's steps up to a
// bound, rewound, played a little again, and opened a second time with the
// same decoder object, as the next song of a playlist would be.
#include "FuzzKit.h"

#include "audio/DecoderSet.h"

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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzKit::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path =
        FuzzKit::inputFile(QStringLiteral("input" FUZZ_SONG_SUFFIX), FuzzKit::bytes(data, size));
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
