#include "tmc/page/TMCMsgModel.h"

#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"

#include <QDebug>

namespace {

constexpr int kCentred = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr quint32 kEventMask = 0x7FF;     // 11-bit event code of ALERT-C
constexpr quint32 kLocationMask = 0xFFFF; // 16-bit location code
constexpr int kSendStates = 3;

} // namespace

TMCMsgModel::TMCMsgModel(QObject* parent) : QAbstractTableModel(parent) {}

TMCMsgModel::~TMCMsgModel()
{
    qDebug() << "~TMC message model";
}

int TMCMsgModel::rowCount(const QModelIndex&) const
{
    return int(list.size());
}

int TMCMsgModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant TMCMsgModel::data(const QModelIndex& index, int role) const
{
    if (index.row() < 0 || index.column() < 0 || !hasRow(index.row()))
        return QVariant();
    const TMCMessage& m = list.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(m, index.column());
    case Qt::ToolTipRole:
        return toolTip(m, index.column());
    case Qt::TextAlignmentRole:
        return kCentred;
    default:
        return QVariant();
    }
}

QVariant TMCMsgModel::displayText(const TMCMessage& m, int column) const
{
    switch (column) {
    case SendColumn:
        switch (m.send) {
        case TMCMessage::No:
            return tr("nein");
        case TMCMessage::Yes:
            return tr("ja");
        case TMCMessage::Cancel:
            return tr("aufheben");
        default:
            return QStringLiteral("???");
        }
    case EventColumn:
        return m.event;
    case LocationColumn:
        return m.location;
    default:
        return QStringLiteral("???");
    }
}

QVariant TMCMsgModel::toolTip(const TMCMessage& m, int column) const
{
    switch (column) {
    case SendColumn:
        return tr("nein / ja / aufheben");
    case EventColumn:
        return TMCEvents::eventText(m.event);
    case LocationColumn:
        return TMCPlaces::placeText(m.location);
    default:
        return QVariant();
    }
}

bool TMCMsgModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!hasRow(index.row()))
        return false;
    bool ok = false;
    quint32 number = 0;
    if (role == Qt::EditRole) {
        number = value.toUInt(&ok);
    } else if (role == Qt::DisplayRole && index.column() != SendColumn) {
        // Drops from the search windows carry the code as display data.
        number = quint32(value.toInt(&ok));
    } else {
        return false;
    }
    if (!ok || !setField(index.row(), index.column(), number))
        return false;
    emit messageChanged(index.row(), list.at(index.row()));
    return true;
}

bool TMCMsgModel::setField(int row, int column, quint32 value)
{
    TMCMessage& m = list[row];
    switch (column) {
    case SendColumn:
        m.send = quint8(value);
        return true;
    case EventColumn:
        m.event = quint16(value & kEventMask);
        return true;
    case LocationColumn:
        m.location = quint16(value & kLocationMask);
        return true;
    default:
        return false;
    }
}

QVariant TMCMsgModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section) : QVariant();
    if (section < 0 || section >= ColumnCount)
        return QVariant();
    if (role == Qt::DisplayRole) {
        const QString titles[] = {tr("Senden"), tr("Ereignis"), tr("Ortscode")};
        return titles[section];
    }
    if (role == Qt::ToolTipRole) {
        const QString tips[] = {tr("nein / ja / aufheben"), tr("Ereignis Code"),
                                tr("Location Code aus LTN")};
        return tips[section];
    }
    return QVariant();
}

Qt::ItemFlags TMCMsgModel::flags(const QModelIndex& index) const
{
    // The send state changes by double click, never by the editor.
    if (index.column() == SendColumn)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;
}

TMCMessage TMCMsgModel::message(int row) const
{
    return hasRow(row) ? list.at(row) : TMCMessage();
}

void TMCMsgModel::setCurrent(int row)
{
    currentRow = row;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int TMCMsgModel::removeMessage(const QList<int>& rows)
{
    int removed = 0;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        if (!hasRow(*it))
            continue;
        beginRemoveRows(QModelIndex(), *it, *it);
        list.removeAt(*it);
        endRemoveRows();
        ++removed;
    }
    return removed;
}

int TMCMsgModel::addMessage(const TMCMessage& message)
{
    const int row = int(list.size());
    beginInsertRows(QModelIndex(), row, row);
    list.append(message);
    endInsertRows();
    return int(list.size());
}

void TMCMsgModel::setLabels(int row, const QList<quint32>& labels)
{
    if (hasRow(row))
        list[row].labels = labels;
}

void TMCMsgModel::setFlags(int row, quint8 duration, quint8 extentFlags)
{
    if (!hasRow(row))
        return;
    list[row].duration = duration;
    list[row].extentFlags = extentFlags;
}

void TMCMsgModel::setMessages(const QList<TMCMessage>& messages)
{
    if (equalMessages(list, messages))
        return;
    const int oldCount = int(list.size());
    const int newCount = int(messages.size());
    if (newCount < oldCount) {
        beginRemoveRows(QModelIndex(), newCount, oldCount - 1);
        list = messages;
        endRemoveRows();
    } else if (newCount > oldCount) {
        beginInsertRows(QModelIndex(), oldCount, newCount - 1);
        list = messages;
        endInsertRows();
    } else {
        const QList<TMCMessage> old = list;
        list = messages;
        for (int row = 0; row < newCount; ++row) {
            if (!(old.at(row) == messages.at(row)))
                emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        }
    }
}

void TMCMsgModel::toggleSend(int row)
{
    if (!hasRow(row))
        return;
    list[row].send = quint8((list[row].send + 1) % kSendStates);
    emit dataChanged(index(row, SendColumn), index(row, SendColumn));
    emit messageChanged(row, list.at(row));
}

bool TMCMsgModel::equalMessages(const QList<TMCMessage>& a, const QList<TMCMessage>& b)
{
    return a == b;
}
