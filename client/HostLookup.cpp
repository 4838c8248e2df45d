#include "client/HostLookup.h"

#include <QHostInfo>

namespace {

HostLookup::Resolver& replacedResolver()
{
    static HostLookup::Resolver resolver;
    return resolver;
}

} // namespace

void HostLookup::setResolver(const Resolver& resolver)
{
    replacedResolver() = resolver;
}

void HostLookup::lookUp(const QString& host, QObject* context, const Answer& answer)
{
    if (replacedResolver())
        replacedResolver()(host, context, answer);
    else
        QHostInfo::lookupHost(host, context, answer);
}
