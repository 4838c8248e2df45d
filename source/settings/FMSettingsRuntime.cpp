// Run-time values the board threads report: channel status, the song each
// channel plays, the songs the decoders have listed, and the RDS groups sent.
// They are published, never stored in the project file. Publishing happens
// while recordsLock is held; publish() only posts events, so no listener runs
// inside the lock.
#include "settings/FMSettings.h"
#include "settings/RdsLogRecord.h"

#include <QReadLocker>
#include <QWriteLocker>

namespace {

QString channelStatusKey(int number)
{
    return QStringLiteral("chstatus.%1").arg(number);
}

QString playRateKey(int number)
{
    return QStringLiteral("chinfo.%1.playrate").arg(number);
}

QString playingKey(int number)
{
    return QStringLiteral("chinfo.%1.playing").arg(number);
}

QString songInfoKey()
{
    return QStringLiteral("songinfo");
}

QString rdsLogKey(int number, int rdsSource)
{
    return QStringLiteral("chinfo.%1.rdslog.%2").arg(number).arg(rdsSource);
}

bool songChanged(const SongInfo& old, const SongInfo& song)
{
    return old.path != song.path || old.kind != song.kind || old.sampleRate != song.sampleRate;
}

} // namespace

void FMSettings::setChannelStatus(int number, const ChannelStatus& status)
{
    if (number < 1 || number > kChannelCount)
        return;
    QWriteLocker locker(&recordsLock);
    statusTable.insert(number, status);
    publish(channelStatusKey(number), QVariant());
}

ChannelStatus FMSettings::channelInfo(int number) const
{
    QReadLocker locker(&recordsLock);
    return statusTable.value(number);
}

void FMSettings::setPlayInfo(int number, const SongInfo& song)
{
    QWriteLocker locker(&recordsLock);
    const SongInfo previous = playTable.value(number);
    if (song.path.isEmpty())
        playTable.remove(number);
    else
        playTable.insert(number, song);
    if (song.sampleRate != previous.sampleRate)
        publish(playRateKey(number), song.sampleRate);
    if (song.path != previous.path)
        publish(playingKey(number), song.path);
}

SongInfo FMSettings::songInfo(int number) const
{
    QReadLocker locker(&recordsLock);
    return playTable.value(number);
}

void FMSettings::setSongInfo(int /*number*/, const QList<SongInfo>& songs)
{
    QWriteLocker locker(&recordsLock);
    bool changed = false;
    for (const SongInfo& song : songs) {
        const auto found = songTable.constFind(song.path);
        if (found != songTable.constEnd() && !songChanged(*found, song))
            continue;
        songTable.insert(song.path, song);
        changed = true;
    }
    if (changed)
        publish(songInfoKey(), QVariant());
}

QHash<QString, SongInfo> FMSettings::songInfos() const
{
    QReadLocker locker(&recordsLock);
    return songTable;
}

void FMSettings::addRDSLog(int number, int rdsSource, const QTime& timeOfDay, const uchar* group)
{
    const QByteArray record = RdsLogRecord::make(group, timeOfDay);
    if (record.isEmpty())
        return;
    publish(rdsLogKey(number, rdsSource), record);
}
