#include "SerialBoard.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace {

constexpr int kRegisterWriteSize = 7; // "W05C0A8"

} // namespace

SerialBoard::SerialBoard(QObject* parent) : QObject(parent) {}

SerialBoard::~SerialBoard()
{
    delete notifier;
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
}

bool SerialBoard::open()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return false;
    const char* name = ::ptsname(master);
    if (!name)
        return false;
    slavePath = QString::fromLocal8Bit(name);
    slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0)
        return false;
    // Raw both ways: no echo of the program's lines, no CR LF rewriting.
    termios mode{};
    ::tcgetattr(slave, &mode);
    ::cfmakeraw(&mode);
    ::tcsetattr(slave, TCSANOW, &mode);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SerialBoard::readMaster);
    return true;
}

void SerialBoard::loadExample()
{
    const quint16 example[kRegisters] = {0x5152, 0x0019, 0x0012, 0x3456, 0x789A,
                                         0xC0A8, 0x010A, 0x04D2, 0x0032, 0xFFCE};
    for (int reg = 0; reg < kRegisters; ++reg)
        registers[reg] = example[reg];
}

QList<QByteArray> SerialBoard::linesOf(char command) const
{
    QList<QByteArray> found;
    for (const QByteArray& line : lines) {
        if (line.startsWith(command))
            found.append(line);
    }
    return found;
}

void SerialBoard::readMaster()
{
    char buffer[256];
    ssize_t size = 0;
    while ((size = ::read(master, buffer, sizeof buffer)) > 0)
        pending.append(buffer, size);
    int end = 0;
    while ((end = int(pending.indexOf('\n'))) >= 0) {
        const QByteArray line = pending.left(end).trimmed();
        pending.remove(0, end + 1);
        lines.append(line);
        emit lineReceived(line);
        answer(line);
    }
}

void SerialBoard::answer(const QByteArray& line)
{
    if (replies == Mode::Silent || line.size() < 3 || answersLeft == 0)
        return;
    if (answersLeft > 0)
        --answersLeft;
    bool ok = false;
    const int reg = line.mid(1, 2).toInt(&ok, 16);
    if (!ok)
        return;
    if (line.startsWith('W') && line.size() >= kRegisterWriteSize) {
        registers[reg] = quint16(line.mid(3).toUInt(nullptr, 16));
        send(reply(reg));
        return;
    }
    if (!line.startsWith('R'))
        return;
    if (replies == Mode::Answering) {
        send(reply(reg));
        return;
    }
    if (burstSent)
        return;
    burstSent = true;
    QByteArray all;
    for (int r = 0; r < kRegisters; ++r)
        all += reply(r);
    send(all);
}

QByteArray SerialBoard::reply(int reg) const
{
    return QByteArray::number(registers.value(reg), 16).toUpper().rightJustified(4, '0') + "\r\n";
}

void SerialBoard::send(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(master, bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return;
        done += written;
    }
}
