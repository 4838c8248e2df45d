#include "rds/TabRDS.h"

#include "rds/EONModel.h"
#include "settings/FMSettings.h"
#include "ui_TabRDS0.h"

#include <QItemSelectionModel>

#include <algorithm>

void TabRDS::addEON(EON eon)
{
    if (!store)
        return;
    eonModel->addRow(eon);
    saveEON();
}

void TabRDS::delEON()
{
    const QItemSelectionModel* selection = ui0->EON->selectionModel();
    if (!selection || !selection->hasSelection())
        return;
    QList<int> rows;
    for (const QModelIndex& index : selection->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    eonModel->removeRow(rows);
    saveEON();
}

void TabRDS::saveEON()
{
    if (!store)
        return;
    // The store fills linked rows from their channels' sources; the table
    // shows that once the source is loaded again.
    QList<EON> rows = eonModel->rows();
    store->setEON(sourceId, rows);
}
