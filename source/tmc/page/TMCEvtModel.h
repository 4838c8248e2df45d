#pragma once

#include "tmc/TMCEventRecord.h"

#include <QAbstractTableModel>
#include <QList>
#include <QMap>

// The rows found by the event search window.
class TMCEvtModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kColumns = 10;

    explicit TMCEvtModel(QObject* parent = nullptr);
    ~TMCEvtModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Letters of the filter: 0 no filter, ' ' an empty field.
    void setResult(const TMCEventRecord& filter, const QString& text,
                   const QMap<int, TMCEventRecord>& events);

private:
    static bool isEmptyFilter(const TMCEventRecord& filter, const QString& text);
    static bool matches(const TMCEventRecord& filter, const QString& text,
                        const TMCEventRecord& record);

    QList<TMCEventRecord> rows;
};
