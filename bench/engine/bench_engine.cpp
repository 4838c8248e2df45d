// bench_engine [-l] [RDSPORT] PROJECT SECONDS HOST:PORT [HOST:PORT...] (up to
// four boards)
//
// Loads a project, connects one board thread per address, streams for the
// given time once every board is online, and prints per board the bytes and
// datagrams sent per second, the PCM underruns and overflows the board
// reported (slots flagged per status reply), the spacing of the 1 ms fill
// ticks, then the CPU time of the whole process and its memory: resident
// size after the warm-up and at the end, and the peak; then the anonymous part
// of the resident size (heaps and stacks; the pages of the mapped libraries
// come and go with the machine's page cache) sampled through the run, and its
// growth after the first minute apart, because the decode threads' heaps grow
// to their working size while each opens its first files. RDSPORT is the first
// RDS data port ("Remote/portRDSData"); programme n listens on RDSPORT - 1 +
// n. Without it the RDS data servers stay closed. With -l a listener in the
// main thread takes the run-time keys the main window's pages listen to
// ("chinfo", "chstatus", "songinfo"), so every play report travels to another
// thread as it does in the program; the count it received is printed.
#include "board/FMBoard.h"
#include "remote/RDSServer.h"
#include "settings/FMSettings.h"
#include "settings/Observer.h"
#include "settings/SetHandler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QSharedPointer>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kMaxBoards = 4;
constexpr int kOnlineWaitMs = 15000;
constexpr int kWarmUpMs = 2000;
// Growth after this much of the run is reported apart, for runs of at least
// twice as long.
constexpr int kSettleMs = 60000;
constexpr int kTraceSamples = 10;

// Resident and peak resident size of the process in MB, and the anonymous
// part of the resident size (heaps and stacks).
struct Memory
{
    double resident = 0.0;
    double peak = 0.0;
    double anonymous = 0.0;
};

Memory memory()
{
    Memory m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2)
            continue;
        const double mb = fields[1].toDouble() / 1024.0; // kB
        if (fields[0] == "VmRSS:")
            m.resident = mb;
        else if (fields[0] == "VmHWM:")
            m.peak = mb;
        else if (fields[0] == "RssAnon:")
            m.anonymous = mb;
    }
    return m;
}

bool isNumber(const QString& text)
{
    bool ok = false;
    text.toUInt(&ok);
    return ok;
}

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

// Anonymous resident size sampled every intervalMs of a run; the sample at
// the settle time starts the settled growth.
struct MemoryTrace
{
    qint64 intervalMs = 0;
    std::vector<double> resident;
    double settled = -1.0;
};

void runFor(int milliseconds, MemoryTrace& trace)
{
    QElapsedTimer clock;
    clock.start();
    qint64 nextSample = trace.intervalMs;
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
        if (trace.intervalMs < 1)
            continue;
        if (clock.elapsed() >= nextSample) {
            trace.resident.push_back(memory().anonymous);
            nextSample += trace.intervalMs;
        }
        if (trace.settled < 0 && clock.elapsed() >= kSettleMs)
            trace.settled = memory().anonymous;
    }
}

void runFor(int milliseconds)
{
    MemoryTrace none;
    runFor(milliseconds, none);
}

// Stands for the pages: takes each delivered run-time value in the main
// thread and only counts it.
class RunTimeListener : public QObject, public Observer
{
public:
    RunTimeListener() { installEventFilter(new SetHandler(this)); }
    void notify(SetValue*) override { ++received; }
    qint64 received = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool listen = !args.isEmpty() && args.first() == QLatin1String("-l");
    if (listen)
        args.removeFirst();
    quint16 rdsPort = 0;
    if (!args.isEmpty() && isNumber(args.first()))
        rdsPort = quint16(args.takeFirst().toUInt());
    if (args.size() < 3 || args.size() > 2 + kMaxBoards) {
        std::fprintf(stderr, "usage: bench_engine [-l] [RDSPORT] PROJECT SECONDS HOST:PORT "
                             "[HOST:PORT...]\n");
        return 2;
    }
    qSetMessagePattern(QStringLiteral("%{message}"));
    if (qEnvironmentVariableIsEmpty("BENCH_VERBOSE"))
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    auto store = QSharedPointer<FMSettings>::create(args[0]);
    const int seconds = args[1].toInt();
    RunTimeListener listener;
    if (listen) {
        for (const char* key : {"chinfo", "chstatus", "songinfo"})
            store->subscribe(QString::fromLatin1(key), &listener);
    }

    RDSServer::serveProgrammes();
    std::vector<std::unique_ptr<FMBoard>> boards;
    for (int i = 2; i < args.size(); ++i) {
        BoardIP address;
        if (!parseAddress(args[i], address)) {
            std::fprintf(stderr, "bad address %s\n", qPrintable(args[i]));
            return 2;
        }
        auto board = std::make_unique<FMBoard>(int(boards.size()), rdsPort, 52u);
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
    listener.received = 0;
    const Memory before = memory();
    const double cpuBefore = cpuSeconds();
    MemoryTrace trace;
    trace.intervalMs = seconds * 1000 >= 2 * kSettleMs ? kSettleMs
                                                       : std::max(1, seconds * 1000 / kTraceSamples);
    QElapsedTimer run;
    run.start();
    runFor(seconds * 1000, trace);
    const double wall = run.elapsed() / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    const Memory after = memory();

    std::printf("%-6s %12s %12s %10s %10s %9s %9s %9s %9s\n", "board", "bytes/s", "datagr./s",
                "underruns", "overflows", "tick p50", "tick p99", "tick max", "ticks/s");
    for (const auto& board : boards) {
        const FillTickStats::Snapshot s = board->fillStats();
        std::printf("%-6d %12.0f %12.0f %10lld %10lld %7.3fms %7.3fms %7.3fms %9.0f\n",
                    board->boardIndex(), s.bytes / wall, s.datagrams / wall,
                    static_cast<long long>(s.pcmUnderruns), static_cast<long long>(s.pcmOverflows),
                    s.p50Micros / 1000.0, s.p99Micros / 1000.0, s.maxMicros / 1000.0,
                    s.ticks / wall);
    }
    std::printf("run %.1f s, process CPU %.2f s = %.1f %% of one core\n", wall, cpu,
                100.0 * cpu / wall);
    std::printf("memory: resident %.1f MB after warm-up, %.1f MB at the end (%+.2f MB, "
                "%+.2f MB/min), peak %.1f MB\n",
                before.resident, after.resident, after.resident - before.resident,
                (after.resident - before.resident) * 60.0 / wall, after.peak);
    if (listen)
        std::printf("run-time values received by the listener: %lld (%.0f/s)\n",
                    static_cast<long long>(listener.received), listener.received / wall);
    std::printf("anonymous memory every %.0f s (MB):", trace.intervalMs / 1000.0);
    for (const double mb : trace.resident)
        std::printf(" %.1f", mb);
    std::printf("\n");
    if (seconds * 1000 >= 2 * kSettleMs && trace.settled >= 0) {
        const double settledMinutes = (wall - kSettleMs / 1000.0) / 60.0;
        std::printf("anonymous memory after the first %d s: %+.2f MB, %+.3f MB/min\n",
                    kSettleMs / 1000, after.anonymous - trace.settled,
                    (after.anonymous - trace.settled) / settledMinutes);
    }
    for (auto& board : boards) {
        board->quit();
        board->wait();
    }
    return 0;
}
