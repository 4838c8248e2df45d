#pragma once

#include "settings/ODARow.h"

#include <QAbstractTableModel>
#include <QList>

// The free-form groups (ODA rows) of an RDS source: four data words, four
// check words and the groups per minute on each of the four streams. Every
// accepted edit asks the page to save the whole table.
class ODAModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        DataA = 0,
        CheckA = 4,
        RateS0 = 8,
        ColumnCount = 12,
    };
    // Check words above the 10 bits of a block are computed when sent.
    static constexpr quint16 kCheckAuto = 1024;

    explicit ODAModel(QObject* parent = nullptr);
    ~ODAModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void reload(const QList<ODARow>& rows);
    void addRow(const ODARow& row);
    // Rows in ascending order; numbers beyond the end are skipped.
    void removeRow(const QList<int>& rows);
    const QList<ODARow>& rowList() const { return odaRows; }

    // What the add button appends.
    static ODARow newRow();

signals:
    void saveODA();

private:
    QList<ODARow> odaRows;
};
