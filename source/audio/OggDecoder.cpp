#include "audio/OggDecoder.h"

#include "audio/TagReaders.h"

#include <QDebug>
#include <QFile>

#include <cstdio>
#include <limits>

namespace {

// ov_read arguments: little-endian, 16-bit words, signed.
constexpr int kLittleEndian = 0;
constexpr int kWordBytes = 2;
constexpr int kSigned = 1;

size_t readFile(void* buffer, size_t size, size_t count, void* source)
{
    return std::fread(buffer, size, count, static_cast<FILE*>(source));
}

int seekFile(void* source, ogg_int64_t offset, int whence)
{
    if (!source)
        return -1;
    return fseeko(static_cast<FILE*>(source), off_t(offset), whence);
}

int closeFile(void* source)
{
    return std::fclose(static_cast<FILE*>(source));
}

long tellFile(void* source)
{
    return long(ftello(static_cast<FILE*>(source)));
}

const ov_callbacks kFileCallbacks = {readFile, seekFile, closeFile, tellFile};

} // namespace

OggDecoder::OggDecoder() = default;

OggDecoder::~OggDecoder()
{
    close();
    qDebug("~OGG decoder");
}

void OggDecoder::close()
{
    if (isOpen)
        ov_clear(&file);
    isOpen = false;
}

bool OggDecoder::open(SongInfo& song)
{
    song.kind = DecoderFailed;
    close();
    FILE* source = std::fopen(QFile::encodeName(song.path).constData(), "rb");
    if (!source) {
        std::perror("ogg: error opening file");
        return false;
    }
    if (ov_open_callbacks(source, &file, nullptr, 0, kFileCallbacks) < 0) {
        // A failed open leaves the data source to us.
        std::fclose(source);
        qWarning("ogg: bad bitstream [%s]", qUtf8Printable(song.path));
        return false;
    }
    isOpen = true;
    const vorbis_comment* comments = ov_comment(&file, -1);
    for (int i = 0; comments && i < comments->comments; ++i)
        addVorbisComment(comments->user_comments[i], comments->comment_lengths[i], song.tags);
    const vorbis_info* info = ov_info(&file, -1);
    // The header holds the rate in 32 unsigned bits; the song keeps it in
    // an int, so a rate past that would turn negative.
    if (!info || info->channels < 1 || info->rate < 1 ||
        info->rate > std::numeric_limits<qint32>::max()) {
        close();
        qWarning("ogg: bad bitstream [%s]", qUtf8Printable(song.path));
        return false;
    }
    song.sampleRate = qint32(info->rate);
    song.channels = info->channels;
    song.frames = qMax<qint64>(0, ov_pcm_total(&file, -1));
    qDebug("ogg: %d channels, %d Hz, %8lld samples [%s] %ld nominal", song.channels,
           song.sampleRate, static_cast<long long>(song.frames), qUtf8Printable(song.path),
           info->bitrate_nominal);
    bytesDecoded = 0;
    song.kind = DecoderOgg;
    return true;
}

qint32 OggDecoder::decode(char* destination, qint32 bytes, bool& end)
{
    if (!isOpen || bytes < 1)
        return 0;
    qint32 written = 0;
    while (written < bytes) {
        int section = 0;
        const long got = ov_read(&file, destination + written, bytes - written, kLittleEndian,
                                 kWordBytes, kSigned, &section);
        if (got == 0) {
            ov_raw_seek(&file, 0);
            end = true;
            break;
        }
        if (got < 0) {
            qDebug("ogg: error in stream %d", written);
            // The song ends here, and the stream is not read again: after a
            // failed decoder setup libvorbis keeps codebooks it never filled
            // in and divides by their zero dimension on the next read.
            close();
            end = true;
            break;
        }
        written += qint32(got);
    }
    bytesDecoded += written;
    return written;
}

void OggDecoder::rewind()
{
    if (isOpen)
        ov_raw_seek(&file, 0);
}
