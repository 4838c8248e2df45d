#include "audio/DecoderSet.h"

#include "audio/FlacDecoder.h"
#include "audio/OggDecoder.h"
#include "audio/WavDecoder.h"
#include "audio/mp3decoder/MP3Decoder.h"

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

bool DecoderSet::open(SongInfo& song)
{
    song.kind = DecoderNone;
    const qint32 kind = kindOfPath(song.path);
    song.kind = kind;
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
    if (!has(kind))
        return 0;
    switch (kind) {
    case DecoderOgg:
        return ogg->decode(destination, bytes, end);
    case DecoderMp3:
        return mp3->decode(destination, bytes, end);
    case DecoderWav:
        return wav->decode(destination, bytes, end);
    default:
        return flac->decode(destination, bytes, end);
    }
}

void DecoderSet::rewind(qint32 kind)
{
    if (!has(kind))
        return;
    switch (kind) {
    case DecoderOgg:
        ogg->rewind();
        break;
    case DecoderMp3:
        mp3->rewind();
        break;
    case DecoderWav:
        wav->rewind();
        break;
    default:
        flac->rewind();
        break;
    }
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
