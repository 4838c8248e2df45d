#include "rds/RDSDecoder.h"

#include "board/RdsGroupBytes.h"
#include "settings/RdsLogRecord.h"

#include <QDateTime>

#include <chrono>

namespace {

// Groups per minute at 1187.5 bit/s and 104 bits per group.
constexpr double kGroupsPerMinute = 685.0961538461538;
constexpr int kCode8A = RDSDecoder::kCode8AApplication;
constexpr int kCode3A = 6;
// Blocks B, C and D of the error flags.
constexpr quint8 kAnnouncementBlocks = 0x0E;

} // namespace

RDSDecoder::RDSDecoder(QObject* parent) : QAbstractTableModel(parent)
{
    for (int channel = 0; channel <= kChannels; ++channel)
        reset(channel);
}

RDSDecoder::~RDSDecoder()
{
    qDebug("~RDS decoder model");
}

int RDSDecoder::clampChannel(int channel)
{
    return qBound(0, channel, kChannels);
}

namespace {

// The offset of local time from UTC at the start of today. Asking the time
// zone reads its file again each time, and the monitor asks for every
// group, hundreds of times a second: the answer is kept for a minute.
qint64 localOffsetMs()
{
    using Clock = std::chrono::steady_clock;
    constexpr auto kKeep = std::chrono::minutes(1);
    thread_local Clock::time_point askedAt;
    thread_local qint64 offsetMs = 0;
    thread_local bool asked = false;
    const Clock::time_point now = Clock::now();
    if (!asked || now - askedAt >= kKeep) {
        const QDateTime startOfToday(QDate::currentDate(), QTime(0, 0));
        offsetMs = qint64(startOfToday.offsetFromUtc()) * 1000;
        askedAt = now;
        asked = true;
    }
    return offsetMs;
}

} // namespace

QTime RDSDecoder::timeOfRecord(const QByteArray& record)
{
    // The record carries UTC; the view shows the local time of day.
    const qint64 offsetMs = localOffsetMs();
    const qint64 ms = qint64(quint32(RdsLogRecord::msecsSinceMidnight(record))) + offsetMs;
    constexpr qint64 kDayMs = 24LL * 3600 * 1000;
    return QTime::fromMSecsSinceStartOfDay(int(((ms % kDayMs) + kDayMs) % kDayMs));
}

quint8 RDSDecoder::checkBlocks(const RdsGroup& group)
{
    // The check words are recomputed from the data, as a receiver does; the
    // encoder's own check words are not trusted.
    quint8 flags = 0;
    for (int block = RdsGroup::A; block <= RdsGroup::D; ++block) {
        const quint16 expected = RdsGroup::checkword(group.blocks[block], group.offsetFor(block));
        if (expected != (group.checks[block] & 0x3FF))
            flags |= quint8(1 << block);
    }
    return flags;
}

bool RDSDecoder::addGroup(int channel, const QByteArray& record)
{
    if (!RdsLogRecord::isRecord(record) || channel < 1 || channel > kChannels)
        return false;
    RdsChannelState& state = states[channel];
    state.time = timeOfRecord(record);
    state.group = RdsGroupBytes::unpack(reinterpret_cast<const quint8*>(record.constData()));
    state.errorFlags = checkBlocks(state.group);
    state.errors = quint8(qPopulationCount(state.errorFlags));

    const quint16 b = state.group.blocks[RdsGroup::B];
    const int code = b >> 11;
    if (code == kCode8A) {
        tmcSpacing = state.since8A;
        state.since8A = 0;
    } else {
        ++state.since8A;
    }
    count(channel, code);

    if (code == kCode3A && (state.errorFlags & kAnnouncementBlocks) == 0) {
        const quint16 application = b & 0x1F;
        state.odaTypes[state.group.blocks[RdsGroup::D]] = application;
        state.odaMessages[application] = state.group.blocks[RdsGroup::C];
    }
    return !logFilter.contains(code);
}

void RDSDecoder::count(int channel, int code)
{
    RdsChannelState& state = states[channel];
    ++state.counts[RdsChannelState::kTotal];
    const bool known = state.counts.contains(code);
    ++state.counts[code];
    if (!known)
        state.rows = state.counts.keys();
    if (channel != shownChannel)
        return;
    if (!known) {
        emit layoutChanged();
        return;
    }
    // One more group changes the total and so every row's rate and share.
    emit dataChanged(index(0, 1), index(rowCount() - 1, kColumns - 1), {});
}

RdsChannelState RDSDecoder::group(int channel) const
{
    if (channel < 1 || channel > kChannels)
        return states[0];
    return states[channel];
}

void RDSDecoder::reset(int channel)
{
    channel = clampChannel(channel);
    RdsChannelState& state = states[channel];
    state.rows.clear();
    state.counts.clear();
    state.odaTypes.clear();
    state.odaMessages.clear();
    state.errors = 0;
    if (channel == shownChannel)
        emit layoutChanged();
}

void RDSDecoder::resetAll()
{
    for (int channel = 0; channel <= kChannels; ++channel)
        reset(channel);
}

void RDSDecoder::setLog(int channel)
{
    tmcBitCount = 0;
    shownChannel = clampChannel(channel);
    emit layoutChanged();
}

int RDSDecoder::rowCount(const QModelIndex&) const
{
    return int(states[shownChannel].rows.size());
}

int RDSDecoder::columnCount(const QModelIndex&) const
{
    return kColumns;
}

QString RDSDecoder::cellText(int key, int column) const
{
    const QMap<int, int>& counts = states[shownChannel].counts;
    const int amount = counts.value(key);
    // The total row exists once a group was counted, so the total is not 0.
    const double share = double(amount) / counts.value(RdsChannelState::kTotal);
    switch (column) {
    case 0:
        if (key == RdsChannelState::kTotal)
            return tr("Summe");
        return QString::number(key >> 1) + ((key & 1) ? u'B' : u'A');
    case 1:
        return QString::number(amount);
    case 2:
        return QString::number(share * kGroupsPerMinute, 'f', 0);
    default:
        return QStringLiteral("%1 %").arg(share * 100.0, 0, 'f', 1);
    }
}

QVariant RDSDecoder::data(const QModelIndex& index, int role) const
{
    const QList<int>& rows = states[shownChannel].rows;
    if (!index.isValid() || index.row() < 0 || index.column() < 0 || index.row() >= rows.size() ||
        index.column() >= kColumns)
        return {};
    const int key = rows.at(index.row());
    if (role == Qt::DisplayRole)
        return cellText(key, index.column());
    if (role == Qt::CheckStateRole && index.column() == 0 && key != RdsChannelState::kTotal)
        return logFilter.contains(key) ? Qt::Unchecked : Qt::Checked;
    return {};
}

bool RDSDecoder::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const QList<int>& rows = states[shownChannel].rows;
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || index.row() < 0 ||
        index.row() >= rows.size())
        return false;
    const int key = rows.at(index.row());
    if (value.toInt() == 0)
        logFilter.insert(key);
    else
        logFilter.remove(key);
    return true;
}

QVariant RDSDecoder::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section) : QVariant();
    if (section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole) {
        const QString titles[kColumns] = {tr("Gruppe"), tr("Gesamt"), tr("G / min"), tr("Prozent")};
        return titles[section];
    }
    if (role == Qt::ToolTipRole) {
        const QString tips[kColumns] = {tr("RDS-Gruppe filtern"), tr("Pakete insgesamt gesendet"),
                                        tr("Gruppen pro Minute"), tr("Prozent")};
        return tips[section];
    }
    return {};
}

Qt::ItemFlags RDSDecoder::flags(const QModelIndex& index) const
{
    if (index.column() == 0)
        return Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
    return Qt::ItemIsEnabled;
}
