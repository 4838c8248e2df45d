#pragma once

#include "dynamic/Event.h"

#include <QAbstractTableModel>
#include <QList>
#include <QModelIndexList>
#include <QSet>

#include <set>

// The roll of the timeline as a two-column table (time, command), sorted by
// time with equal times in insertion order. It also keeps the selection that
// the timeline and the event list share: this set is the master, both views
// follow its signals.
class DynModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kMinLength = 1000;

    explicit DynModel(QObject* parent = nullptr);
    ~DynModel() override;

    void setRoll(const QList<Event>& events);
    const QList<Event>& roll() const { return events; }
    int insertEvent(const Event& event);
    Event event(int row) const;

    using QAbstractTableModel::removeRows;
    void removeRows(const std::set<int>& rows);
    void removeFromView(const QModelIndexList& indexes);
    void removeSelected();
    void removeAll();

    const QSet<int>& selection() const { return selected; }
    bool isSelected(int row) const { return selected.contains(row); }
    void clearSelection();
    void select(int row);
    void deselect(int row);
    void toggle(int row);

    void setLine(int row, int line);
    void setPos(int row, int x, int y);
    int rollLength() const;
    int firstAtOrAfter(quint32 time) const;
    int lastAtOrBefore(quint32 time) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void setExec(int row, Event& event);
    void saveRoll();
    void onSelClear();
    void onSelInsert(int row);
    void onSelRemove(int row);

private:
    bool inRange(int row) const { return row >= 0 && row < events.size(); }
    void removeRun(int first, int last);
    void dropFromSelection(int first, int last);
    bool setTime(int row, const QVariant& value);
    bool setCommand(int row, const QVariant& value);

    QList<Event> events;
    QSet<int> selected;
};
