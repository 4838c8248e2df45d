// board_emulator PORT [PORT...]: one emulated generator board per UDP port on
// 127.0.0.1, each reporting every five seconds what it received. Port 0 takes
// a free port. Each board prints the port it listens on, and at once every
// lock, unlock and on-air change it receives, so a run of the program
// against it can be followed (and tested) from its output.
#include "BoardEmulator.h"

#include <QCoreApplication>
#include <QTimer>

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
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        for (const auto& board : boards) {
            qint64 frames = 0;
            int rds = 0;
            for (int slot = 0; slot < BoardEmulator::kSlots; ++slot) {
                frames += board->slot(slot).pcmFrames;
                rds += board->slot(slot).rdsDatagrams;
            }
            std::printf("port %u: %lld PCM frames, %d RDS datagrams, %d underruns\n",
                        unsigned(board->port()), static_cast<long long>(frames), rds,
                        board->totalUnderruns());
            std::fflush(stdout);
            board->clearReceived();
        }
    });
    report.start(kReportMs);
    return app.exec();
}
