#include "rds/EONModel.h"

#include "rds/AFValid.h"

#include <QDebug>
#include <QStringList>

#include <cmath>
#include <cstdlib>

namespace {

constexpr quint8 kNewRowPty = 10;
constexpr int kHexDigits = 4;
constexpr double kTenths = 10.0;

QString hexWord(quint16 word)
{
    return QStringLiteral("%1").arg(word, kHexDigits, 16, QLatin1Char('0')).toUpper();
}

QList<AFEntry> afListOf(const QString& text)
{
    QList<AFEntry> list;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double value = AFValid::toNumber(part, &ok);
        if (!ok || value == 0.0)
            continue;
        const long tenths = std::lround(value * kTenths); // half away from zero
        AFEntry entry;
        entry.freq = qint32(std::labs(tenths));
        entry.marker = tenths < 0 ? AFEntry::kNegativeMarker : 0;
        list.append(entry);
    }
    return list;
}

// A list head keeps its minus, so the list reads back as it was typed.
QString afText(const QList<AFEntry>& list)
{
    QString text;
    for (const AFEntry& entry : list) {
        const double shown = entry.freq / kTenths;
        text +=
            QStringLiteral("%1 ").arg(entry.marker == AFEntry::kNegativeMarker ? -shown : shown);
    }
    return text;
}

} // namespace

EONModel::EONModel(QObject* parent) : QAbstractTableModel(parent) {}

EONModel::~EONModel()
{
    qDebug() << "~EON model";
}

EON EONModel::newRow()
{
    EON row;
    row.pty = kNewRowPty;
    row.tp = 1;
    return row;
}

int EONModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries.size());
}

int EONModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EONModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entries.size() || index.column() >= ColumnCount)
        return {};
    const EON& row = entries.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == ChannelColumn && row.channel == 0)
            return tr("kein");
        return displayed(row, column);
    case Qt::EditRole:
        return displayed(row, column);
    case Qt::CheckStateRole:
        if (column == TpColumn)
            return row.tp ? Qt::Checked : Qt::Unchecked;
        if (column == TaColumn)
            return row.ta ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ToolTipRole:
        if (column == AfColumn)
            return tr("Frequenzen zwischen 87.6 - 107.9 MHz oder 153 - 1610 kHz");
        if (row.channel == 0)
            return tr("manuelle Einträge werden gesendet");
        return tr("RDS-Daten von Kanal %1 werden gesendet").arg(row.channel);
    default:
        return {};
    }
}

QVariant EONModel::displayed(const EON& row, int column) const
{
    switch (column) {
    case ChannelColumn:
        // As a number for the editor, whose spin box names 0 itself.
        return row.channel;
    case PiColumn:
        return hexWord(row.pi);
    case PtyColumn:
        return row.pty;
    case PsColumn:
        return row.ps;
    case LinkColumn:
        return hexWord(row.link);
    case AfColumn:
        return afText(row.af);
    default:
        return {};
    }
}

QVariant EONModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section;
    switch (section) {
    case ChannelColumn:
        return tr("Kanal");
    case PiColumn:
        return QStringLiteral("PI");
    case PtyColumn:
        return QStringLiteral("PTY");
    case PsColumn:
        return tr("PS Name");
    case TpColumn:
        return QStringLiteral("TP");
    case TaColumn:
        return QStringLiteral("TA");
    case LinkColumn:
        return tr("Link");
    case AfColumn:
        return tr("AF Liste");
    default:
        return {};
    }
}

Qt::ItemFlags EONModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= entries.size() || index.column() >= ColumnCount)
        return Qt::NoItemFlags;
    const int column = index.column();
    const bool linked = entries.at(index.row()).channel != 0;
    if (linked && column != ChannelColumn && column != LinkColumn)
        return Qt::ItemIsSelectable;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    if (column == TpColumn || column == TaColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool EONModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= entries.size())
        return false;
    EON& row = entries[index.row()];
    const int column = index.column();
    bool accepted = false;
    if (role == Qt::CheckStateRole && (column == TpColumn || column == TaColumn)) {
        bool number = false;
        const bool on = value.toInt(&number) == Qt::Checked;
        (column == TpColumn ? row.tp : row.ta) = on ? 1 : 0;
        accepted = number;
    } else if (role == Qt::EditRole) {
        accepted = setEdited(row, column, value);
    }
    if (!accepted)
        return false;
    // A changed link enables or disables the whole row.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    emit saveEON();
    return true;
}

bool EONModel::setEdited(EON& row, int column, const QVariant& value)
{
    bool ok = false;
    switch (column) {
    case ChannelColumn:
        row.channel = quint8(value.toUInt(&ok));
        break;
    case PtyColumn:
        row.pty = quint8(value.toUInt(&ok));
        break;
    case PiColumn:
        row.pi = quint16(value.toString().toUInt(&ok, 16));
        break;
    case LinkColumn:
        row.link = quint16(value.toString().toUInt(&ok, 16));
        break;
    case PsColumn:
        row.ps = value.toString();
        return true;
    case AfColumn:
        row.af = afListOf(value.toString());
        return true;
    default:
        return false;
    }
    return ok;
}

void EONModel::reload(const QList<EON>& list)
{
    emit layoutAboutToBeChanged();
    entries = list;
    // Indexes the view keeps (selection, current cell) must not point past
    // the new end.
    const QModelIndexList kept = persistentIndexList();
    for (const QModelIndex& index : kept) {
        if (index.row() >= entries.size())
            changePersistentIndex(index, QModelIndex());
    }
    emit layoutChanged();
}

void EONModel::addRow(const EON& row)
{
    const int at = int(entries.size());
    beginInsertRows(QModelIndex(), at, at);
    entries.append(row);
    endInsertRows();
}

void EONModel::removeRow(const QList<int>& numbers)
{
    for (auto it = numbers.crbegin(); it != numbers.crend(); ++it) {
        const int number = *it;
        if (number < 0 || number >= entries.size())
            continue;
        beginRemoveRows(QModelIndex(), number, number);
        entries.removeAt(number);
        endRemoveRows();
    }
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}
