// The tag readers on what a song file carries: an ID3v2 tag at the start of
// a stream, an ID3v1 block at the end of a file, the payload of a RIFF LIST
// chunk, one Vorbis comment entry, and an MP3 file's tags read from disk.
// The first byte chooses the reader.
#include "FuzzKit.h"

#include "audio/TagReaders.h"

#include <QDataStream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray bytes = FuzzKit::bytes(data + 1, size - 1);
    TagMap tags;
    switch (data[0] % 5) {
    case 0: {
        QDataStream in(bytes);
        readID3v2(in, tags);
        break;
    }
    case 1:
        readID3v1(bytes, tags);
        break;
    case 2:
        readWavInfo(bytes, tags);
        break;
    case 3:
        addVorbisComment(bytes.constData(), bytes.size(), tags);
        break;
    default: {
        SongInfo song;
        song.path = FuzzKit::inputFile(QStringLiteral("input.mp3"), bytes);
        readID3(song);
        break;
    }
    }
    for (int index : {-1, 0, int(data[0]), 191, 192, 255})
        id3v1Genre(index);
    return 0;
}
