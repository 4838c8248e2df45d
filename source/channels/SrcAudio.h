#pragma once

#include <QTableWidget>

// Source table of the audio page. A text dropped onto the file cell of a
// file source becomes its file (a path or a playlist reference); a text
// dropped where no item is asks for a new file source. The table never
// touches the store: the page follows the changed item.
class SrcAudio : public QTableWidget
{
    Q_OBJECT
public:
    explicit SrcAudio(QWidget* parent = nullptr);
    ~SrcAudio() override;

signals:
    void addSource(const QString& file);

protected:
    void dragMoveEvent(QDragMoveEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    bool dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction action) override;

private:
    bool dropText(int row, int column, const QString& text);
    bool dropUrl(int row, int column, const QUrl& url);
};
