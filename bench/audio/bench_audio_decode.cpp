// Decode speed of each format in times real time on one core, side by side
// in the same run with the command-line decoders of the same libraries
// (flac -d, oggdec; ffmpeg for MP3 when it is installed) on the same generated
// 5-minute stereo file. Prints ours/theirs; the goal is at least 0.9.
#include "audio/DecoderSet.h"
#include "audio/PcmBuffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int kSeconds = 300;
constexpr int kRuns = 3;
constexpr double kGoal = 0.9;

bool run(const QString& program, const QStringList& arguments, bool discardOutput = false)
{
    QProcess process;
    if (discardOutput)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool have(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// Best of a few runs, in seconds.
template <typename Job> double bestTime(Job job)
{
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!job())
            return -1;
        best = qMin(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

bool decodeOurs(const QString& path)
{
    DecoderSet decoders;
    SongInfo song;
    song.path = path;
    if (!openDecoder(decoders, song))
        return false;
    std::vector<char> buffer(PcmBuffer::kBytes);
    bool end = false;
    qint64 total = 0;
    while (!end)
        total += decoders.decode(song.kind, buffer.data(), PcmBuffer::kBytes, end);
    return total > 0;
}

void report(const char* format, double ours, const QString& tool, double theirs)
{
    const double oursSpeed = kSeconds / ours;
    if (theirs <= 0) {
        std::printf("%-5s ours %7.1fx real time   %-8s not available\n", format, oursSpeed,
                    qPrintable(tool));
        return;
    }
    const double theirSpeed = kSeconds / theirs;
    const double ratio = oursSpeed / theirSpeed;
    std::printf("%-5s ours %7.1fx real time   %-8s %7.1fx   ours/theirs %.2f %s\n", format,
                oursSpeed, qPrintable(tool), theirSpeed, ratio,
                ratio >= kGoal ? "ok" : "BELOW GOAL");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The decoders log every open; only the table matters here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    for (const char* tool : {"sox", "flac", "oggenc", "oggdec", "lame"}) {
        if (!have(tool)) {
            std::fprintf(stderr, "%s is needed\n", tool);
            return 1;
        }
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath("source.wav");
    const QString flac = dir.filePath("source.flac");
    const QString ogg = dir.filePath("source.ogg");
    const QString mp3 = dir.filePath("source.mp3");
    std::printf("making a %d s stereo file ...\n", kSeconds);
    if (!run("sox", {"-D", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth",
                     QString::number(kSeconds), "pinknoise", "sine", "440", "gain", "-6"}) ||
        !run("flac", {"--silent", "-f", "-o", flac, wav}) ||
        !run("oggenc", {"-Q", "-o", ogg, wav}) ||
        !run("lame", {"--quiet", "-b", "192", wav, mp3})) {
        std::fprintf(stderr, "could not make the test files\n");
        return 1;
    }
#ifndef NDEBUG
    std::printf("note: debug build; build with -DCMAKE_BUILD_TYPE=Release for real figures\n");
#endif

    report("WAV", bestTime([&] { return decodeOurs(wav); }), "sox", bestTime([&] {
               return run("sox", {wav, "-t", "raw", "-"}, true);
           }));
    report("FLAC", bestTime([&] { return decodeOurs(flac); }), "flac -d", bestTime([&] {
               return run("flac", {"-d", "-s", "-c", "-f", flac}, true);
           }));
    report("Ogg", bestTime([&] { return decodeOurs(ogg); }), "oggdec", bestTime([&] {
               return run("oggdec", {"-Q", "-o", "-", ogg}, true);
           }));
    const double mp3Ours = bestTime([&] { return decodeOurs(mp3); });
    if (have("ffmpeg")) {
        report("MP3", mp3Ours, "ffmpeg", bestTime([&] {
                   return run("ffmpeg",
                              {"-v", "quiet", "-threads", "1", "-i", mp3, "-f", "s16le", "-ar",
                               "44100", "-ac", "2", "-"},
                              true);
               }));
    } else {
        report("MP3", mp3Ours, "ffmpeg", -1);
    }
    report("MP3", mp3Ours, "lame", bestTime([&] {
               return run("lame", {"--quiet", "--decode", mp3, "-"}, true);
           }));
    return 0;
}
