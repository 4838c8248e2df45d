#include "audio/WavDecoder.h"

#include "audio/TagReaders.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <QtEndian>

namespace {

constexpr qint64 kChunkHeaderBytes = 8;
constexpr qint64 kFirstChunk = 12; // after "RIFF", size and "WAVE"
constexpr quint32 kFormatLength = 16;
constexpr quint16 kFormatPcm = 1;
constexpr quint16 kSampleBits = 16;
constexpr quint32 kMinRate = 4000;
constexpr quint32 kMaxRate = 192000;
// A LIST chunk larger than this holds no text tags worth reading.
constexpr quint32 kMaxListBytes = 1 << 20;

constexpr quint16 kHeaderlessChannels = 2;
constexpr quint32 kHeaderlessRate = 44100;

QString tr(const char* text)
{
    return QCoreApplication::translate("WavDecoder", text);
}

quint32 littleEndian32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 littleEndian16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

WavDecoder::WavDecoder() : file(new QFile) {}

WavDecoder::~WavDecoder()
{
    isOpen = false;
    qDebug("~WAV decoder");
    delete file;
}

void WavDecoder::close()
{
    isOpen = false;
    file->close();
}

bool WavDecoder::open(SongInfo& song)
{
    song.kind = DecoderFailed;
    isOpen = false;
    error = parse(song);
    if (!error.isEmpty()) {
        qDebug("wav: error [%s]", qUtf8Printable(error));
        file->close();
        return false;
    }
    isOpen = true;
    song.channels = channels;
    song.sampleRate = qint32(sampleRate);
    song.frames = pcmLength / 2 / channels;
    qDebug("wav: %d channels, %d Hz, %8lld samples %s", song.channels, song.sampleRate,
           static_cast<long long>(song.frames), qUtf8Printable(song.path));
    song.kind = DecoderWav;
    return true;
}

void WavDecoder::takeHeaderless(qint64 fileSize)
{
    channels = kHeaderlessChannels;
    sampleRate = kHeaderlessRate;
    bitsPerSample = kSampleBits;
    formatTag = kFormatPcm;
    blockAlign = channels * 2;
    bytesPerSecond = sampleRate * blockAlign;
    pcmStart = 0;
    pcmLength = fileSize;
}

QString WavDecoder::parse(SongInfo& song)
{
    file->close();
    file->setFileName(song.path);
    pcmStart = pcmLength = pcmRead = 0;
    channels = blockAlign = formatTag = bitsPerSample = 0;
    sampleRate = bytesPerSecond = 0;
    if (!file->open(QIODevice::ReadOnly))
        return tr("Kann nicht geöffnet werden");
    const qint64 fileSize = file->size();

    const QByteArray riff = file->read(kFirstChunk);
    if (riff.size() < kChunkHeaderBytes || !riff.startsWith("RIFF")) {
        if (song.path.endsWith(QLatin1String("wav"), Qt::CaseInsensitive))
            return tr("hat keinen RIFF Header");
        takeHeaderless(fileSize);
    } else {
        const qint64 riffSize = littleEndian32(riff, 4);
        if (fileSize != riffSize + kChunkHeaderBytes)
            qDebug("wav: wrong file size %d != %lld", int(fileSize),
                   static_cast<long long>(riffSize + kChunkHeaderBytes));
        if (riff.size() < kFirstChunk || riff.mid(8, 4) != "WAVE")
            return tr("ist kein [WAVE] Format");
        const QString chunkError = parseChunks(song, fileSize);
        if (!chunkError.isEmpty())
            return chunkError;
    }
    // A torn last frame would swap the channels on the next pass.
    pcmLength -= pcmLength % (qint64(channels) * 2);
    if (!file->seek(pcmStart))
        return tr("Kann nicht geöffnet werden");
    return {};
}

QString WavDecoder::parseChunks(SongInfo& song, qint64 fileSize)
{
    bool haveFormat = false;
    bool haveData = false;
    qint64 pos = kFirstChunk;
    while (pos + kChunkHeaderBytes <= fileSize) {
        if (!file->seek(pos))
            break;
        const QByteArray header = file->read(kChunkHeaderBytes);
        if (header.size() < kChunkHeaderBytes)
            break;
        const QByteArray id = header.left(4);
        const quint32 length = littleEndian32(header, 4);
        const qint64 dataStart = pos + kChunkHeaderBytes;
        // A chunk never holds more than the file has after its header.
        const qint64 available = qMin<qint64>(length, fileSize - dataStart);
        if (id == "fmt ") {
            const QString formatError = readFormat(length);
            if (!formatError.isEmpty())
                return formatError;
            haveFormat = true;
        } else if (id == "data") {
            if (haveData)
                qDebug("wav: new [data] block with len %d, was %lld", int(length),
                       static_cast<long long>(pcmLength));
            haveData = true;
            pcmStart = dataStart;
            pcmLength = available;
        } else if (id == "LIST") {
            if (length <= kMaxListBytes)
                readWavInfo(file->read(available), song.tags);
        } else if (id == "id3 " || id == "ID3 ") {
            QDataStream in(file);
            in.setByteOrder(QDataStream::LittleEndian);
            readID3v2(in, song.tags);
        }
        pos = dataStart + qint64(length) + (length & 1);
    }
    if (!haveData)
        return tr("Audio Datenblock nicht gefunden");
    if (!haveFormat)
        return tr("Format Info nicht gefunden");
    return {};
}

QString WavDecoder::readFormat(quint32 length)
{
    if (length != kFormatLength)
        return tr("Format Länge %1 != 16").arg(length);
    const QByteArray format = file->read(kFormatLength);
    if (format.size() < int(kFormatLength))
        return tr("Format Info nicht gefunden");
    formatTag = littleEndian16(format, 0);
    channels = littleEndian16(format, 2);
    sampleRate = littleEndian32(format, 4);
    bytesPerSecond = littleEndian32(format, 8);
    blockAlign = littleEndian16(format, 12);
    bitsPerSample = littleEndian16(format, 14);
    return checkFormat();
}

QString WavDecoder::checkFormat() const
{
    if (formatTag != kFormatPcm)
        return tr("kein PCM Format %1").arg(formatTag);
    if (bitsPerSample != kSampleBits)
        return tr("bits pro Sample %1 != 16").arg(bitsPerSample);
    if (channels != 1 && channels != 2)
        return tr("Kanalzahl %1 nicht unterstützt").arg(channels);
    if (sampleRate < kMinRate || sampleRate > kMaxRate)
        return tr("Abtastrate %1 nicht unterstützt").arg(sampleRate);
    return {};
}

qint32 WavDecoder::decode(char* destination, qint32 bytes, bool& end)
{
    if (!isOpen || bytes < 1)
        return 0;
    qint32 written = 0;
    while (written < bytes) {
        const qint64 left = pcmLength - pcmRead;
        if (left <= 0) {
            rewind();
            end = true;
            break;
        }
        const qint64 got = file->read(destination + written, qMin<qint64>(left, bytes - written));
        if (got < 0) {
            qDebug("wav: error in stream %d", written);
            end = true;
            break;
        }
        if (got == 0) {
            // The file shrank under us.
            rewind();
            end = true;
            break;
        }
        written += qint32(got);
        pcmRead += got;
    }
    return written;
}

void WavDecoder::rewind()
{
    if (!isOpen)
        return;
    file->seek(pcmStart);
    pcmRead = 0;
}
