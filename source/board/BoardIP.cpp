#include "board/BoardIP.h"

#include <QHostAddress>

QString BoardIP::toString() const
{
    return QStringLiteral("%1 : %2").arg(QHostAddress(ipv4).toString()).arg(port);
}

QString BoardIP::macText() const
{
    return QString::asprintf("%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3],
                             mac[4], mac[5]);
}

QString BoardIP::toText() const
{
    return {};
}

BoardIP BoardIP::fromText(const QString& text, BoardIP start)
{
    Q_UNUSED(text)
    return start;
}

QDebug operator<<(QDebug debug, const BoardIP& address)
{
    QDebugStateSaver saver(debug);
    debug.noquote().nospace() << address.macText() << ' ' << QHostAddress(address.ipv4).toString()
                              << ' ' << address.port;
    return debug;
}
