#include "remote/ClientLines.h"

#include <QTcpSocket>

ClientLines::PassEnd ClientLines::pass(const QPointer<QTcpSocket>& client, int budget,
                                       const std::function<bool()>& outputFull,
                                       const std::function<void(const LineFramer::Line&)>& handle)
{
    while (client) {
        if (outputFull())
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

void ClientLines::clear()
{
    framer.clear();
    pending.clear();
}
