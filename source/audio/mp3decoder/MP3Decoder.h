#pragma once

#include "audio/DecoderKind.h"
#include "audio/mp3decoder/Mpg123Reader.h"
#include "settings/SongInfo.h"

#include <QString>

// MPEG Layer-3 files, always delivered as 16-bit stereo at 44100 Hz; the song
// reports that delivered format so that it plays at its true speed.
class MP3Decoder
{
public:
    MP3Decoder() = default;
    ~MP3Decoder();
    MP3Decoder(const MP3Decoder&) = delete;
    MP3Decoder& operator=(const MP3Decoder&) = delete;

    bool open(SongInfo& song);
    qint32 decode(char* destination, qint32 bytes, bool& end);
    void rewind();
    // Closes the file in libmpg123; a later decode() delivers nothing until
    // the next open().
    void close();

private:
    Mpg123Reader reader;
    qint64 bytesDelivered = 0;
    QString lastLogged;
};
