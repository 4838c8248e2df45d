// What the operator window costs beside the engine it shows.
//
//   bench_window stream [-r ROUNDS] [-w SECONDS] PROJECT SECONDS
//       Runs bench_engine and then the real program (offscreen, on a home of
//       its own) on the same project against four emulated boards, one per
//       loopback address 127.0.0.1 to 127.0.0.4, ROUNDS times by turns (default
//       2). Each run is measured for SECONDS once all four boards were locked
//       and a warm-up (-w, default 3 s) passed. Both processes are measured
//       alike, from outside, through /proc/<pid>/task/*/stat: the whole process,
//       its main thread apart, and the other threads grouped by name; then the
//       ratio window / engine per round and over all rounds. Make the project
//       with bench/engine/make_project.sh.
//   bench_window set [-n ROUNDS] [-r N] [-p N] PROJECT
//       A changing SET ("SET channel.1.gain -5" and -6 by turns) against
//       bench_remote's bare server and against the program with no board,
//       both on the same project: N lines one at a time (-r, default 5,000)
//       and N lines pipelined (-p, default 20,000), ROUNDS times by turns
//       (default 1). Prints the lines per second, the process CPU per line
//       (its main thread apart) and the ratios, per round and over all
//       rounds. Make the project with bench/remote/make_project.sh.
//   bench_window idle [-w SECONDS] PROJECT SECONDS
//       The program with no board connected, measured per thread as above.
//
// The program runs with QUORVIN_LOCAL_LOOKUP=1, so its update check sends no
// query to a name server, and its debug output goes to /dev/null, as
// bench_engine drops its own: the figures include making the lines but not a
// terminal showing them. A program or emulator left running by an interrupted
// run is ended when the benchmark ends.
#include "main/FMManager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace {

constexpr int kBoards = 4;
constexpr int kStartWaitMs = 30000;
constexpr int kStopWaitMs = 30000;
constexpr int kReplyTimeoutMs = 60000;
constexpr int kDefaultRounds = 2;
constexpr int kDefaultWarmUpSeconds = 3;
constexpr int kDefaultRoundTrips = 5000;
constexpr int kDefaultPipelined = 20000;
// bench_engine measures its own run after this many seconds online; it is
// given enough time that it is still streaming when measured from here.
constexpr int kEngineSlackSeconds = 10;

constexpr double kStreamGoal30s = 1.15;
constexpr double kStreamGoalShortSongs = 1.3;
constexpr double kSetCpuGoal = 2.0;
constexpr double kSetRateGoal = 0.8;
constexpr double kIdleGoalPercent = 1.0;

// --- CPU of a process from /proc, per thread

struct ThreadTime
{
    QByteArray name;
    double seconds = 0.0;
};

struct ProcessTime
{
    double total = 0.0; // every thread, the exited ones included
    std::map<qint64, ThreadTime> threads;
};

const double kTicksPerSecond = double(sysconf(_SC_CLK_TCK));

// The name and the user and system time of a /proc stat line. The name
// stands in parentheses and may hold spaces, so the fields are counted from
// the last ')'.
std::optional<ThreadTime> parseStat(const QByteArray& line)
{
    const qsizetype open = line.indexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return std::nullopt;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // After the name: state, ppid, ... utime is field 14 and stime 15 of
    // the whole line, so 11 and 12 here.
    constexpr int kUserTime = 11;
    constexpr int kSystemTime = 12;
    if (fields.size() <= kSystemTime)
        return std::nullopt;
    ThreadTime time;
    time.name = line.mid(open + 1, close - open - 1);
    time.seconds =
        (fields[kUserTime].toDouble() + fields[kSystemTime].toDouble()) / kTicksPerSecond;
    return time;
}

QByteArray readProc(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ProcessTime sampleProcess(qint64 pid)
{
    ProcessTime sample;
    const QString base = QStringLiteral("/proc/%1").arg(pid);
    // The process line counts the threads that ended too.
    if (const auto whole = parseStat(readProc(base + QStringLiteral("/stat"))))
        sample.total = whole->seconds;
    const QStringList tasks = QDir(base + QStringLiteral("/task")).entryList(QDir::Dirs |
                                                                            QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        if (const auto thread = parseStat(readProc(base + QStringLiteral("/task/") + task +
                                                   QStringLiteral("/stat"))))
            sample.threads[task.toLongLong()] = *thread;
    }
    return sample;
}

// Time on the CPU of one thread in nanoseconds, for short measurements; the
// stat ticks are too coarse there.
qint64 threadRunNs(qint64 pid, qint64 tid)
{
    const QByteArray line =
        readProc(QStringLiteral("/proc/%1/task/%2/schedstat").arg(pid).arg(tid));
    return line.split(' ').value(0).toLongLong();
}

// CPU per thread group over an interval: the main thread, the other threads
// grouped by name, and what threads that ended in the interval took.
struct CpuShare
{
    double wall = 0.0;
    double total = 0.0;
    double mainThread = 0.0;
    struct Group
    {
        QByteArray name;
        int threads = 0;
        double seconds = 0.0;
    };
    std::vector<Group> groups;
    double ended = 0.0;

    double cores() const { return total / wall; }
};

CpuShare shareBetween(qint64 pid, const ProcessTime& before, const ProcessTime& after,
                      double wall)
{
    CpuShare share;
    share.wall = wall;
    share.total = after.total - before.total;
    std::map<QByteArray, CpuShare::Group> groups;
    double listed = 0.0;
    for (const auto& [tid, thread] : after.threads) {
        const auto earlier = before.threads.find(tid);
        const double seconds =
            thread.seconds - (earlier == before.threads.end() ? 0.0 : earlier->second.seconds);
        listed += seconds;
        if (tid == pid) {
            share.mainThread = seconds;
            continue;
        }
        CpuShare::Group& group = groups[thread.name];
        group.name = thread.name;
        ++group.threads;
        group.seconds += seconds;
    }
    share.ended = std::max(0.0, share.total - listed);
    for (const auto& entry : groups)
        share.groups.push_back(entry.second);
    std::sort(share.groups.begin(), share.groups.end(),
              [](const auto& a, const auto& b) { return a.seconds > b.seconds; });
    return share;
}

void printShare(const char* what, const CpuShare& share)
{
    std::printf("  %-8s %6.3f core (%5.1f s CPU in %.1f s)\n", what, share.cores(), share.total,
                share.wall);
    std::printf("      main thread           %6.3f core\n", share.mainThread / share.wall);
    for (const CpuShare::Group& group : share.groups) {
        if (group.seconds <= 0.0)
            continue;
        std::printf("      %-16s x%-3d %6.3f core\n", group.name.constData(), group.threads,
                    group.seconds / share.wall);
    }
    if (share.ended > 0.0)
        std::printf("      (threads that ended) %6.3f core\n", share.ended / share.wall);
    std::fflush(stdout);
}

// --- waiting while the event loop runs

template <typename Condition> bool waitUntil(Condition done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

void runFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    waitUntil([&] { return clock.elapsed() >= milliseconds; }, milliseconds + 1000);
}

// Measures a running process for the given time.
CpuShare measure(qint64 pid, int seconds)
{
    const ProcessTime before = sampleProcess(pid);
    QElapsedTimer clock;
    clock.start();
    runFor(seconds * 1000);
    const ProcessTime after = sampleProcess(pid);
    return shareBetween(pid, before, after, clock.elapsed() / 1000.0);
}

void stopProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(kStopWaitMs)) {
        process.kill();
        process.waitForFinished(kStopWaitMs);
    }
}

// A port the system just gave out and took back.
quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// --- four emulated boards

class Boards
{
public:
    ~Boards() { stopProcess(emulator); }

    bool start()
    {
        QStringList places;
        for (int b = 0; b < kBoards; ++b)
            places << QStringLiteral("127.0.0.%1:0").arg(b + 1);
        emulator.setProcessChannelMode(QProcess::SeparateChannels);
        emulator.setStandardErrorFile(QProcess::nullDevice());
        emulator.start(QStringLiteral(EMULATOR_PROGRAM), places);
        const bool listening = waitUntil(
            [&] {
                read();
                return int(addresses.size()) == kBoards;
            },
            kStartWaitMs);
        if (!listening) {
            std::fprintf(stderr, "the board emulator did not come up\n");
            return false;
        }
        return true;
    }

    // "HOST:PORT" of each board, for bench_engine.
    QStringList places() const
    {
        QStringList list;
        for (const auto& [address, port] : addresses)
            list << QStringLiteral("%1:%2").arg(address.toString()).arg(port);
        return list;
    }

    // "BOX IPV4 PORT" of each board, as the program's ini keeps them.
    QStringList stored() const
    {
        QStringList list;
        for (const auto& [address, port] : addresses)
            list << QStringLiteral("0 %1 %2").arg(address.toIPv4Address()).arg(port);
        return list;
    }

    // True once every board was locked by a program since the last call of
    // forgetLocks(); the program locks a board right before streaming to it.
    bool allLocked()
    {
        read();
        return int(locked.size()) == kBoards;
    }

    void forgetLocks() { locked.clear(); }

private:
    // Lines "port P: what" on 127.0.0.1, "ADDRESS port P: what" elsewhere.
    void read()
    {
        output += emulator.readAllStandardOutput();
        for (;;) {
            const qsizetype end = output.indexOf('\n');
            if (end < 0)
                return;
            const QByteArray line = output.left(end);
            output.remove(0, end + 1);
            const qsizetype colon = line.indexOf(':');
            if (colon < 0)
                continue;
            QList<QByteArray> place = line.left(colon).split(' ');
            const QByteArray what = line.mid(colon + 2);
            const QHostAddress address(place.size() == 3 ? QString::fromLatin1(place[0])
                                                         : QStringLiteral("127.0.0.1"));
            if (what == "listening")
                addresses.emplace_back(address, place.last().toUShort());
            else if (what == "lock")
                locked.insert(address.toIPv4Address());
        }
    }

    QProcess emulator;
    QByteArray output;
    std::vector<std::pair<QHostAddress, quint16>> addresses;
    std::set<quint32> locked;
};

// --- the program on a home of its own

class Program
{
public:
    // Ports of the control server and the RDS data servers; the working copy
    // is a copy of the project.
    bool prepare(const QString& project, const QStringList& boards)
    {
        if (!home.isValid())
            return false;
        const QString folder = home.filePath(QStringLiteral(".quorvin"));
        QDir().mkpath(folder);
        const QString workingCopy = folder + QStringLiteral("/Quorvin.fm");
        QFile::remove(workingCopy);
        if (!QFile::copy(project, workingCopy)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(project));
            return false;
        }
        QFile::setPermissions(workingCopy, QFile::ReadOwner | QFile::WriteOwner);
        controlPort = freePort();
        QSettings ini(folder + QStringLiteral("/Quorvin.ini"), QSettings::IniFormat);
        // A chosen language and a known release: no question at start.
        ini.setValue(QStringLiteral("Board/lang"), QStringLiteral("de"));
        ini.setValue(QStringLiteral("Board/soft"), FMManager::versionText());
        ini.setValue(QStringLiteral("Board/mods"), std::max<qsizetype>(1, boards.size()));
        for (qsizetype b = 0; b < boards.size(); ++b)
            ini.setValue(QStringLiteral("Board/%1").arg(b), boards[b]);
        ini.setValue(QStringLiteral("Remote/portControl"), controlPort);
        ini.setValue(QStringLiteral("Remote/portRDSData"), freePort());
        ini.sync();
        return ini.status() == QSettings::NoError;
    }

    bool start()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QUORVIN_LOCAL_LOOKUP"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(QStringLiteral(QUORVIN_PROGRAM), QStringList());
        if (!process.waitForStarted(kStartWaitMs)) {
            std::fprintf(stderr, "the program did not start\n");
            return false;
        }
        return true;
    }

    // The control server answers once the window has opened its project.
    bool waitForControlPort()
    {
        return waitUntil(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, controlPort);
                return probe.waitForConnected(1000);
            },
            kStartWaitMs);
    }

    void stop() { stopProcess(process); }
    ~Program() { stop(); }

    QTemporaryDir home;
    QProcess process;
    quint16 controlPort = 0;
};

// --- streaming

struct StreamOptions
{
    QString project;
    int seconds = 20;
    int rounds = kDefaultRounds;
    int warmUpSeconds = kDefaultWarmUpSeconds;
};

std::optional<CpuShare> measureWhenLocked(Boards& boards, QProcess& process,
                                          const StreamOptions& options)
{
    if (!waitUntil([&] { return boards.allLocked(); }, kStartWaitMs)) {
        std::fprintf(stderr, "not every board was locked\n");
        return std::nullopt;
    }
    runFor(options.warmUpSeconds * 1000);
    if (process.state() != QProcess::Running) {
        std::fprintf(stderr, "the process ended early\n");
        return std::nullopt;
    }
    CpuShare share = measure(process.processId(), options.seconds);
    if (process.state() != QProcess::Running) {
        std::fprintf(stderr, "the process ended while measured\n");
        return std::nullopt;
    }
    return share;
}

std::optional<CpuShare> runEngine(const StreamOptions& options)
{
    Boards boards;
    if (!boards.start())
        return std::nullopt;
    QProcess engine;
    engine.setStandardOutputFile(QProcess::nullDevice());
    engine.setStandardErrorFile(QProcess::nullDevice());
    const int engineSeconds = options.warmUpSeconds + options.seconds + kEngineSlackSeconds;
    engine.start(QStringLiteral(ENGINE_PROGRAM),
                 QStringList{options.project, QString::number(engineSeconds)} + boards.places());
    std::optional<CpuShare> share = measureWhenLocked(boards, engine, options);
    stopProcess(engine);
    return share;
}

std::optional<CpuShare> runWindow(const StreamOptions& options)
{
    Boards boards;
    if (!boards.start())
        return std::nullopt;
    Program program;
    if (!program.prepare(options.project, boards.stored()) || !program.start())
        return std::nullopt;
    std::optional<CpuShare> share = measureWhenLocked(boards, program.process, options);
    program.stop();
    return share;
}

int runStream(const StreamOptions& options)
{
    std::printf("%s, %d s per run after %d s warm-up, four boards on 127.0.0.1-4, %d rounds\n",
                qPrintable(options.project), options.seconds, options.warmUpSeconds,
                options.rounds);
    double engineCores = 0.0;
    double windowCores = 0.0;
    for (int round = 1; round <= options.rounds; ++round) {
        std::printf("round %d\n", round);
        const std::optional<CpuShare> engine = runEngine(options);
        if (!engine)
            return 1;
        printShare("engine", *engine);
        const std::optional<CpuShare> window = runWindow(options);
        if (!window)
            return 1;
        printShare("window", *window);
        std::printf("  window / engine %.2f x\n", window->cores() / engine->cores());
        engineCores += engine->cores();
        windowCores += window->cores();
    }
    const double ratio = windowCores / engineCores;
    std::printf("all rounds: engine %.3f core, window %.3f core, window / engine %.2f x "
                "(goal %.2f x with 30-s songs, %.2f x with 2-s songs)\n",
                engineCores / options.rounds, windowCores / options.rounds, ratio,
                kStreamGoal30s, kStreamGoalShortSongs);
    return 0;
}

// --- idle

int runIdle(const StreamOptions& options)
{
    Program program;
    if (!program.prepare(options.project, QStringList()) || !program.start() ||
        !program.waitForControlPort()) {
        std::fprintf(stderr, "the program did not come up\n");
        return 1;
    }
    runFor(options.warmUpSeconds * 1000);
    const CpuShare share = measure(program.process.processId(), options.seconds);
    std::printf("%s, no board, %d s after %d s warm-up\n", qPrintable(options.project),
                options.seconds, options.warmUpSeconds);
    printShare("window", share);
    std::printf("idle window %.2f %% of a core (goal under %.0f %%%s)\n", 100.0 * share.cores(),
                kIdleGoalPercent, 100.0 * share.cores() < kIdleGoalPercent ? "" : ", MISSED");
    program.stop();
    return 0;
}

// --- SET through the control port

// What one or more timed runs of lines took; rounds add up.
struct SetFigures
{
    int lines = 0;
    double wallSeconds = 0.0;
    double processCpuSeconds = 0.0;
    double mainThreadCpuSeconds = 0.0;

    double linesPerSecond() const { return lines / wallSeconds; }
    double processUsPerLine() const { return processCpuSeconds * 1e6 / lines; }
    double mainThreadUsPerLine() const { return mainThreadCpuSeconds * 1e6 / lines; }
    void add(const SetFigures& other)
    {
        lines += other.lines;
        wallSeconds += other.wallSeconds;
        processCpuSeconds += other.processCpuSeconds;
        mainThreadCpuSeconds += other.mainThreadCpuSeconds;
    }
};

class SetClient
{
public:
    explicit SetClient(qint64 pid) : pid(pid) {}

    bool connectTo(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(kReplyTimeoutMs))
            return false;
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // Pushes of the key would be taken for replies.
        socket.write("UNR channel\r\n");
        return waitFor("UNR ");
    }

    std::optional<SetFigures> roundTrips(int count)
    {
        return timed(count, [&] {
            for (int i = 0; i < count; ++i) {
                socket.write(line(i));
                if (!waitFor("SET "))
                    return false;
            }
            return true;
        });
    }

    std::optional<SetFigures> pipelined(int count)
    {
        QByteArray lines;
        for (int i = 0; i < count; ++i)
            lines += line(i);
        return timed(count, [&] {
            socket.write(lines);
            for (int i = 0; i < count; ++i) {
                if (!waitFor("SET "))
                    return false;
            }
            return true;
        });
    }

private:
    // Every line changes the value.
    static QByteArray line(int i)
    {
        return i % 2 ? QByteArray("SET channel.1.gain -5\r\n")
                     : QByteArray("SET channel.1.gain -6\r\n");
    }

    // The next line that starts with prefix; other lines are skipped.
    bool waitFor(const QByteArray& prefix)
    {
        for (;;) {
            const qsizetype end = buffer.indexOf("\r\n", start);
            if (end >= 0) {
                const bool match = QByteArrayView(buffer).sliced(start).startsWith(prefix);
                start = end + 2;
                if (match)
                    return true;
                continue;
            }
            buffer.remove(0, start);
            start = 0;
            if (!socket.waitForReadyRead(kReplyTimeoutMs))
                return false;
            buffer += socket.readAll();
        }
    }

    template <typename Work> std::optional<SetFigures> timed(int count, Work work)
    {
        const ProcessTime before = sampleProcess(pid);
        const qint64 mainBefore = threadRunNs(pid, pid);
        QElapsedTimer clock;
        clock.start();
        if (!work()) {
            std::fprintf(stderr, "a reply did not come\n");
            return std::nullopt;
        }
        const double wall = clock.nsecsElapsed() / 1e9;
        const qint64 mainNs = threadRunNs(pid, pid) - mainBefore;
        const ProcessTime after = sampleProcess(pid);
        SetFigures figures;
        figures.lines = count;
        figures.wallSeconds = wall;
        figures.processCpuSeconds = after.total - before.total;
        figures.mainThreadCpuSeconds = mainNs / 1e9;
        return figures;
    }

    qint64 pid;
    QTcpSocket socket;
    QByteArray buffer;
    qsizetype start = 0;
};

struct SetResult
{
    SetFigures single;
    SetFigures batch;

    void add(const SetResult& other)
    {
        single.add(other.single);
        batch.add(other.batch);
    }
};

void printSet(const char* who, const char* mode, const SetFigures& figures)
{
    std::printf("  %-12s %-12s %9.0f lines/s   process %8.2f us/line   main thread %8.2f "
                "us/line\n",
                who, mode, figures.linesPerSecond(), figures.processUsPerLine(),
                figures.mainThreadUsPerLine());
    std::fflush(stdout);
}

std::optional<SetResult> timeSet(qint64 pid, quint16 port, int roundTrips, int pipelined)
{
    SetClient client(pid);
    if (!client.connectTo(port)) {
        std::fprintf(stderr, "cannot talk to port %u\n", uint(port));
        return std::nullopt;
    }
    // The first lines wake what the program opens lazily; not measured.
    if (!client.pipelined(std::min(1000, pipelined)))
        return std::nullopt;
    SetResult result;
    const std::optional<SetFigures> single = client.roundTrips(roundTrips);
    const std::optional<SetFigures> batch = single ? client.pipelined(pipelined) : std::nullopt;
    if (!batch)
        return std::nullopt;
    result.single = *single;
    result.batch = *batch;
    return result;
}

std::optional<SetResult> setOnBareServer(const QString& project, int roundTrips, int pipelined)
{
    QProcess server;
    server.setStandardErrorFile(QProcess::nullDevice());
    const quint16 port = freePort();
    server.start(QStringLiteral(REMOTE_PROGRAM),
                 {QStringLiteral("server"), project, QString::number(port)});
    QByteArray greeting;
    if (!waitUntil(
            [&] {
                greeting += server.readAllStandardOutput();
                return greeting.contains("serving");
            },
            kStartWaitMs)) {
        std::fprintf(stderr, "the bare server did not come up\n");
        stopProcess(server);
        return std::nullopt;
    }
    std::optional<SetResult> result = timeSet(server.processId(), port, roundTrips, pipelined);
    stopProcess(server);
    return result;
}

std::optional<SetResult> setInWindow(const QString& project, int roundTrips, int pipelined)
{
    Program program;
    if (!program.prepare(project, QStringList()) || !program.start() ||
        !program.waitForControlPort()) {
        std::fprintf(stderr, "the program did not come up\n");
        return std::nullopt;
    }
    // Let the window settle after opening the project.
    runFor(kDefaultWarmUpSeconds * 1000);
    std::optional<SetResult> result =
        timeSet(program.process.processId(), program.controlPort, roundTrips, pipelined);
    program.stop();
    return result;
}

void printSetRatios(const SetResult& bare, const SetResult& window)
{
    const double cpuRatio = window.batch.processUsPerLine() / bare.batch.processUsPerLine();
    const double rateRatio = window.single.linesPerSecond() / bare.single.linesPerSecond();
    std::printf("  window / bare server: CPU per line pipelined %.2f x (goal at most %.1f x%s), "
                "rate one line at a time %.2f x (goal at least %.1f x%s)\n",
                cpuRatio, kSetCpuGoal, cpuRatio <= kSetCpuGoal ? "" : ", MISSED", rateRatio,
                kSetRateGoal, rateRatio >= kSetRateGoal ? "" : ", MISSED");
}

int runSet(const QString& project, int rounds, int roundTrips, int pipelined)
{
    std::printf("%s: changing SET, %d lines one at a time, %d lines pipelined, %d round%s\n",
                qPrintable(project), roundTrips, pipelined, rounds, rounds == 1 ? "" : "s");
    SetResult bareTotal;
    SetResult windowTotal;
    for (int round = 1; round <= rounds; ++round) {
        std::printf("round %d\n", round);
        const std::optional<SetResult> bare = setOnBareServer(project, roundTrips, pipelined);
        if (!bare)
            return 1;
        printSet("bare server", "round trips", bare->single);
        printSet("bare server", "pipelined", bare->batch);
        const std::optional<SetResult> window = setInWindow(project, roundTrips, pipelined);
        if (!window)
            return 1;
        printSet("window", "round trips", window->single);
        printSet("window", "pipelined", window->batch);
        printSetRatios(*bare, *window);
        bareTotal.add(*bare);
        windowTotal.add(*window);
    }
    std::printf("all rounds:\n");
    printSet("bare server", "round trips", bareTotal.single);
    printSet("bare server", "pipelined", bareTotal.batch);
    printSet("window", "round trips", windowTotal.single);
    printSet("window", "pipelined", windowTotal.batch);
    printSetRatios(bareTotal, windowTotal);
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: bench_window stream [-r ROUNDS] [-w SECONDS] PROJECT SECONDS\n"
                         "       bench_window set [-n ROUNDS] [-r N] [-p N] PROJECT\n"
                         "       bench_window idle [-w SECONDS] PROJECT SECONDS\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption rounds(QStringLiteral("r"), QStringLiteral("rounds or round trips"),
                                    QStringLiteral("N"));
    const QCommandLineOption pipelined(QStringLiteral("p"), QStringLiteral("pipelined lines"),
                                       QStringLiteral("N"));
    const QCommandLineOption warmUp(QStringLiteral("w"), QStringLiteral("warm-up seconds"),
                                    QStringLiteral("SECONDS"));
    const QCommandLineOption setRounds(QStringLiteral("n"), QStringLiteral("rounds of set"),
                                       QStringLiteral("ROUNDS"));
    parser.addOptions({rounds, pipelined, warmUp, setRounds});
    if (!parser.parse(app.arguments()))
        return usage();
    const QStringList args = parser.positionalArguments();
    const QString mode = args.value(0);
    setvbuf(stdout, nullptr, _IOLBF, 0);

    if (mode == QLatin1String("set") && args.size() == 2) {
        const int roundTrips =
            parser.isSet(rounds) ? std::max(1, parser.value(rounds).toInt()) : kDefaultRoundTrips;
        const int lines = parser.isSet(pipelined) ? std::max(1, parser.value(pipelined).toInt())
                                                  : kDefaultPipelined;
        const int setRoundCount =
            parser.isSet(setRounds) ? std::max(1, parser.value(setRounds).toInt()) : 1;
        return runSet(QFileInfo(args[1]).absoluteFilePath(), setRoundCount, roundTrips, lines);
    }
    if ((mode != QLatin1String("stream") && mode != QLatin1String("idle")) || args.size() != 3)
        return usage();
    StreamOptions options;
    options.project = QFileInfo(args[1]).absoluteFilePath();
    options.seconds = std::max(1, args[2].toInt());
    if (parser.isSet(rounds))
        options.rounds = std::max(1, parser.value(rounds).toInt());
    if (parser.isSet(warmUp))
        options.warmUpSeconds = std::max(0, parser.value(warmUp).toInt());
    return mode == QLatin1String("stream") ? runStream(options) : runIdle(options);
}
