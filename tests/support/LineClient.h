#pragma once

// A line client on a real TCP socket for the tests of the control server and
// of the window that runs it: it collects the lines the server sends, each
// of which must end with CR LF.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

constexpr int kWaitMs = 30000;

// Runs the event loop until done() holds, waking on every socket event
// rather than polling, so that many short exchanges stay quick.
template <typename Done> bool waitUntil(Done done, int timeoutMs = kWaitMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class LineClient
{
public:
    QTcpSocket socket;
    QStringList lines;
    bool badLineEnd = false; // a CR or LF that was not part of CR LF

    bool connectTo(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(kWaitMs);
    }

    void send(const QByteArray& bytes)
    {
        socket.write(bytes);
        socket.flush();
    }

    void pump()
    {
        pending += socket.readAll();
        qsizetype start = 0;
        qsizetype end = 0;
        while ((end = pending.indexOf("\r\n", start)) >= 0) {
            const QByteArray line = pending.sliced(start, end - start);
            if (line.contains('\r') || line.contains('\n'))
                badLineEnd = true;
            lines.append(QString::fromUtf8(line));
            start = end + 2;
        }
        pending.remove(0, start);
    }

    bool waitForLines(int count, int timeoutMs = kWaitMs)
    {
        return waitUntil(
            [&] {
                pump();
                return lines.size() >= count;
            },
            timeoutMs);
    }

    // Waits for the line and hands back (and forgets) everything up to it.
    QStringList takeUntil(const QString& marker, int timeoutMs = kWaitMs)
    {
        const bool seen = waitUntil(
            [&] {
                pump();
                return lines.contains(marker);
            },
            timeoutMs);
        if (!seen)
            return {QStringLiteral("<no %1 after %2>").arg(marker, lines.join(QLatin1Char('|')))};
        const qsizetype at = lines.indexOf(marker);
        const QStringList before = lines.mid(0, at);
        lines.remove(0, at + 1);
        return before;
    }

    // Waits for a line that starts with prefix and hands it back; the
    // lines before it are dropped.
    QString takeStartingWith(const QString& prefix, int timeoutMs = kWaitMs)
    {
        QString found;
        waitUntil(
            [&] {
                pump();
                while (!lines.isEmpty()) {
                    const QString line = lines.takeFirst();
                    if (line.startsWith(prefix)) {
                        found = line;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found.isNull() ? QStringLiteral("(no line beginning ") + prefix + QLatin1Char(')')
                              : found;
    }

    bool waitForDisconnect()
    {
        return waitUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }

private:
    QByteArray pending;
};
