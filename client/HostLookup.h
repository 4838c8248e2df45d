#pragma once

#include <QString>

#include <functional>

class QHostInfo;
class QObject;

// Finds the addresses of the host name typed into the connection dialog
// before Kandorel connects. Tests replace the resolver, so that no query
// leaves the machine.
class HostLookup
{
public:
    using Answer = std::function<void(const QHostInfo& info)>;
    // Must call answer later, from context's thread's event loop.
    using Resolver =
        std::function<void(const QString& host, QObject* context, const Answer& answer)>;

    // An empty resolver returns to the system's.
    static void setResolver(const Resolver& resolver);
    static void lookUp(const QString& host, QObject* context, const Answer& answer);
};
