// board_emulator PORT [PORT...]: one emulated generator board per UDP port on
// 127.0.0.1, each reporting every five seconds (and when it is stopped with
// SIGINT or SIGTERM, for the part since) what it received, how often a
// channel ran dry and how often PCM came that did not fit its buffer. Port 0
// takes a free port. Each board prints the port it listens on, and at once
// every lock, unlock and on-air change it receives, so a run of the program
// against it can be followed (and tested) from its output.
#include "BoardEmulator.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kReportMs = 5000;
constexpr quint16 kOnAirTag = 0x0001;

void say(const char* format, unsigned port, int value = 0)
{
    std::printf(format, port, value);
    std::fflush(stdout);
}

void reportEvents(const BoardEmulator& board, const BoardEmulator::Datagram& datagram)
{
    const unsigned port = board.port();
    if (datagram.type == BoardEmulator::SetLock)
        say("port %u: lock\n", port);
    else if (datagram.type == BoardEmulator::Unlock)
        say("port %u: unlock\n", port);
    else if (datagram.type == BoardEmulator::Command && !datagram.item(kOnAirTag).isEmpty())
        say("port %u: on air %d\n", port, int(quint8(datagram.item(kOnAirTag).at(0))));
}

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
        say("port %u: listening\n", board->port());
        BoardEmulator* emulator = board.get();
        QObject::connect(emulator, &BoardEmulator::datagramReceived,
                         [emulator](const BoardEmulator::Datagram& datagram) {
                             reportEvents(*emulator, datagram);
                         });
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
