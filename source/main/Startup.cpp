#include "main/Startup.h"

#include <QApplication>
#include <QDebug>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

QTranslator* Startup::installLanguage(const QSettings& ini, QApplication& app)
{
    const QString lang =
        ini.value(QStringLiteral("Board/lang"), QStringLiteral("en")).toString().toLower();
    if (lang != QLatin1String("en"))
        return nullptr;
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
