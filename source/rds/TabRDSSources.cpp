#include "rds/TabRDS.h"

#include "rds/RDSDecoder.h"
#include "settings/FMSettings.h"
#include "settings/SetValue.h"
#include "ui_TabRDS0.h"
#include "ui_TabRDS2.h"
#include "ui_TabRDSAF.h"
#include "ui_TabRDSRT.h"
#include "ui_TabRDSUI.h"

#include <QDebug>
#include <QSignalBlocker>

namespace {

constexpr int kChannelCount = 96; // four boards of 24 channels
constexpr int kFirstChannel = 1;

// The group is the key up to its first '/'; its number follows the first '.'.
int groupNumber(const QString& key)
{
    const QString group = key.section(QLatin1Char('/'), 0, 0);
    const int dot = group.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    bool ok = false;
    const int number = group.mid(dot + 1).toInt(&ok);
    return ok ? number : 0;
}

} // namespace

void TabRDS::setProgram(QSharedPointer<FMSettings> settings)
{
    // The previous project's store must not keep posting into this page.
    if (store)
        store->unsubscribeAll(this);
    store = std::move(settings);
    // What the previous project sent is no measure of this one.
    decoder->resetAll();
    resetTitles();
    if (!store)
        return;
    for (const char* group : {"tmc", "rds", "rdsin", "channel"})
        store->subscribe(QString::fromLatin1(group), this);
    // Of the boards' run-time values the page shows the RDS log records of
    // every channel, not the play positions and states published beside
    // them thousands of times a second; the records come in batches, every
    // one, in order.
    store->subscribe(QStringLiteral("chinfo.*/rdslog"), this);
    store->takeLatestStateValues(this);
    fillSources(0);
    fillChannelCombo(kChannelCount);
}

void TabRDS::showSource(int id, int tab)
{
    for (int row = 0; row < ui->sources->rowCount(); ++row) {
        QTableWidgetItem* item = ui->sources->item(row, 0);
        if (!item || item->data(Qt::UserRole).toInt() != id)
            continue;
        ui->sources->setCurrentItem(item);
        if (tab >= 0)
            ui->tabs->setCurrentIndex(tab);
    }
}

void TabRDS::notify(SetValue* event)
{
    const QString key = event->key.toLower();
    const int number = groupNumber(key);
    const QVariant& value = event->value;
    if (key.startsWith(QLatin1String("chinfo"))) {
        if (number != 0 && key.contains(QLatin1String("/rdslog")))
            appendRdsLog(number, value);
        return;
    }
    if (key.startsWith(QLatin1String("channel"))) {
        // A channel's "rds" key is the text its encoder sends; it names no
        // log file and changes nothing here.
        if (key.endsWith(QLatin1String("idrds")))
            setChannelText(number);
        // The AF send table previews the first channel on the source.
        if (key.endsWith(QLatin1String("/idrds")) || key.endsWith(QLatin1String("/freq")) ||
            key.endsWith(QLatin1String("/used")))
            updateAFs(false);
        return;
    }
    if (key.startsWith(QLatin1String("rdsin"))) {
        if (value.toString().isEmpty())
            remoteChannels.remove(number);
        else
            remoteChannels.insert(number);
        setChannelText(number);
        return;
    }
    if (key.startsWith(QLatin1String("rds"))) {
        if (key.endsWith(QLatin1String("/fused")) || key.endsWith(QLatin1String("/files")))
            showChannelsOf(number);
        if ((key.endsWith(QLatin1String("/af")) && !key.contains(QLatin1String("eon"))) ||
            key.endsWith(QLatin1String("/pi"))) {
            updateAFs(false);
        } else if (key.endsWith(QLatin1String("/used"))) {
            fillSources(value.toBool() ? number : (sourceId != number ? sourceId : 0));
        } else if (key.contains(QLatin1Char('/'))) {
            QTableWidgetItem* current = ui->sources->currentItem();
            if (current && (number == 0 || number == current->data(Qt::UserRole).toInt()))
                itemChanged(current);
        } else {
            fillSources(sourceId);
        }
        return;
    }
    if (key.startsWith(QLatin1String("tmc")))
        updateTMCCombo(number, key, value);
}

void TabRDS::updateTMCCombo(int tmcId, const QString& key, const QVariant& value)
{
    const int entry = ui0->tmcSI->findData(tmcId);
    loading = true;
    if (entry < 0) {
        if (store)
            fillTMCCombo(int(store->rdsSource(sourceId).tmcsi));
    } else if (key.endsWith(QLatin1String("/name"))) {
        ui0->tmcSI->setItemText(entry, value.toString());
    } else if (key.endsWith(QLatin1String("/used")) && !value.toBool()) {
        // Removing the shown entry would select a neighbour, which the next
        // edit of the source would then store.
        if (entry == ui0->tmcSI->currentIndex())
            ui0->tmcSI->setCurrentIndex(-1);
        ui0->tmcSI->removeItem(entry);
    }
    loading = false;
}

void TabRDS::fillSources(int select)
{
    QTableWidget* table = ui->sources;
    table->setRowCount(0);
    if (store) {
        const QMap<int, RDSSource> sources = store->rdsSources();
        for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
            if (it.key() < 1 || !it->used)
                continue;
            const int row = table->rowCount();
            table->setRowCount(row + 1);
            setSourceRow(*it, it.key(), row);
            if (row == 0 || (select != 0 && it.key() == select)) {
                sourceId = it.key();
                table->setCurrentCell(row, 0);
            }
        }
        if (select == 0)
            table->setCurrentCell(table->rowCount() - 1, 0);
    }
    updateButtons();
}

void TabRDS::setSourceRow(const RDSSource& source, int id, int row)
{
    QTableWidget* table = ui->sources;
    const QSignalBlocker blocker(table);
    QTableWidgetItem* item = table->item(row, 0);
    if (!item) {
        item = new QTableWidgetItem(source.name);
        table->setItem(row, 0, item);
    }
    item->setData(Qt::UserRole, id);
    item->setToolTip(tr("Name der %1. RDS Quelle").arg(id));
}

void TabRDS::updateButtons()
{
    const bool any = ui->sources->rowCount() >= 1;
    const QList<QWidget*> sourceWidgets = {ui0->gBasic,  ui0->group00, ui0->group01, ui0->group03,
                                           ui0->group04, ui0->group08, ui0->group10, ui0->group14,
                                           ui0->group15, ui0->TAburst, ui0->gError,  uiRT->gRT,
                                           uiRT->eRT,    uiRT->g3ert,  uiRT->g3rtp,  uiRT->gRTplus,
                                           uiAF->AFused, ui->gLog,     ui->tabODA};
    for (QWidget* widget : sourceWidgets)
        widget->setEnabled(any);
    ui->gCount->setEnabled(true);
    uiRT->eRT->setVisible(true);
    uiRT->g3ert->setVisible(true);
    ui->Bdel->setEnabled(true);
}

void TabRDS::fillChannelCombo(int count)
{
    qDebug("rds: statistics %d", count);
    const QString shown = ui->stat->currentText();
    ui->stat->clear();
    ui->stat->addItem(tr("<Kanal wählen>"));
    for (int channel = kFirstChannel; channel <= count; ++channel)
        setChannelText(channel);
    const int entry = ui->stat->findText(shown);
    if (entry >= 0)
        ui->stat->setCurrentIndex(entry);
}

void TabRDS::setChannelText(int channel)
{
    if (channel < kFirstChannel || channel > kChannelCount)
        return;
    while (ui->stat->count() <= channel)
        ui->stat->addItem(QString());
    const int rdsId = store ? store->channel(channel).idrds : 0;
    QString extra;
    if (remoteChannels.contains(channel))
        extra = tr("Fernzugriff");
    else if (rdsId != 0 && store->rdsSource(rdsId).playsLogFiles())
        extra = tr("aus Log Datei");
    QString text = tr("Kanal %1").arg(channel);
    if (!extra.isEmpty())
        text += QStringLiteral(" (") + extra + QLatin1Char(')');
    else if (rdsId != 0)
        text += tr(" (RDS-Quelle %1)").arg(rdsId);
    ui->stat->setItemText(channel, text);
}

void TabRDS::showChannelsOf(int rdsId)
{
    if (!store)
        return;
    for (int channel = kFirstChannel; channel < ui->stat->count(); ++channel) {
        if (store->channel(channel).idrds == rdsId)
            setChannelText(channel);
    }
}

void TabRDS::fillTMCCombo(int tmcId)
{
    QComboBox* combo = ui0->tmcSI;
    combo->clear();
    combo->addItem(tr("<keine>"), 0);
    if (store) {
        const QMap<int, QString> names = store->tmcSourceNames();
        for (auto it = names.cbegin(); it != names.cend(); ++it)
            combo->addItem(it.value(), it.key());
    }
    combo->setCurrentIndex(combo->findData(tmcId));
}

void TabRDS::addSource()
{
    if (store)
        sourceId = store->newRDS();
}

void TabRDS::delSource()
{
    if (!store)
        return;
    const QList<QTableWidgetItem*> selected = ui->sources->selectedItems();
    for (QTableWidgetItem* item : selected) {
        if (item->column() == 0)
            store->removeRDS(item->data(Qt::UserRole).toInt());
    }
    sourceId = 0;
}

void TabRDS::nameChanged(QTableWidgetItem* item)
{
    if (item && store)
        store->setRDSName(item->data(Qt::UserRole).toInt(), item->text());
}
