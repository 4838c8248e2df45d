#pragma once

#include <QtGlobal>

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
