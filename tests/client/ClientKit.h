#pragma once

// Kandorel's window against servers on 127.0.0.1: every box and dialog is
// answered ahead or dismissed, the connection dialog is filled in through
// the seam, and the start-up connection to 127.0.0.1:1248 has settled
// before a test begins.

#include "client/ClientQuestions.h"
#include "client/HostLookup.h"
#include "client/Kandorel.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QHostInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <memory>

constexpr int kWaitMs = 30000;

// Waits for a line in the window's event list; a failure shows the list.
#define QVERIFY_EVENT(kit, line)                                                                   \
    QVERIFY2((kit).waitForEvent(line), qPrintable(QStringLiteral("no [%1] in: ").arg(line) +       \
                                                  (kit).events().join(QLatin1Char('|'))))

// A port nothing listens on at the moment, from the given range.
inline quint16 freePort(quint16 from, quint16 to)
{
    for (quint16 port = from; port < to; ++port) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, port))
            return port;
    }
    return 0;
}

// A control server stand-in that records every byte and sends what the
// test wants, exactly as given.
class RawServer
{
public:
    bool listen(quint16 port)
    {
        if (!server.listen(QHostAddress::Any, port))
            return false;
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll(); });
        });
        return true;
    }

    bool waitForPeer()
    {
        return QTest::qWaitFor([this] { return !peer.isNull(); }, kWaitMs);
    }

    void send(const QByteArray& bytes)
    {
        peer->write(bytes);
        peer->flush();
    }

    bool waitForReceived(const QByteArray& tail)
    {
        return QTest::qWaitFor([&] { return received.endsWith(tail); }, kWaitMs);
    }

    QTcpServer server;
    QPointer<QTcpSocket> peer;
    QByteArray received;
};

class ClientKit
{
public:
    ClientKit()
    {
        ClientQuestions::setUnattended(true);
        ClientQuestions::clear();
        // Host names are "not found" here: no query leaves the machine.
        lookedUp().clear();
        HostLookup::setResolver(
            [](const QString& name, QObject* context, const HostLookup::Answer& answer) {
                lookedUp().append(name);
                QHostInfo info;
                info.setHostName(name);
                info.setError(QHostInfo::HostNotFound);
                QMetaObject::invokeMethod(
                    context, [answer, info] { answer(info); }, Qt::QueuedConnection);
            });
        window = std::make_unique<Kandorel>();
        window->show();
        socket = window->findChild<QTcpSocket*>();
        // The window connects to 127.0.0.1:1248 at once; whatever comes of
        // it is no part of the test.
        (void)QTest::qWaitFor(
            [this] {
                return socket->state() == QAbstractSocket::UnconnectedState ||
                       socket->state() == QAbstractSocket::ConnectedState;
            },
            kWaitMs);
        // Something may listen there on this machine: what it sent is
        // forgotten.
        socket->abort();
        QCoreApplication::processEvents();
        find<QPlainTextEdit>(QStringLiteral("eventlog"))->clear();
        find<QListWidget>(QStringLiteral("registered"))->clear();
        ClientQuestions::clear();
    }

    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }

    // The host names the window looked up since the kit was made.
    static QStringList& lookedUp()
    {
        static QStringList names;
        return names;
    }

    void trigger(const QString& action) const { find<QAction>(action)->trigger(); }

    // Connects through the dialog, as the user does.
    bool connectTo(quint16 port, const QString& host = QStringLiteral("127.0.0.1"))
    {
        startConnecting(port, host);
        return settle();
    }

    void startConnecting(quint16 port, const QString& host = QStringLiteral("127.0.0.1"))
    {
        ClientQuestions::setNextDialogAction([host, port](QDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("host"))->setText(host);
            dialog->findChild<QSpinBox*>(QStringLiteral("port"))->setValue(port);
            dialog->findChild<QPushButton*>(QStringLiteral("Bset"))->click();
            return dialog->result();
        });
        trigger(QStringLiteral("actOpen"));
    }

    // Waits until the connection is made, refused or not found.
    bool settle()
    {
        (void)QTest::qWaitFor(
            [this] { return connected() || socket->state() == QAbstractSocket::UnconnectedState; },
            kWaitMs);
        return connected();
    }

    bool connected() const { return socket->state() == QAbstractSocket::ConnectedState; }

    // Types a command and presses Return.
    void type(const QString& command)
    {
        QLineEdit* run = find<QLineEdit>(QStringLiteral("run"));
        run->clear();
        QTest::keyClicks(run, command);
        QTest::keyClick(run, Qt::Key_Return);
    }

    QStringList events() const
    {
        return find<QPlainTextEdit>(QStringLiteral("eventlog"))
            ->toPlainText()
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool waitForEvent(const QString& line) const
    {
        return QTest::qWaitFor([&] { return events().contains(line); }, kWaitMs);
    }

    static QStringList texts(const QListWidget* list)
    {
        QStringList all;
        for (int row = 0; row < list->count(); ++row)
            all.append(list->item(row)->text());
        return all;
    }

    QStringList registered() const
    {
        return texts(find<QListWidget>(QStringLiteral("registered")));
    }

    QStringList history() const { return texts(find<QListWidget>(QStringLiteral("history"))); }

    std::unique_ptr<Kandorel> window;
    QTcpSocket* socket = nullptr;
};
