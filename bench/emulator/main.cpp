// board_emulator PORT [PORT...]: one emulated generator board per UDP port on
// 127.0.0.1, each reporting every five seconds what it received, how often a
// channel ran dry and how often PCM came that did not fit its buffer.
#include "BoardEmulator.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kReportMs = 5000;

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
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        for (const auto& board : boards) {
            qint64 frames = 0;
            int rds = 0;
            for (int slot = 0; slot < BoardEmulator::kSlots; ++slot) {
                frames += board->slot(slot).pcmFrames;
                rds += board->slot(slot).rdsDatagrams;
            }
            std::printf("port %u: %lld PCM frames, %d RDS datagrams, %d underruns, "
                        "%d overflows\n",
                        unsigned(board->port()), static_cast<long long>(frames), rds,
                        board->totalUnderruns(), board->totalOverflows());
            std::fflush(stdout);
            board->clearReceived();
        }
    });
    report.start(kReportMs);
    return app.exec();
}
