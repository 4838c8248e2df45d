// board_emulator PORT [PORT...]: one emulated generator board per UDP port on
// 127.0.0.1, each reporting every five seconds (and when it is stopped with
// SIGINT or SIGTERM, for the part since) what it received, how often a
// channel ran dry and how often PCM came that did not fit its buffer.
#include "BoardEmulator.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kReportMs = 5000;
constexpr int kStopCheckMs = 100;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

void report(const std::vector<std::unique_ptr<BoardEmulator>>& boards)
{
    for (const auto& board : boards) {
        qint64 frames = 0;
        int rds = 0;
        for (int slot = 0; slot < BoardEmulator::kSlots; ++slot) {
            frames += board->slot(slot).pcmFrames;
            rds += board->slot(slot).rdsDatagrams;
        }
        std::printf("port %u: %lld PCM frames, %d RDS datagrams, %d underruns, %d overflows\n",
                    unsigned(board->port()), static_cast<long long>(frames), rds,
                    board->totalUnderruns(), board->totalOverflows());
        std::fflush(stdout);
        board->clearReceived();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList ports = app.arguments().mid(1);
    if (ports.isEmpty()) {
        std::fprintf(stderr, "usage: board_emulator PORT [PORT...]\n");
        return 2;
    }
    qSetMessagePattern(QStringLiteral("%{message}"));
    std::vector<std::unique_ptr<BoardEmulator>> boards;
    for (const QString& text : ports) {
        auto board = std::make_unique<BoardEmulator>();
        board->setLogPcm(false);
        if (!board->start(QHostAddress::LocalHost, text.toUShort())) {
            std::fprintf(stderr, "cannot bind port %s\n", qPrintable(text));
            return 1;
        }
        boards.push_back(std::move(board));
    }
    QTimer reports;
    QObject::connect(&reports, &QTimer::timeout, [&] { report(boards); });
    reports.start(kReportMs);
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, [&] {
        if (!stopRequested)
            return;
        report(boards);
        QCoreApplication::quit();
    });
    stopCheck.start(kStopCheckMs);
    return app.exec();
}
