#pragma once

#include "audio/DecoderKind.h"
#include "settings/SongInfo.h"

#include <QString>

class QFile;

// WAV files with a RIFF chunk walk, and headerless 44.1 kHz 16-bit stereo
// ("raw"/"pcm"). Delivers the file's own rate and channel layout, and only the
// bytes of the data chunk.
class WavDecoder
{
public:
    WavDecoder();
    ~WavDecoder();
    WavDecoder(const WavDecoder&) = delete;
    WavDecoder& operator=(const WavDecoder&) = delete;

    bool open(SongInfo& song);
    qint32 decode(char* destination, qint32 bytes, bool& end);
    void rewind();
    // Closes the file; a later decode() delivers nothing until the next
    // open().
    void close();

    // Error text of the last parse, empty after a successful open.
    QString lastError() const { return error; }

private:
    QString parse(SongInfo& song);
    QString parseChunks(SongInfo& song, qint64 fileSize);
    QString readFormat(quint32 length);
    QString checkFormat() const;
    void takeHeaderless(qint64 fileSize);

    bool isOpen = false;
    QFile* file = nullptr;
    qint64 pcmStart = 0;
    qint64 pcmLength = 0;
    qint64 pcmRead = 0;
    quint16 channels = 0;
    quint16 blockAlign = 0;
    quint16 formatTag = 0;
    quint16 bitsPerSample = 0;
    quint32 sampleRate = 0;
    quint32 bytesPerSecond = 0;
    QString error;
};
