#include "dynamic/timeline/DynModel.h"

#include <QBrush>
#include <QColor>
#include <QDebug>

#include <algorithm>
#include <climits>

namespace {

// Keys outside channel, audio, playlist, rds and tmc are tinted so that a
// mistyped key stands out in the list.
const QColor kOtherTint(0xA0, 0x45, 0x67, 0x40);

QVariant alignment(int column)
{
    const Qt::Alignment align = (column == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    return QVariant::fromValue(align);
}

} // namespace

DynModel::DynModel(QObject* parent) : QAbstractTableModel(parent) {}

DynModel::~DynModel()
{
    qDebug("~dyn table model");
}

void DynModel::setRoll(const QList<Event>& roll)
{
    beginResetModel();
    events = roll;
    // The player and the timeline's painting walk the roll in time order.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.time < b.time; });
    endResetModel();
    emit layoutChanged();
    clearSelection();
}

int DynModel::insertEvent(const Event& event)
{
    const auto after = std::upper_bound(events.cbegin(), events.cend(), event.time,
                                        [](quint32 time, const Event& e) { return time < e.time; });
    const int position = int(after - events.cbegin());
    qDebug("dmo: ins at line %d %u", position, event.time);
    beginInsertRows(QModelIndex(), position, position);
    events.insert(position, event);
    endInsertRows();
    selected.clear();
    emit saveRoll();
    return position;
}

Event DynModel::event(int row) const
{
    return inRange(row) ? events.at(row) : Event();
}

void DynModel::removeRows(const std::set<int>& rows)
{
    if (rows.empty())
        return;
    // Highest first, so the rows still to go keep their numbers.
    auto it = rows.rbegin();
    while (it != rows.rend()) {
        const int last = *it;
        int first = last;
        for (++it; it != rows.rend() && *it == first - 1; ++it)
            first = *it;
        first = std::max(first, 0);
        const int top = std::min(last, int(events.size()) - 1);
        if (first <= top)
            removeRun(first, top);
    }
    emit saveRoll();
}

void DynModel::removeRun(int first, int last)
{
    qDebug("dmo: remove rows %d to %d", first, last);
    beginRemoveRows(QModelIndex(), first, last);
    for (int row = last; row >= first; --row) {
        events.removeAt(row);
        qDebug("dmo: removed row %d", row);
    }
    endRemoveRows();
    dropFromSelection(first, last);
}

// The view's own selection follows removed rows by itself; the shared set
// must do the same, or it would name events that moved into the gap.
void DynModel::dropFromSelection(int first, int last)
{
    if (selected.isEmpty())
        return;
    const int gap = last - first + 1;
    QSet<int> kept;
    bool changed = false;
    for (int row : std::as_const(selected)) {
        if (row < first) {
            kept.insert(row);
            continue;
        }
        changed = true;
        if (row > last)
            kept.insert(row - gap);
    }
    if (!changed)
        return;
    selected = kept;
    emit onSelClear();
    QList<int> rows(kept.cbegin(), kept.cend());
    std::sort(rows.begin(), rows.end());
    for (int row : rows)
        emit onSelInsert(row);
}

void DynModel::removeFromView(const QModelIndexList& indexes)
{
    qDebug("dmo: remove from view %d", int(indexes.size()));
    std::set<int> rows;
    for (const QModelIndex& index : indexes)
        rows.insert(index.row());
    removeRows(rows);
}

void DynModel::removeSelected()
{
    qDebug("dmo: remove from roll %d", int(selected.size()));
    const std::set<int> rows(selected.cbegin(), selected.cend());
    selected.clear();
    removeRows(rows);
}

void DynModel::removeAll()
{
    qDebug("dmo: remove all %d", int(events.size()));
    if (events.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, int(events.size()) - 1);
    events.clear();
    endRemoveRows();
    if (selected.isEmpty())
        return;
    selected.clear();
    emit onSelClear();
}

void DynModel::clearSelection()
{
    selected.clear();
    emit onSelClear();
}

void DynModel::select(int row)
{
    if (selected.contains(row))
        return;
    selected.insert(row);
    emit onSelInsert(row);
}

void DynModel::deselect(int row)
{
    if (!selected.remove(row))
        return;
    emit onSelRemove(row);
}

void DynModel::toggle(int row)
{
    if (selected.contains(row))
        deselect(row);
    else
        select(row);
}

void DynModel::setLine(int row, int line)
{
    if (inRange(row))
        events[row].line = quint16(line);
}

void DynModel::setPos(int row, int x, int y)
{
    if (!inRange(row))
        return;
    events[row].x = x;
    events[row].y = y;
}

int DynModel::rollLength() const
{
    if (events.isEmpty())
        return kMinLength;
    // Event times use the whole unsigned range; the length is a signed
    // count of milliseconds everywhere it is shown.
    return int(std::clamp<quint32>(events.last().time, kMinLength, INT_MAX));
}

int DynModel::firstAtOrAfter(quint32 time) const
{
    for (int row = 0; row < events.size(); ++row) {
        if (events.at(row).time >= time)
            return row;
    }
    return -1;
}

int DynModel::lastAtOrBefore(quint32 time) const
{
    for (int row = int(events.size()) - 1; row >= 0; --row) {
        if (events.at(row).time <= time)
            return row;
    }
    return -1;
}

int DynModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(events.size());
}

int DynModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant DynModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !inRange(index.row()) || index.column() > 1)
        return QVariant();
    const Event& event = events.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == 0 ? QVariant(event.time) : QVariant(event.command);
    case Qt::TextAlignmentRole:
        return alignment(index.column());
    case Qt::BackgroundRole:
        if (event.type == Event::Other)
            return QBrush(kOtherTint);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant DynModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section) : QVariant();
    if (role == Qt::TextAlignmentRole)
        return alignment(section);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (section == 0)
        return tr("Zeit [ms]");
    if (section == 1)
        return tr("Kommando");
    return QVariant();
}

Qt::ItemFlags DynModel::flags(const QModelIndex&) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

bool DynModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !inRange(index.row()))
        return false;
    if (index.column() == 0)
        return setTime(index.row(), value);
    if (index.column() == 1)
        return setCommand(index.row(), value);
    return false;
}

bool DynModel::setTime(int row, const QVariant& value)
{
    bool ok = false;
    const quint32 time = value.toString().trimmed().toUInt(&ok, 10);
    if (!ok)
        return false;
    if (time == events.at(row).time)
        return true;
    Event moved = events.at(row);
    moved.time = time;
    beginRemoveRows(QModelIndex(), row, row);
    events.removeAt(row);
    endRemoveRows();
    insertEvent(moved);
    return true;
}

bool DynModel::setCommand(int row, const QVariant& value)
{
    const QString command = value.toString();
    if (command == events.at(row).command)
        return true;
    events[row].command = command;
    events[row].classify();
    const QModelIndex first = index(row, 0);
    emit dataChanged(first, index(row, 1));
    Event changed = events.at(row);
    emit setExec(row, changed);
    return true;
}
