#pragma once

#include <QList>

class QAbstractItemView;

// The rows of a view's selected cells, each once, ascending: what the
// pages' delete buttons remove.
QList<int> selectedRows(const QAbstractItemView* view);
