#pragma once

#include "settings/AudioSource.h"
#include "settings/ChannelConfig.h"
#include "settings/ChannelStatus.h"
#include "settings/KeyInfo.h"
#include "settings/Playlist.h"
#include "settings/RDSSource.h"
#include "settings/Settings.h"
#include "settings/SongInfo.h"
#include "settings/TMCSource.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QReadWriteLock>
#include <QTime>

// The store of one open project: the ini-backed key store plus the schema,
// the in-memory records of audio, playlist, RDS and TMC sources and the
// command layer. The records are guarded by recordsLock, which is always taken
// before the key store's own lock, never after it.
class FMSettings : public Settings
{
    Q_OBJECT
public:
    static constexpr int kChannelCount = 96;

    explicit FMSettings(const QString& fileName, QObject* parent = nullptr);
    ~FMSettings() override;

    static void defineKeys();

    // --- channels and board values
    ChannelConfig channel(int number) const;
    void setChannelConfig(int number, const ChannelConfig& config);
    int band() const;
    int attenuation() const;
    // Clamps both in place to the values in force, stores them and sets the
    // bounds of "channel.freq" for the band.
    void setBandAttn(int& band, int& attn);

    // --- audio sources
    QMap<int, AudioSource> audioSources() const;
    AudioSource audioSource(int number) const;
    AudioSource setAudio(const QString& path);
    bool removeAudio(int number);
    bool setAudioUsed(int number, bool used);
    bool setAudioType(int number, int type);
    bool setAudioName(int number, const QString& name);
    bool setAudioFile(int number, const QString& path);
    bool setAudioSignal(int number, int frq1, int frq2, int vol1, int vol2, int time);

    // --- playlists
    QMap<int, Playlist> playlists() const;
    QStringList playlist(int number) const;
    QStringList addPlaylistFiles(int number, int row, const QStringList& paths);
    QStringList removePlaylistFiles(int number, const QStringList& paths);
    bool setPlaylistName(int number, const QString& name);
    int newPlaylist();
    bool deletePlaylist(int number);
    void writePlaylist(const QString& group, const QStringList& items);

    // --- RDS and TMC sources
    QMap<int, RDSSource> rdsSources() const;
    RDSSource rdsSource(int id) const;
    QMap<int, TMCSource> tmcSources() const;
    TMCSource tmcSource(int id) const;

    // --- run-time values
    // Reported by the board threads, never written to the project file; each
    // change is announced by publishing its run-time key.
    void setChannelStatus(int number, const ChannelStatus& status);
    ChannelStatus channelInfo(int number) const;
    void setPlayInfo(int number, const SongInfo& song);
    SongInfo songInfo(int number) const;
    void setSongInfo(int number, const QList<SongInfo>& songs);
    QHash<QString, SongInfo> songInfos() const;
    // group points at the 13 packed bytes of the group as sent.
    void addRDSLog(int number, int rdsSource, const QTime& timeOfDay, const uchar* group);

    // --- name lists for the source choosers
    QMap<int, QString> audioSourceNames() const;
    QMap<int, QString> rdsSourceNames() const;
    QMap<int, QString> tmcSourceNames() const;
    static QStringList audioTypeNames();

    // Schema entry of the key the command layer resolved last.
    KeyInfo keyInfo;

protected:
    void load();
    void loadBoard();

    mutable QReadWriteLock recordsLock;
    QMap<int, AudioSource> audioMap;
    QMap<int, Playlist> playlistMap;
    QMap<int, RDSSource> rdsMap;
    QMap<int, TMCSource> tmcMap;

    int modulatorCount = 1;
    int bandValue = -1; // not known until a project has been read
    int attnValue = 0;

    // run-time values, under recordsLock
    QHash<int, ChannelStatus> statusTable;
    QHash<int, SongInfo> playTable;
    QHash<QString, SongInfo> songTable;
};
