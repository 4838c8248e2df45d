// Language of the window: the check marks of the two language actions, the
// question on the first start, the switch that takes effect after a
// restart, and the release notes once after an update.
#include "main/FMManager.h"

#include "ui_FMManager.h"
#include "ui_LanguageUI.h"

#include "gui/ModalQuestions.h"
#include "gui/UiGerman.h"

#include <QDialog>
#include <QSettings>

namespace {

const QString kLangKey = QStringLiteral("Board/lang");
const QString kSoftKey = QStringLiteral("Board/soft");
const QString kEnglish = QStringLiteral("en");
const QString kGerman = QStringLiteral("de");

} // namespace

QString FMManager::language() const
{
    return ini->value(kLangKey, kEnglish).toString().toLower();
}

void FMManager::initLang()
{
    const QString lang = language();
    uiGerman = lang != kEnglish;
    ui->actEN->setChecked(lang == kEnglish);
    ui->actDE->setChecked(lang == kGerman);
}

// Without a stored language this is the first start: ask for one. After
// that, a new release shows its notes once.
void FMManager::askLang()
{
    const QString lang = ini->value(kLangKey).toString().toLower();
    if (!lang.isEmpty()) {
        if (ini->value(kSoftKey).toString() != versionText()) {
            ini->setValue(kSoftKey, versionText());
            showReleaseNotes();
        }
        return;
    }
    QDialog dialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Ui::LanguageUI form;
    form.setupUi(&dialog);
    connect(form.Beng, &QPushButton::clicked, this, &FMManager::langEN);
    connect(form.Bger, &QPushButton::clicked, this, &FMManager::langDE);
    ModalQuestions::exec(&dialog);
}

// The translation is installed at start-up only, so another language needs
// a restart; closing is the user's choice.
void FMManager::setLang(const QString& lang)
{
    if (language() == lang) {
        ini->setValue(kLangKey, lang);
        return;
    }
    const auto answer =
        ModalQuestions::ask(this, QMessageBox::Information, tr("Language change"),
                            tr("Close and restart the application\nfor language change."),
                            QMessageBox::Close | QMessageBox::Cancel);
    if (answer != QMessageBox::Close)
        return;
    ini->setValue(kLangKey, lang);
    close();
}

void FMManager::langDE()
{
    setLang(kGerman);
    initLang();
}

void FMManager::langEN()
{
    setLang(kEnglish);
    initLang();
}
