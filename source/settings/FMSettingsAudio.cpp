// Audio sources, playlists and the name lists of the source choosers.
#include "settings/FMSettings.h"

#include "settings/SourceNumbers.h"

#include <QDebug>
#include <QFileInfo>
#include <QReadLocker>
#include <QWriteLocker>

namespace {

QString audioKey(int number, const char* field)
{
    return QStringLiteral("audio.%1.%2").arg(number).arg(QLatin1String(field));
}

} // namespace

QMap<int, AudioSource> FMSettings::audioSources() const
{
    QReadLocker locker(&recordsLock);
    return audioMap;
}

AudioSource FMSettings::audioSource(int number) const
{
    QReadLocker locker(&recordsLock);
    return audioMap.value(number);
}

AudioSource FMSettings::setAudio(const QString& path)
{
    QWriteLocker locker(&recordsLock);
    auto makeFile = [&](int number, AudioSource& source) {
        if (path.isEmpty())
            return;
        source.type = AudioSource::File;
        source.file = path;
        setValue(audioKey(number, "type"), int(AudioSource::File));
        setValue(audioKey(number, "file"), path);
    };
    for (auto it = audioMap.begin(); it != audioMap.end(); ++it) {
        if (it->used)
            continue;
        it->used = true;
        setValue(audioKey(it.key(), "used"), 1);
        makeFile(it.key(), *it);
        return *it;
    }
    const int number = nextSourceNumber(audioMap);
    AudioSource source;
    source.name = QStringLiteral("Audio-%1").arg(number);
    setValue(audioKey(number, "name"), source.name);
    setValue(audioKey(number, "used"), 1);
    makeFile(number, source);
    audioMap.insert(number, source);
    return source;
}

bool FMSettings::removeAudio(int number)
{
    QWriteLocker locker(&recordsLock);
    auto it = audioMap.find(number);
    if (it == audioMap.end())
        return false;
    it->used = false;
    setValue(audioKey(number, "used"), 0);
    return true;
}

bool FMSettings::setAudioUsed(int number, bool used)
{
    QWriteLocker locker(&recordsLock);
    setValue(audioKey(number, "used"), used ? 1 : 0);
    audioMap[number].used = used;
    return true;
}

bool FMSettings::setAudioType(int number, int type)
{
    QWriteLocker locker(&recordsLock);
    setValue(audioKey(number, "type"), type);
    audioMap[number].type = type;
    return true;
}

bool FMSettings::setAudioName(int number, const QString& name)
{
    QWriteLocker locker(&recordsLock);
    setValue(audioKey(number, "name"), name);
    audioMap[number].name = name;
    return true;
}

bool FMSettings::setAudioFile(int number, const QString& path)
{
    QWriteLocker locker(&recordsLock);
    if (path.isEmpty())
        remove(audioKey(number, "file"), false);
    else
        setValue(audioKey(number, "file"), path);
    audioMap[number].file = path;
    return true;
}

bool FMSettings::setAudioSignal(int number, int frq1, int frq2, int vol1, int vol2, int time)
{
    if (number <= 0)
        return false;
    QWriteLocker locker(&recordsLock);
    AudioSource& source = audioMap[number];
    auto apply = [&](int argument, quint16& field, const char* key) {
        if (argument < 0)
            return;
        field = quint16(argument);
        setValue(audioKey(number, key), int(field));
    };
    apply(frq1, source.frq1, "frq1");
    apply(frq2, source.frq2, "frq2");
    apply(vol1, source.vol1, "vol1");
    apply(vol2, source.vol2, "vol2");
    apply(time, source.time, "time");
    return true;
}

QMap<int, Playlist> FMSettings::playlists() const
{
    QReadLocker locker(&recordsLock);
    return playlistMap;
}

QStringList FMSettings::playlist(int number) const
{
    QReadLocker locker(&recordsLock);
    return playlistMap.value(number).items;
}

QStringList FMSettings::addPlaylistFiles(int number, int row, const QStringList& paths)
{
    QStringList items = playlist(number);
    if (row < 0 || row >= items.size()) {
        items.append(paths);
    } else {
        for (int i = 0; i < paths.size(); ++i)
            items.insert(row + i, paths[i]);
    }
    for (QString& item : items)
        item = QFileInfo(item).absoluteFilePath();
    writePlaylist(QStringLiteral("playlist.%1").arg(number), items);
    QWriteLocker locker(&recordsLock);
    playlistMap[number].items = items;
    return items;
}

QStringList FMSettings::removePlaylistFiles(int number, const QStringList& paths)
{
    writePlaylist(QStringLiteral("playlist.%1").arg(number), paths);
    QWriteLocker locker(&recordsLock);
    playlistMap[number].items = paths;
    return paths;
}

bool FMSettings::setPlaylistName(int number, const QString& name)
{
    QWriteLocker locker(&recordsLock);
    auto it = playlistMap.find(number);
    if (it == playlistMap.end())
        return false;
    it->name = name;
    return setValue(QStringLiteral("playlist.%1.name").arg(number), name);
}

int FMSettings::newPlaylist()
{
    QWriteLocker locker(&recordsLock);
    int number = 1;
    while (playlistMap.contains(number))
        ++number;
    playlistMap.insert(number, Playlist());
    return number;
}

bool FMSettings::deletePlaylist(int number)
{
    QWriteLocker locker(&recordsLock);
    if (!playlistMap.remove(number))
        return false;
    const QString group = QStringLiteral("playlist.%1").arg(number);
    rawRemove(group);
    for (auto it = audioMap.begin(); it != audioMap.end(); ++it) {
        if (it->file.compare(group, Qt::CaseInsensitive) != 0)
            continue;
        it->file.clear();
        setValue(audioKey(it.key(), "file"), QString());
        qDebug("FMS: audio.%d lost its playlist", it.key());
    }
    return true;
}

void FMSettings::writePlaylist(const QString& group, const QStringList& items)
{
    const QString g = normalizeKey(group);
    const QString name = rawValue(g + QLatin1String("/name")).toString();
    QStringList oldItems;
    for (int number : rawNumberedKeys(g))
        oldItems.append(rawValue(g + QLatin1Char('/') + QString::number(number)).toString());

    rawRemove(g);
    if (!name.isEmpty())
        rawStore(g + QLatin1String("/name"), name);
    for (int i = 0; i < items.size(); ++i) {
        const QString key = g + QLatin1Char('/') + QString::number(i);
        if (i < oldItems.size() && oldItems[i] == items[i])
            rawStore(key, items[i]);
        else
            setValue(key, items[i]);
    }
    publish(g + QLatin1Char('/') + QString::number(items.size()), QVariant());
}

QMap<int, QString> FMSettings::audioSourceNames() const
{
    QReadLocker locker(&recordsLock);
    QMap<int, QString> names{{0, tr("<kein>")}};
    for (auto it = audioMap.cbegin(); it != audioMap.cend(); ++it)
        if (it->used && it.key() != 0)
            names.insert(it.key(), it->name);
    return names;
}

QMap<int, QString> FMSettings::rdsSourceNames() const
{
    QReadLocker locker(&recordsLock);
    QMap<int, QString> names{{0, tr("<kein>")}};
    for (auto it = rdsMap.cbegin(); it != rdsMap.cend(); ++it)
        if (it->used && it.key() >= 1)
            names.insert(it.key(), it->name);
    return names;
}

QMap<int, QString> FMSettings::tmcSourceNames() const
{
    QReadLocker locker(&recordsLock);
    QMap<int, QString> names;
    for (auto it = tmcMap.cbegin(); it != tmcMap.cend(); ++it)
        if (it->used)
            names.insert(it.key(), it->name);
    return names;
}

QStringList FMSettings::audioTypeNames()
{
    return {tr("Sinus"), tr("Rampe"), tr("Datei")};
}
