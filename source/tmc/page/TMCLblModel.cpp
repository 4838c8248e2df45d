#include "tmc/page/TMCLblModel.h"

#include "gui/UiGerman.h"
#include "tmc/TMCEvents.h"
#include "tmc/TMCPlaces.h"
#include "tmc/page/TMCLabelNames.h"

#include <QBrush>
#include <QDateTime>
#include <QDebug>
#include <QSet>

namespace {

constexpr int kLabelNumberBits = 4;
constexpr quint32 kGroupMask = (1u << TMCLblModel::kGroupBits) - 1;
constexpr int kMaxBits = TMCLblModel::kMaxGroups * TMCLblModel::kGroupBits;

enum Label
{
    Duration = 0,
    ControlCode = 1,
    RouteLength = 2,
    SpeedLimit = 3,
    Quantifier5 = 4,
    Quantifier8 = 5,
    SupplementaryInfo = 6,
    StartTime = 7,
    StopTime = 8,
    AdditionalEvent = 9,
    CrossLink = 13,
    Separator = 14
};

constexpr quint8 kLastQuantifier5 = 5;
constexpr int kQuarterHours = 95;   // explicit times: quarter hours of today
constexpr int kLastHour = 200;      // hours from 72 hours before today
constexpr int kLastDay = 231;       // day of the month
constexpr int kLastHalfMonth = 255; // middle or end of a month
constexpr int kHoursBefore = 72;

TMCLblModel::TodayFunction todayFunction = &QDate::currentDate;

quint8 quantifierType(quint16 event)
{
    return TMCEvents::eventRecord(event).quantifier;
}

} // namespace

TMCLblModel::TMCLblModel(QObject* parent) : QAbstractTableModel(parent) {}

TMCLblModel::~TMCLblModel()
{
    qDebug() << "~TMC label model";
}

void TMCLblModel::setTodayFunction(TodayFunction function)
{
    todayFunction = function ? function : &QDate::currentDate;
}

QDate TMCLblModel::today()
{
    return todayFunction();
}

int TMCLblModel::rowCount(const QModelIndex&) const
{
    return int(list.size());
}

int TMCLblModel::columnCount(const QModelIndex&) const
{
    return 2;
}

Qt::ItemFlags TMCLblModel::flags(const QModelIndex&) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;
}

QVariant TMCLblModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (row < 0 || row >= list.size() || index.column() < 0 || index.column() > 1)
        return QVariant();
    const quint32 label = list.at(row);
    const int n = labelNumber(label);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return TMCLabelNames::label(n);
        return n == Separator ? QVariant() : QVariant(valueText(row));
    case Qt::EditRole:
        return index.column() == 0 ? n : int(labelValue(label));
    case Qt::ToolTipRole:
        return toolTip(row);
    case Qt::BackgroundRole:
        return background(row);
    default:
        return QVariant();
    }
}

bool TMCLblModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int row = index.row();
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || row < 0 || row >= list.size())
        return false;
    bool ok = false;
    const quint32 number = value.toUInt(&ok);
    if (!ok)
        return false;
    if (index.column() == 0)
        list[row] = makeLabel(int(number), labelValue(list.at(row)));
    else if (index.column() == 1)
        list[row] = makeLabel(labelNumber(list.at(row)), number);
    else
        return false;
    check();
    // A value beyond its width packs as before, yet its text and colour
    // change.
    emit dataChanged(this->index(row, 0), this->index(row, 1));
    emit labelChanged(row, list.at(row));
    return true;
}

void TMCLblModel::setLabels(const QList<quint32>& labels, quint16 event)
{
    beginResetModel();
    list = labels;
    eventCode = event;
    check();
    endResetModel();
}

int TMCLblModel::addLabel(quint32 label)
{
    const int row = int(list.size());
    beginInsertRows(QModelIndex(), row, row);
    list.append(label);
    endInsertRows();
    check();
    return int(list.size());
}

int TMCLblModel::removeLabel(const QList<int>& rows)
{
    int removed = 0;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        if (*it < 0 || *it >= list.size())
            continue;
        beginRemoveRows(QModelIndex(), *it, *it);
        list.removeAt(*it);
        endRemoveRows();
        ++removed;
    }
    check();
    if (removed > 0)
        emit labelChanged(0, 0);
    return removed;
}

QStringList TMCLblModel::messages(int row) const
{
    return rowMessages.values(row);
}

// Marks the rules each row breaks and packs the rows the way the encoder
// does; rows whose bits end past the groups of one message are not sent.
void TMCLblModel::check()
{
    quint8 quantifier = quantifierType(eventCode);
    rowMessages.clear();
    QList<quint32> packed;
    QSet<int> seen;
    QSet<int> codes;
    quint64 accumulator = 0;
    int bits = 0;
    int totalBits = 0;
    lastFitting = -1;
    for (int row = 0; row < list.size(); ++row) {
        const int n = labelNumber(list.at(row));
        const quint16 v = labelValue(list.at(row));
        auto add = [&](const QString& text) { rowMessages.insert(row, text); };
        if (seen.contains(n)) {
            if (n == Duration || n == StartTime || n == StopTime || n == CrossLink)
                add(tr("Label nur einmal erlaubt"));
            else if (n == RouteLength || n == SpeedLimit)
                add(tr("Separator erforderlich"));
        }
        seen.insert(n);
        if (n == Separator) {
            seen.remove(RouteLength);
            seen.remove(SpeedLimit);
        }
        if (n == Duration && v == 0)
            add(tr("Dauer 0 unzulässig"));
        if (n == ControlCode) {
            const int code = v % TMCLabelNames::kControlCodes;
            if (codes.contains(code))
                add(tr("Jeder Code nur einmal erlaubt"));
            codes.insert(code);
        }
        const bool noQuantifier = quantifier == TMCEventRecord::kNoQuantifier;
        if ((n == Quantifier5 && quantifier > kLastQuantifier5 && !noQuantifier) ||
            (n == Quantifier8 && quantifier <= kLastQuantifier5))
            add(tr("Quantifier hat falsche Bitbreite"));
        if ((n == Quantifier5 || n == Quantifier8) && noQuantifier)
            add(tr("Ereignis hat keinen Quantifier"));
        if (n == AdditionalEvent) {
            const TMCEventRecord record = TMCEvents::eventRecord(v);
            if (record.nature == 'S')
                add(tr("Stille Meldung unzulässig"));
            quantifier = record.quantifier;
        }
        const int width = TMCLabelNames::width(n);
        accumulator = (((accumulator << kLabelNumberBits) | quint64(n)) << width) |
                      (v & TMCLabelNames::maximum(n));
        bits += kLabelNumberBits + width;
        totalBits += kLabelNumberBits + width;
        if (bits >= kGroupBits) {
            bits -= kGroupBits;
            packed.append(quint32(accumulator >> bits) & kGroupMask);
            accumulator &= (quint64(1) << bits) - 1;
        }
        if (totalBits <= kMaxBits)
            lastFitting = row;
    }
    if (bits > 0)
        packed.append(quint32(accumulator << (kGroupBits - bits)) & kGroupMask);
    if (totalBits <= kMaxBits)
        lastFitting = kAllFit;
    if (packed != groupWords) {
        groupWords = packed;
        if (!list.isEmpty())
            emit dataChanged(index(0, 0), index(int(list.size()) - 1, 1));
    }
}

bool TMCLblModel::outOfRange(quint32 label) const
{
    const int n = labelNumber(label);
    return n != Separator && labelValue(label) > TMCLabelNames::maximum(n);
}

quint16 TMCLblModel::eventFor(int row) const
{
    for (int above = row - 1; above >= 0; --above) {
        if (labelNumber(list.at(above)) == AdditionalEvent)
            return labelValue(list.at(above));
    }
    return eventCode;
}

QString TMCLblModel::valueText(int row) const
{
    const int n = labelNumber(list.at(row));
    const int v = labelValue(list.at(row));
    const QString alone = QString::number(v);
    const QString p = alone + QStringLiteral(": ");
    switch (n) {
    case Duration: {
        const quint16 event = eventFor(row);
        return event == 0 ? alone : p + TMCEvents::durationText(event, v);
    }
    case ControlCode:
        return v < TMCLabelNames::kControlCodes ? p + TMCLabelNames::controlCode(v) : alone;
    case RouteLength:
        // ALERT-C length of route: 1 km steps, then 2 km, then 5 km.
        if (v == 0)
            return p + tr("über 100 km");
        if (v <= 10)
            return p + tr("%1 km").arg(v);
        if (v <= 15)
            return p + tr("%1 km").arg(2 * v - 10);
        if (v <= 31)
            return p + tr("%1 km").arg(5 * v - 55);
        return alone;
    case SpeedLimit:
        return v <= 31 ? p + tr("%1 km/h").arg(5 * v) : alone;
    case Quantifier5:
    case Quantifier8: {
        const quint16 event = eventFor(row);
        return event == 0 ? alone : p + TMCEvents::quantifierText(event, v);
    }
    case SupplementaryInfo:
        return p + TMCEvents::suppInfoText(quint16(v), uiGerman);
    case StartTime:
    case StopTime:
        return v <= kLastHalfMonth ? p + timeText(v) : alone;
    default:
        return alone;
    }
}

// Explicit start and stop times of ALERT-C, counted from today.
QString TMCLblModel::timeText(int v) const
{
    const QDate now = today();
    if (v <= kQuarterHours)
        return QTime(0, 0).addSecs(v * 15 * 60).toString(QStringLiteral("hh:mm"));
    if (v <= kLastHour) {
        const QDateTime midnight(now, QTime(0, 0));
        return midnight.addSecs(qint64(v - kHoursBefore) * 3600)
            .toString(QStringLiteral("dddd hh:mm"));
    }
    if (v <= kLastDay) {
        const int day = v - 200;
        QDate month(now.year(), now.month(), 1);
        if (now.day() >= day)
            month = month.addMonths(1);
        return QDate(month.year(), month.month(), day).toString(QStringLiteral("dd. MMMM"));
    }
    const int monthNumber = (v - 230) / 2;
    const int year = now.month() >= monthNumber ? now.year() + 1 : now.year();
    const QString format =
        (v % 2) ? QStringLiteral("'Ende' MMMM yyyy") : QStringLiteral("'Mitte' MMMM yyyy");
    return QDate(year, monthNumber, 15).toString(format);
}

QString TMCLblModel::toolTip(int row) const
{
    if (!withinLimit(row))
        return tr("Limit für 4 Gruppen überschritten (max. 4*28 Bits)");
    const int n = labelNumber(list.at(row));
    const quint16 v = labelValue(list.at(row));
    if (n >= Separator)
        return QString();
    QString tip;
    for (const QString& message : rowMessages.values(row))
        tip += message + QLatin1Char('\n');
    if (n <= StopTime) {
        const QString range = outOfRange(list.at(row)) ? QStringLiteral("Out of range [0..%1]\n%2")
                                                       : QStringLiteral("[0..%1]\n%2");
        return tip + range.arg(QString::number(TMCLabelNames::maximum(n)), valueText(row));
    }
    if (n == AdditionalEvent)
        return tip + TMCEvents::eventText(v);
    return tip + TMCPlaces::placeText(v);
}

QVariant TMCLblModel::background(int row) const
{
    if (outOfRange(list.at(row)) || !withinLimit(row))
        return QBrush(Qt::red);
    if (rowMessages.contains(row))
        return QBrush(Qt::yellow);
    return QVariant();
}
