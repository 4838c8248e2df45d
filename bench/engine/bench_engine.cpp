// bench_engine PROJECT SECONDS HOST:PORT [HOST:PORT...] (up to four boards)
//
// Loads a project, connects one board thread per address, streams for the
// given time once every board is online, and prints per board the bytes and
// datagrams sent per second, the PCM underruns the board reported, the
// spacing of the 1 ms fill ticks, and the CPU time of the whole process.
#include "board/FMBoard.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSharedPointer>
#include <QThread>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kMaxBoards = 4;
constexpr int kOnlineWaitMs = 15000;
constexpr int kWarmUpMs = 2000;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool parseAddress(const QString& text, BoardIP& address)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QHostAddress host(text.left(colon));
    bool ok = false;
    address.port = text.mid(colon + 1).toUShort(&ok);
    address.ipv4 = host.toIPv4Address();
    return ok && address.ipv4 != 0;
}

void runFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4 || args.size() > 3 + kMaxBoards) {
        std::fprintf(stderr, "usage: bench_engine PROJECT SECONDS HOST:PORT [HOST:PORT...]\n");
        return 2;
    }
    qSetMessagePattern(QStringLiteral("%{message}"));
    if (qEnvironmentVariableIsEmpty("BENCH_VERBOSE"))
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    auto store = QSharedPointer<FMSettings>::create(args[1]);
    const int seconds = args[2].toInt();

    std::vector<std::unique_ptr<FMBoard>> boards;
    for (int i = 3; i < args.size(); ++i) {
        BoardIP address;
        if (!parseAddress(args[i], address)) {
            std::fprintf(stderr, "bad address %s\n", qPrintable(args[i]));
            return 2;
        }
        auto board = std::make_unique<FMBoard>(int(boards.size()), 0u, 52u);
        board->setConfig(store);
        board->connectTo(address);
        boards.push_back(std::move(board));
    }
    QElapsedTimer wait;
    wait.start();
    auto allOnline = [&] {
        for (const auto& board : boards) {
            if (board->connectionState() != FMBoard::Online)
                return false;
        }
        return true;
    };
    while (!allOnline() && wait.elapsed() < kOnlineWaitMs)
        runFor(100);
    if (!allOnline()) {
        std::fprintf(stderr, "not every board came online\n");
        return 1;
    }
    // Let the boards' buffers fill before measuring.
    runFor(kWarmUpMs);
    for (const auto& board : boards)
        board->resetFillStats();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer run;
    run.start();
    runFor(seconds * 1000);
    const double wall = run.elapsed() / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;

    std::printf("%-6s %12s %12s %10s %9s %9s %9s %9s\n", "board", "bytes/s", "datagr./s",
                "underruns", "tick p50", "tick p99", "tick max", "ticks/s");
    for (const auto& board : boards) {
        const FillTickStats::Snapshot s = board->fillStats();
        std::printf("%-6d %12.0f %12.0f %10lld %7.3fms %7.3fms %7.3fms %9.0f\n",
                    board->boardIndex(), s.bytes / wall, s.datagrams / wall,
                    static_cast<long long>(s.pcmUnderruns), s.p50Micros / 1000.0,
                    s.p99Micros / 1000.0, s.maxMicros / 1000.0, s.ticks / wall);
    }
    std::printf("run %.1f s, process CPU %.2f s = %.1f %% of one core\n", wall, cpu,
                100.0 * cpu / wall);
    for (auto& board : boards) {
        board->quit();
        board->wait();
    }
    return 0;
}
