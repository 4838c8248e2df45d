// Control server round trips on loopback.
//
//   bench_remote server <project.fm> [port]   serve a copy of the project
//                                             until SIGINT or SIGTERM
//   bench_remote client [port] [round trips] [host]
//                                             time SET and GET round trips
//
// The client waits for each reply before it sends the next line. It first
// alternates the value it sets, so that every SET changes the store (and the
// store writes its file), then sets one value again and again, which times
// the server and the command layer without the file write.
#include "remote/FMServer.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

constexpr quint16 kDefaultPort = FMServer::kDefaultPort;
constexpr int kDefaultRoundTrips = 20000;
constexpr int kReplyTimeoutMs = 5000;

int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

int usage()
{
    std::fprintf(stderr, "usage: bench_remote server <project.fm> [port]\n"
                         "       bench_remote client [port] [round trips] [host]\n");
    return 2;
}

int runServer(QCoreApplication& app, const QString& project, quint16 port)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("bench.fm"));
    if (!QFile::copy(project, copy)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(project));
        return 1;
    }
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    if (::pipe(stopPipe) != 0)
        return 1;
    QSocketNotifier stop(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);

    auto store = QSharedPointer<FMSettings>::create(copy);
    FMServer server;
    server.setCurrentDirectory(dir.path());
    server.setPort(port);
    server.setProject(store, copy);
    if (!server.isListening()) {
        std::fprintf(stderr, "cannot listen on port %u\n", uint(port));
        return 1;
    }
    std::printf("serving %s on port %u\n", qPrintable(copy), uint(server.listeningPort()));
    std::fflush(stdout);
    return app.exec();
}

class LineReader
{
public:
    explicit LineReader(QTcpSocket& socket) : socket(socket) {}

    // The next line that starts with prefix; other lines are skipped.
    bool waitFor(const QByteArray& prefix)
    {
        for (;;) {
            const qsizetype end = buffer.indexOf("\r\n");
            if (end >= 0) {
                const QByteArray line = buffer.left(end);
                buffer.remove(0, end + 2);
                if (line.startsWith(prefix))
                    return true;
                continue;
            }
            if (!socket.waitForReadyRead(kReplyTimeoutMs))
                return false;
            buffer += socket.readAll();
        }
    }

private:
    QTcpSocket& socket;
    QByteArray buffer;
};

int runClient(const QString& host, quint16 port, int roundTrips)
{
    QTcpSocket socket;
    socket.connectToHost(host, port);
    if (!socket.waitForConnected(kReplyTimeoutMs)) {
        std::fprintf(stderr, "cannot connect to %s:%u\n", qPrintable(host), uint(port));
        return 1;
    }
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    LineReader reader(socket);

    // Pushes of the key would be indistinguishable from GET replies.
    socket.write("UNR channel\r\n");
    if (!reader.waitFor("UNR "))
        return 1;

    qint64 setNs = 0;
    qint64 sameNs = 0;
    qint64 getNs = 0;
    QElapsedTimer clock;
    for (int i = 0; i < roundTrips; ++i) {
        clock.start();
        socket.write(i % 2 ? "SET channel.1.gain -5\r\n" : "SET channel.1.gain -6\r\n");
        if (!reader.waitFor("SET ")) {
            std::fprintf(stderr, "no SET reply after %d round trips\n", i);
            return 1;
        }
        setNs += clock.nsecsElapsed();

        clock.start();
        socket.write("GET channel.1.gain\r\n");
        if (!reader.waitFor("channel.1.gain ")) {
            std::fprintf(stderr, "no GET reply after %d round trips\n", i);
            return 1;
        }
        getNs += clock.nsecsElapsed();
    }
    // The same value again: the store has nothing to write to its file.
    for (int i = 0; i < roundTrips; ++i) {
        clock.start();
        socket.write("SET channel.1.gain -7\r\n");
        if (!reader.waitFor("SET ")) {
            std::fprintf(stderr, "no SET reply after %d round trips\n", i);
            return 1;
        }
        sameNs += clock.nsecsElapsed();
    }
    socket.write("REG channel\r\n");
    reader.waitFor("REG ");

    const double setRate = roundTrips / (setNs / 1e9);
    const double sameRate = roundTrips / (sameNs / 1e9);
    const double getRate = roundTrips / (getNs / 1e9);
    std::printf("%d SET round trips, each a change: %.0f per second (goal 20000)\n", roundTrips,
                setRate);
    std::printf("%d SET round trips, unchanged value: %.0f per second\n", roundTrips, sameRate);
    std::printf("%d GET round trips: %.0f per second\n", roundTrips, getRate);
    return setRate >= 20000 ? 0 : 3;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args.at(1) == QLatin1String("server"))
        return runServer(app, args.at(2), args.size() > 3 ? args.at(3).toUShort() : kDefaultPort);
    if (args.size() >= 2 && args.at(1) == QLatin1String("client")) {
        const quint16 port = args.size() > 2 ? args.at(2).toUShort() : kDefaultPort;
        const int roundTrips = args.size() > 3 ? args.at(3).toInt() : kDefaultRoundTrips;
        const QString host = args.size() > 4 ? args.at(4) : QStringLiteral("127.0.0.1");
        return runClient(host, port, roundTrips > 0 ? roundTrips : kDefaultRoundTrips);
    }
    return usage();
}
