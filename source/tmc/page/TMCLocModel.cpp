#include "tmc/page/TMCLocModel.h"

#include "tmc/TMCPlaces.h"

#include <QDebug>

namespace {

constexpr int kOtherColumn = 9;

QByteArray asciiLower(const QByteArray& text)
{
    QByteArray lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return lower;
}

} // namespace

TMCLocModel::TMCLocModel(QObject* parent) : QAbstractTableModel(parent) {}

TMCLocModel::~TMCLocModel()
{
    qDebug() << "~TMC place model";
}

int TMCLocModel::rowCount(const QModelIndex&) const
{
    return int(rows.size());
}

int TMCLocModel::columnCount(const QModelIndex&) const
{
    return kColumns;
}

Qt::ItemFlags TMCLocModel::flags(const QModelIndex& index) const
{
    if (index.column() == 0)
        return Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled;
}

QVariant TMCLocModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= rows.size())
        return QVariant();
    const TMCLocationRecord& r = rows.at(index.row());
    const int column = index.column();
    if (column == 0)
        return r.code;
    if (column == kOtherColumn)
        return QString::fromUtf8(r.other);
    if (column > 0 && column < r.fields.size() && column < kOtherColumn)
        return QString::fromUtf8(r.fields.at(column));
    return QVariant();
}

QVariant TMCLocModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns)
        return QVariant();
    if (section < headerList.size())
        return QString::fromUtf8(headerList.at(section));
    return section;
}

void TMCLocModel::setHeader(const QByteArrayList& header)
{
    headerList = header;
    if (headerList.size() >= kColumns)
        headerList[kOtherColumn] = "other";
}

void TMCLocModel::find(const QByteArray& text, QMap<int, TMCLocationRecord>& locations)
{
    if (!rows.isEmpty()) {
        beginRemoveRows(QModelIndex(), 0, int(rows.size()) - 1);
        rows.clear();
        endRemoveRows();
    }
    const QByteArrayList words = asciiLower(text).simplified().split(' ');
    const bool all = text.simplified().isEmpty();
    QList<TMCLocationRecord> found;
    for (auto it = locations.begin(); it != locations.end() && found.size() < kMaxRows; ++it) {
        if (!all && !matches(words, it.value()))
            continue;
        TMCPlaces::parse(it.value());
        found.append(it.value());
    }
    if (found.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, int(found.size()) - 1);
    rows = found;
    endInsertRows();
}

bool TMCLocModel::matches(const QByteArrayList& words, const TMCLocationRecord& record)
{
    const QByteArray line = asciiLower(record.line);
    for (const QByteArray& word : words) {
        bool isNumber = false;
        const int code = word.toInt(&isNumber);
        if (isNumber && code != 0 && code == record.code)
            continue;
        if (!line.contains(word))
            return false;
    }
    return true;
}
