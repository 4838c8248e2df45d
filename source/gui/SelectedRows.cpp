#include "gui/SelectedRows.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <algorithm>

QList<int> selectedRows(const QAbstractItemView* view)
{
    QList<int> rows;
    if (!view || !view->selectionModel())
        return rows;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes()) {
        if (index.row() >= 0)
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
