#include "audio/mp3decoder/Mpg123Reader.h"

#include <QDebug>
#include <QFile>

#include <mpg123.h>

#include <mutex>

namespace {

// Reads that return no samples while not at the end: a damaged stream that
// libmpg123 keeps resyncing on is given up after this many.
constexpr int kMaxEmptyReads = 4096;

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

Mpg123Reader::Mpg123Reader()
{
    initLibrary();
    int error = MPG123_OK;
    handle = mpg123_new(nullptr, &error);
    if (!handle)
        qDebug("mp3: cannot create decoder: %s", mpg123_plain_strerror(error));
}

Mpg123Reader::~Mpg123Reader()
{
    close();
    if (handle)
        mpg123_delete(handle);
}

bool Mpg123Reader::configure()
{
    // Only one output format is allowed, so libmpg123 resamples other rates
    // and doubles mono itself.
    return mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0) == MPG123_OK &&
           mpg123_format_none(handle) == MPG123_OK &&
           mpg123_format(handle, kOutputRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK;
}

bool Mpg123Reader::open(const QString& path)
{
    close();
    if (!handle || !configure())
        return false;
    if (mpg123_open(handle, QFile::encodeName(path).constData()) != MPG123_OK)
        return false;
    opened = true;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_frameinfo info{};
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate != kOutputRate ||
        channels != kOutputChannels || encoding != MPG123_ENC_SIGNED_16 ||
        mpg123_info(handle, &info) != MPG123_OK || info.rate <= 0) {
        close();
        return false;
    }
    fileRate = int(info.rate);
    fileChannels = info.mode == MPG123_M_MONO ? 1 : 2;
    // Without a Xing/LAME header the length is only a guess from the file
    // size; a scan of the frame headers makes it exact.
    mpg123_scan(handle);
    lengthFrames = qMax<qint64>(0, mpg123_length(handle));
    return true;
}

void Mpg123Reader::close()
{
    if (opened && handle)
        mpg123_close(handle);
    opened = false;
    fileRate = fileChannels = 0;
    lengthFrames = 0;
}

qint64 Mpg123Reader::duration() const
{
    return lengthFrames * kDurationUnitsPerSecond / kOutputRate;
}

qint32 Mpg123Reader::read(char* destination, qint32 bytes, bool& end)
{
    if (!opened) {
        end = true;
        return 0;
    }
    const qint32 wanted = bytes - bytes % kOutputFrameBytes;
    qint32 written = 0;
    int emptyReads = 0;
    while (written < wanted) {
        size_t done = 0;
        const int result =
            mpg123_read(handle, reinterpret_cast<unsigned char*>(destination) + written,
                        size_t(wanted - written), &done);
        written += qint32(done);
        if (result == MPG123_DONE) {
            rewind();
            end = true;
            break;
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            qDebug("mp3: error in stream %d: %s", written, mpg123_strerror(handle));
            end = true;
            break;
        }
        emptyReads = done ? 0 : emptyReads + 1;
        if (emptyReads > kMaxEmptyReads) {
            qDebug("mp3: no samples in stream %d", written);
            end = true;
            break;
        }
    }
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
        auto* samples = reinterpret_cast<quint16*>(destination);
        for (qint32 i = 0; i < written / 2; ++i)
            samples[i] = quint16((samples[i] << 8) | (samples[i] >> 8));
    }
    return written;
}

bool Mpg123Reader::rewind()
{
    return opened && mpg123_seek(handle, 0, SEEK_SET) >= 0;
}
