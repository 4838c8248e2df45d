#pragma once

class QApplication;
class QSettings;
class QTranslator;

// The start-up steps between the ini and the window: the language of the
// texts and the locale of the numbers.
class Startup
{
public:
    static constexpr char kTranslation[] = ":/lang/quorvin_en.qm";

    static constexpr char kQtTranslation[] = "qtbase_de";

    // For the stored language "en" (any case) installs the English
    // translation; any other language keeps the German texts of the program
    // and installs Qt's German translation for the toolkit's own texts
    // (standard buttons, file dialogs). Returns the translator installed
    // (owned by app), or none when Qt's translation is missing.
    static QTranslator* installLanguage(const QSettings& ini, QApplication& app);
    // Numbers show and parse with "." whatever the language of the texts.
    static void setNumberLocale();
};
