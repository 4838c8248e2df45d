#pragma once

#include "country/ECC.h"

#include <QAbstractTableModel>
#include <QList>

// The rows of the country table that the search window lists: the whole
// table, the rows of an area mask, or the rows that a text fragment finds.
class ECCModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        ColIso,
        ColEcc,
        ColCi,
        ColNameEn,
        ColNameDe,
        ColumnCount
    };

    explicit ECCModel(QObject* parent = nullptr);
    ~ECCModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Each replaces the result and returns its number of rows. An area mask
    // keeps the rows that carry every bit of it; 0 keeps all.
    int filterArea(quint8 mask);
    int filterText(const QString& text);

    // A copy of a result row, or a default ECC outside the result.
    ECC row(int n) const;

private:
    QVariant cell(const ECC& row, int column) const;
    static QList<ECC> rowsByCode(const QByteArray& code);
    int replaceResult(QList<ECC> rows);

    QList<ECC> result;
};
