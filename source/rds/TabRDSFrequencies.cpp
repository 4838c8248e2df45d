#include "rds/TabRDS.h"

#include "board/RdsEncoder.h"
#include "rds/AFTable.h"
#include "rds/AFTableAuto.h"
#include "rds/AFTableSend.h"
#include "rds/AFValid.h"
#include "settings/ChannelConfig.h"
#include "settings/FMSettings.h"
#include "settings/RDSSource.h"
#include "ui_TabRDSAF.h"

#include <QDebug>
#include <QTimer>
#include <QToolTip>

#include <cmath>
#include <utility>

namespace {

// "Regional" is column 0 of the manual table and column 1 of the automatic one.
constexpr int kRegionalColumn = 0;
constexpr int kFrequencyColumn = 1;
constexpr int kAutoRegionalColumn = 1;
constexpr quint8 kMethodB = 8; // bit 3 of the AF switch bits
// Method A carries at most 25 frequencies in one list (IEC 62106, AF
// method A); beyond that only method B sends them all.
constexpr int kMethodALimit = 25;
constexpr int kHintAbove = 10;   // pixels between the hint and the A button
constexpr int kLastChannel = 96; // four boards of 24 channels

bool isHead(const AFEntry& entry)
{
    return entry.marker == AFEntry::kNegativeMarker;
}

} // namespace

// The send table previews the lists as the first channel on the source
// sends them; a channel's lists start with its own frequency.
int TabRDS::firstCarrierFrequency() const
{
    for (int channel = 1; store && channel <= kLastChannel; ++channel) {
        const ChannelConfig config = store->channel(channel);
        if (config.used && config.idrds == sourceId)
            return int(std::lround(config.freq * 10.0));
    }
    return 0;
}

int TabRDS::showAFTables(RDSSource& source)
{
    const int row = uiAF->AFatab->currentIndex().row();
    const int tuned =
        row >= 0 && row < source.af.size() ? source.af.at(row).freq : firstCarrierFrequency();
    const int count = RdsEncoder::buildAfTables(source, tuned);
    autoAFs->refresh(source.af);
    sentAFs->refresh(source.codes, source.afu & kMethodB);
    return count;
}

void TabRDS::loadManualAFs(const RDSSource& source)
{
    // Rows still waiting for their frequency are no part of the store. A
    // reload of the same source keeps them, so that a write elsewhere (the
    // same click also saves the other settings) does not take away the row
    // the user has just added; the current one gets its editor back.
    AFTable* table = uiAF->AFmtab;
    QList<AFEntry> waiting;
    int edited = -1;
    for (int row = 0; manualAFsOf == sourceId && row < table->rowCount(); ++row) {
        const AFEntry entry = table->entry(row);
        if (entry.freq != 0)
            continue;
        if (row == table->currentRow())
            edited = int(waiting.size());
        waiting.append(entry);
    }
    manualAFsOf = sourceId;

    table->setRowCount(0);
    for (const AFEntry& entry : source.afs)
        table->append(entry);
    for (int i = 0; i < waiting.size(); ++i) {
        if (i == edited) {
            table->append(waiting.at(i));
        } else {
            table->insertRow(table->rowCount());
            table->fill(table->rowCount() - 1, waiting.at(i));
        }
    }
}

QList<AFEntry> TabRDS::storeManualAFs(const QSet<QTableWidgetItem*>& excluded)
{
    QList<AFEntry> list;
    AFTable* table = uiAF->AFmtab;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (excluded.contains(table->item(row, kFrequencyColumn)))
            continue;
        const AFEntry entry = table->entry(row);
        if (entry.freq != 0)
            list.append(entry);
    }
    if (store)
        store->setAFs(sourceId, list);
    return list;
}

void TabRDS::addList()
{
    AFEntry head;
    head.marker = AFEntry::kNegativeMarker;
    appendEmptyRow(head);
}

void TabRDS::addAF()
{
    appendEmptyRow(AFEntry());
}

void TabRDS::appendEmptyRow(const AFEntry& entry)
{
    // The new row holds no frequency yet: its items are no edit to store,
    // which would also reload the table and close the editor just opened.
    const bool wasLoading = std::exchange(loading, true);
    uiAF->AFmtab->append(entry);
    loading = wasLoading;
}

void TabRDS::delAF()
{
    AFTable* table = uiAF->AFmtab;
    const QList<QTableWidgetItem*> selected = table->selectedItems();
    if (!store || selected.isEmpty())
        return;
    qDebug("rds: delAF %d", int(selected.size()));
    const int row = table->currentRow();
    const int column = table->currentColumn();
    const QList<AFEntry> kept =
        storeManualAFs(QSet<QTableWidgetItem*>(selected.cbegin(), selected.cend()));
    loading = true;
    table->setRowCount(0);
    for (const AFEntry& entry : kept)
        table->append(entry);
    loading = false;
    if (row >= 0 && row < table->rowCount())
        table->setCurrentCell(row, column);
}

void TabRDS::freqChanged(QTableWidgetItem* item)
{
    if (loading || !item || item->column() != kFrequencyColumn)
        return;
    const QString text = item->text().trimmed();
    if (!text.isEmpty() && !text.endsWith(QLatin1String("Hz"))) {
        // The unit follows the size of the number, whatever its sign: a
        // list head on LF/MF is in kHz too.
        const double value = AFValid::toNumber(text.section(QLatin1Char(' '), 0, 0));
        item->setText(text +
                      (std::abs(value) > 108.0 ? QStringLiteral(" kHz") : QStringLiteral(" MHz")));
        return; // the change of the text comes back here and stores
    }
    storeManualAFs({});
}

void TabRDS::regionalManu(const QModelIndex& index)
{
    if (!store || index.column() != kRegionalColumn)
        return;
    const AFEntry entry = uiAF->AFmtab->entry(index.row());
    if (entry.freq != 0 && !isHead(entry))
        store->setAFr(sourceId, uint(entry.freq));
}

void TabRDS::regionalAuto(const QModelIndex& index)
{
    if (!store || index.column() != kAutoRegionalColumn)
        return;
    const AFEntry entry = autoAFs->entryAt(index.row());
    if (entry.freq != 0)
        store->setAFr(sourceId, uint(entry.freq));
}

void TabRDS::updateAFs(bool hint)
{
    if (!store)
        return;
    RDSSource source = store->rdsSource(sourceId);
    for (AFEntry& entry : source.af)
        entry.regional = source.afr.contains(entry.freq) ? 1 : 0;
    const int count = showAFTables(source);

    // The rows that hold a frequency are the stored list in order; a row
    // still waiting for its frequency keeps its place and its editor.
    // Rendering is not an edit, so nothing is written back meanwhile.
    AFTable* table = uiAF->AFmtab;
    const bool wasLoading = std::exchange(loading, true);
    int next = 0;
    for (int row = 0; row < table->rowCount() && next < source.afs.size(); ++row) {
        if (table->entry(row).freq != 0)
            table->fill(row, source.afs.at(next++));
    }
    loading = wasLoading;

    if (hint && count > kMethodALimit && !(source.afu & kMethodB))
        variantHint->start();
}

void TabRDS::useVariant()
{
    const QPoint above = uiAF->AFA->pos() - QPoint(0, kHintAbove);
    QToolTip::showText(mapToGlobal(above),
                       tr("bei >25 Frequenzen sollte Verfahren B eingesetzt werden"));
}

void TabRDS::showBytes(bool bytes)
{
    sentAFs->setBytes(bytes);
}
