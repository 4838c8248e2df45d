#pragma once

#include "settings/AFEntry.h"

#include <QAbstractTableModel>
#include <QList>

// The automatic AF list of an RDS source: the frequencies of every channel
// whose source carries the same PI, with the channel and the regional mark.
class AFTableAuto : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit AFTableAuto(QObject* parent = nullptr);
    ~AFTableAuto() override;

    void refresh(const QList<AFEntry>& list);
    // The entry of a row; an empty entry (frequency 0) outside the list.
    AFEntry entryAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<AFEntry> entries;
};
