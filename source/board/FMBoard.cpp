#include "board/FMBoard.h"

#include "settings/FMSettings.h"

#include <QDebug>
#include <QMutexLocker>
#include <QUdpSocket>

FMBoard::FMBoard(int board, unsigned rdsDataPort, unsigned osciMHz)
    : index(board), rdsPort(rdsDataPort), osci(osciMHz)
{
    qRegisterMetaType<BoardIP>();
    qRegisterMetaType<BoardInfo>();
    moveToThread(this);
    QMutexLocker locker(&mutex);
    start(QThread::TimeCriticalPriority);
    while (!running)
        started.wait(&mutex);
}

FMBoard::~FMBoard()
{
    qDebug("~mo%d", index);
}

void FMBoard::setConfig(std::shared_ptr<FMSettings> settings)
{
    QMutexLocker locker(&mutex);
    store = std::move(settings);
    if (store) {
        band = store->band();
        attenuation = store->attenuation();
    }
    if (boardLink)
        QMetaObject::invokeMethod(boardLink, [link = boardLink, s = store] { link->setStore(s); });
}

int FMBoard::sendPacket(QByteArray& datagram)
{
    return boardLink ? boardLink->sendPacket(datagram) : -1;
}

int FMBoard::sendRaw(const char* data, int length)
{
    return boardLink ? boardLink->sendRaw(data, length) : -1;
}

int FMBoard::sendRDS(int slot, const std::array<const uchar*, 4>& streams, int length, quint8 mask)
{
    return boardLink ? boardLink->sendRDS(slot, streams, length, mask) : -1;
}

bool FMBoard::configBand(bool onAir)
{
    return boardLink && boardLink->configBand(onAir, band, attenuation, osci);
}

void FMBoard::run()
{
    QUdpSocket socket;
    BoardLink link(index);
    {
        QMutexLocker locker(&mutex);
        link.setSocket(&socket);
        link.setStore(store);
        boardLink = &link;
        running = true;
        started.wakeAll();
    }
    connect(&link, &BoardLink::infoReceived, this,
            [this](const BoardInfo& info) { emit boardInfo(info, index); });
    exec();
    qDebug("mo%d: exit thread", index);
    QMutexLocker locker(&mutex);
    boardLink = nullptr;
    qDebug("mo%d: exit done", index);
}
