#include "rds/ODAModel.h"

#include <QDebug>

#include <algorithm>
#include <array>

namespace {

constexpr int kBlocks = 4;
constexpr int kDataDigits = 4;
constexpr int kCheckDigits = 3;
constexpr int kHexBase = 16;
constexpr quint16 kCheckMax = 1023; // a check word has 10 bits

// A new row: an empty PI, group 3A with version and traffic bits set
// (0x601F), and recognisable filler in blocks C and D.
constexpr std::array<quint16, kBlocks> kNewRowData = {0x0000, 0x601F, 0xCAFE, 0x1234};

QString upperHex(unsigned value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, kHexBase, QLatin1Char('0')).toUpper();
}

} // namespace

ODAModel::ODAModel(QObject* parent) : QAbstractTableModel(parent) {}

ODAModel::~ODAModel()
{
    qDebug() << "~RDS ODA model";
}

ODARow ODAModel::newRow()
{
    ODARow row;
    row.data = kNewRowData;
    row.check.fill(kCheckAuto);
    return row;
}

int ODAModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(odaRows.size());
}

int ODAModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ODAModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= odaRows.size() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const ODARow& row = odaRows.at(index.row());
    const int column = index.column();
    const bool edit = role == Qt::EditRole;
    if (column < CheckA) {
        const quint16 word = row.data.at(column);
        return edit ? QVariant(int(word)) : QVariant(upperHex(word, kDataDigits));
    }
    if (column < RateS0) {
        const quint16 check = row.check.at(column - CheckA);
        if (check > kCheckMax)
            return edit ? QVariant(-1) : QVariant(tr("auto"));
        return edit ? QVariant(int(check)) : QVariant(upperHex(check, kCheckDigits));
    }
    if (column < ColumnCount)
        return row.rate.at(column - RateS0);
    return {};
}

QVariant ODAModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section) : QVariant();
    if (section < 0 || section >= ColumnCount)
        return {};
    static const char* const headers[ColumnCount] = {
        QT_TR_NOOP("Data A"),   QT_TR_NOOP("Data B"),   QT_TR_NOOP("Data C"),
        QT_TR_NOOP("Data D"),   QT_TR_NOOP("Check A"),  QT_TR_NOOP("Check B"),
        QT_TR_NOOP("Check C"),  QT_TR_NOOP("Check D"),  QT_TR_NOOP("G0 / min"),
        QT_TR_NOOP("G1 / min"), QT_TR_NOOP("G2 / min"), QT_TR_NOOP("G3 / min")};
    static const char* const tips[ColumnCount] = {QT_TR_NOOP("Block A Daten"),
                                                  QT_TR_NOOP("Block B Daten"),
                                                  QT_TR_NOOP("Block C Daten"),
                                                  QT_TR_NOOP("Block D Daten"),
                                                  QT_TR_NOOP("Checkword A"),
                                                  QT_TR_NOOP("Checkword B"),
                                                  QT_TR_NOOP("Checkword C"),
                                                  QT_TR_NOOP("Checkword D"),
                                                  QT_TR_NOOP("Gruppen pro Minute für Stream 0"),
                                                  QT_TR_NOOP("Gruppen pro Minute für Stream 1"),
                                                  QT_TR_NOOP("Gruppen pro Minute für Stream 2"),
                                                  QT_TR_NOOP("Gruppen pro Minute für Stream 3")};
    if (role == Qt::DisplayRole)
        return tr(headers[section]);
    if (role == Qt::ToolTipRole)
        return tr(tips[section]);
    return {};
}

bool ODAModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= odaRows.size() ||
        index.column() >= ColumnCount)
        return false;
    bool isNumber = false;
    const qlonglong number = value.toLongLong(&isNumber);
    ODARow& row = odaRows[index.row()];
    const int column = index.column();
    if (column < CheckA) {
        row.data[column] = quint16(number);
    } else if (column < RateS0) {
        // Read as unsigned, so the editor's -1 ("auto") lands above the limit.
        const auto check = quint64(number);
        row.check[column - CheckA] = quint16(std::min<quint64>(check, kCheckAuto));
    } else {
        row.rate[column - RateS0] = qint32(number);
    }
    emit dataChanged(index, index);
    if (!isNumber)
        return false;
    emit saveODA();
    return true;
}

Qt::ItemFlags ODAModel::flags(const QModelIndex& /*index*/) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

void ODAModel::reload(const QList<ODARow>& rows)
{
    if (rows.size() != odaRows.size()) {
        // A reset, so no selection or editor outlives its row.
        beginResetModel();
        odaRows = rows;
        endResetModel();
        return;
    }
    // Same rows reloaded after a save: an open editor stays where it is.
    emit layoutAboutToBeChanged();
    odaRows = rows;
    emit layoutChanged();
}

void ODAModel::addRow(const ODARow& row)
{
    const int last = int(odaRows.size());
    beginInsertRows(QModelIndex(), last, last);
    odaRows.append(row);
    endInsertRows();
}

void ODAModel::removeRow(const QList<int>& rows)
{
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= odaRows.size())
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        odaRows.removeAt(row);
        endRemoveRows();
    }
}
