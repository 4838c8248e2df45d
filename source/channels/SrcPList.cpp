#include "channels/SrcPList.h"

#include <QDebug>
#include <QDragMoveEvent>
#include <QMimeData>

SrcPList::SrcPList(QWidget* parent) : QTableWidget(parent) {}

SrcPList::~SrcPList()
{
    qDebug("~audio play list table");
}

void SrcPList::dragMoveEvent(QDragMoveEvent* event)
{
    event->setAccepted(itemAt(event->position().toPoint()) && event->mimeData()->hasUrls());
}

QStringList SrcPList::mimeTypes() const
{
    // Files from the file explorer come as URLs alone; without this type
    // they would be refused as they enter.
    return QTableWidget::mimeTypes() << QStringLiteral("text/uri-list");
}

QMimeData* SrcPList::mimeData(const QList<QTableWidgetItem*>& items) const
{
    QMimeData* data = QTableWidget::mimeData(items);
    if (data && !items.isEmpty() && items.constFirst())
        data->setText(QStringLiteral("Playlist.") +
                      items.constFirst()->data(Qt::UserRole).toString());
    return data;
}

bool SrcPList::dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction /*action*/)
{
    const QTableWidgetItem* target = item(row, column);
    if (!data->hasUrls() || !target)
        return false;
    emit addFilesToPlaylist(target->data(Qt::UserRole).toInt(), -1, data->urls());
    return true;
}
