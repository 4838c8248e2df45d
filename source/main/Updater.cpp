#include "main/Updater.h"

#include "remote/ProductInfo.h"

#include <QAuthenticator>
#include <QDebug>
#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

namespace {

// The reserved .invalid domain never resolves: until the service has a name
// of its own, no query reaches anybody else's server.
constexpr char kServiceSuffix[] = ".update.quorvin.invalid";
// What the service answers when a newer release exists.
constexpr char kNewerRelease[] = "2.0.0.0";

Updater::Lookup& replacedLookup()
{
    static Updater::Lookup lookup;
    return lookup;
}

// Set by the tests that start the program itself: the look-up then fails
// here, so that running the tests sends no query to any name server.
constexpr char kLocalLookupSwitch[] = "QUORVIN_LOCAL_LOOKUP";

void systemLookup(const QString& name, Updater* checker)
{
    QHostInfo::lookupHost(name, checker, &Updater::showHost);
}

void localLookup(const QString& name, Updater* checker)
{
    qDebug().noquote() << "upd: look-up of" << name
                       << "not sent (" + QString::fromLatin1(kLocalLookupSwitch) + ")";
    QHostInfo info;
    info.setHostName(name);
    info.setError(QHostInfo::HostNotFound);
    info.setErrorString(QStringLiteral("Host not found"));
    // Answered from the event loop, as a real look-up would be.
    QMetaObject::invokeMethod(
        checker, [checker, info] { checker->showHost(info); }, Qt::QueuedConnection);
}

} // namespace

Updater::Updater(QObject* parent) : QObject(parent), network(new QNetworkAccessManager(this))
{
    connect(network, &QNetworkAccessManager::finished, this, &Updater::received);
    connect(network, &QNetworkAccessManager::authenticationRequired, this, &Updater::replyAuth);
    connect(network, &QNetworkAccessManager::proxyAuthenticationRequired, this,
            &Updater::proxyAuth);
}

QString Updater::lookupName()
{
    return QString::fromLatin1(ProductInfo::kVersion).replace(QLatin1Char('.'), QLatin1Char('-')) +
           QLatin1String(kServiceSuffix);
}

void Updater::setLookup(const Lookup& lookup)
{
    replacedLookup() = lookup;
}

void Updater::check()
{
    lookUp(lookupName());
}

void Updater::lookUp(const QString& name)
{
    if (replacedLookup())
        replacedLookup()(name, this);
    else if (qEnvironmentVariableIsSet(kLocalLookupSwitch))
        localLookup(name, this);
    else
        systemLookup(name, this);
}

void Updater::showHost(const QHostInfo& info)
{
    QStringList addresses;
    for (const QHostAddress& address : info.addresses())
        addresses.append(address.toString());
    qDebug().noquote() << "upd:" << addresses.join(QLatin1Char(' ')) << info.hostName()
                       << info.errorString();
    if (!info.addresses().isEmpty() &&
        info.addresses().constFirst().toString() == QLatin1String(kNewerRelease))
        emit hasUpdate();
}

void Updater::received(QNetworkReply* reply)
{
    qDebug("upd: reply");
    reply->deleteLater();
}

void Updater::replyAuth(QNetworkReply*, QAuthenticator*)
{
    qDebug("upd: auth required");
}

void Updater::proxyAuth(const QNetworkProxy&, QAuthenticator*)
{
    qDebug("upd: proxy auth required");
}
