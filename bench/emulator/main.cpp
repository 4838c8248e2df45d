// board_emulator [ADDRESS:]PORT ...: one emulated generator board per
// argument, on UDP PORT of ADDRESS (default 127.0.0.1), each reporting every
// five seconds (and when it is stopped with SIGINT or SIGTERM, for the part
// since) what it received, how often a channel ran dry and how often PCM came
// that did not fit its buffer. Port 0 takes a free port. The program tells
// boards apart by their IPv4 address, so several boards on one machine need
// one loopback address each: 127.0.0.1:0 127.0.0.2:0 ... (on Linux every
// address of 127.0.0.0/8 is loopback). Each board prints its place ("port P"
// on 127.0.0.1, "ADDRESS port P" elsewhere) and at once every lock, unlock
// and on-air change it receives, so a run of the program against it can be
// followed (and tested) from its output.
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

// "port P" on 127.0.0.1, as before addresses could be chosen; else
// "ADDRESS port P".
QByteArray place(const BoardEmulator& board)
{
    QByteArray text = "port " + QByteArray::number(board.port());
    if (board.address() != QHostAddress(QHostAddress::LocalHost))
        text.prepend(board.address().toString().toLatin1() + ' ');
    return text;
}

void say(const BoardEmulator& board, const char* what)
{
    std::printf("%s: %s\n", place(board).constData(), what);
    std::fflush(stdout);
}

void reportEvents(const BoardEmulator& board, const BoardEmulator::Datagram& datagram)
{
    if (datagram.type == BoardEmulator::SetLock)
        say(board, "lock");
    else if (datagram.type == BoardEmulator::Unlock)
        say(board, "unlock");
    else if (datagram.type == BoardEmulator::Command && !datagram.item(kOnAirTag).isEmpty())
        say(board, "on air " + QByteArray::number(int(quint8(datagram.item(kOnAirTag).at(0)))));
}

// "[ADDRESS:]PORT"; false when it is neither.
bool parsePlace(const QString& text, QHostAddress& address, quint16& port)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    address = QHostAddress(QHostAddress::LocalHost);
    if (colon >= 0 && !address.setAddress(text.left(colon)))
        return false;
    bool number = false;
    const uint value = text.mid(colon + 1).toUInt(&number);
    port = quint16(value);
    return number && value <= 65535;
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
        std::printf("%s: %lld PCM frames, %d RDS datagrams, %d underruns, %d overflows\n",
                    place(*board).constData(), static_cast<long long>(frames), rds,
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
        std::fprintf(stderr, "usage: board_emulator [ADDRESS:]PORT [[ADDRESS:]PORT...]\n");
        return 2;
    }
    qSetMessagePattern(QStringLiteral("%{message}"));
    std::vector<std::unique_ptr<BoardEmulator>> boards;
    for (const QString& text : ports) {
        auto board = std::make_unique<BoardEmulator>();
        board->setLogPcm(false);
        QHostAddress address;
        quint16 port = 0;
        if (!parsePlace(text, address, port)) {
            std::fprintf(stderr, "not an [ADDRESS:]PORT: %s\n", qPrintable(text));
            return 2;
        }
        if (!board->start(address, port)) {
            std::fprintf(stderr, "cannot bind %s\n", qPrintable(text));
            return 1;
        }
        say(*board, "listening");
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
