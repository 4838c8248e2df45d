#pragma once

#include <QObject>

#include <functional>

class QAuthenticator;
class QHostInfo;
class QNetworkAccessManager;
class QNetworkProxy;
class QNetworkReply;

// Asks the maker's update service, once per start, whether a newer release
// exists. The question is a host-name look-up of a name that holds the
// release; the service answers it with one agreed address when there is a
// newer one. Everything else ends the check silently.
class Updater : public QObject
{
    Q_OBJECT
public:
    // Starts the look-up of name; the result must reach checker->showHost in
    // the GUI thread. Tests replace it so no query leaves the machine.
    using Lookup = std::function<void(const QString& name, Updater* checker)>;

    explicit Updater(QObject* parent = nullptr);

    // "v4-66.update.quorvin.invalid" for the release v4.66
    static QString lookupName();
    // An empty lookup returns to the system's resolver.
    static void setLookup(const Lookup& lookup);

    void check();
    // The look-up check() makes, for any name: the replaced lookup, else a
    // local failure when QUORVIN_LOCAL_LOOKUP is set, else the system's
    // resolver.
    void lookUp(const QString& name);

public slots:
    void showHost(const QHostInfo& info);

signals:
    void hasUpdate();

private slots:
    void received(QNetworkReply* reply);
    void replyAuth(QNetworkReply* reply, QAuthenticator* auth);
    void proxyAuth(const QNetworkProxy& proxy, QAuthenticator* auth);

private:
    QNetworkAccessManager* network;
};
