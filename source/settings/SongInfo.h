#pragma once

#include "settings/TagMap.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// One playlist entry as a decode thread plays it. Kept in the store because
// the board threads report songs there and the pages read them back.
struct SongInfo
{
    QString path;
    TagMap tags;
    qint32 kind = 0;     // decoder kind: 0 none, -1 opening or failed, 1 Ogg, 2 MP3, 3 WAV, 4 FLAC
    qint32 position = 0; // thousandths of the song, only in play reports
    qint32 sampleRate = 0;
    qint32 channels = 0;
    qint64 frames = 0;
};

Q_DECLARE_METATYPE(SongInfo)
