#include "audio/DecoderSet.h"

#include "audio/AudioPath.h"
#include "audio/FlacDecoder.h"
#include "audio/OggDecoder.h"
#include "audio/WavDecoder.h"
#include "audio/mp3decoder/MP3Decoder.h"

#include <QDebug>
#include <QFileInfo>

DecoderSet::DecoderSet() = default;

DecoderSet::~DecoderSet()
{
    clear();
}

qint32 DecoderSet::kindOfPath(const QString& path)
{
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String("ogg")))
        return DecoderOgg;
    if (lower.endsWith(QLatin1String("mp3")))
        return DecoderMp3;
    if (lower.endsWith(QLatin1String("wav")) || lower.endsWith(QLatin1String("raw")) ||
        lower.endsWith(QLatin1String("pcm")))
        return DecoderWav;
    if (lower.endsWith(QLatin1String("flac")))
        return DecoderFlac;
    return DecoderNone;
}

namespace {

template <typename Decoder> Decoder& made(std::unique_ptr<Decoder>& decoder)
{
    if (!decoder)
        decoder = std::make_unique<Decoder>();
    return *decoder;
}

} // namespace

template <typename Fn> void DecoderSet::withDecoder(qint32 kind, Fn fn)
{
    switch (kind) {
    case DecoderOgg:
        if (ogg)
            fn(*ogg);
        break;
    case DecoderMp3:
        if (mp3)
            fn(*mp3);
        break;
    case DecoderWav:
        if (wav)
            fn(*wav);
        break;
    case DecoderFlac:
        if (flac)
            fn(*flac);
        break;
    default:
        break;
    }
}

// Opening a FIFO or a device for reading blocks until someone writes to it,
// and the decode thread would hang there, out of reach of a stop request.
// stat() does not open the file, so it does not block on one.
bool DecoderSet::isPlayableFile(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

bool DecoderSet::open(SongInfo& song)
{
    song.kind = DecoderNone;
    song.path = AudioPath::resolved(song.path);
    const qint32 kind = kindOfPath(song.path);
    song.kind = kind;
    if (kind != DecoderNone && !isPlayableFile(song.path)) {
        qDebug("decoder: not a regular file [%s]", qUtf8Printable(song.path));
        song.kind = DecoderFailed;
        return false;
    }
    switch (kind) {
    case DecoderOgg:
        return made(ogg).open(song);
    case DecoderMp3:
        return made(mp3).open(song);
    case DecoderWav:
        return made(wav).open(song);
    case DecoderFlac:
        return made(flac).open(song);
    default:
        return false;
    }
}

bool DecoderSet::has(qint32 kind) const
{
    switch (kind) {
    case DecoderOgg:
        return bool(ogg);
    case DecoderMp3:
        return bool(mp3);
    case DecoderWav:
        return bool(wav);
    case DecoderFlac:
        return bool(flac);
    default:
        return false;
    }
}

qint32 DecoderSet::decode(qint32 kind, char* destination, qint32 bytes, bool& end)
{
    qint32 written = 0;
    withDecoder(kind, [&](auto& decoder) { written = decoder.decode(destination, bytes, end); });
    return written;
}

void DecoderSet::rewind(qint32 kind)
{
    withDecoder(kind, [](auto& decoder) { decoder.rewind(); });
}

void DecoderSet::close(qint32 kind)
{
    withDecoder(kind, [](auto& decoder) { decoder.close(); });
}

void DecoderSet::clear()
{
    mp3.reset();
    ogg.reset();
    wav.reset();
    flac.reset();
}

bool openDecoder(DecoderSet& decoders, SongInfo& song)
{
    return decoders.open(song);
}
