#include "dynamic/timeline/DynEdit.h"

#include "dynamic/timeline/DynModel.h"

#include <QDebug>

DynEdit::DynEdit(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("dynEdit"));
}

DynEdit::~DynEdit()
{
    qDebug("~dyn edit");
}

void DynEdit::setModel(DynModel* model)
{
    QTableView::setModel(model);
}

void DynEdit::onSelClear()
{
    clearSelection();
}

void DynEdit::onSelInsert(int row)
{
    selectRow(row);
}

void DynEdit::onSelRemove(int) {}
