#include "rds/AFTableAuto.h"

#include "gui/StatusColours.h"

#include <QBrush>
#include <QDebug>

namespace {

enum Column
{
    kChannel,
    kRegional,
    kFrequency,
    kColumnCount
};

} // namespace

AFTableAuto::AFTableAuto(QObject* parent) : QAbstractTableModel(parent) {}

AFTableAuto::~AFTableAuto()
{
    qDebug() << "~AFa model";
}

void AFTableAuto::refresh(const QList<AFEntry>& list)
{
    // A layout change, not a reset: the view keeps its current row, which
    // names the tuned frequency of the send table.
    emit layoutAboutToBeChanged();
    entries = list;
    const QModelIndexList kept = persistentIndexList();
    for (const QModelIndex& index : kept) {
        if (index.row() >= entries.size())
            changePersistentIndex(index, QModelIndex());
    }
    emit layoutChanged();
}

AFEntry AFTableAuto::entryAt(int row) const
{
    return row >= 0 && row < entries.size() ? entries.at(row) : AFEntry();
}

int AFTableAuto::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries.size());
}

int AFTableAuto::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant AFTableAuto::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= entries.size())
        return {};
    const AFEntry& entry = entries.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case kChannel:
            return entry.marker;
        case kRegional:
            return entry.regional ? tr("ja") : tr("nein");
        case kFrequency:
            return QString::number(entry.freq / 10.0, 'f', 1);
        default:
            return {};
        }
    }
    if (role == Qt::BackgroundRole && index.column() == kFrequency && entry.regional)
        return QBrush(statusBlue);
    return {};
}

QVariant AFTableAuto::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case kChannel:
        return tr("Kanal");
    case kRegional:
        return tr("Regional");
    case kFrequency:
        return tr("Frequenz");
    default:
        return {};
    }
}

Qt::ItemFlags AFTableAuto::flags(const QModelIndex& index) const
{
    if (index.column() == kChannel)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled;
}
