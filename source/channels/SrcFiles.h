#pragma once

#include <QList>
#include <QTableWidget>
#include <QUrl>

class QMenu;

// File table of the audio page: the files of the shown playlist. Its rows
// drag as file URLs; URLs dropped onto it go into the shown playlist at the
// row; its context menu starts a file at once.
class SrcFiles : public QTableWidget
{
    Q_OBJECT
public:
    explicit SrcFiles(QWidget* parent = nullptr);
    ~SrcFiles() override;

signals:
    void addFilesAt(int row, const QList<QUrl>& urls);
    void playFile(const QString& file);

public slots:
    void playNow();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    bool dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction action) override;

private:
    QMenu* menu;
    QString menuFile;
};
