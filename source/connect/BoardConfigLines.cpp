#include "connect/BoardConfigLines.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// The synthesizer's step: its 33.75 MHz reference over a 24-bit accumulator.
constexpr double kPllReferenceHz = 33750000.0;
constexpr double kPllSteps = 16777216.0;
constexpr quint32 kSignBit = 0x8000;
constexpr int kWordRange = 0x10000;
constexpr unsigned kHighestOctet = 255;
constexpr qsizetype kOctetDigits = 3;

QByteArray registerWrite(int reg, quint32 word)
{
    return QStringLiteral("W%1%2")
        .arg(reg, 2, 10, QLatin1Char('0'))
        .arg(word, 4, 16, QLatin1Char('0'))
        .toUpper()
        .toLatin1();
}

// The four octets of a dotted address, or an empty list when the text is
// not one: an octet above 255 would spill into its neighbour's byte.
QList<unsigned> octets(const QString& host)
{
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return {};
    QList<unsigned> numbers;
    for (const QString& part : parts) {
        // Plain digits only: the number reader would also take blanks and signs.
        if (part.isEmpty() || part.size() > kOctetDigits ||
            !std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c.isDigit(); }))
            return {};
        bool ok = false;
        const unsigned number = part.toUInt(&ok);
        if (!ok || number > kHighestOctet)
            return {};
        numbers.append(number);
    }
    return numbers;
}

} // namespace

QByteArray BoardConfigLines::read(int reg)
{
    return "R0" + QByteArray::number(reg);
}

bool BoardConfigLines::knownIdentity(const QByteArray& reply)
{
    return reply == "5152" || reply == "7152" || reply == "5634";
}

quint32 BoardConfigLines::word(const QByteArray& reply)
{
    bool ok = false;
    const quint32 value = reply.toUInt(&ok, 16);
    return ok ? value : 0;
}

QString BoardConfigLines::pllWord(int hz)
{
    const auto steps = qint64(std::round(double(hz) * kPllSteps / kPllReferenceHz));
    const auto bits = quint32(steps) & (kWordRange - 1);
    return QStringLiteral("%1").arg(bits, 4, 16, QLatin1Char('0')).toUpper();
}

int BoardConfigLines::pllOffset(quint32 word)
{
    qint64 steps = word;
    if (word >= kSignBit)
        steps -= kWordRange;
    return int(double(steps) * kPllReferenceHz / kPllSteps);
}

QString BoardConfigLines::hostText(const QByteArray& hexDigits)
{
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts.append(QString::number(hexDigits.mid(2 * i, 2).toUInt(nullptr, 16)));
    return parts.join(QLatin1Char('.'));
}

std::optional<quint32> BoardConfigLines::ipv4(const QString& host)
{
    const QList<unsigned> address = octets(host);
    if (address.isEmpty())
        return std::nullopt;
    return quint32(address[0] << 24 | address[1] << 16 | address[2] << 8 | address[3]);
}

QString BoardConfigLines::macText(const QByteArray& hexDigits)
{
    QString text = QString::fromLatin1(hexDigits);
    for (int position : {10, 8, 6, 4, 2}) {
        if (position < text.size())
            text.insert(position, QLatin1Char(':'));
    }
    return text;
}

QList<QByteArray> BoardConfigLines::writeSequence(const QString& host, int port, int pll1, int pll2)
{
    QList<QByteArray> lines;
    const QList<unsigned> address = octets(host);
    if (!address.isEmpty()) {
        lines.append(registerWrite(5, address[0] * 256 + address[1]));
        lines.append(registerWrite(6, address[2] * 256 + address[3]));
    }
    if (port != 0)
        lines.append(registerWrite(7, quint32(port)));
    lines.append("W08" + pllWord(pll1).toLatin1());
    lines.append("W09" + pllWord(pll2).toLatin1());
    lines.append("WFF0000");
    return lines;
}
