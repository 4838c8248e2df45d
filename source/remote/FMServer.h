#pragma once

#include "remote/ClientLines.h"
#include "remote/RdsLogFormat.h"
#include "settings/Observer.h"

#include <QMetaMethod>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <QSharedPointer>

class FMSettings;
class QTcpServer;
class QTcpSocket;
class QTimer;

// The remote-control server: one client at a time steers the open project
// over TCP with text lines (GET, SET, REG, LOAD, ...). Replies and pushed
// key changes end with CR LF. Lives in the GUI thread.
//
// newFile, loadFile and saveFile return the main window's answer, so they
// must be connected directly (Qt::DirectConnection or AutoConnection within
// the GUI thread); without a receiver the command is answered as failed.
//
// A client that sends faster than it reads is held back: while more than the
// pause limit of output waits for it, its lines stay unread (TCP then stops
// the sender), and a long batch of lines runs a few lines per pass of the
// event loop, so the GUI and a new client are served in between. Pushed key
// changes cannot be held back; a client that lets them pile up past the drop
// limit is closed.
class FMServer : public QObject, public Observer
{
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 1248;
    static constexpr int kLineBytes = 512;
    static constexpr qint64 kPauseOutputBytes = 4 * 1024 * 1024;
    static constexpr qint64 kDropOutputBytes = 64 * 1024 * 1024;
    // Registrations outlive their client, and every change of the store is
    // matched against each of them: their number is bounded.
    static constexpr int kMaxRegistrations = 10000;

    explicit FMServer(QObject* parent = nullptr);
    ~FMServer() override;

    void setPort(quint16 port);
    quint16 port() const { return controlPort; }
    // The port actually bound while listening (differs from port() for 0).
    quint16 listeningPort() const;
    bool isListening() const;

    void setProject(QSharedPointer<FMSettings> store, const QString& file);
    QSharedPointer<FMSettings> project() const { return settings; }

    void setCurrentDirectory(const QString& directory) { currentDir = directory; }
    QString currentDirectory() const { return currentDir; }
    QStringList registrations() const { return registered; }
    QString onAirKey() const { return airKey; }

    void startListen();
    void stopListen();

    void setOutputLimits(qint64 pauseBytes, qint64 dropBytes);
    // Output written for the client that it has not taken yet (beyond what
    // the system's socket buffers hold).
    qint64 pendingOutput() const;
    // True while the client's lines wait for it to read its replies.
    bool isReadingPaused() const { return readingPaused; }

    void execute(const QString& line);
    void notify(SetValue* event) override;

    static QString infoLine();
    // Home directory + "/.quorvin/", created, with an older ini taken over
    // on a first start: the folder the program window keeps its ini in.
    static QString settingsDirectory();

public slots:
    void onConnection();
    void readLine();
    void onDisconnect();
    void sendLine(const QString& line);
    void sendLine(const QString& key, const QVariant& value);
    void sendInfo();

signals:
    // Empty answer: done; otherwise the error text to report.
    QString newFile(const QString& path);
    // Empty answer: the load started and setProject() follows.
    QString loadFile(const QString& path);
    // True when the project was written.
    bool saveFile(const QString& path);
    void onCD(const QString& directory);
    // The port listened on (0: none), the client's address or the error
    // text, and the error number + 2 when listening failed (0: no error).
    // Ports below 1024 are ports too, so the error has its own argument.
    void onRemote(uint port, const QString& text, uint error);
    void onBand();
    void setOnAir(bool on);

private:
    quint16 activePort() const;
    void dropClient();
    void forgetInput();
    void onBytesWritten();
    void dropIfNotReading();
    void handleLine(const LineFramer::Line& line);
    bool hasReceiver(const QMetaMethod& signal) const { return isSignalConnected(signal); }

    // --- command interpreter
    QString filePath(const QString& name) const;
    bool needProject(const QString& command);
    void doSet(const QString& key, const QString& value);
    // A SET answered ok is only confirmed once the store's file holds it: a
    // write that fails is reported for every key set since the last one.
    void rememberUnstored(const QString& shownKey);
    void onProjectWritten(bool complete);
    void setBoard(const QString& key, const QString& value);
    void doGet(const QString& key);
    void listKeys(const QString& path);
    void doReg(const QString& key);
    void doUnregister(const QString& key);
    void doAdd(const QString& key, const QString& value);
    void doDel(const QString& key);
    void doHelp(const QString& key);
    void doNew(const QString& argument);
    void doLoad(const QString& argument);
    void doSave(const QString& argument);
    void doCd(const QString& argument);
    void doList(const QString& argument, const QString& value);

    QSharedPointer<FMSettings> settings;
    QMetaObject::Connection writtenConnection;
    // Named one by one up to a bound; beyond it only counted, so a client
    // setting keys in a loop costs no more per line.
    static constexpr int kUnstoredKeysShown = 64;
    QStringList unstoredKeys;
    int unstoredMore = 0;
    QTcpServer* listener = nullptr;
    QPointer<QTcpSocket> client;
    QStringList registered;
    quint16 controlPort = kDefaultPort;
    QString currentDir;
    QString airKey;
    ClientLines lines{kLineBytes};
    QTimer* nextPass = nullptr;
    qint64 pauseOutputBytes = kPauseOutputBytes;
    qint64 dropOutputBytes = kDropOutputBytes;
    RdsLogFormat rdsLogFormat;
    bool reading = false;
    bool readingPaused = false;
};
