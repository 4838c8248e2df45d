#include "rds/TabRDS.h"

#include "gui/ModalQuestions.h"
#include "rds/RDSLogFiles.h"
#include "ui_TabRDSUI.h"

#include <QFile>

namespace {
constexpr qint64 kPreviewBytes = 7776;
constexpr qint64 kRestOfLineBytes = 666; // the line the preview stops in, up to this much
} // namespace

void TabRDS::addLog()
{
    if (!store)
        return;
    const QStringList chosen =
        ModalQuestions::openFileNames(this, tr("RDS-Log Dateien hinzufügen"), lastLogFile,
                                      tr("Log Dateien (*.txt *.log);;Alle Dateien (*)"));
    if (chosen.isEmpty())
        return;
    lastLogFile = chosen.constFirst();
    logFiles->addFiles(chosen);
}

void TabRDS::delLog()
{
    if (store)
        logFiles->removeFiles(ui->Log->selectionModel()->selectedIndexes());
}

void TabRDS::showLog()
{
    const QString path = logFiles->fileName(ui->Log->currentIndex().row());
    ui->LogView->clear();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QByteArray text = file.read(kPreviewBytes);
    text += file.readLine(kRestOfLineBytes + 1);
    if (!file.atEnd())
        text += "...";
    ui->LogView->setPlainText(QString::fromUtf8(text));
}
