#pragma once

#include "tmc/TMCLocationRecord.h"

#include <QAbstractTableModel>
#include <QByteArrayList>
#include <QList>
#include <QMap>

// The rows found by the location search window.
class TMCLocModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kColumns = 10;
    static constexpr int kMaxRows = 10000;

    explicit TMCLocModel(QObject* parent = nullptr);
    ~TMCLocModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // text is UTF-8; the records taken are split into fields and kept so in
    // the table for later searches and tool tips.
    void find(const QByteArray& text, QMap<int, TMCLocationRecord>& locations);
    void setHeader(const QByteArrayList& header);

private:
    static bool matches(const QByteArrayList& words, const TMCLocationRecord& record);

    QList<TMCLocationRecord> rows;
    QByteArrayList headerList;
};
