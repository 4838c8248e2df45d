// Help menu of the window: version text, release notes, About box, manual
// and the update notice. Every dialog and warning goes through the one seam
// for modal questions; the manual and the product page through UrlOpener.
#include "main/FMManager.h"

#include "AboutForm.h"
#include "ui_UpdaterUI.h"

#include "gui/ModalQuestions.h"
#include "main/ProgramFolder.h"
#include "main/ReleaseNotes.h"
#include "main/UrlOpener.h"
#include "remote/ProductInfo.h"

#include "BuildRelease.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr Qt::WindowFlags kCloseButtonOnly =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Sets up form on a dialog under the version text and runs it modally.
template <typename Form> int showForm(QWidget* parent, const QString& name)
{
    QDialog dialog(parent, kCloseButtonOnly);
    Form form;
    form.setupUi(&dialog);
    dialog.setObjectName(name);
    dialog.setWindowTitle(FMManager::versionText());
    dialog.adjustSize();
    return ModalQuestions::exec(&dialog);
}

} // namespace

// The servers' greetings and the update lookup keep the plain release; only
// the window names the exact build.
QString FMManager::versionText()
{
    return QString::fromLatin1(ProductInfo::kProduct) + QString::fromLatin1(kBuildRelease);
}

// Without a browser the button would do nothing: the address is given, so
// it can be opened by hand.
void FMManager::tryUpdate()
{
    if (showForm<Ui::UpdaterUI>(this, QStringLiteral("Updater")) != QDialog::Accepted)
        return;
    const QString page = QString::fromLatin1(ProductInfo::kProductPage);
    if (UrlOpener::open(QUrl(page)))
        return;
    ModalQuestions::ask(this, QMessageBox::Warning, tr("Updates"),
                        tr("Kein Browser konnte die Produktseite öffnen:\n%1").arg(page),
                        QMessageBox::Ok);
}

void FMManager::showReleaseNotes()
{
    ReleaseNotes notes(this, language());
    ModalQuestions::exec(&notes);
}

void FMManager::about()
{
    showForm<Ui::AboutUI>(this, QStringLiteral("About"));
}

// The manual is installed beside the program, not in whatever folder the
// program was started from; a menu entry that silently does nothing looks
// broken, so a missing file or viewer is said.
void FMManager::showDocu()
{
    const QString name = QStringLiteral("Quorvin_%1.pdf").arg(language());
    const QString file = ProgramFolder::filePath(name);
    if (QFileInfo::exists(file) && UrlOpener::open(QUrl::fromLocalFile(file)))
        return;
    ModalQuestions::ask(this, QMessageBox::Warning, tr("Dokumentation"),
                        tr("Die Dokumentation %1 konnte nicht geöffnet werden.")
                            .arg(QDir::toNativeSeparators(file)),
                        QMessageBox::Ok);
}
