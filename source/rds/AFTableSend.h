#pragma once

#include <QAbstractTableModel>
#include <QList>

// The AF code pairs exactly as group 0A sends them: high byte F1, low byte
// F2, shown as code texts or as raw bytes.
class AFTableSend : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit AFTableSend(QObject* parent = nullptr);
    ~AFTableSend() override;

    void refresh(const QList<quint16>& pairs, bool methodB);
    void setBytes(bool bytes);

    // What a code byte means; after code 250 it is read as an LF/MF code.
    static QString codeText(quint8 code, bool afterLfMf = false);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<quint16> codes;
    bool methodB = false;
    bool bytes = false;
};
