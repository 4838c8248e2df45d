#include "tmc/page/TMCEvtModel.h"

#include <QDebug>

namespace {

constexpr quint8 kCaseBit = 0x20; // letters compare in either case
constexpr int kMaxShownQuantifier = 99;

// A set letter filter matches when both sides agree apart from case; a
// filter ' ' matches an empty field and 'D' a bracketed 'd'.
bool letterMatches(quint8 filter, quint8 field)
{
    if (filter == 0)
        return true;
    const quint8 value = field == 0 ? quint8(' ') : field;
    return (filter & ~kCaseBit) == (value & ~kCaseBit);
}

QVariant letter(quint8 value)
{
    return value == 0 ? QVariant() : QVariant(QString(QChar(value)));
}

QVariant nonZero(int value)
{
    return value == 0 ? QVariant() : QVariant(value);
}

} // namespace

TMCEvtModel::TMCEvtModel(QObject* parent) : QAbstractTableModel(parent) {}

TMCEvtModel::~TMCEvtModel()
{
    qDebug() << "~TMC event model";
}

int TMCEvtModel::rowCount(const QModelIndex&) const
{
    return int(rows.size());
}

int TMCEvtModel::columnCount(const QModelIndex&) const
{
    return kColumns;
}

Qt::ItemFlags TMCEvtModel::flags(const QModelIndex& index) const
{
    if (index.column() == 0)
        return Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled;
}

QVariant TMCEvtModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= rows.size())
        return QVariant();
    const TMCEventRecord& r = rows.at(index.row());
    switch (index.column()) {
    case 0:
        return r.code;
    case 1:
        return r.row;
    case 2:
        return letter(r.nature);
    case 3:
        return r.quantifier > kMaxShownQuantifier ? QVariant() : QVariant(r.quantifier);
    case 4:
        return letter(r.durationType);
    case 5:
        return nonZero(r.directionality);
    case 6:
        return letter(r.urgency);
    case 7:
        return nonZero(r.updateClass);
    case 8:
        return r.references.isEmpty() ? QVariant() : QVariant(QString::fromUtf8(r.references));
    case 9:
        return QString::fromUtf8(r.german) + QStringLiteral(" / ") + QString::fromUtf8(r.english);
    default:
        return QVariant();
    }
}

QVariant TMCEvtModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QVariant();
    if (role == Qt::DisplayRole) {
        static const char* const titles[kColumns] = {
            "Code", "Zeile", "N", "Q", "T", "D", "U", "C", "Refer", "German / English"};
        return QString::fromLatin1(titles[section]);
    }
    if (role == Qt::ToolTipRole) {
        const QString tips[kColumns] = {tr("Ereignis Code"), tr("Zeile im Standard"),
                                        tr("Nature"),        tr("Quantifier"),
                                        tr("Duration Type"), tr("Directionality"),
                                        tr("Urgency"),       tr("Class"),
                                        tr("References"),    tr("Ereignistext Deutsch / English")};
        return tips[section];
    }
    return QVariant();
}

void TMCEvtModel::setResult(const TMCEventRecord& filter, const QString& text,
                            const QMap<int, TMCEventRecord>& events)
{
    if (!rows.isEmpty()) {
        beginRemoveRows(QModelIndex(), 0, int(rows.size()) - 1);
        rows.clear();
        endRemoveRows();
    }
    QList<TMCEventRecord> found;
    const bool all = isEmptyFilter(filter, text);
    for (const TMCEventRecord& record : events) {
        if (all || matches(filter, text, record))
            found.append(record);
    }
    if (found.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, int(found.size()) - 1);
    rows = found;
    endInsertRows();
}

bool TMCEvtModel::isEmptyFilter(const TMCEventRecord& filter, const QString& text)
{
    return text.isEmpty() && filter.quantifier == TMCEventRecord::kNoQuantifier &&
           filter.nature == 0 && filter.durationType == 0 && filter.urgency == 0 &&
           filter.directionality == 0 && filter.updateClass == 0;
}

bool TMCEvtModel::matches(const TMCEventRecord& filter, const QString& text,
                          const TMCEventRecord& record)
{
    bool isNumber = false;
    const int code = text.toInt(&isNumber);
    if (isNumber && code == record.code)
        return true;
    if (!text.isEmpty() && !QString::fromUtf8(record.english).contains(text, Qt::CaseInsensitive) &&
        !QString::fromUtf8(record.german).contains(text, Qt::CaseInsensitive))
        return false;
    if (filter.quantifier != TMCEventRecord::kNoQuantifier &&
        filter.quantifier != record.quantifier)
        return false;
    if (filter.directionality != 0 && filter.directionality != record.directionality)
        return false;
    if (filter.updateClass != 0 && filter.updateClass != record.updateClass)
        return false;
    return letterMatches(filter.nature, record.nature) &&
           letterMatches(filter.urgency, record.urgency) &&
           letterMatches(filter.durationType, record.durationType);
}
