#include "connect/FMConnectModel.h"

#include "gui/StatusColours.h"

#include <QDebug>
#include <QHostAddress>

#include <algorithm>

namespace {

constexpr Qt::Alignment kCellAlignment = Qt::AlignLeft | Qt::AlignVCenter;
constexpr uint kHighestPort = 65535;

} // namespace

FMConnectModel::FMConnectModel(QObject* parent, QList<BoardIP>* boardList,
                               QList<BoardIP>* foundList, int position)
    : QAbstractTableModel(parent), boards(boardList), found(foundList)
{
    const QString labels[] = {tr("links oben"), tr("rechts oben"), tr("links unten"),
                              tr("rechts unten")};
    if (position >= 0 && position < int(std::size(labels)))
        label = labels[position];
}

FMConnectModel::~FMConnectModel()
{
    qDebug("~Con model");
}

int FMConnectModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(boards->size());
}

int FMConnectModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QString FMConnectModel::boxText(const BoardIP& board)
{
    if (board.boxNumber() == 0)
        return QStringLiteral("#???");
    return QStringLiteral("#%1").arg(board.boxNumber(), 3, 10, QLatin1Char('0'));
}

QVariant FMConnectModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= boards->size())
        return {};
    const BoardIP& board = boards->at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return display(board, index.column());
    case Qt::ToolTipRole:
        if (index.column() == 1 && duplicateAddress(board))
            return tr("Doppelte IP-Adresse! Bitte die Modulatoren\nauf unterschiedliche "
                      "Adressen konfigurieren!");
        return {};
    case Qt::TextAlignmentRole:
        return int(kCellAlignment);
    case Qt::BackgroundRole:
        return background(board, index.row(), index.column());
    case kSelectionTipRole:
        if (index.column() == 0 && index.row() == selected)
            return tr("%1 ausgewählt für ").arg(boxText(board)) + label;
        return {};
    default:
        return {};
    }
}

QVariant FMConnectModel::display(const BoardIP& board, int column) const
{
    switch (column) {
    case 0:
        return boxText(board);
    case 1:
        return QHostAddress(board.ipv4).toString();
    case 2:
        return board.port;
    default:
        return {};
    }
}

QVariant FMConnectModel::background(const BoardIP& board, int row, int column) const
{
    if (column == 0 && row == selected)
        return statusBlue;
    if (column == 1 && duplicateAddress(board))
        return statusRed;
    if (answered(board))
        return statusGreen;
    return {};
}

bool FMConnectModel::duplicateAddress(const BoardIP& board) const
{
    return std::count_if(boards->cbegin(), boards->cend(),
                         [&](const BoardIP& other) { return other.ipv4 == board.ipv4; }) >= 2;
}

bool FMConnectModel::answered(const BoardIP& board) const
{
    const int box = board.boxNumber();
    return box != 0 && std::any_of(found->cbegin(), found->cend(), [box](const BoardIP& other) {
               return other.boxNumber() == box;
           });
}

bool FMConnectModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    qDebug() << "Con: setData" << index.row() << index.column() << value << role;
    if (role != Qt::EditRole || !index.isValid() || index.row() >= boards->size())
        return false;
    switch (index.column()) {
    case 1:
        return setAddress(index.row(), value);
    case 2:
        return setPort(index.row(), value);
    default:
        return false;
    }
}

// Only the dotted form of four numbers: the short forms the resolver also
// takes ("10.0.0" is 10.0.0.0) are more often a typing slip than meant.
bool FMConnectModel::setAddress(int row, const QVariant& value)
{
    const QString text = value.toString().trimmed();
    bool valid = false;
    const quint32 ipv4 = QHostAddress(text).toIPv4Address(&valid);
    if (!valid || text.count(QLatin1Char('.')) != 3)
        return false;
    BoardIP& board = (*boards)[row];
    if (board.ipv4 != ipv4) {
        board.ipv4 = ipv4;
        emit rowChanged(row);
    }
    return true;
}

// A port the board cannot listen on is refused: cutting 70000 to its low
// bits or reading "x" as 0 would connect to a port nobody asked for.
bool FMConnectModel::setPort(int row, const QVariant& value)
{
    bool valid = false;
    const uint port = value.toString().trimmed().toUInt(&valid);
    if (!valid || port == 0 || port > kHighestPort)
        return false;
    BoardIP& board = (*boards)[row];
    if (board.port != port) {
        board.port = quint16(port);
        emit rowChanged(row);
    }
    return true;
}

QVariant FMConnectModel::headerData(int section, Qt::Orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(kCellAlignment);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("#Box");
    case 1:
        return tr("IP-Adresse");
    case 2:
        return QStringLiteral("Port");
    default:
        return {};
    }
}

Qt::ItemFlags FMConnectModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == 1 || index.column() == 2)
        return base | Qt::ItemIsEditable;
    return base;
}

void FMConnectModel::setSelectedRow(int row)
{
    const int old = selected;
    selected = row;
    for (int changed : {old, row}) {
        if (changed >= 0 && changed < boards->size())
            emit dataChanged(index(changed, 0), index(changed, 0));
    }
}

void FMConnectModel::refreshRow(int row)
{
    if (row < 0) {
        emit layoutAboutToBeChanged();
        emit layoutChanged();
        return;
    }
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
}
