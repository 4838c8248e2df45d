#pragma once

#include "audio/TagMap.h"

#include <QMetaType>
#include <QString>

// Which decoder plays a song; kept as a plain int in SongInfo::kind because the
// pages and the store compare and publish it as a number.
enum DecoderKind : qint32
{
    DecoderFailed = -1, // open under way or failed
    DecoderNone = 0,    // not chosen yet, or the ending is unknown
    DecoderOgg = 1,
    DecoderMp3 = 2,
    DecoderWav = 3,
    DecoderFlac = 4,
};

// One playlist entry as the decode thread plays it. The stream parameters are
// those of the PCM the decoder delivers, so that rate, channels and frames
// give the true play speed and position.
struct SongInfo
{
    QString path;
    TagMap tags;
    qint32 kind = DecoderNone;
    qint32 position = 0; // thousandths of the song, filled by PCMDecoder::playInfo only
    qint32 sampleRate = 0;
    qint32 channels = 0;
    qint64 frames = 0;
};

Q_DECLARE_METATYPE(SongInfo)
