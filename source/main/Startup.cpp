#include "main/Startup.h"

#include <QApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace {

// The toolkit's texts come from the system's Qt translations, so a German
// window does not offer "Cancel" beside "Speichern unter".
QTranslator* installQtGerman(QApplication& app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (!translator->load(QString::fromLatin1(Startup::kQtTranslation), folder)) {
        qDebug("man: no translation %s in [%s]", Startup::kQtTranslation, qPrintable(folder));
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace

QTranslator* Startup::installLanguage(const QSettings& ini, QApplication& app)
{
    const QString lang =
        ini.value(QStringLiteral("Board/lang"), QStringLiteral("en")).toString().toLower();
    if (lang != QLatin1String("en"))
        return installQtGerman(app);
    auto* translator = new QTranslator(&app);
    if (!translator->load(QString::fromLatin1(kTranslation)))
        qDebug("man: no translation %s", kTranslation);
    QCoreApplication::installTranslator(translator);
    return translator;
}

void Startup::setNumberLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::AnyScript, QLocale::AnyTerritory));
}
