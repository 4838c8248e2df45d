#include "remote/ClientLines.h"

#include <QTcpSocket>

ClientLines::PassEnd ClientLines::pass(const QPointer<QTcpSocket>& client, int budget,
                                       qint64 pauseBytes,
                                       const std::function<void(const LineFramer::Line&)>& handle)
{
    while (client) {
        if (backedUp(client, pauseBytes))
            return PassEnd::OutputFull;
        if (pending.isEmpty()) {
            if (client->bytesAvailable() <= 0)
                return PassEnd::Drained;
            pending = framer.feed(client->read(kReadChunkBytes));
            continue;
        }
        if (budget-- == 0)
            return PassEnd::BudgetUsed;
        handle(pending.takeFirst());
    }
    return PassEnd::Drained;
}

bool ClientLines::backedUp(QTcpSocket* client, qint64 pauseBytes)
{
    if (client->state() != QAbstractSocket::ConnectedState || client->bytesToWrite() <= pauseBytes)
        return false;
    client->flush();
    return client->bytesToWrite() > pauseBytes;
}

void ClientLines::clear()
{
    framer.clear();
    pending.clear();
}
