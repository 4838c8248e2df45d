#pragma once

#include <QString>
#include <QtGlobal>

struct mpg123_handle_struct;

// MPEG audio file reader over libmpg123, reading the file through the library
// as it decodes. It tells the file's own rate, channels and duration, and
// always hands out 16-bit interleaved stereo at 44100 Hz: other rates are
// resampled and mono is doubled by libmpg123 itself.
class Mpg123Reader
{
public:
    static constexpr int kOutputRate = 44100;
    static constexpr int kOutputChannels = 2;
    static constexpr int kOutputFrameBytes = kOutputChannels * 2;
    // The media reader's duration unit: 100 ns.
    static constexpr qint64 kDurationUnitsPerSecond = 10000000;

    Mpg123Reader();
    ~Mpg123Reader();
    Mpg123Reader(const Mpg123Reader&) = delete;
    Mpg123Reader& operator=(const Mpg123Reader&) = delete;

    bool open(const QString& path);
    void close();
    bool isOpen() const { return opened; }

    int nativeRate() const { return fileRate; }
    int nativeChannels() const { return fileChannels; }
    // Length of the stream in frames of the output format (44100 Hz).
    qint64 outputFrames() const { return lengthFrames; }
    // Duration in units of 100 ns.
    qint64 duration() const;

    // Fills the destination with whole output frames; sets end and positions
    // back at the start when the stream ends, sets end on a stream error.
    qint32 read(char* destination, qint32 bytes, bool& end);
    bool rewind();

private:
    bool configure();

    mpg123_handle_struct* handle = nullptr;
    bool opened = false;
    int fileRate = 0;
    int fileChannels = 0;
    qint64 lengthFrames = 0;
};
