#include "AudioFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <array>

namespace {

constexpr int kToolTimeoutMs = 120000;
// Left and right tones of the test signal; not harmonically related, so a
// swapped or shifted channel shows.
constexpr int kLeftHz = 440;
constexpr int kRightHz = 997;
constexpr double kGainDb = -3.0;

QStringList synthArguments(const AudioFiles::Format& format, const QString& output)
{
    QStringList arguments = {"-D",
                             "-n",
                             "-r",
                             QString::number(format.rate),
                             "-c",
                             QString::number(format.channels),
                             "-b",
                             QString::number(format.bits),
                             output,
                             "synth",
                             QString::number(format.seconds, 'f', 3),
                             "sine",
                             QString::number(kLeftHz)};
    if (format.channels > 1)
        arguments << "sine" << QString::number(kRightHz);
    arguments << "gain" << QString::number(kGainDb);
    return arguments;
}

} // namespace

AudioFiles::AudioFiles(const QString& folder) : folder(folder)
{
    QDir().mkpath(folder);
}

QString AudioFiles::path(const QString& name) const
{
    return QDir(folder).filePath(name);
}

QString AudioFiles::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

QByteArray AudioFiles::withOggChecksums(QByteArray bytes)
{
    // Ogg framing (RFC 3533): 27 header bytes, the segment table, the body;
    // the CRC (polynomial 0x04C11DB7, neither reflected nor inverted) sits
    // at byte 22 and is computed with those four bytes zero.
    constexpr int kHeaderBytes = 27;
    constexpr int kChecksumAt = 22;
    constexpr int kSegmentCountAt = 26;
    static const std::array<quint32, 256> kTable = [] {
        std::array<quint32, 256> table{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
            table[i] = r;
        }
        return table;
    }();
    qsizetype at = 0;
    while ((at = bytes.indexOf("OggS", at)) >= 0 && at + kHeaderBytes <= bytes.size()) {
        const int segments = quint8(bytes[at + kSegmentCountAt]);
        qsizetype length = kHeaderBytes + segments;
        for (int i = 0; i < segments && at + kHeaderBytes + i < bytes.size(); ++i)
            length += quint8(bytes[at + kHeaderBytes + i]);
        length = qMin(length, bytes.size() - at);
        for (int i = 0; i < 4; ++i)
            bytes[at + kChecksumAt + i] = 0;
        quint32 crc = 0;
        for (qsizetype i = at; i < at + length; ++i)
            crc = (crc << 8) ^ kTable[((crc >> 24) ^ quint8(bytes[i])) & 0xFF];
        for (int i = 0; i < 4; ++i)
            bytes[at + kChecksumAt + i] = char((crc >> (8 * i)) & 0xFF);
        at += length;
    }
    return bytes;
}

QByteArray AudioFiles::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool AudioFiles::haveTools(const QStringList& programs)
{
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return false;
    }
    return true;
}

bool AudioFiles::run(const QString& program, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    process.setProcessChannelMode(output ? QProcess::SeparateChannels : QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString AudioFiles::wav(const QString& name, const Format& format, const QStringList& soxOptions)
{
    const QString target = path(name);
    QStringList arguments = synthArguments(format, target);
    arguments.append(soxOptions);
    if (!run("sox", arguments)) {
        error = "sox could not make " + name;
        return {};
    }
    return target;
}

QString AudioFiles::flac(const QString& name, const Format& format, const QStringList& flacOptions)
{
    const QString source = wav(name + ".src.wav", format);
    if (source.isEmpty())
        return {};
    const QString target = path(name);
    QStringList arguments = {"--silent", "-f", "-o", target};
    arguments << flacOptions << source;
    if (!run("flac", arguments)) {
        error = "flac could not make " + name;
        return {};
    }
    return target;
}

QString AudioFiles::ogg(const QString& name, const Format& format, const QStringList& oggencOptions)
{
    const QString source = wav(name + ".src.wav", format);
    if (source.isEmpty())
        return {};
    const QString target = path(name);
    QStringList arguments = {"-Q", "-o", target};
    arguments << oggencOptions << source;
    if (!run("oggenc", arguments)) {
        error = "oggenc could not make " + name;
        return {};
    }
    return target;
}

QString AudioFiles::mp3(const QString& name, const Format& format, const QStringList& lameOptions)
{
    const QString source = wav(name + ".src.wav", format);
    if (source.isEmpty())
        return {};
    const QString target = path(name);
    QStringList arguments = {"--quiet"};
    arguments << lameOptions << source << target;
    if (!run("lame", arguments)) {
        error = "lame could not make " + name;
        return {};
    }
    return target;
}

QByteArray AudioFiles::soxDecode(const QString& path, const QStringList& outputOptions)
{
    QStringList arguments = {"-D", path, "-t", "raw", "-e", "signed-integer", "-L"};
    arguments << outputOptions << "-";
    QByteArray pcm;
    if (!run("sox", arguments, &pcm)) {
        error = "sox could not decode " + path;
        return {};
    }
    return pcm;
}
