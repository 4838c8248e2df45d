#include "tmc/page/TMCTable.h"

#include "tmc/TMCReferenceLists.h"
#include "tmc/page/TMCEdit.h"
#include "tmc/page/TMCEventSearch.h"
#include "tmc/page/TMCListLoader.h"
#include "tmc/page/TMCMsgModel.h"
#include "tmc/page/TMCPlaceSearch.h"

#include <QContextMenuEvent>
#include <QDebug>
#include <QHeaderView>
#include <QMenu>

TMCTable::TMCTable(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new TMCEdit(this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TMCListLoader::loadOnce();
    // Windows of their own, without a parent; this table deletes them.
    events = new TMCEventSearch();
    places = new TMCPlaceSearch();
    msgModel = new TMCMsgModel(this);
    setModel(msgModel);
    connect(this, &QTableView::doubleClicked, this, &TMCTable::doubleClicked);
    contextMenu = new QMenu(tr("Daten"), this);
    const QIcon find(QStringLiteral(":/icons/find.png"));
    if (!TMCReferenceLists::instance().events.isEmpty())
        contextMenu->addAction(find, tr("Ereignis suchen"), this, &TMCTable::findEvent);
    if (!TMCReferenceLists::instance().locations.isEmpty())
        contextMenu->addAction(find, tr("Ort suchen"), this, &TMCTable::findPlace);
    contextMenu->addSeparator();
}

TMCTable::~TMCTable()
{
    delete events;
    delete places;
    qDebug() << "~TMC message view";
}

bool TMCTable::haveLists() const
{
    const auto& lists = TMCReferenceLists::instance();
    return !lists.events.isEmpty() || !lists.locations.isEmpty();
}

void TMCTable::contextMenuEvent(QContextMenuEvent*)
{
    if (haveLists())
        contextMenu->exec(QCursor::pos());
}

void TMCTable::doubleClicked(const QModelIndex& index)
{
    if (index.column() == TMCMsgModel::SendColumn)
        msgModel->toggleSend(index.row());
}

void TMCTable::findEvent()
{
    events->show();
    events->raise();
}

void TMCTable::findPlace()
{
    places->show();
    places->raise();
}
