// Quorvin: the generator program. Settles the application ini, the language
// and the number locale, then runs the program window.
#include "main/FMManager.h"
#include "main/IniPath.h"
#include "main/ShutdownSignals.h"
#include "main/Startup.h"
#include "settings/CheckedIni.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include <cstdio>

namespace {

// A wrong "-i" is a mistake of whoever started the program, who reads it
// on the terminal or in the service log; no window is opened for it.
constexpr int kUnusableIni = 2;

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString path =
        iniPath(app.arguments(), QDir::homePath(), qEnvironmentVariable("APPDATA"));
    const QString refusal = iniPathRefusal(path);
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "Quorvin: cannot use \"%s\" as the application ini: %s\n",
                     qUtf8Printable(path), qUtf8Printable(refusal));
        return kUnusableIni;
    }
    ShutdownSignals shutdown;
    auto* ini = new CheckedIni(path);
    Startup::installLanguage(*ini, app);
    Startup::setNumberLocale();

    QPointer<FMManager> window = new FMManager(ini);
    shutdown.setWindow(window);
    ini->setFailureHandler([window, ini](const QString&) {
        if (window)
            window->showUnwritten(ini->fileName());
    });
    window->show();
    app.exec();
    // The window deletes itself once closed; whatever is left goes now, and
    // the ini is written before the process ends.
    delete window;
    delete ini;
    return 0;
}
