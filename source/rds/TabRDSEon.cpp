#include "rds/TabRDS.h"

#include "gui/SelectedRows.h"
#include "rds/EONModel.h"
#include "settings/FMSettings.h"
#include "ui_TabRDS0.h"

void TabRDS::addEON(EON eon)
{
    if (!store)
        return;
    eonModel->addRow(eon);
    saveEON();
}

void TabRDS::delEON()
{
    const QList<int> rows = selectedRows(ui0->EON);
    if (rows.isEmpty())
        return;
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
