#include "country/ECCModel.h"

#include "country/CountryTable.h"

#include <QDebug>

ECCModel::ECCModel(QObject* parent) : QAbstractTableModel(parent) {}

ECCModel::~ECCModel()
{
    qDebug("~ECC model");
}

int ECCModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(result.size());
}

int ECCModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ECCModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= result.size())
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignHCenter | Qt::AlignVCenter);
    if (role == Qt::DisplayRole)
        return cell(result.at(index.row()), index.column());
    return QVariant();
}

QVariant ECCModel::cell(const ECC& row, int column) const
{
    switch (column) {
    case ColIso:
        return QString::fromLatin1(row.iso);
    case ColEcc:
        return QStringLiteral("%1").arg(row.ecc(), 2, 16, QLatin1Char('0')).toUpper();
    case ColCi:
        return QString::fromLatin1(row.ci);
    case ColNameEn:
        return row.nameEn;
    case ColNameDe:
        return row.nameDe;
    default:
        return QVariant();
    }
}

QVariant ECCModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section) : QVariant();
    static const char* const kTitles[ColumnCount] = {"ISO", "ECC", "CI code", "Country", "Land"};
    if (section < 0 || section >= ColumnCount)
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kTitles[section]);
    if (role != Qt::ToolTipRole)
        return QVariant();
    switch (section) {
    case ColIso:
        return QStringLiteral("ISO-3166-1 ALPHA-2 code (Germany = DE)");
    case ColEcc:
        return QStringLiteral("Extended Country Code (Germany = 0xE0)");
    case ColCi:
        return QStringLiteral("Country Identifier\n") + tr("erste Stelle des PI-Codes");
    case ColNameEn:
        return QStringLiteral("English name");
    default:
        return QStringLiteral("German name");
    }
}

Qt::ItemFlags ECCModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

int ECCModel::filterArea(quint8 mask)
{
    if (mask == 0)
        return replaceResult(countryTable);
    QList<ECC> rows;
    for (const ECC& row : std::as_const(countryTable)) {
        if ((row.area() & mask) == mask)
            rows.append(row);
    }
    return replaceResult(std::move(rows));
}

int ECCModel::filterText(const QString& text)
{
    if (text.isEmpty())
        return replaceResult(countryTable);
    QList<ECC> rows = rowsByCode(text.toUpper().toUtf8());
    for (const ECC& row : std::as_const(countryTable)) {
        const bool named = row.nameEn.contains(text, Qt::CaseInsensitive) ||
                           row.nameDe.contains(text, Qt::CaseInsensitive);
        // A name search lists one row of several that share an English name
        // (China); the code search before it lists them all.
        const auto sameName = [&row](const ECC& held) { return held.nameEn == row.nameEn; };
        if (named && std::none_of(rows.cbegin(), rows.cend(), sameName))
            rows.append(row);
    }
    return replaceResult(std::move(rows));
}

// Two characters are an ISO code or an ECC in hexadecimal ("de", "e0").
QList<ECC> ECCModel::rowsByCode(const QByteArray& code)
{
    QList<ECC> rows;
    if (code.size() != 2)
        return rows;
    bool isHex = false;
    const int ecc = code.toInt(&isHex, 16);
    for (const ECC& row : std::as_const(countryTable)) {
        if (row.iso == code || (isHex && row.ecc() == ecc))
            rows.append(row);
    }
    return rows;
}

ECC ECCModel::row(int n) const
{
    return n >= 0 && n < result.size() ? result.at(n) : ECC();
}

// The views keep persistent indexes (selection, current cell) across a
// layout change; the rows they pointed at are gone, so they are let go
// rather than left pointing past the end of a shorter result.
int ECCModel::replaceResult(QList<ECC> rows)
{
    emit layoutAboutToBeChanged();
    result = std::move(rows);
    const QModelIndexList held = persistentIndexList();
    changePersistentIndexList(held, QModelIndexList(held.size()));
    emit layoutChanged();
    return int(result.size());
}
