// Frequency plan of the used channels, their distances and the automatic AF
// lists of the RDS sources that share a PI.
#include "settings/FMSettings.h"

#include "settings/ListCodecs.h"

#include <QWriteLocker>

#include <cmath>

namespace {

constexpr int kChannelsPerBoard = 24;
constexpr double kAloneDistance = 100.0;

QString threeDecimals(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

void FMSettings::setModulatorCount(int count)
{
    if (count == modulatorCount)
        return;
    modulatorCount = count;
    frequencyTable.clear();
    distanceTable.clear();
    updateAllDistances();
}

void FMSettings::updateAllDistances()
{
    if (modulatorCount < 1)
        return;
    bool entered = false;
    for (int c = 1; c <= kChannelsPerBoard * modulatorCount; ++c) {
        const ChannelConfig config = channel(c);
        if (config.used && !frequencyTable.contains(c)) {
            frequencyTable.insert(c, config.freq);
            entered = true;
        }
    }
    if (entered)
        updateDistance();
}

void FMSettings::setChannelFreq(int number, double mhz, bool used)
{
    if (number < 1 || number > kChannelsPerBoard * modulatorCount)
        return;
    // Only a new frequency is written: the same one in another spelling
    // (95.8 for 95.800), or the default of a channel without the key, would
    // mark a project that was only opened as edited.
    if (mhz != 0 && std::lround(channel(number).freq * 1000) != std::lround(mhz * 1000))
        setValue(QStringLiteral("channel.%1.freq").arg(number), threeDecimals(mhz));
    if (used) {
        const auto it = frequencyTable.constFind(number);
        if (it != frequencyTable.cend() && *it == mhz)
            return;
        frequencyTable.insert(number, mhz);
    } else {
        if (!frequencyTable.remove(number))
            return;
    }
    updateDistance();
}

void FMSettings::updateDistance()
{
    for (auto it = frequencyTable.cbegin(); it != frequencyTable.cend(); ++it) {
        double nearest = kAloneDistance;
        for (auto other = frequencyTable.cbegin(); other != frequencyTable.cend(); ++other)
            if (other.key() != it.key())
                nearest = std::min(nearest, std::fabs(*other - *it));
        nearest = std::round(nearest * 1000) * 0.001;
        const auto known = distanceTable.constFind(it.key());
        if (known != distanceTable.cend() && *known == nearest)
            continue;
        distanceTable.insert(it.key(), nearest);
        publish(QStringLiteral("chinfo.%1.dist").arg(it.key()), threeDecimals(nearest));
    }
    if (autoAF) {
        QWriteLocker locker(&recordsLock);
        computeAutoAF();
    }
}

void FMSettings::publishDistances() const
{
    for (auto it = distanceTable.cbegin(); it != distanceTable.cend(); ++it)
        publish(QStringLiteral("chinfo.%1.dist").arg(it.key()), threeDecimals(*it));
}

void FMSettings::updateAutoAF(bool request)
{
    if (request)
        autoAF = true;
    else if (!autoAF)
        return;
    QWriteLocker locker(&recordsLock);
    computeAutoAF();
}

bool FMSettings::addAFEntry(QList<AFEntry>& list, int number, int source) const
{
    AFEntry entry;
    entry.freq = qint32(std::abs(std::lround(frequencyTable.value(number) * 10)));
    entry.marker = quint16(number);
    entry.regional = rdsMap.value(source).afr.contains(entry.freq) ? 1 : 0;
    for (const AFEntry& known : list)
        if (known.freq == entry.freq)
            return false;
    list.append(entry);
    return true;
}

void FMSettings::computeAutoAF()
{
    for (RDSSource& source : rdsMap)
        source.af.clear();

    QList<QPair<int, int>> pairs; // channel, RDS source
    for (auto it = frequencyTable.cbegin(); it != frequencyTable.cend(); ++it) {
        const int source = value(QStringLiteral("channel.%1.idrds").arg(it.key())).toInt();
        // A channel that names no existing source adds nothing; naming it
        // must not create the source.
        if (source >= 1 && rdsMap.contains(source))
            pairs.append({it.key(), source});
    }

    for (const auto& [c, s] : pairs) {
        QList<AFEntry>& own = rdsMap[s].af;
        addAFEntry(own, c, s);
        for (const auto& [c2, s2] : pairs) {
            if (c2 == c || rdsMap.value(s2).pi != rdsMap.value(s).pi)
                continue;
            addAFEntry(rdsMap[s2].af, c, s);
            addAFEntry(rdsMap[s].af, c2, s2);
        }
        QList<AFEntry>& list = rdsMap[s].af;
        std::stable_sort(list.begin(), list.end(),
                         [](const AFEntry& a, const AFEntry& b) { return a.marker < b.marker; });

        const QList<AFEntry>& published = publishedAF[s];
        const bool same =
            published.size() == list.size() &&
            std::equal(list.cbegin(), list.cend(), published.cbegin(),
                       [](const AFEntry& a, const AFEntry& b) { return a.freq == b.freq; });
        if (same)
            continue;
        publishedAF[s] = list;
        publish(QStringLiteral("rds.%1.af").arg(s), pairsToText(list + rdsMap[s].afs));
    }

    // The lists of linked EON rows follow in memory, where the encoders and
    // the RDS page take them; the project file gets them when the operator
    // saves the EON table, so opening a project changes nothing in it.
    for (auto t = rdsMap.begin(); t != rdsMap.end(); ++t) {
        for (int i = 0; i < t->eon.size(); ++i) {
            EON& entry = t->eon[i];
            QList<AFEntry> list;
            if (!linkedAF(entry.channel, list))
                continue;
            const bool same =
                entry.af.size() == list.size() &&
                std::equal(list.cbegin(), list.cend(), entry.af.cbegin(),
                           [](const AFEntry& a, const AFEntry& b) { return a.freq == b.freq; });
            if (same)
                continue;
            entry.af = list;
            publish(QStringLiteral("rds.%1.eon.%2.af").arg(t.key()).arg(i), pairsToText(list));
        }
    }
}
