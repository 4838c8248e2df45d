#pragma once

#include "audio/DecoderKind.h"
#include "settings/SongInfo.h"

#include <QString>

#include <memory>

class FlacDecoder;
class MP3Decoder;
class OggDecoder;
class WavDecoder;

// The decoder objects of one decode thread, one per kind, each made the first
// time a file of its kind is opened and kept for every later file.
class DecoderSet
{
public:
    DecoderSet();
    ~DecoderSet();
    DecoderSet(const DecoderSet&) = delete;
    DecoderSet& operator=(const DecoderSet&) = delete;

    // Kind by the ending of the whole path, case ignored, no dot needed.
    static qint32 kindOfPath(const QString& path);
    // False for anything that exists and is no regular file (after links).
    static bool isPlayableFile(const QString& path);

    // Opens the song with the decoder of its kind: false for an unknown
    // ending (kind stays 0) or a failed open (kind -1). Only regular files
    // are opened; a FIFO, a device or a folder fails at once.
    bool open(SongInfo& song);
    // Decode step of the decoder of that kind; without one, nothing.
    qint32 decode(qint32 kind, char* destination, qint32 bytes, bool& end);
    bool has(qint32 kind) const;
    void rewind(qint32 kind);
    // Closes the file the decoder of that kind has open and frees what the
    // library holds for it, keeping the decoder object.
    void close(qint32 kind);
    // Destroys the decoder objects: MP3, Ogg Vorbis, WAV, FLAC.
    void clear();

private:
    // Calls fn with the decoder object of that kind, if there is one.
    template <typename Fn> void withDecoder(qint32 kind, Fn fn);

    std::unique_ptr<OggDecoder> ogg;
    std::unique_ptr<MP3Decoder> mp3;
    std::unique_ptr<WavDecoder> wav;
    std::unique_ptr<FlacDecoder> flac;
};

// The decode thread's chooser.
bool openDecoder(DecoderSet& decoders, SongInfo& song);
