// Control server throughput on loopback.
//
//   bench_remote run [-r N] [-p N] <project.fm>...
//       serves a copy of each project in a thread of its own and times it
//       side by side; see below. Make projects with make_project.sh.
//   bench_remote server <project.fm> [port]
//       serves a copy of the project until SIGINT or SIGTERM
//   bench_remote client [-r N] [-p N] [port] [host]
//       times a server elsewhere (no CPU figures)
//
// Three commands are timed: SET of a value that alternates, so that every
// SET changes the store (and the store writes its file); SET of one value
// again and again, which times the server and the command layer without the
// change; GET of the same key. Each is run as N round trips (-r: one line,
// then wait for its reply) and as N pipelined lines (-p: all lines sent at
// once, then all replies read). Besides lines per second, run reports the
// CPU time the server thread spent per line, which does not depend on the
// loopback's latency, and compares the server time of a pipelined GET on each
// project with that on the first one.
//
// The debug lines of the server and the store go to stderr as in the
// program, and cost what stderr costs (a terminal most);
// QT_LOGGING_RULES='*.debug=false' times the work without them.
#include "remote/FMServer.h"
#include "settings/FMSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <pthread.h>
#include <unistd.h>

namespace {

constexpr quint16 kDefaultPort = FMServer::kDefaultPort;
constexpr int kDefaultRoundTrips = 20000;
constexpr int kDefaultPipelined = 100000;
constexpr int kReplyTimeoutMs = 30000;
constexpr double kRoundTripGoal = 20000;
constexpr double kPipelinedGoal = 100000;
constexpr double kGetRatioGoal = 1.5;

int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

int usage()
{
    std::fprintf(stderr, "usage: bench_remote run [-r N] [-p N] <project.fm>...\n"
                         "       bench_remote server <project.fm> [port]\n"
                         "       bench_remote client [-r N] [-p N] [port] [host]\n");
    return 2;
}

// The server works on a copy: the benchmark changes keys.
std::optional<QString> copyProject(const QTemporaryDir& dir, const QString& project)
{
    const QString copy = dir.filePath(QStringLiteral("bench.fm"));
    if (!QFile::copy(project, copy)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(project));
        return std::nullopt;
    }
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    return copy;
}

int keyCount(const QString& project)
{
    QFile file(project);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int keys = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.contains('=') && !line.startsWith(';'))
            ++keys;
    }
    return keys;
}

int runServer(QCoreApplication& app, const QString& project, quint16 port)
{
    QTemporaryDir dir;
    const std::optional<QString> copy = copyProject(dir, project);
    if (!copy)
        return 1;
    if (::pipe(stopPipe) != 0)
        return 1;
    QSocketNotifier stop(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);

    auto store = QSharedPointer<FMSettings>::create(*copy);
    FMServer server;
    server.setCurrentDirectory(dir.path());
    server.setPort(port);
    server.setProject(store, *copy);
    if (!server.isListening()) {
        std::fprintf(stderr, "cannot listen on port %u\n", uint(port));
        return 1;
    }
    std::printf("serving %s on port %u\n", qPrintable(*copy), uint(server.listeningPort()));
    std::fflush(stdout);
    return app.exec();
}

// A server on a free port in a thread of its own, whose CPU clock the
// client reads.
class ServerThread : public QThread
{
public:
    explicit ServerThread(QString project) : project(std::move(project))
    {
        setObjectName(QStringLiteral("server")); // the thread's name in a profile
    }

    // False when the server did not come up.
    bool startServing()
    {
        start();
        ready.acquire();
        return port != 0;
    }

    quint16 serverPort() const { return port; }

    qint64 cpuNs() const
    {
        timespec now{};
        clock_gettime(cpuClock, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }

protected:
    void run() override
    {
        pthread_getcpuclockid(pthread_self(), &cpuClock);
        auto store = QSharedPointer<FMSettings>::create(project);
        FMServer server;
        server.setCurrentDirectory(QFileInfo(project).path());
        server.setPort(0);
        server.setProject(store, project);
        port = server.listeningPort();
        ready.release();
        if (port != 0)
            exec();
    }

private:
    QString project;
    QSemaphore ready;
    quint16 port = 0;
    clockid_t cpuClock{};
};

class LineReader
{
public:
    explicit LineReader(QTcpSocket& socket) : socket(socket) {}

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

private:
    QTcpSocket& socket;
    QByteArray buffer;
    qsizetype start = 0;
};

struct Command
{
    const char* name;
    std::function<QByteArray(int)> line;
    QByteArray reply;
    bool isGet = false;
};

const Command kCommands[] = {
    {"SET, each a change",
     [](int i) {
         return QByteArray(i % 2 ? "SET channel.1.gain -5\r\n" : "SET channel.1.gain -6\r\n");
     },
     "SET "},
    {"SET, unchanged", [](int) { return QByteArray("SET channel.1.gain -7\r\n"); }, "SET "},
    {"GET", [](int) { return QByteArray("GET channel.1.gain\r\n"); }, "channel.1.gain ", true},
};

struct Figures
{
    double linesPerSecond = 0;
    double cpuUsPerLine = -1; // unknown
};

class Client
{
public:
    Client(std::function<qint64()> serverCpuNs) : serverCpuNs(std::move(serverCpuNs)) {}

    bool connectTo(const QString& host, quint16 port)
    {
        socket.connectToHost(host, port);
        if (!socket.waitForConnected(kReplyTimeoutMs)) {
            std::fprintf(stderr, "cannot connect to %s:%u\n", qPrintable(host), uint(port));
            return false;
        }
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // Pushes of the key would be indistinguishable from GET replies.
        socket.write("UNR channel\r\n");
        return reader.waitFor("UNR ");
    }

    std::optional<Figures> roundTrips(const Command& command, int count)
    {
        return timed(count, [&] {
            for (int i = 0; i < count; ++i) {
                socket.write(command.line(i));
                if (!reader.waitFor(command.reply))
                    return false;
            }
            return true;
        });
    }

    std::optional<Figures> pipelined(const Command& command, int count)
    {
        QByteArray lines;
        for (int i = 0; i < count; ++i)
            lines += command.line(i);
        return timed(count, [&] {
            socket.write(lines);
            for (int i = 0; i < count; ++i)
                if (!reader.waitFor(command.reply))
                    return false;
            return true;
        });
    }

private:
    std::optional<Figures> timed(int count, const std::function<bool()>& work)
    {
        const qint64 cpuBefore = serverCpuNs ? serverCpuNs() : 0;
        QElapsedTimer clock;
        clock.start();
        if (!work()) {
            std::fprintf(stderr, "a reply did not come\n");
            return std::nullopt;
        }
        Figures figures;
        figures.linesPerSecond = count / (clock.nsecsElapsed() / 1e9);
        if (serverCpuNs)
            figures.cpuUsPerLine = (serverCpuNs() - cpuBefore) / 1e3 / count;
        return figures;
    }

    std::function<qint64()> serverCpuNs;
    QTcpSocket socket;
    LineReader reader{socket};
};

struct Options
{
    int roundTrips = kDefaultRoundTrips;
    int pipelined = kDefaultPipelined;
};

void printFigures(const char* name, const char* mode, const Figures& figures, double goal)
{
    std::printf("  %-20s %-12s %9.0f lines/s", name, mode, figures.linesPerSecond);
    if (figures.cpuUsPerLine >= 0)
        std::printf("   server %7.2f us/line", figures.cpuUsPerLine);
    if (goal > 0)
        std::printf("   (goal %.0f%s)", goal, figures.linesPerSecond >= goal ? "" : ", MISSED");
    std::printf("\n");
}

// Times every command both ways and hands back the pipelined GETs, whose
// server time is that of the line alone, without a pass of the event loop
// and two system calls per line. False when the server stopped answering.
bool timeCommands(Client& client, const Options& options, Figures& getPipelined, bool& goalsMet)
{
    for (const Command& command : kCommands) {
        const std::optional<Figures> single = client.roundTrips(command, options.roundTrips);
        if (!single)
            return false;
        printFigures(command.name, "round trips", *single, kRoundTripGoal);
        const std::optional<Figures> batch = client.pipelined(command, options.pipelined);
        if (!batch)
            return false;
        printFigures(command.name, "pipelined", *batch, kPipelinedGoal);
        goalsMet = goalsMet && single->linesPerSecond >= kRoundTripGoal &&
                   batch->linesPerSecond >= kPipelinedGoal;
        if (command.isGet)
            getPipelined = *batch;
    }
    return true;
}

int runSideBySide(const QStringList& projects, const Options& options)
{
    bool goalsMet = true;
    double firstGetUs = 0;
    for (const QString& project : projects) {
        QTemporaryDir dir;
        const std::optional<QString> copy = copyProject(dir, project);
        if (!copy)
            return 1;
        ServerThread server(*copy);
        if (!server.startServing()) {
            std::fprintf(stderr, "the server did not listen\n");
            server.wait();
            return 1;
        }
        std::printf("%s (%d keys):\n", qPrintable(project), keyCount(project));
        Client client([&server] { return server.cpuNs(); });
        Figures get;
        const bool served = client.connectTo(QStringLiteral("127.0.0.1"), server.serverPort()) &&
                            timeCommands(client, options, get, goalsMet);
        server.quit();
        server.wait();
        if (!served)
            return 1;
        if (project == projects.first()) {
            firstGetUs = get.cpuUsPerLine;
            continue;
        }
        const double ratio = get.cpuUsPerLine / firstGetUs;
        std::printf("  GET costs the server %.2f x what it costs on %s (goal %.1f%s)\n", ratio,
                    qPrintable(projects.first()), kGetRatioGoal,
                    ratio <= kGetRatioGoal ? "" : ", MISSED");
        goalsMet = goalsMet && ratio <= kGetRatioGoal;
    }
    return goalsMet ? 0 : 3;
}

int runClient(const QString& host, quint16 port, const Options& options)
{
    Client client(nullptr);
    if (!client.connectTo(host, port))
        return 1;
    bool goalsMet = true;
    Figures get;
    if (!timeCommands(client, options, get, goalsMet))
        return 1;
    return goalsMet ? 0 : 3;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption roundTrips(QStringLiteral("r"), QStringLiteral("round trips"),
                                        QStringLiteral("N"));
    const QCommandLineOption pipelined(QStringLiteral("p"), QStringLiteral("pipelined lines"),
                                       QStringLiteral("N"));
    parser.addOptions({roundTrips, pipelined});
    if (!parser.parse(app.arguments()))
        return usage();
    Options options;
    if (parser.isSet(roundTrips))
        options.roundTrips = qMax(1, parser.value(roundTrips).toInt());
    if (parser.isSet(pipelined))
        options.pipelined = qMax(1, parser.value(pipelined).toInt());

    const QStringList args = parser.positionalArguments();
    const QString mode = args.value(0);
    if (mode == QLatin1String("run") && args.size() >= 2)
        return runSideBySide(args.mid(1), options);
    if (mode == QLatin1String("server") && args.size() >= 2)
        return runServer(app, args.at(1), args.size() > 2 ? args.at(2).toUShort() : kDefaultPort);
    if (mode == QLatin1String("client")) {
        const quint16 port = args.size() > 1 ? args.at(1).toUShort() : kDefaultPort;
        const QString host = args.size() > 2 ? args.at(2) : QStringLiteral("127.0.0.1");
        return runClient(host, port, options);
    }
    return usage();
}
