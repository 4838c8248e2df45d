#pragma once

#include "audio/DecoderKind.h"
#include "settings/SongInfo.h"

#include <FLAC/stream_decoder.h>

#include <QString>

#include <vector>

// FLAC over libFLAC. Always delivers 16-bit stereo at the file's own rate:
// mono is written to both channels, only channels 0 and 1 of a wider file are
// kept, and deeper samples are scaled down to 16 bits. A block that does not
// fit into the room left in a decode step is carried over to the next step.
class FlacDecoder
{
public:
    FlacDecoder();
    ~FlacDecoder();
    FlacDecoder(const FlacDecoder&) = delete;
    FlacDecoder& operator=(const FlacDecoder&) = delete;

    bool open(SongInfo& song);
    qint32 decode(char* destination, qint32 bytes, bool& end);
    void rewind();
    // Ends the open stream and frees libFLAC's per-stream buffers; a later
    // decode() delivers nothing until the next open().
    void close();

private:
    static FLAC__StreamDecoderWriteStatus writeCallback(const FLAC__StreamDecoder*,
                                                        const FLAC__Frame* frame,
                                                        const FLAC__int32* const buffer[],
                                                        void* client);
    static void metadataCallback(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata,
                                 void* client);
    static void errorCallback(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*);

    void writeFrames(const FLAC__Frame* frame, const FLAC__int32* const buffer[]);
    void takeStreamInfo(const FLAC__StreamMetadata_StreamInfo& info);
    qint32 drainCarry();
    void seekToStart();

    FLAC__StreamDecoder* decoder = nullptr;
    bool isOpen = false;
    qint64 byteCount = 0;
    qint32 writeOffset = 0;
    char* target = nullptr;
    qint32 targetBytes = 0;
    SongInfo* song = nullptr;
    QString lastLogged;
    int bitsPerSample = 0;
    // Frames of the last block that did not fit into the previous step.
    std::vector<char> carry;
    size_t carryPos = 0;
    size_t carryLength = 0;
};
