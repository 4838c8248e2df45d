// Decode speed of each format side by side in one run: our decoders, as the
// program quorvin_decode built beside this one, against the command-line
// decoders of the same libraries (sox, flac -d, oggdec, lame --decode;
// ffmpeg for MP3 when it is installed), on the same generated 5-minute stereo
// file. Both sides are timed the same way: as whole processes writing their
// PCM to /dev/null, best of a few runs, by wall time and by the CPU time
// (user + system) the process used. Prints speed ours/theirs; the goal is at
// least 0.9.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <optional>
#include <vector>

extern char** environ;

namespace {

constexpr int kSeconds = 300;
constexpr int kRuns = 5;
constexpr double kGoal = 0.9;

struct Timing
{
    double wall = 0; // seconds
    double cpu = 0;  // seconds of user and system time
};

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
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

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// One run of the command with its output and messages sent to /dev/null.
std::optional<Timing> timeOnce(const QStringList& command)
{
    std::vector<QByteArray> words;
    for (const QString& word : command)
        words.push_back(word.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return Timing{double(clock.nsecsElapsed()) / 1e9,
                  seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

// Best wall time and best CPU time of a few runs.
std::optional<Timing> bestOf(const QStringList& command)
{
    std::optional<Timing> best;
    for (int i = 0; i < kRuns; ++i) {
        const std::optional<Timing> one = timeOnce(command);
        if (!one)
            return std::nullopt;
        if (!best)
            best = one;
        best->wall = qMin(best->wall, one->wall);
        best->cpu = qMin(best->cpu, one->cpu);
    }
    return best;
}

void report(const char* format, const std::optional<Timing>& ours, const QString& tool,
            const std::optional<Timing>& theirs)
{
    if (!ours) {
        std::printf("%-5s ours failed\n", format);
        return;
    }
    std::printf("%-5s %7.3f s %7.3f s   ", format, ours->wall, ours->cpu);
    if (!theirs) {
        std::printf("%-13s not available\n", qPrintable(tool));
        return;
    }
    const double wallRatio = theirs->wall / ours->wall;
    const double cpuRatio = theirs->cpu / ours->cpu;
    std::printf("%-13s %7.3f s %7.3f s   %5.2f %5.2f  %s\n", qPrintable(tool), theirs->wall,
                theirs->cpu, wallRatio, cpuRatio, cpuRatio >= kGoal ? "ok" : "BELOW GOAL");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const char* tool : {"sox", "flac", "oggenc", "oggdec", "lame"}) {
        if (!have(tool)) {
            std::fprintf(stderr, "%s is needed\n", tool);
            return 1;
        }
    }
    const QString ours = QDir(QCoreApplication::applicationDirPath()).filePath("quorvin_decode");
    if (!QFileInfo(ours).isExecutable()) {
        std::fprintf(stderr, "%s is needed (built beside this program)\n", qPrintable(ours));
        return 1;
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
    std::printf("whole processes writing PCM to /dev/null, best of %d runs;\n"
                "speed ours/theirs by wall time and by CPU time (above 1: ours is faster)\n",
                kRuns);
    std::printf("%-5s %9s %9s   %-13s %9s %9s   %5s %5s\n", "", "ours wall", "CPU", "theirs",
                "wall", "CPU", "wall", "CPU");

    const auto decode = [&](const QString& file) { return bestOf({ours, file}); };
    report("WAV", decode(wav), "sox", bestOf({"sox", wav, "-t", "raw", "-"}));
    report("FLAC", decode(flac), "flac -d", bestOf({"flac", "-d", "-s", "-c", flac}));
    report("Ogg", decode(ogg), "oggdec", bestOf({"oggdec", "-Q", "-o", "-", ogg}));
    const std::optional<Timing> mp3Ours = decode(mp3);
    if (have("ffmpeg"))
        report("MP3", mp3Ours, "ffmpeg",
               bestOf({"ffmpeg", "-v", "quiet", "-threads", "1", "-i", mp3, "-f", "s16le", "-ar",
                       "44100", "-ac", "2", "-"}));
    else
        report("MP3", mp3Ours, "ffmpeg", std::nullopt);
    report("MP3", mp3Ours, "lame --decode", bestOf({"lame", "--quiet", "--decode", mp3, "-"}));
    return 0;
}
