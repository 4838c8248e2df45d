#pragma once

#include "board/BoardIP.h"
#include "board/DiscoverDatagram.h"

#include <QHostAddress>
#include <QList>
#include <QNetworkAddressEntry>
#include <QObject>

#include <array>
#include <optional>

class QTimer;
class QUdpSocket;

// Finds boards on the local networks by broadcast and sets their network
// address. Lives in the thread that creates it.
class FMDiscover : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDiscoverIntervalMs = 2468;

    explicit FMDiscover(QObject* parent = nullptr);
    // Tests bind to an ephemeral port and aim at a port of their own.
    FMDiscover(quint16 bindPort, quint16 targetPort, QObject* parent = nullptr);
    ~FMDiscover() override;

    // The broadcast address of every interface entry, without null,
    // loopback and repeated ones, in interface order.
    static QList<QHostAddress> broadcastAddresses();
    static QList<QHostAddress> broadcastAddresses(const QList<QNetworkAddressEntry>& entries);
    // The addresses a discover pass goes to: the link-local ones left out.
    static QList<QHostAddress> discoverTargets(const QList<QHostAddress>& broadcasts);

    // Replaces the host's broadcast addresses, so tests stay on loopback.
    void setBroadcastAddresses(const QList<QHostAddress>& addresses);
    bool isDiscovering() const;

public slots:
    void discover();
    void halt();
    void sendDiscover();
    void sendConfig(const std::array<quint8, 6>& mac, quint32 ipv4, quint16 port);

signals:
    void found(const BoardIP& address);
    void configAcknowledged();

private slots:
    void readPending();

private:
    QList<QHostAddress> targets() const;
    void onAnswer(const QByteArray& payload);

    QUdpSocket* socket;
    QTimer* timer;
    quint16 port;
    std::optional<QList<QHostAddress>> injected;
};
