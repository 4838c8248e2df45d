#pragma once

#include "board/BoardIP.h"

#include <QAbstractTableModel>
#include <QList>

// One position's view of the connection dialog's board list: box number,
// address and port of every board, the board chosen for this position, and
// colours for duplicate addresses and boards that answer the discovery.
// The dialog owns both lists and outlives the model.
class FMConnectModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The selection tip of the chosen row: "#007 ausgewählt für rechts oben".
    static constexpr int kSelectionTipRole = Qt::UserRole + 42;
    static constexpr int kColumns = 3;

    FMConnectModel(QObject* parent, QList<BoardIP>* boards, QList<BoardIP>* found, int position);
    ~FMConnectModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int selectedRow() const { return selected; }
    void setSelectedRow(int row);
    // A negative row refreshes the whole table.
    void refreshRow(int row);

    // "#007"; "#???" while the box number is unknown.
    static QString boxText(const BoardIP& board);

signals:
    void rowChanged(int row);

private:
    QVariant display(const BoardIP& board, int column) const;
    QVariant background(const BoardIP& board, int row, int column) const;
    bool duplicateAddress(const BoardIP& board) const;
    bool answered(const BoardIP& board) const;
    bool setAddress(int row, const QVariant& value);
    bool setPort(int row, const QVariant& value);

    QList<BoardIP>* boards;
    QList<BoardIP>* found;
    int selected = -1;
    QString label;
};
