#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A board on the far end of a pseudo-terminal, for the configuration
// dialog's serial line, written from the line protocol alone: "Rnn" is
// answered with register nn as four hex digits, "Wnn" + word sets the
// register and is answered with its new content. Every line that arrives is
// recorded. It can stay silent, or answer the first R00 with all ten
// register replies at once (and then ignore reads), as a board does whose
// replies were held up on the way.
class SerialBoard : public QObject
{
    Q_OBJECT
public:
    enum class Mode
    {
        Answering,
        Silent,
        Burst,
    };

    static constexpr int kRegisters = 10;

    explicit SerialBoard(QObject* parent = nullptr);
    ~SerialBoard() override;

    // Opens the pseudo-terminal; false when the system has none to give.
    bool open();
    // The port name the program opens: the terminal's device path.
    QString path() const { return slavePath; }

    // Registers 0..9 (and FF, which only writes reach).
    void setRegister(int reg, quint16 value) { registers[reg] = value; }
    quint16 registerValue(int reg) const { return registers.value(reg); }
    // The board of the dialog's documentation: identity 5152, firmware 25,
    // MAC 00:12:34:56:78:9A, 192.168.1.10, port 1234, +100 Hz and -100 Hz.
    void loadExample();
    void setMode(Mode mode) { replies = mode; }
    // Answers only so many lines, then falls silent, as a board whose cable
    // comes loose; a negative count answers all.
    void setAnswerLimit(int count) { answersLeft = count; }

    // Lines as they arrived, without their line end.
    QList<QByteArray> received() const { return lines; }
    QList<QByteArray> writes() const { return linesOf('W'); }
    QList<QByteArray> reads() const { return linesOf('R'); }
    void clearReceived() { lines.clear(); }

signals:
    void lineReceived(const QByteArray& line);

private slots:
    void readMaster();

private:
    QList<QByteArray> linesOf(char command) const;
    void answer(const QByteArray& line);
    QByteArray reply(int reg) const;
    void send(const QByteArray& bytes);

    int master = -1;
    // Held open so the master never sees a hang-up while the program has
    // the port closed.
    int slave = -1;
    QString slavePath;
    QSocketNotifier* notifier = nullptr;
    QByteArray pending;
    QMap<int, quint16> registers;
    QList<QByteArray> lines;
    Mode replies = Mode::Answering;
    bool burstSent = false;
    int answersLeft = -1;
};
