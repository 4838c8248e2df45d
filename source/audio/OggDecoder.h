#pragma once

#include "audio/DecoderKind.h"
#include "settings/SongInfo.h"

#include <vorbis/vorbisfile.h>

// Ogg Vorbis over libvorbisfile, read through our own stdio callbacks with
// 64-bit seeks. Delivers the file's own rate and channel layout.
class OggDecoder
{
public:
    OggDecoder();
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    bool open(SongInfo& song);
    qint32 decode(char* destination, qint32 bytes, bool& end);
    void rewind();
    // Frees what the open file holds (the stream's codebooks and state); a
    // later decode() delivers nothing until the next open().
    void close();

private:
    OggVorbis_File file{};
    bool isOpen = false;
    qint64 bytesDecoded = 0;
};
