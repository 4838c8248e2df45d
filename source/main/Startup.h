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

    // For the stored language "en" (any case) installs the English
    // translation and returns it (owned by app); otherwise the German base
    // texts stay and nothing is installed.
    static QTranslator* installLanguage(const QSettings& ini, QApplication& app);
    // Numbers show and parse with "." whatever the language of the texts.
    static void setNumberLocale();
};
