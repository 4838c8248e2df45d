#pragma once

#include <functional>

class QUrl;

// Hands web pages and documents to the desktop (browser, PDF viewer). A
// test replaces the handler to see what would be opened without starting
// anything.
class UrlOpener
{
public:
    using Handler = std::function<bool(const QUrl&)>;

    // True when a handler took the location.
    static bool open(const QUrl& url);
    // An empty handler returns to the desktop's own.
    static void setHandler(const Handler& handler);
};
