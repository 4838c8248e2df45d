#pragma once

#include "board/BoardIP.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QMap>

#include <functional>
#include <memory>
#include <optional>

class FMDiscover;
class QSerialPort;
class QTimer;

namespace Ui {
class BoardConfigUI;
}

// Sets a board's network address, port and synthesizer offsets, over a
// serial line (read first, then written back) or by broadcast to a board
// chosen by its MAC address. Saving leaves the dialog open; all its effects
// go to the board.
class FMCalib : public QDialog
{
    Q_OBJECT
public:
    // Milliseconds of a clock that never jumps; tests hand in their own.
    using Clock = std::function<qint64()>;

    // Lines written to the board go out at least this far apart.
    static constexpr int kPaceMs = 10;
    // A read that stays unanswered this long ends the reading.
    static constexpr qint64 kReplyTimeoutMs = 3000;
    static constexpr int kReplyPollMs = 250;
    // Read steps besides 0..9, the register whose reply is awaited.
    static constexpr int kReadDone = 10;
    static constexpr int kRefused = 99;

    // Tests hand in a discoverer aimed at the board emulator; the dialog
    // takes it over.
    explicit FMCalib(QWidget* parent = nullptr, FMDiscover* discover = nullptr);
    ~FMCalib() override;

    // Replaces the clock of every dialog; an empty one restores the real.
    static void setClock(Clock clock);
    // A serial port as the port choice shows it: the name, and the
    // system's description in brackets when it has one.
    static QString portText(const QString& name, const QString& description);

public slots:
    // Saves; never closes the dialog.
    void accept() override;
    void loadConfig();
    void loadIPPort();
    void found(const BoardIP& board);
    void readData();
    void handleError();
    void sendDataLinesWait();

private:
    void fillPorts();
    bool openPort(const QString& name);
    void closePort();
    void sendDataLine(const QByteArray& line);
    void writeLine(const QByteArray& line);
    void useReply(const QByteArray& line);
    void readNext();
    void setEditable(bool pll, bool address);
    void checkReply();
    void saveByBroadcast();
    void saveBySerialLine();
    bool broadcastChosen() const;
    std::optional<quint32> hostAddress();

    std::unique_ptr<Ui::BoardConfigUI> ui;
    QSerialPort* serial = nullptr;
    FMDiscover* discoverer;
    // MAC text -> "IPV4:PORT" of the boards found by broadcast.
    QMap<QString, QString> boards;
    int readStep = 0;
    QList<QByteArray> sendQueue;
    QTimer* pacer;
    QTimer* replyWatch;
    qint64 askedAt = 0;
    QElapsedTimer lastSent;
    QByteArray macDigits;
    QByteArray addressDigits;
};
