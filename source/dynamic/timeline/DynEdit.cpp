#include "dynamic/timeline/DynEdit.h"

#include "ui_DynEdit.h"

#include "dynamic/timeline/DynModel.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDebug>
#include <QMenu>
#include <QPalette>
#include <QSignalBlocker>

namespace {

const QColor kHighlight(0, 120, 215);
const QColor kHighlightInactive(148, 186, 215);

} // namespace

DynEdit::DynEdit(QWidget* parent) : QWidget(parent), ui(new Ui::DynEdit), menu(new QMenu(this))
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("dynEdit"));
    menu->setObjectName(QStringLiteral("dynEditMenu"));
    QPalette palette = ui->list->palette();
    palette.setColor(QPalette::Active, QPalette::Highlight, kHighlight);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, kHighlightInactive);
    ui->list->setPalette(palette);
    connect(menu->addAction(QIcon(QStringLiteral(":/icons/add.png")), tr("Event einfügen")),
            &QAction::triggered, this, &DynEdit::onAdd);
    connect(menu->addAction(QIcon(QStringLiteral(":/icons/delete.png")), tr("Events löschen")),
            &QAction::triggered, this, &DynEdit::onDel);
}

DynEdit::~DynEdit()
{
    qDebug("~dyn edit");
    delete ui;
}

void DynEdit::setModel(DynModel* model)
{
    events = model;
    ui->list->setModel(model);
    // The time column is as wide as its heading or its longest time.
    ui->list->resizeColumnToContents(0);
    connect(ui->list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DynEdit::onSelect);
}

// The view's own echo of a cleared selection would only deselect rows the
// model no longer holds; it is kept quiet and the view repainted by hand.
void DynEdit::onSelClear()
{
    QItemSelectionModel* selection = ui->list->selectionModel();
    if (!selection)
        return;
    {
        const QSignalBlocker blocker(selection);
        selection->clearSelection();
    }
    ui->list->viewport()->update();
}

void DynEdit::onSelInsert(int row)
{
    selectRow(row, true);
}

void DynEdit::onSelRemove(int row)
{
    selectRow(row, false);
}

void DynEdit::selectRow(int row, bool on)
{
    QItemSelectionModel* selection = ui->list->selectionModel();
    if (!selection || !events)
        return;
    const auto command = (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                         QItemSelectionModel::Rows;
    selection->select(events->index(row, 0), command);
}

void DynEdit::onAdd()
{
    if (!events)
        return;
    const QModelIndex current = ui->list->currentIndex();
    const Event copy = current.isValid() ? events->event(current.row()) : Event();
    const int row = events->insertEvent(copy);
    const QModelIndex command = events->index(row, 1);
    ui->list->setCurrentIndex(command);
    ui->list->selectionModel()->select(command, QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
    ui->list->edit(command);
}

void DynEdit::onDel()
{
    if (!events)
        return;
    const QModelIndexList rows = ui->list->selectionModel()->selectedRows(0);
    qDebug("ded: remove %d rows", int(rows.size()));
    events->removeFromView(rows);
    ui->list->clearSelection();
}

void DynEdit::onSelect(const QItemSelection& selected, const QItemSelection& deselected)
{
    qDebug("ded: select +%d -%d", int(selected.indexes().size()), int(deselected.indexes().size()));
    if (!events)
        return;
    for (const QModelIndex& index : deselected.indexes())
        events->deselect(index.row());
    for (const QModelIndex& index : selected.indexes())
        events->select(index.row());
}

void DynEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (menu->actions().isEmpty() || !events)
        return;
    menu->popup(QCursor::pos());
    event->accept();
}
