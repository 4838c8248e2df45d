#include "rds/AFTableSend.h"

#include "board/AfCodeList.h"
#include "gui/StatusColours.h"

#include <QBrush>
#include <QDebug>

namespace {

// AF code bytes of group 0A (IEC 62106, AF code tables).
constexpr quint8 kNotAllowed = 0;
constexpr quint8 kLastFm = 204;
constexpr quint8 kFiller = AfCodeList::kFiller;
constexpr quint8 kNoAf = AfCodeList::kCountBase;
constexpr quint8 kOneAf = kNoAf + 1;
constexpr quint8 kLastCount = 249;
constexpr quint8 kLfMfFollows = 250;
constexpr int kColumnCount = 2;

quint8 first(quint16 pair)
{
    return quint8(pair >> 8);
}

quint8 second(quint16 pair)
{
    return quint8(pair & 0xFF);
}

bool bothFm(quint8 f1, quint8 f2)
{
    return f1 < kFiller && f2 < kFiller;
}

} // namespace

AFTableSend::AFTableSend(QObject* parent) : QAbstractTableModel(parent) {}

AFTableSend::~AFTableSend()
{
    qDebug() << "~AFs model";
}

void AFTableSend::refresh(const QList<quint16>& pairs, bool listsOfMethodB)
{
    emit layoutAboutToBeChanged();
    codes = pairs;
    methodB = listsOfMethodB;
    const QModelIndexList kept = persistentIndexList();
    for (const QModelIndex& index : kept) {
        if (index.row() >= codes.size())
            changePersistentIndex(index, QModelIndex());
    }
    emit layoutChanged();
}

void AFTableSend::setBytes(bool on)
{
    bytes = on;
    if (!codes.isEmpty())
        emit dataChanged(index(0, 0), index(int(codes.size()) - 1, kColumnCount - 1));
}

QString AFTableSend::codeText(quint8 code, bool afterLfMf)
{
    if (afterLfMf) {
        const int frequency = AfCodeList::afFrequency(code, true);
        // A code beyond the LF/MF table names no frequency.
        return frequency != 0 ? tr("%1 kHz").arg(frequency / 10) : tr("? %1").arg(code);
    }
    if (code == kNotAllowed)
        return tr("Fehler");
    if (code <= kLastFm)
        return QString::number(AfCodeList::afFrequency(code, false) / 10.0, 'f', 1);
    if (code == kFiller)
        return QStringLiteral("<fill>");
    if (code == kNoAf)
        return tr("keine AF");
    if (code == kOneAf)
        return tr("1 AF");
    if (code > kOneAf && code <= kLastCount)
        return tr("%1 AFs").arg(code - kNoAf);
    if (code == kLfMfFollows)
        return QStringLiteral("LW/MW");
    return tr("? %1").arg(code);
}

int AFTableSend::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(codes.size());
}

int AFTableSend::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant AFTableSend::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= codes.size())
        return {};
    const quint8 f1 = first(codes.at(index.row()));
    const quint8 f2 = second(codes.at(index.row()));
    const quint8 code = index.column() == 0 ? f1 : f2;
    switch (role) {
    case Qt::DisplayRole:
        if (bytes)
            return QStringLiteral("%1 = %2").arg(code).arg(code, 0, 16);
        return codeText(code, index.column() == 1 && f1 == kLfMfFollows);
    case Qt::BackgroundRole:
        if (f1 == kLfMfFollows)
            return QBrush(statusGreen);
        if (methodB && bothFm(f1, f2) && f2 < f1)
            return QBrush(statusBlue);
        if (index.column() == 0 && f1 >= kNoAf && f1 <= kLastCount)
            return QBrush(statusYellow);
        return {};
    case Qt::ToolTipRole:
        if (methodB && bothFm(f1, f2))
            return f1 < f2 ? QStringLiteral("F1 < F2") : tr("F1 > F2 regional");
        return {};
    default:
        return {};
    }
}

QVariant AFTableSend::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == 0)
        return QStringLiteral("F1 Byte");
    if (section == 1)
        return QStringLiteral("F2 Byte");
    return {};
}

Qt::ItemFlags AFTableSend::flags(const QModelIndex& /*index*/) const
{
    return Qt::ItemIsEnabled;
}
