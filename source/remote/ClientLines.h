#pragma once

#include "remote/LineFramer.h"

#include <QList>
#include <QPointer>

#include <functional>

class QTcpSocket;

// The lines a client sent, served a pass at a time as both servers serve
// them: a pass ends when the client has nothing more to run, when its
// unsent replies back up, or when the pass's budget of lines is used, so
// one flooding connection never holds its thread for long. Lines read but
// not yet run wait for the next pass.
class ClientLines
{
public:
    enum class PassEnd
    {
        Drained,    // nothing more to run until the client sends more
        OutputFull, // resume when replies have gone out
        BudgetUsed, // resume on a later pass of the event loop
    };

    explicit ClientLines(int maxLineBytes) : framer(maxLineBytes) {}

    // client is followed through the pointer: handle may close or replace
    // it, which ends the pass. Replies back up when more than pauseBytes
    // stay unsent after a flush.
    PassEnd pass(const QPointer<QTcpSocket>& client, int budget, qint64 pauseBytes,
                 const std::function<void(const LineFramer::Line&)>& handle);
    // Forgets a partial line and the lines not yet run.
    void clear();

private:
    static constexpr qint64 kReadChunkBytes = 4096;

    static bool backedUp(QTcpSocket* client, qint64 pauseBytes);

    LineFramer framer;
    // At most one read's worth.
    QList<LineFramer::Line> pending;
};
