#pragma once

#include <QAbstractTableModel>

// Event list of the timeline, for now a placeholder without rows: the
// model of recorded events comes with the timeline.
class DynModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DynModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    void onSelClear();
    void onSelInsert(int row);
    void onSelRemove(int row);
};
