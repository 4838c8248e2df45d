#pragma once

#include "settings/TMCMessage.h"

#include <QAbstractTableModel>
#include <QList>

// The messages of one TMC source: send state, event code and location code
// per row. Edits and drops are reported through messageChanged; the page
// writes the row's line.
class TMCMsgModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        SendColumn = 0,
        EventColumn = 1,
        LocationColumn = 2,
        ColumnCount = 3
    };

    explicit TMCMsgModel(QObject* parent = nullptr);
    ~TMCMsgModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A copy of the row; an all-zero message for a row outside the list.
    TMCMessage message(int row) const;
    const QList<TMCMessage>& messages() const { return list; }
    int current() const { return currentRow; }

    // rows ascending; returns the number of messages removed.
    int removeMessage(const QList<int>& rows);
    // Returns the new number of messages.
    int addMessage(const TMCMessage& message);
    void setLabels(int row, const QList<quint32>& labels);
    void setFlags(int row, quint8 duration, quint8 extentFlags);
    // Tells the view only about the rows that changed.
    void setMessages(const QList<TMCMessage>& messages);
    // nein -> ja -> aufheben -> nein
    void toggleSend(int row);

    static bool equalMessages(const QList<TMCMessage>& a, const QList<TMCMessage>& b);

public slots:
    void setCurrent(int row);

signals:
    void messageChanged(int row, const TMCMessage& message);

private:
    bool hasRow(int row) const { return row >= 0 && row < list.size(); }
    QVariant displayText(const TMCMessage& message, int column) const;
    QVariant toolTip(const TMCMessage& message, int column) const;
    bool setField(int row, int column, quint32 value);

    QList<TMCMessage> list;
    int currentRow = -1;
};
