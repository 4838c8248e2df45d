#pragma once

// A project of four boards (96 channels) whose twelve RDS sources each go
// out on eight channels, and whose EON rows are linked to channels of the
// next source. The AF lists stored with the rows are stale, as in a project
// saved with a different frequency plan: a store that opens the project
// derives other lists, but must not write them.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <utility>

namespace LinkedEonProject {

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The random key of a store's run is written at every open and is no part
// of the project.
inline QByteArray withoutRunTimeKeys(QByteArray ini)
{
    const qsizetype at = ini.indexOf("\nrand=");
    if (at >= 0)
        ini.remove(at + 1, ini.indexOf('\n', at + 1) - at);
    return ini;
}

constexpr int kChannels = 96;
constexpr int kSources = 12;
constexpr int kBoards = 4;
const QString kStaleAf = QStringLiteral("932 962 1002 1042");

// Channel c carries source ((c - 1) % 12) + 1 on 87.6 MHz + 0.2 MHz x (c - 1).
inline int sourceOf(int channel)
{
    return (channel - 1) % kSources + 1;
}

inline int tenthsOf(int channel)
{
    return 876 + 2 * (channel - 1);
}

// The channel that source s's EON row 0 is linked to: one of source s + 1,
// beyond the first board.
inline int linkedChannel(int source)
{
    return 24 + source % kSources + 1;
}

inline quint16 piOf(int source)
{
    return quint16(0xD300 + source);
}

inline QList<std::pair<QString, QString>> keys()
{
    // Written as the program saves a project: rates in groups per minute.
    QList<std::pair<QString, QString>> keys{{QStringLiteral("board/gmin"), QStringLiteral("1")}};
    for (int c = 1; c <= kChannels; ++c) {
        const QString group = QStringLiteral("channel.%1/").arg(c);
        keys.append({group + QStringLiteral("used"), QStringLiteral("1")});
        keys.append({group + QStringLiteral("idrds"), QString::number(sourceOf(c))});
        keys.append({group + QStringLiteral("freq"), QString::number(tenthsOf(c) / 10.0, 'f', 3)});
    }
    for (int s = 1; s <= kSources; ++s) {
        const QString group = QStringLiteral("rds.%1/").arg(s);
        keys.append({group + QStringLiteral("used"), QStringLiteral("1")});
        keys.append({group + QStringLiteral("name"), QStringLiteral("RDS-%1").arg(s)});
        keys.append({group + QStringLiteral("pi"), QString::number(piOf(s), 16)});
        keys.append({group + QStringLiteral("ps"), QStringLiteral("PROG %1").arg(s)});
        keys.append({group + QStringLiteral("afu"), QStringLiteral("3")});
        const int linked = linkedChannel(s);
        keys.append(
            {group + QStringLiteral("eon/0"),
             QStringLiteral("%1 %2 10 1 0 0").arg(linked).arg(piOf(sourceOf(linked)), 0, 16)});
        keys.append(
            {group + QStringLiteral("eon/0/ps"), QStringLiteral("PROG %1").arg(sourceOf(linked))});
        keys.append({group + QStringLiteral("eon/0/af"), kStaleAf});
    }
    return keys;
}

// The frequencies (x10) of the channels that carry source s and lie on the
// first boards of the plan.
inline QList<int> planFrequencies(int source, int boards)
{
    QList<int> list;
    for (int c = 1; c <= 24 * boards; ++c) {
        if (sourceOf(c) == source)
            list.append(tenthsOf(c));
    }
    return list;
}

} // namespace LinkedEonProject
