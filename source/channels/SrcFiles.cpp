#include "channels/SrcFiles.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDebug>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QMenu>
#include <QMimeData>

SrcFiles::SrcFiles(QWidget* parent) : QTableWidget(parent), menu(new QMenu(this))
{
    QAction* play =
        menu->addAction(QIcon(QStringLiteral(":/icons/24play.png")), tr("Jetzt abspielen"));
    play->setObjectName(QStringLiteral("actPlayNow"));
    connect(play, &QAction::triggered, this, &SrcFiles::playNow);
}

SrcFiles::~SrcFiles()
{
    qDebug("~audio files table");
}

void SrcFiles::playNow()
{
    emit playFile(menuFile);
}

void SrcFiles::contextMenuEvent(QContextMenuEvent* /*event*/)
{
    const QPoint cursor = QCursor::pos();
    const QTableWidgetItem* under = itemAt(viewport()->mapFromGlobal(cursor));
    if (!under)
        return;
    menuFile = under->text();
    menu->exec(cursor);
}

void SrcFiles::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void SrcFiles::dragMoveEvent(QDragMoveEvent* event)
{
    event->setAccepted(event->mimeData()->hasUrls());
}

QMimeData* SrcFiles::mimeData(const QList<QTableWidgetItem*>& items) const
{
    QMimeData* data = QTableWidget::mimeData(items);
    if (!data)
        return data;
    // The item texts are plain paths: read as URLs, "#", "?" or "%" in a
    // file name would change the path.
    QList<QUrl> urls;
    for (const QTableWidgetItem* dragged : items) {
        if (dragged)
            urls.append(QUrl::fromLocalFile(dragged->text()));
    }
    data->setUrls(urls);
    return data;
}

bool SrcFiles::dropMimeData(int row, int /*column*/, const QMimeData* data,
                            Qt::DropAction /*action*/)
{
    emit addFilesAt(row, data->urls());
    return true;
}
