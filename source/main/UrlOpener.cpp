#include "main/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

UrlOpener::Handler& handler()
{
    static UrlOpener::Handler replaced;
    return replaced;
}

} // namespace

bool UrlOpener::open(const QUrl& url)
{
    return handler() ? handler()(url) : QDesktopServices::openUrl(url);
}

void UrlOpener::setHandler(const Handler& replacement)
{
    handler() = replacement;
}
