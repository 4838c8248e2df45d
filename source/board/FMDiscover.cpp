#include "board/FMDiscover.h"

#include <QDebug>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

FMDiscover::FMDiscover(QObject* parent)
    : FMDiscover(DiscoverDatagram::kPort, DiscoverDatagram::kPort, parent)
{
}

FMDiscover::FMDiscover(quint16 bindPort, quint16 targetPort, QObject* parent)
    : QObject(parent), socket(new QUdpSocket(this)), timer(new QTimer(this)), port(targetPort)
{
    if (!socket->bind(QHostAddress::AnyIPv4, bindPort,
                      QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint))
        qDebug() << "Dis: bind failed:" << socket->errorString();
    timer->setInterval(kDiscoverIntervalMs);
    connect(socket, &QUdpSocket::readyRead, this, &FMDiscover::readPending);
    connect(timer, &QTimer::timeout, this, &FMDiscover::sendDiscover);
}

FMDiscover::~FMDiscover()
{
    qDebug("~Discover");
    socket->close();
}

QList<QHostAddress> FMDiscover::broadcastAddresses()
{
    QList<QNetworkAddressEntry> entries;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces)
        entries.append(interface.addressEntries());
    return broadcastAddresses(entries);
}

QList<QHostAddress> FMDiscover::broadcastAddresses(const QList<QNetworkAddressEntry>& entries)
{
    QList<QHostAddress> addresses;
    for (const QNetworkAddressEntry& entry : entries) {
        const QHostAddress broadcast = entry.broadcast();
        if (broadcast.isNull() || broadcast.isLoopback() || addresses.contains(broadcast))
            continue;
        addresses.append(broadcast);
    }
    return addresses;
}

QList<QHostAddress> FMDiscover::discoverTargets(const QList<QHostAddress>& broadcasts)
{
    QList<QHostAddress> targets;
    for (const QHostAddress& address : broadcasts) {
        if (!address.isLinkLocal())
            targets.append(address);
    }
    return targets;
}

void FMDiscover::setBroadcastAddresses(const QList<QHostAddress>& addresses)
{
    injected = addresses;
}

QList<QHostAddress> FMDiscover::targets() const
{
    return injected ? *injected : broadcastAddresses();
}

bool FMDiscover::isDiscovering() const
{
    return timer->isActive();
}

void FMDiscover::discover()
{
    if (timer->isActive())
        return;
    sendDiscover();
    timer->start();
}

void FMDiscover::halt()
{
    timer->stop();
}

void FMDiscover::sendDiscover()
{
    const QList<QHostAddress> addresses = discoverTargets(targets());
    for (const QHostAddress& address : addresses) {
        const QByteArray datagram = DiscoverDatagram::discover(address.toIPv4Address());
        if (socket->writeDatagram(datagram, address, port) != datagram.size())
            qDebug() << "Dis: cant broadcast to" << address << socket->errorString();
    }
}

void FMDiscover::sendConfig(const std::array<quint8, 6>& mac, quint32 ipv4, quint16 newPort)
{
    const QByteArray datagram = DiscoverDatagram::config(mac, ipv4, newPort);
    const QList<QHostAddress> addresses = targets();
    for (const QHostAddress& address : addresses) {
        if (socket->writeDatagram(datagram, address, port) != datagram.size())
            qDebug() << "Dis: cant config" << address << socket->errorString();
    }
}

void FMDiscover::readPending()
{
    constexpr int kTypeSize = 2;
    while (socket->hasPendingDatagrams()) {
        const QByteArray datagram = socket->receiveDatagram().data();
        if (datagram.size() < kTypeSize)
            continue;
        const quint16 type = qFromBigEndian<quint16>(datagram.constData());
        const QByteArray payload = datagram.mid(kTypeSize);
        if (type == DiscoverDatagram::kConfigAck) {
            qDebug("Dis: got network config ack size %i", int(payload.size()));
            emit configAcknowledged();
        } else if (type == DiscoverDatagram::kAnswer) {
            onAnswer(payload);
        }
    }
}

void FMDiscover::onAnswer(const QByteArray& payload)
{
    const std::optional<BoardIP> address = DiscoverDatagram::readAnswer(payload);
    if (!address) {
        qDebug("Dis: recv discover response with invalid size %i", int(payload.size()));
        return;
    }
    emit found(*address);
    qDebug() << "Dis: found" << *address;
}
