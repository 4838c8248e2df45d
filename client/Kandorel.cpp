#include "client/Kandorel.h"

#include "AboutForm.h"
#include "client/ClientQuestions.h"
#include "client/FMConnect.h"
#include "client/HostLookup.h"
#include "ui_KandorelUI.h"

#include <QDebug>
#include <QDialog>
#include <QHostAddress>
#include <QHostInfo>
#include <QKeyEvent>
#include <QTcpSocket>
#include <QTimer>

Kandorel::Kandorel(QWidget* parent) : QMainWindow(parent), ui(new Ui::KandorelUI)
{
    ui->setupUi(this);
    connect(ui->actAbout, &QAction::triggered, this, &Kandorel::about);
    connect(ui->actOpen, &QAction::triggered, this, &Kandorel::onConnect);
    connect(ui->actStop, &QAction::triggered, this, &Kandorel::onLogStop);
    connect(ui->actLog, &QAction::triggered, this, &Kandorel::onLogFile);
    connect(ui->actQuit, &QAction::triggered, this, &QWidget::close);
    connect(ui->run, &QLineEdit::returnPressed, this, &Kandorel::runCommand);
    connect(ui->history, &QListWidget::currentItemChanged, this, &Kandorel::runHistory);
    connect(ui->registered, &QListWidget::itemDoubleClicked, this, &Kandorel::unregister);

    socket = new QTcpSocket(this);
    connect(socket, &QTcpSocket::readyRead, this, &Kandorel::tcpReady);
    connect(socket, &QTcpSocket::errorOccurred, this, &Kandorel::tcpError);
    connect(socket, &QTcpSocket::stateChanged, this, &Kandorel::tcpState);
    connectToServer();

    sendTimer = new QTimer(this);
    sendTimer->setObjectName(QStringLiteral("sendTimer"));
    connect(sendTimer, &QTimer::timeout, this, &Kandorel::timeout);
}

Kandorel::~Kandorel()
{
    qDebug("~tcp remote fm client");
    // The socket goes with the window's children, after the form: it must
    // not report its closing to a window that is half gone.
    socket->disconnect(this);
    socket->abort();
    delete ui;
}

// --- connection

void Kandorel::connectToServer()
{
    socket->abort();
    buffer.clear();
    const quint64 attempt = ++lookups;
    if (!QHostAddress(host).isNull()) {
        socket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
        return;
    }
    // A name is looked up first, through the one replaceable resolver; the
    // socket then finds it in Qt's host cache.
    HostLookup::lookUp(host, this, [this, attempt](const QHostInfo& info) {
        if (attempt != lookups)
            return; // a later connect has taken over
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
            tcpError(QAbstractSocket::HostNotFoundError);
            return;
        }
        socket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    });
}

void Kandorel::followMode()
{
    if (feedsRds())
        sendTimer->start(RdsFeeder::kTickMs);
    else
        sendTimer->stop();
}

void Kandorel::onConnect()
{
    FMConnect dialog(host, port, this);
    if (ClientQuestions::exec(&dialog) != QDialog::Accepted)
        return;
    host = dialog.host().isEmpty() ? QString::fromLatin1(kDefaultHost) : dialog.host();
    port = dialog.port();
    ui->registered->clear();
    connectToServer();
    followMode();
}

void Kandorel::tcpState(QAbstractSocket::SocketState state)
{
    const bool connected = state == QAbstractSocket::ConnectedState;
    ui->run->setEnabled(connected);
    QString title = QString::fromLatin1(kTitle);
    if (connected)
        title += QStringLiteral(" - ") + socket->peerAddress().toString();
    setWindowTitle(title);
    if (!connected)
        return;
    feeder.restart();
    ui->run->setFocus();
}

void Kandorel::tcpError(QAbstractSocket::SocketError error)
{
    QString text;
    switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
        return;
    case QAbstractSocket::ConnectionRefusedError:
        text = QStringLiteral("The connection was refused by the peer. Make sure the Quorvin "
                              "Server\nis running and that the host name and port settings "
                              "are correct.");
        break;
    case QAbstractSocket::HostNotFoundError:
        text =
            QStringLiteral("The host was not found. Please check the host name and port settings.");
        break;
    default:
        text = QStringLiteral("The following error occurred: %1.").arg(socket->errorString());
    }
    ClientQuestions::inform(this, QStringLiteral("Quorvin Client"), text);
}

// --- lines

void Kandorel::sendLine(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return;
    if (socket->state() != QAbstractSocket::ConnectedState) {
        qDebug("tcp: not connected, [%s] not sent", bytes.constData());
        return;
    }
    socket->write(bytes + "\r\n");
    if (feedsRds())
        feeder.lineSent(text);
}

void Kandorel::tcpReady()
{
    while (socket->bytesAvailable() > 0) {
        const QByteArray bytes = socket->read(buffer.room());
        if (bytes.isEmpty())
            return;
        for (const QString& line : buffer.take(bytes))
            handleLine(line);
    }
}

void Kandorel::handleLine(const QString& line)
{
    if (!line.isEmpty())
        appendEvent(line);
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!feedsRds()) {
        followRegistrations(words);
        return;
    }
    const RdsFeeder::Stop stop = feeder.received(words);
    if (stop != RdsFeeder::Stop::None)
        stopFeeding(stop);
}

void Kandorel::appendEvent(const QString& line)
{
    ui->eventlog->appendPlainText(line);
    ui->Gevent->setTitle(QStringLiteral("%1 Events:").arg(ui->eventlog->blockCount()));
}

void Kandorel::followRegistrations(const QStringList& words)
{
    if (words.size() < 3 || words.at(1) != QLatin1String("ok:"))
        return;
    const QString& key = words.at(2);
    if (words.at(0) == QLatin1String("REG")) {
        ui->registered->addItem(key);
        return;
    }
    if (words.at(0) != QLatin1String("UNR"))
        return;
    for (int row = ui->registered->count() - 1; row >= 0; --row) {
        if (ui->registered->item(row)->text() == key)
            delete ui->registered->takeItem(row);
    }
}

// --- commands and history

void Kandorel::runCommand()
{
    const QString text = ui->run->text();
    if (text.isEmpty())
        return;
    QListWidgetItem* entry = nullptr;
    for (int row = ui->history->count() - 1; row >= 0 && !entry; --row) {
        if (ui->history->item(row)->text().compare(text, Qt::CaseInsensitive) == 0)
            entry = ui->history->item(row);
    }
    if (!entry) {
        entry = new QListWidgetItem(text, ui->history);
        entry->setFlags(entry->flags() | Qt::ItemIsEditable);
    }
    ui->history->scrollToItem(entry);
    ui->history->setCurrentItem(entry);
    // Selecting an entry that differs in case must not change what was typed.
    ui->run->setText(text);
    sendLine(text);
}

void Kandorel::runHistory(QListWidgetItem* item)
{
    if (item)
        ui->run->setText(item->text());
}

void Kandorel::unregister(QListWidgetItem* item)
{
    if (item)
        sendLine(QStringLiteral("UNR ") + item->text());
}

void Kandorel::keyPressEvent(QKeyEvent* event)
{
    QListWidgetItem* current = ui->history->currentItem();
    switch (event->key()) {
    case Qt::Key_Delete:
        if (current) {
            delete current;
            return;
        }
        break;
    case Qt::Key_Down:
        if (moveInHistory(+1))
            return;
        break;
    case Qt::Key_Up:
        if (moveInHistory(-1))
            return;
        break;
    default:
        break;
    }
    QMainWindow::keyPressEvent(event);
}

// Up from no entry starts at the newest, Down at the oldest.
bool Kandorel::moveInHistory(int step)
{
    const int count = ui->history->count();
    if (count == 0)
        return false;
    const int row = ui->history->currentRow();
    const int next = row < 0 ? (step < 0 ? count - 1 : 0) : row + step;
    if (next >= 0 && next < count)
        ui->history->setCurrentRow(next);
    runHistory(ui->history->currentItem());
    return true;
}

// --- feeding an RDS data server

void Kandorel::onLogFile()
{
    const QString path =
        ClientQuestions::openFileName(this, QStringLiteral("RDS-Log"), lastLogPath);
    if (path.isEmpty())
        return;
    lastLogPath = path;
    feeder.open(path);
    followMode();
}

void Kandorel::onLogStop()
{
    sendTimer->stop();
}

void Kandorel::timeout()
{
    // Lines read while no server listens would be lost to the file's loop.
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    RdsFeeder::Stop stop = RdsFeeder::Stop::None;
    const QString line = feeder.tick(&stop);
    if (stop != RdsFeeder::Stop::None) {
        stopFeeding(stop);
        return;
    }
    sendLine(line);
}

void Kandorel::stopFeeding(RdsFeeder::Stop why)
{
    sendTimer->stop();
    if (why == RdsFeeder::Stop::Offline) {
        qDebug("tcp: channel offline, feeding stopped");
        appendEvent(QStringLiteral("RDS-Log stopped: the channel is offline"));
        return;
    }
    qDebug("tcp: no line of the file accepted, feeding stopped");
    appendEvent(QStringLiteral("RDS-Log stopped: no line of the file holds an RDS group"));
}

// --- about

void Kandorel::about()
{
    QDialog box(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    Ui::AboutUI form;
    form.setupUi(&box);
    box.setWindowTitle(QString::fromLatin1(kTitle));
    box.resize(kAboutSize);
    ClientQuestions::exec(&box);
}
