#include "rds/RDSLogFiles.h"

#include <QColor>
#include <QDebug>
#include <QFileInfo>

#include <algorithm>
#include <set>

namespace {
constexpr QRgb kMissingFileColour = 0xFFC0C0;
}

RDSLogFiles::RDSLogFiles(QObject* parent) : QAbstractListModel(parent) {}

RDSLogFiles::~RDSLogFiles()
{
    qDebug() << "~RDS log files model";
}

int RDSLogFiles::rowCount(const QModelIndex& /*parent*/) const
{
    return int(paths.size());
}

QVariant RDSLogFiles::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= paths.size())
        return {};
    const QString& path = paths.at(index.row());
    if (role == Qt::DisplayRole)
        return path;
    if (role == Qt::BackgroundRole && !QFileInfo::exists(path))
        return QColor(kMissingFileColour);
    return {};
}

Qt::ItemFlags RDSLogFiles::flags(const QModelIndex& /*index*/) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

void RDSLogFiles::reload(const QStringList& newPaths)
{
    // A reset, not only a changed layout: no selection may outlive its row.
    beginResetModel();
    paths = newPaths;
    endResetModel();
    emit layoutChanged();
}

void RDSLogFiles::addFiles(const QStringList& newPaths)
{
    if (newPaths.isEmpty())
        return;
    const int first = int(paths.size());
    beginInsertRows(QModelIndex(), first, first + int(newPaths.size()) - 1);
    paths += newPaths;
    endInsertRows();
}

void RDSLogFiles::removeFiles(const QModelIndexList& indexes)
{
    std::set<int> rows;
    for (const QModelIndex& index : indexes)
        rows.insert(index.row());
    // From the back, so the row numbers still to come stay valid.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (*row < 0 || *row >= paths.size())
            continue;
        beginRemoveRows(QModelIndex(), *row, *row);
        paths.removeAt(*row);
        endRemoveRows();
    }
    emit layoutChanged();
}

QString RDSLogFiles::fileName(int row) const
{
    return row >= 0 && row < paths.size() ? paths.at(row) : QString();
}
