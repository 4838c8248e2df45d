#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Makes real audio files for the tests with the command-line tools of the
// libraries the program links (sox, flac, oggenc, lame), and decodes them with
// sox for comparison. Every file goes into the folder given at construction.
class AudioFiles
{
public:
    struct Format
    {
        int rate = 44100;
        int channels = 2;
        int bits = 16;
        double seconds = 1.0;
    };

    explicit AudioFiles(const QString& folder);

    // A WAV of two sine tones (one per channel), made by "sox -n ... synth".
    QString wav(const QString& name, const Format& format, const QStringList& soxOptions = {});
    // The same signal encoded by "flac" (extra options such as --blocksize or -T).
    QString flac(const QString& name, const Format& format, const QStringList& flacOptions = {});
    // The same signal encoded by "oggenc" (extra options such as -c "TITLE=x").
    QString ogg(const QString& name, const Format& format, const QStringList& oggencOptions = {});
    // The same signal encoded by "lame" (extra options such as --tt, --id3v1-only).
    QString mp3(const QString& name, const Format& format, const QStringList& lameOptions = {});

    // sox's decode of a file as raw signed little-endian samples; extra output
    // options go before the output ("-b", "24", "-r", "44100", ...).
    QByteArray soxDecode(const QString& path, const QStringList& outputOptions = {"-b", "16"});

    QString path(const QString& name) const;
    // Writes bytes into a file of the folder and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;
    static QByteArray read(const QString& path);

    // The bytes with the CRC of every Ogg page computed again, so that a
    // file changed on purpose (by a test or a fuzzer) reaches the decoder
    // instead of failing libogg's page check.
    static QByteArray withOggChecksums(QByteArray bytes);

    // True when every listed program runs.
    static bool haveTools(const QStringList& programs);
    // Runs a program to its end; stdout goes to output when given.
    static bool run(const QString& program, const QStringList& arguments,
                    QByteArray* output = nullptr);

    QString lastError() const { return error; }

private:
    QString folder;
    QString error;
};
