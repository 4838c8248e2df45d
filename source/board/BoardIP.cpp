#include "board/BoardIP.h"

#include <QHostAddress>

#include <limits>

QString BoardIP::toString() const
{
    return QStringLiteral("%1 : %2").arg(QHostAddress(ipv4).toString()).arg(port);
}

QString BoardIP::macText() const
{
    return QString::asprintf("%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3],
                             mac[4], mac[5]);
}

namespace {

constexpr quint64 kMacMask = (quint64(1) << 48) - 1;

// Empty pieces, signs, blanks and numbers beyond 64 bits all read as 0.
quint64 unsignedDecimal(QStringView piece)
{
    for (const QChar c : piece) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const quint64 number = piece.toULongLong(&ok, 10);
    return ok ? number : 0;
}

template <typename Field> Field fieldOf(quint64 number)
{
    return number > std::numeric_limits<Field>::max() ? 0 : Field(number);
}

} // namespace

QString BoardIP::toText() const
{
    return QStringLiteral("%1 %2 %3").arg(boxNumber()).arg(ipv4).arg(port);
}

BoardIP BoardIP::fromText(const QString& text, BoardIP start)
{
    const QList<QStringView> pieces = QStringView(text).split(QLatin1Char(' '));
    if (pieces.size() > 0) {
        const quint64 mac = unsignedDecimal(pieces[0]) & kMacMask;
        for (int i = 0; i < 6; ++i)
            start.mac[i] = quint8(mac >> (8 * (5 - i)));
    }
    if (pieces.size() > 1)
        start.ipv4 = fieldOf<quint32>(unsignedDecimal(pieces[1]));
    if (pieces.size() > 2)
        start.port = fieldOf<quint16>(unsignedDecimal(pieces[2]));
    return start;
}

QDebug operator<<(QDebug debug, const BoardIP& address)
{
    QDebugStateSaver saver(debug);
    debug.noquote().nospace() << address.macText() << ' ' << QHostAddress(address.ipv4).toString()
                              << ' ' << address.port;
    return debug;
}
