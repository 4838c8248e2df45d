#include "audio/mp3decoder/MP3Decoder.h"

#include "audio/TagReaders.h"

#include <QDebug>

MP3Decoder::~MP3Decoder()
{
    reader.close();
    qDebug("~MP3 decoder");
}

bool MP3Decoder::open(SongInfo& song)
{
    reader.close();
    song.kind = DecoderFailed;
    readID3(song);
    if (!reader.open(song.path))
        return false;
    song.sampleRate = Mpg123Reader::kOutputRate;
    song.channels = Mpg123Reader::kOutputChannels;
    song.frames = reader.outputFrames();
    bytesDelivered = 0;
    song.kind = DecoderMp3;
    if (song.path != lastLogged) {
        lastLogged = song.path;
        // The file's own format, as the media reader reports it.
        const qint64 nativeFrames =
            reader.duration() * reader.nativeRate() / Mpg123Reader::kDurationUnitsPerSecond;
        qDebug("mp3: %d channels, %d Hz, %8lld samples [%s]", reader.nativeChannels(),
               reader.nativeRate(), static_cast<long long>(nativeFrames),
               qUtf8Printable(song.path));
    }
    return true;
}

qint32 MP3Decoder::decode(char* destination, qint32 bytes, bool& end)
{
    if (!reader.isOpen()) {
        end = true;
        return 0;
    }
    const qint32 written = reader.read(destination, bytes, end);
    bytesDelivered += written;
    return written;
}

void MP3Decoder::close()
{
    reader.close();
}

void MP3Decoder::rewind()
{
    reader.rewind();
}
