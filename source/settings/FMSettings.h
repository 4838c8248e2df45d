#pragma once

#include "settings/AudioSource.h"
#include "settings/ChannelConfig.h"
#include "settings/KeyInfo.h"
#include "settings/Playlist.h"
#include "settings/RDSSource.h"
#include "settings/Settings.h"
#include "settings/TMCSource.h"

#include <QMap>
#include <QReadWriteLock>

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
};
