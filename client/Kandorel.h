#pragma once

#include "client/RdsFeeder.h"
#include "client/ReceiveBuffer.h"

#include <QAbstractSocket>
#include <QMainWindow>

class QListWidgetItem;
class QTcpSocket;
class QTimer;

namespace Ui {
class KandorelUI;
}

// The remote client's main window: one TCP connection to Quorvin. On the
// control server it sends typed commands with a history, shows every line
// the server sends and keeps the keys it registered. On an RDS data input
// server (a port of 4001 or more) it feeds an RDS log file line by line.
class Kandorel : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr quint16 kDefaultPort = 1248;
    static constexpr quint16 kFirstRdsPort = 4001; // from here on a port is an RDS data server
    static constexpr char kDefaultHost[] = "127.0.0.1";
    static constexpr char kTitle[] = "Quorvin Client v0.4";
    static constexpr QSize kAboutSize{342, 211};

    explicit Kandorel(QWidget* parent = nullptr);
    ~Kandorel() override;

public slots:
    void about();
    void onConnect();
    void onLogStop();
    void onLogFile();
    void runCommand();
    void runHistory(QListWidgetItem* item);
    void unregister(QListWidgetItem* item);
    void tcpState(QAbstractSocket::SocketState state);
    void tcpError(QAbstractSocket::SocketError error);
    void tcpReady();
    void timeout();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool feedsRds() const { return port >= kFirstRdsPort; }
    void connectToServer();
    void followMode();
    void sendLine(const QString& text);
    void handleLine(const QString& line);
    void appendEvent(const QString& line);
    void followRegistrations(const QStringList& words);
    void stopFeeding(RdsFeeder::Stop why);
    bool moveInHistory(int step);

    Ui::KandorelUI* ui;
    QString host = QString::fromLatin1(kDefaultHost);
    quint16 port = kDefaultPort;
    QTcpSocket* socket;
    // Counts connects, so that a late look-up answer of an earlier one is
    // dropped.
    quint64 lookups = 0;
    ReceiveBuffer buffer;
    QTimer* sendTimer;
    RdsFeeder feeder;
    QString lastLogPath;
};
