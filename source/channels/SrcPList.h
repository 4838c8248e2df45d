#pragma once

#include <QList>
#include <QTableWidget>
#include <QUrl>

// Playlist table of the audio page. A playlist dragged from here carries
// "Playlist." and its id as text, which a file source takes as its file;
// URLs dropped onto a playlist row are appended to that playlist.
class SrcPList : public QTableWidget
{
    Q_OBJECT
public:
    explicit SrcPList(QWidget* parent = nullptr);
    ~SrcPList() override;

signals:
    void addFilesToPlaylist(int playlist, int row, const QList<QUrl>& urls);

protected:
    void dragMoveEvent(QDragMoveEvent* event) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    bool dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction action) override;
};
