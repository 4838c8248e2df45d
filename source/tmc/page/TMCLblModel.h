#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QMultiMap>

// The optional-content labels of the current TMC message (ALERT-C optional
// message content): label name and value text per row, checked against the
// rules of the labels and packed the way the encoder packs them, so rows
// that will not be sent are marked.
class TMCLblModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // A message has at most four subsequent groups of 28 free bits each.
    static constexpr int kMaxGroups = 4;
    static constexpr int kGroupBits = 28;
    // Stands for "every row fits".
    static constexpr int kAllFit = 35;

    using TodayFunction = QDate (*)();

    explicit TMCLblModel(QObject* parent = nullptr);
    ~TMCLblModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setLabels(const QList<quint32>& labels, quint16 event);
    // Returns the new number of rows.
    int addLabel(quint32 label);
    // rows ascending; returns the number of rows removed.
    int removeLabel(const QList<int>& rows);

    const QList<quint32>& labels() const { return list; }
    const QList<quint32>& groups() const { return groupWords; }
    int lastRowWithinLimit() const { return lastFitting; }
    // The reasons found for the row, the one found last first.
    QStringList messages(int row) const;

    // The date the start and stop times count from; tests fix it.
    static void setTodayFunction(TodayFunction function);
    static QDate today();

    static int labelNumber(quint32 label) { return int((label >> 16) & 0xF); }
    static quint16 labelValue(quint32 label) { return quint16(label & 0xFFFF); }
    static quint32 makeLabel(int number, quint32 value)
    {
        return (quint32(number & 0xF) << 16) | (value & 0xFFFF);
    }

signals:
    void labelChanged(int row, quint32 label);

private:
    void check();
    bool withinLimit(int row) const { return lastFitting == kAllFit || row <= lastFitting; }
    bool outOfRange(quint32 label) const;
    quint16 eventFor(int row) const;
    QString valueText(int row) const;
    QString timeText(int value) const;
    QString toolTip(int row) const;
    QVariant background(int row) const;

    QList<quint32> list;
    quint16 eventCode = 0;
    QMultiMap<int, QString> rowMessages;
    QList<quint32> groupWords;
    int lastFitting = kAllFit;
};
