#include "channels/SrcAudio.h"

#include <QDebug>
#include <QDragMoveEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

// Column 0 holds the source id as user data; whatever is dropped there would
// take the id's place.
constexpr int kNameColumn = 0;

} // namespace

SrcAudio::SrcAudio(QWidget* parent) : QTableWidget(parent) {}

SrcAudio::~SrcAudio()
{
    qDebug("~audio source table");
}

void SrcAudio::dragMoveEvent(QDragMoveEvent* event)
{
    // Files dragged from the file table carry URLs only; they may land on
    // the file cell of a file source as well.
    const QMimeData* data = event->mimeData();
    event->setAccepted(data->hasText() || data->hasUrls());
}

void SrcAudio::startDrag(Qt::DropActions /*supportedActions*/)
{
    // A drop elsewhere must never remove the source row.
    QTableWidget::startDrag(Qt::CopyAction);
}

QStringList SrcAudio::mimeTypes() const
{
    // Drags from the file explorer carry no item data of a table; without
    // these types they would be refused as they enter.
    return QTableWidget::mimeTypes()
           << QStringLiteral("text/plain") << QStringLiteral("text/uri-list");
}

QMimeData* SrcAudio::mimeData(const QList<QTableWidgetItem*>& items) const
{
    QMimeData* data = QTableWidget::mimeData(items);
    if (data && !items.isEmpty() && items.constFirst())
        data->setText(items.constFirst()->data(Qt::UserRole).toString());
    return data;
}

bool SrcAudio::dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction action)
{
    // URLs count as text too, in their URL form: they are taken first, so a
    // dropped file arrives as its path.
    if (data->hasUrls() && !data->urls().isEmpty())
        return dropUrl(row, column, data->urls().constFirst());
    if (data->hasText())
        return dropText(row, column, data->text());
    return QTableWidget::dropMimeData(row, column, data, action);
}

bool SrcAudio::dropText(int row, int column, const QString& text)
{
    QTableWidgetItem* target = item(row, column);
    if (!target) {
        emit addSource(text);
        return false;
    }
    if (column == kNameColumn)
        return false;
    target->setData(Qt::UserRole, text);
    qDebug("aud: set text %d [%s]", row, qPrintable(text));
    return true;
}

bool SrcAudio::dropUrl(int row, int column, const QUrl& url)
{
    QTableWidgetItem* target = item(row, column);
    if (!target || column == kNameColumn || !url.isLocalFile())
        return false;
    const QString path = QFileInfo(url.toLocalFile()).absoluteFilePath();
    target->setData(Qt::UserRole, path);
    qDebug("aud: set path %d [%s]", row, qPrintable(path));
    return true;
}
