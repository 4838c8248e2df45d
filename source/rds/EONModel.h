#pragma once

#include "settings/EON.h"

#include <QAbstractTableModel>
#include <QList>

// The other networks of one RDS source. A row linked to a channel takes its
// programme data from that channel's RDS source when the table is saved, so
// only its channel and linkage stay editable.
class EONModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        ChannelColumn,
        PiColumn,
        PtyColumn,
        PsColumn,
        TpColumn,
        TaColumn,
        LinkColumn,
        AfColumn,
        ColumnCount
    };

    explicit EONModel(QObject* parent = nullptr);
    ~EONModel() override;

    // What the add button appends: unlinked, programme type 10, TP on.
    static EON newRow();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    void reload(const QList<EON>& list);
    void addRow(const EON& row);
    // Row numbers in ascending order; numbers beyond the end are skipped.
    void removeRow(const QList<int>& numbers);
    const QList<EON>& rows() const { return entries; }

signals:
    void saveEON();

private:
    QVariant displayed(const EON& row, int column) const;
    bool setEdited(EON& row, int column, const QVariant& value);

    QList<EON> entries;
};
