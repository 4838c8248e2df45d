#include "remote/RDSServer.h"

#include "remote/ProductInfo.h"

#include "board/FMProgram.h"
#include "board/RDSInput.h"
#include "settings/FMSettings.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <limits>

namespace {

// The first line ends with CR LF, the info line with LF alone.
const QByteArray kGreeting = "--\r\n" + ProductInfo::infoLine() + "\n";

// Only the last channel of each board logs listen and stop, so a board's 24
// servers leave one line each.
constexpr int kChannelsPerBoard = 24;

// A client on the dual-stack listener shows as ::ffff:a.b.c.d; the operator
// knows it as a.b.c.d.
QString addressText(const QHostAddress& address)
{
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(ipv4).toString() : address.toString();
}

} // namespace

void RDSServer::serveProgrammes()
{
    FMProgram::setDataInputMaker([](int programme, RDSInput* input, QObject* parent) {
        return new RDSServer(programme, parent, input);
    });
}

RDSServer::RDSServer(int programme, QObject* parent, RDSInput* input)
    : QObject(parent), programmeNumber(programme), server(new QTcpServer(this)),
      idleTimer(new QTimer(this)), nextPass(new QTimer(this)), input(input)
{
    clock.start();
    idleTimer->setInterval(kIdleTickMs);
    nextPass->setSingleShot(true);
    nextPass->setInterval(0);
    connect(server, &QTcpServer::newConnection, this, &RDSServer::onConnection);
    connect(idleTimer, &QTimer::timeout, this, &RDSServer::timeout);
    connect(nextPass, &QTimer::timeout, this, &RDSServer::readLine);
}

RDSServer::~RDSServer()
{
    if (client)
        client->disconnect(this);
    qDebug("~rds server %d", programmeNumber);
}

void RDSServer::setProject(QSharedPointer<FMSettings> newStore)
{
    store = std::move(newStore);
    if (store)
        active = false;
}

void RDSServer::setActive(quint32 word)
{
    boardWord = word;
    active = true;
    listen();
}

void RDSServer::setPort(quint32 portOffset)
{
    if (portOffset == offset)
        return;
    offset = portOffset;
    closeListener();
    dropClient();
    if (active)
        listen();
}

void RDSServer::stop()
{
    closeListener();
    dropClient();
}

quint16 RDSServer::port() const
{
    const quint64 wanted = quint64(offset) + quint64(programmeNumber);
    return wanted > std::numeric_limits<quint16>::max() ? 0 : quint16(wanted);
}

bool RDSServer::isListening() const
{
    return server->isListening();
}

void RDSServer::listen()
{
    if (server->isListening())
        return;
    const quint64 wanted = quint64(offset) + quint64(programmeNumber);
    // Cut to 16 bits, a too large offset would open some other port.
    if (port() == 0) {
        qDebug("sv%2d listen port %llu: %d: %s", programmeNumber, wanted,
               int(QAbstractSocket::SocketAddressNotAvailableError), "port out of range");
        return;
    }
    if (!server->listen(QHostAddress::Any, port())) {
        qDebug("sv%2d listen port %d: %d: %s", programmeNumber, int(port()),
               int(server->serverError()), qPrintable(server->errorString()));
        return;
    }
    if (logsListening())
        qDebug("sv%2d listen port %d", programmeNumber, int(port()));
}

bool RDSServer::logsListening() const
{
    return programmeNumber % kChannelsPerBoard == 0;
}

void RDSServer::closeListener()
{
    if (!server->isListening())
        return;
    if (logsListening())
        qDebug("sv%2d stop", programmeNumber);
    server->close();
}

// The old socket is cut loose before it is closed: its disconnected() or a
// last readyRead() may come later, when a new client already holds the
// counter, the line buffer and the idle timer.
void RDSServer::dropClient()
{
    if (!client)
        return;
    QTcpSocket* old = client;
    client = nullptr;
    old->disconnect(this);
    old->close();
    old->deleteLater();
    forgetPendingLines();
    endRemoteInput();
}

void RDSServer::onConnection()
{
    while (server->hasPendingConnections())
        acceptClient(server->nextPendingConnection());
}

void RDSServer::acceptClient(QTcpSocket* socket)
{
    dropClient();
    lineCounter = 0;
    lines.clear();
    client = socket;
    socket->setReadBufferSize(kReadBufferBytes);
    const QString address = addressText(socket->peerAddress());
    qDebug("sv%2d new connection [%s]", programmeNumber, qPrintable(address));
    connect(socket, &QTcpSocket::readyRead, this, &RDSServer::readLine);
    connect(socket, &QTcpSocket::bytesWritten, this, &RDSServer::onBytesWritten);
    connect(socket, &QTcpSocket::disconnected, this, &RDSServer::onDisconnect);
    sendLine(kGreeting);
    idleTimer->start();
    publishRemoteSource(address);
}

// A pass ends when the client has nothing more to run, when its unsent
// replies are above the pause limit (bytesWritten resumes it) or after
// kLinesPerPass lines (the next-pass timer resumes it, after the fill tick
// had its turn). Bytes the socket already holds raise no new readyRead, so
// every resume starts here.
void RDSServer::readLine()
{
    if (nextPass->isActive())
        return;
    readingPaused = false;
    const ClientLines::PassEnd end =
        lines.pass(client, kLinesPerPass, kPauseOutputBytes, [this](const LineFramer::Line& line) {
            // A line that never ended in time is dropped without an answer.
            if (!line.tooLong)
                handleLine(line.bytes);
        });
    if (end == ClientLines::PassEnd::OutputFull)
        readingPaused = true;
    else if (end == ClientLines::PassEnd::BudgetUsed)
        nextPass->start();
    if (client)
        client->flush();
}

void RDSServer::onBytesWritten()
{
    if (readingPaused)
        readLine();
}

void RDSServer::handleLine(const QByteArray& received)
{
    ++lineCounter;
    QByteArray line = received.trimmed();
    int fill = 0;
    bool queued = false;
    // The engine takes an empty line for the end of remote input; here it
    // is counted and refused with an empty state word.
    if (line.isEmpty())
        fill = input->rdsFillLevel();
    else
        queued = input->queueRemoteGroup(line, fill);
    const QByteArray counter = QByteArray::number(lineCounter);
    const QByteArray fillText = QByteArray::number(fill);
    if (queued)
        sendLine(counter + ' ' + fillText + '\n');
    else
        sendLine(counter + " -1 " + fillText + ' ' + line + '\n');
    lastFill = fill;
}

void RDSServer::forgetPendingLines()
{
    nextPass->stop();
    lines.clear();
    readingPaused = false;
    stalledTicks = 0;
    unsentAtLastTick = 0;
}

void RDSServer::onDisconnect()
{
    QTcpSocket* gone = client;
    if (!gone)
        return;
    client = nullptr;
    gone->disconnect(this);
    gone->deleteLater();
    forgetPendingLines();
    endRemoteInput();
}

void RDSServer::endRemoteInput()
{
    idleTimer->stop();
    QByteArray endOfInput;
    int fill = 0;
    input->queueRemoteGroup(endOfInput, fill);
    publishRemoteSource(QString());
    qDebug("sv%2d disconnected", programmeNumber);
}

void RDSServer::publishRemoteSource(const QString& address) const
{
    if (store)
        store->publish(QStringLiteral("rdsin.%1").arg(programmeNumber), address);
}

void RDSServer::sendLine(const QByteArray& bytes)
{
    if (!client)
        return;
    client->write(bytes);
    lastWriteMs = clock.elapsed();
}

// A client that is held back and takes nothing of what waits for it ties
// up the socket's memory for good.
void RDSServer::checkStalled()
{
    const qint64 unsent = client->bytesToWrite();
    if (!readingPaused || unsent < unsentAtLastTick) {
        stalledTicks = 0;
        unsentAtLastTick = unsent;
        return;
    }
    unsentAtLastTick = unsent;
    if (++stalledTicks < kStalledIdleTicks)
        return;
    qDebug("sv%2d client does not read, closing with %lld bytes unsent", programmeNumber,
           qlonglong(unsent));
    client->abort();
    dropClient();
}

void RDSServer::timeout()
{
    if (!client)
        return;
    checkStalled();
    if (!client || readingPaused || clock.elapsed() - lastWriteMs < kIdleReportAfterMs)
        return;
    const int fill = input->rdsFillLevel();
    if (fill == lastFill)
        return;
    lastFill = fill;
    sendLine(QByteArray::number(lineCounter) + ' ' + QByteArray::number(fill) + '\n');
}
