#include "audio/FlacDecoder.h"

#include "audio/TagReaders.h"

#include <FLAC/metadata.h>

#include <QDebug>
#include <QFile>
#include <QtEndian>

#include <cstring>

namespace {

constexpr int kOutputChannels = 2;
constexpr int kOutputFrameBytes = kOutputChannels * 2;
constexpr int kOutputBits = 16;
// Largest block the FLAC format allows (frame header block size field).
constexpr size_t kMaxBlockFrames = 65535;
constexpr unsigned kMinBits = 4;
constexpr unsigned kMaxBits = 32;

qint16 toOutputSample(FLAC__int32 sample, int bits)
{
    if (bits > kOutputBits)
        return qint16(sample >> (bits - kOutputBits));
    return qint16(sample * (1 << (kOutputBits - bits)));
}

} // namespace

FlacDecoder::FlacDecoder() : carry(kMaxBlockFrames * kOutputFrameBytes)
{
    decoder = FLAC__stream_decoder_new();
    if (!decoder)
        qDebug("flac ERROR allocating decoder\n");
}

FlacDecoder::~FlacDecoder()
{
    if (decoder)
        FLAC__stream_decoder_delete(decoder);
    qDebug("~FLAC decoder");
}

bool FlacDecoder::open(SongInfo& info)
{
    info.kind = DecoderFailed;
    isOpen = false;
    if (!decoder)
        return false;
    FLAC__stream_decoder_finish(decoder);
    const QByteArray fileName = QFile::encodeName(info.path);

    FLAC__StreamMetadata* tags = nullptr;
    if (FLAC__metadata_get_tags(fileName.constData(), &tags) && tags) {
        const FLAC__StreamMetadata_VorbisComment& comments = tags->data.vorbis_comment;
        for (FLAC__uint32 i = 0; i < comments.num_comments; ++i)
            addVorbisComment(reinterpret_cast<const char*>(comments.comments[i].entry),
                             qsizetype(comments.comments[i].length), info.tags);
        FLAC__metadata_object_delete(tags);
    }

    FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    if (FLAC__stream_decoder_init_file(decoder, fileName.constData(), writeCallback,
                                       metadataCallback, errorCallback,
                                       this) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
        return false;

    // Reading the metadata now gives the stream parameters at once and turns
    // away files that are no FLAC streams before they reach the decode loop.
    song = &info;
    bitsPerSample = 0;
    const bool metadataRead = FLAC__stream_decoder_process_until_end_of_metadata(decoder);
    song = nullptr;
    if (!metadataRead || bitsPerSample == 0) {
        FLAC__stream_decoder_finish(decoder);
        return false;
    }
    byteCount = 0;
    writeOffset = 0;
    target = nullptr;
    carryPos = carryLength = 0;
    isOpen = true;
    info.kind = DecoderFlac;
    return true;
}

void FlacDecoder::takeStreamInfo(const FLAC__StreamMetadata_StreamInfo& info)
{
    if (info.sample_rate == 0 || info.channels == 0 || info.bits_per_sample < kMinBits ||
        info.bits_per_sample > kMaxBits)
        return;
    bitsPerSample = int(info.bits_per_sample);
    song->sampleRate = qint32(info.sample_rate);
    song->channels = kOutputChannels;
    song->frames = qint64(info.total_samples);
    if (song->path != lastLogged) {
        lastLogged = song->path;
        qDebug("flac %d channels, %d Hz, %8lld samples [%s] %d bits", int(info.channels),
               int(info.sample_rate), static_cast<long long>(info.total_samples),
               qUtf8Printable(song->path), bitsPerSample);
    }
}

void FlacDecoder::metadataCallback(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata,
                                   void* client)
{
    auto* self = static_cast<FlacDecoder*>(client);
    if (!self->song) {
        qDebug("flac meta no info %p", static_cast<const void*>(metadata));
        return;
    }
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO)
        self->takeStreamInfo(metadata->data.stream_info);
    else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT)
        qDebug("flac vorbis comment count = %d", int(metadata->data.vorbis_comment.num_comments));
    else
        qDebug("flac metadata type %d", int(metadata->type));
}

void FlacDecoder::errorCallback(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*)
{
    // Lost sync and bad frames are skipped by libFLAC itself.
}

FLAC__StreamDecoderWriteStatus FlacDecoder::writeCallback(const FLAC__StreamDecoder*,
                                                          const FLAC__Frame* frame,
                                                          const FLAC__int32* const buffer[],
                                                          void* client)
{
    static_cast<FlacDecoder*>(client)->writeFrames(frame, buffer);
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void FlacDecoder::writeFrames(const FLAC__Frame* frame, const FLAC__int32* const buffer[])
{
    const size_t frames = frame->header.blocksize;
    const int bits =
        frame->header.bits_per_sample ? int(frame->header.bits_per_sample) : bitsPerSample;
    if (frames == 0 || bits < int(kMinBits) || bits > int(kMaxBits) || frames > kMaxBlockFrames)
        return;
    const FLAC__int32* left = buffer[0];
    const FLAC__int32* right = frame->header.channels > 1 ? buffer[1] : buffer[0];

    const size_t room = target ? size_t(targetBytes - writeOffset) / kOutputFrameBytes : 0;
    const size_t direct = qMin(room, frames);
    // The carry is empty whenever a block arrives: decode() drains it first.
    carryPos = 0;
    carryLength = (frames - direct) * kOutputFrameBytes;
    for (size_t i = 0; i < frames; ++i) {
        char* out = i < direct ? target + writeOffset + i * kOutputFrameBytes
                               : carry.data() + (i - direct) * kOutputFrameBytes;
        qToLittleEndian<qint16>(toOutputSample(left[i], bits), out);
        qToLittleEndian<qint16>(toOutputSample(right[i], bits), out + 2);
    }
    writeOffset += qint32(direct * kOutputFrameBytes);
    byteCount += qint64(frames * kOutputFrameBytes);
}

qint32 FlacDecoder::drainCarry()
{
    const size_t take = qMin(carryLength - carryPos, size_t(targetBytes - writeOffset));
    if (take > 0)
        std::memcpy(target + writeOffset, carry.data() + carryPos, take);
    carryPos += take;
    if (carryPos == carryLength)
        carryPos = carryLength = 0;
    writeOffset += qint32(take);
    return qint32(take);
}

void FlacDecoder::seekToStart()
{
    // The block the seek decodes lands in the carry, so the next pass over
    // the file starts with its first sample.
    target = nullptr;
    carryPos = carryLength = 0;
    if (!FLAC__stream_decoder_seek_absolute(decoder, 0))
        FLAC__stream_decoder_flush(decoder);
}

qint32 FlacDecoder::decode(char* destination, qint32 bytes, bool& end)
{
    if (!isOpen || bytes < kOutputFrameBytes)
        return 0;
    target = destination;
    targetBytes = bytes - bytes % kOutputFrameBytes;
    writeOffset = 0;
    drainCarry();
    while (writeOffset < targetBytes) {
        if (FLAC__stream_decoder_get_state(decoder) == FLAC__STREAM_DECODER_END_OF_STREAM) {
            seekToStart();
            end = true;
            break;
        }
        if (!FLAC__stream_decoder_process_single(decoder)) {
            qDebug("flac ERROR in stream %d", writeOffset);
            end = true;
            break;
        }
    }
    target = nullptr;
    return writeOffset;
}

void FlacDecoder::close()
{
    if (decoder && isOpen)
        FLAC__stream_decoder_finish(decoder);
    isOpen = false;
    target = nullptr;
    carryPos = carryLength = 0;
}

void FlacDecoder::rewind()
{
    qDebug("flac rewind");
    byteCount = 0;
    writeOffset = 0;
    if (isOpen)
        seekToStart();
}
