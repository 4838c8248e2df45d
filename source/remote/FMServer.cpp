// Connection handling of the control server: listening, the one client, the
// greeting, line framing, the project hand-over and the pushed key lines.
#include "remote/FMServer.h"

#include "remote/ProductInfo.h"

#include "settings/FMSettings.h"
#include "settings/SetHandler.h"
#include "settings/SetValue.h"
#include "settings/SettingsDirectory.h"

#include <QDebug>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QStringList kDefaultRegistrations{QStringLiteral("chinfo.*.playing"),
                                        QStringLiteral("modul"),
                                        QStringLiteral("playlist"),
                                        QStringLiteral("play"),
                                        QStringLiteral("board"),
                                        QStringLiteral("channel"),
                                        QStringLiteral("audio"),
                                        QStringLiteral("rds"),
                                        QStringLiteral("tmc")};

const QString kUnknownAirKey = QStringLiteral("modul.unknown");
const QString kTooLongReply = QStringLiteral("error: line too long");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Lines run in one pass of the event loop before a new connection, a push
// or the GUI gets its turn; small enough to keep a flood of expensive GETs
// from holding the GUI thread, large enough that the passes cost little.
constexpr int kLinesPerPass = 64;
// What the socket holds for a client beyond what a pass takes: a client
// that floods lines is stopped by TCP, not by the server's memory.
constexpr qint64 kReadBufferBytes = 64 * 1024;

QString shownKey(QString key)
{
    return key.replace(QLatin1Char('/'), QLatin1Char('.'));
}

// List values come back from the ini file as string lists; show them in the
// file's own form instead of as nothing.
QString valueText(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// The server listens on both protocols; an IPv4 peer is shown as such, not
// in its mapped IPv6 form.
QString addressText(const QHostAddress& address)
{
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(ipv4).toString() : address.toString();
}

} // namespace

FMServer::FMServer(QObject* parent)
    : QObject(parent), registered(kDefaultRegistrations), airKey(kUnknownAirKey)
{
    installEventFilter(new SetHandler(this));
    currentDir = settingsDirectory();
    listener = new QTcpServer(this);
    connect(listener, &QTcpServer::newConnection, this, &FMServer::onConnection);
    nextPass = new QTimer(this);
    nextPass->setSingleShot(true);
    nextPass->setInterval(0);
    connect(nextPass, &QTimer::timeout, this, &FMServer::readLine);
}

FMServer::~FMServer()
{
    qDebug("~network server");
    if (client) {
        client->disconnect(this);
        client->abort();
    }
    if (settings)
        settings->unsubscribeAll(this);
}

QString FMServer::settingsDirectory()
{
    return ::settingsDirectory();
}

QString FMServer::infoLine()
{
    return QString::fromLatin1(ProductInfo::infoLine());
}

void FMServer::setPort(quint16 port)
{
    if (port == controlPort)
        return;
    controlPort = port;
    if (isListening())
        stopListen();
    if (settings)
        startListen();
}

bool FMServer::isListening() const
{
    return listener->isListening();
}

quint16 FMServer::listeningPort() const
{
    return isListening() ? listener->serverPort() : 0;
}

// With port 0 the system picks the port; report the one in use.
quint16 FMServer::activePort() const
{
    return isListening() ? listener->serverPort() : controlPort;
}

void FMServer::startListen()
{
    if (listener->listen(QHostAddress::Any, controlPort)) {
        emit onRemote(activePort(), QString(), 0);
        return;
    }
    // QAbstractSocket::UnknownSocketError is -1, so every failure is >= 1.
    const int error = int(listener->serverError()) + 2;
    qDebug("net: listen on %u failed: %s", uint(controlPort), qPrintable(listener->errorString()));
    emit onRemote(controlPort, listener->errorString(), uint(error));
}

void FMServer::setOutputLimits(qint64 pauseBytes, qint64 dropBytes)
{
    pauseOutputBytes = pauseBytes;
    dropOutputBytes = dropBytes;
}

qint64 FMServer::pendingOutput() const
{
    return client ? client->bytesToWrite() : 0;
}

void FMServer::stopListen()
{
    listener->close();
    forgetInput();
    if (client)
        client->close();
    emit onRemote(0, QString(), 0);
}

void FMServer::setProject(QSharedPointer<FMSettings> store, const QString& file)
{
    if (settings)
        settings->unsubscribeAll(this);
    QObject::disconnect(writtenConnection);
    unstoredKeys.clear();
    unstoredMore = 0;
    settings = std::move(store);
    if (!settings)
        return;
    writtenConnection =
        connect(settings.get(), &FMSettings::written, this, &FMServer::onProjectWritten);
    if (!isListening())
        startListen();
    registered.removeDuplicates();
    for (const QString& key : std::as_const(registered))
        settings->subscribe(key, this);
    sendLine(QStringLiteral("LOAD ok: ") + file);
}

// The old socket is cut off from the server before it goes, so nothing it
// still reports can reach the new client's state.
void FMServer::dropClient()
{
    if (!client)
        return;
    QTcpSocket* old = client;
    client = nullptr;
    old->disconnect(this);
    const bool wasConnected = old->state() != QAbstractSocket::UnconnectedState;
    old->abort();
    old->deleteLater();
    forgetInput();
    if (wasConnected)
        onDisconnect();
}

// Lines of a client that is gone never run on into the next one.
void FMServer::forgetInput()
{
    lines.clear();
    readingPaused = false;
}

void FMServer::onConnection()
{
    QTcpSocket* next = listener->nextPendingConnection();
    if (!next)
        return;
    dropClient();
    client = next;
    forgetInput();
    next->setReadBufferSize(kReadBufferBytes);
    const QString address = addressText(next->peerAddress());
    emit onRemote(activePort(), address, 0);
    qDebug("net: connection [%s]", qPrintable(address));
    connect(next, &QTcpSocket::readyRead, this, &FMServer::readLine);
    connect(next, &QTcpSocket::disconnected, this, &FMServer::onDisconnect);
    connect(next, &QTcpSocket::bytesWritten, this, &FMServer::onBytesWritten);

    sendLine(QStringLiteral("--"));
    if (!settings)
        return;
    sendInfo();
    for (const QString& key : settings->subscriptions(this))
        sendLine(QStringLiteral("REG ok: ") + shownKey(key));
}

// Lines that a client sent before it went run as they would have; their
// replies go nowhere, so they no longer wait for the client to read.
void FMServer::onDisconnect()
{
    qDebug("net: disconnect");
    emit onRemote(isListening() ? activePort() : 0, QString(), 0);
    if (readingPaused)
        nextPass->start();
}

// Lines run one at a time in arrival order. A command may run an event loop
// of its own (the main window loading a project), so a nested call leaves the
// bytes to the outer loop instead of overtaking the line being executed.
//
// A pass ends when the client has nothing more to run, when its output is
// above the pause limit (bytesWritten resumes it) or after kLinesPerPass
// lines (the timer resumes it). Bytes the socket already holds raise no new
// readyRead, so every resume starts here.
void FMServer::readLine()
{
    if (reading)
        return;
    reading = true;
    readingPaused = false;
    const ClientLines::PassEnd end =
        lines.pass(client, kLinesPerPass, pauseOutputBytes,
                   [this](const LineFramer::Line& line) { handleLine(line); });
    if (end == ClientLines::PassEnd::OutputFull)
        readingPaused = true;
    else if (end == ClientLines::PassEnd::BudgetUsed)
        nextPass->start();
    // Replies go out now rather than on the next pass of the event loop,
    // which would add a loop pass to every round trip.
    if (client)
        client->flush();
    reading = false;
}

void FMServer::onBytesWritten()
{
    if (readingPaused)
        readLine();
}

void FMServer::handleLine(const LineFramer::Line& line)
{
    if (line.tooLong) {
        sendLine(kTooLongReply);
        return;
    }
    execute(QString::fromUtf8(line.bytes).trimmed());
}

void FMServer::sendLine(const QString& line)
{
    if (!client || client->state() != QAbstractSocket::ConnectedState)
        return;
    client->write(line.toUtf8() + kLineEnd);
    if (client->bytesToWrite() > dropOutputBytes)
        dropIfNotReading();
}

// Replies are held back by the pause limit; what piles up beyond it are
// pushes to a client that has stopped reading.
void FMServer::dropIfNotReading()
{
    client->flush();
    const qint64 unsent = client->bytesToWrite();
    if (unsent <= dropOutputBytes)
        return;
    qDebug("net: client does not read, closing with %lld bytes unsent", qlonglong(unsent));
    dropClient();
}

void FMServer::sendLine(const QString& key, const QVariant& value)
{
    const QString shown = shownKey(key.toLower());
    if (!value.isValid()) {
        sendLine(shown);
        return;
    }
    sendLine(shown + QLatin1Char(' ') + valueText(value));
}

void FMServer::sendInfo()
{
    sendLine(infoLine());
}

void FMServer::notify(SetValue* event)
{
    QString key = event->key;
    if (key.startsWith(QLatin1String("modul")))
        airKey = key;
    key = shownKey(key);
    if (key.startsWith(QLatin1String("chinfo")) && key.contains(QLatin1String(".rdslog"))) {
        sendLine(key + rdsLogFormat.format(event->value.toByteArray()));
        return;
    }
    sendLine(key + QLatin1Char(' ') + valueText(event->value));
}
