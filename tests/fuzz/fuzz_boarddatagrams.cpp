// Datagrams from the network as a board link and the discovery see them:
// every reader on each datagram, then the link's own dispatch (info, status
// with its rates, acknowledgements, lock replies) on a clock the input
// moves. Each datagram is preceded by two bytes: its length and how far the
// clock moves before it arrives.
#include "FuzzKit.h"

#include "board/BoardDatagram.h"
#include "board/BoardLink.h"
#include "board/DiscoverDatagram.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr qint64 kClockStepMs = 8;
    qint64 clockMs = 0;
    BoardLink link(0);
    link.setClock([&clockMs] { return clockMs; });
    link.markReceived();
    size_t at = 0;
    while (at + 2 <= size) {
        const size_t length = std::min<size_t>(data[at], size - at - 2);
        clockMs += data[at + 1] * kClockStepMs;
        const QByteArray datagram = FuzzKit::bytes(data + at + 2, length);
        at += 2 + length;

        BoardDatagram::type(datagram);
        BoardDatagram::sequenceKey(datagram);
        BoardDatagram::readInfo(datagram);
        BoardDatagram::readStatus(datagram);
        BoardDatagram::readLock(datagram);
        DiscoverDatagram::readAnswer(datagram.mid(2));
        link.dispatchPacket(datagram);
    }
    FuzzKit::endInput();
    return 0;
}
