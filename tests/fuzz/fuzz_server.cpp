// The control server's line handling over a real loopback connection: the
// input is sent as it is, cut into lines by the server's framer, run as
// commands against a project and answered, with the pushes of registered
// keys. A last command of the harness's own tells when the server is through.
#include "FuzzKit.h"

#include "remote/FMServer.h"
#include "settings/FMSettings.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>

#include <sys/socket.h>

namespace {

const QByteArray kEndCommand = QByteArrayLiteral("\r\nHELP fuzz.input.end\r\n");
const QByteArray kEndReply = QByteArrayLiteral("no info about fuzz.input.end");

// Reads until the server has answered the harness's last command or dropped
// the client. Only the tail of what arrived is kept: a GET of everything in
// a loop must not make the harness itself grow.
void readToEnd(QTcpSocket& client)
{
    QEventLoop loop;
    QByteArray tail;
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] {
        tail += client.readAll();
        if (tail.contains(kEndReply))
            loop.quit();
        else if (tail.size() > kEndReply.size())
            tail = tail.right(kEndReply.size());
    });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    loop.exec();
}

// Closes with a reset, so thousands of connections a minute leave no
// sockets waiting out their close on either side.
void resetConnection(QTcpSocket& client)
{
    const linger reset{1, 0};
    setsockopt(int(client.socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
    client.abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzKit::projectFile();
    {
        auto store = QSharedPointer<FMSettings>::create(path);
        FMServer server;
        server.setPort(0);
        server.setProject(store, path);
        if (!server.isListening())
            qFatal("fuzz: the server does not listen");

        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, server.listeningPort());
        client.write(FuzzKit::bytes(data, size) + kEndCommand);
        readToEnd(client);
        resetConnection(client);
        FuzzKit::settle();
    }
    FuzzKit::endInput();
    return 0;
}
