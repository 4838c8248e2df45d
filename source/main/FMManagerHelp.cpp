// Help menu of the window: version text, release notes, about box, manual
// and the update notice. The release notes viewer, the about form and the
// update notice come later; until then each shows a plain dialog under its
// title, asked through the one seam for modal questions.
#include "main/FMManager.h"

#include "gui/ModalQuestions.h"
#include "remote/ProductInfo.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A dialog with a close button as its only decoration, a text and Ok.
void showPlainDialog(QWidget* parent, const QString& name, const QString& title,
                     const QString& text)
{
    QDialog dialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setObjectName(name);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(text, &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.adjustSize();
    ModalQuestions::exec(&dialog);
}

} // namespace

QString FMManager::versionText()
{
    return QString::fromLatin1(ProductInfo::kProduct) + QString::fromLatin1(ProductInfo::kVersion);
}

void FMManager::tryUpdate()
{
    showPlainDialog(this, QStringLiteral("Updater"), versionText(),
                    tr("Bitte besuchen Sie die Quorvin Homepage in Ihrem Browser. Dort finden "
                       "Sie die neuste Version der Generator Software."));
}

void FMManager::showReleaseNotes()
{
    showPlainDialog(this, QStringLiteral("ReleaseNotes"), tr("Neuigkeiten"),
                    tr("Änderungen in Version ") +
                        QString::fromLatin1(ProductInfo::kVersion).mid(1));
}

void FMManager::about()
{
    showPlainDialog(this, QStringLiteral("About"), versionText(), versionText());
}

void FMManager::showDocu()
{
    const QString lang =
        ini->value(QStringLiteral("Board/lang"), QStringLiteral("en")).toString().toLower();
    QDesktopServices::openUrl(QUrl::fromLocalFile(
        QFileInfo(QStringLiteral("Quorvin_%1.pdf").arg(lang)).absoluteFilePath()));
}
