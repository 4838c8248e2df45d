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

#include "dynamic/Event.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QReadWriteLock>
#include <QSet>
#include <QTime>

#include <array>

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
    // Takes the one field a channel key names ("gain", "idrds") into config
    // as channel() reads it, from the value a notification of the key
    // carries (null: the key was removed), without asking the store: each
    // change of a key is notified with the value it stored. False when the
    // name is no field of the record.
    static bool takeChannelField(int number, QStringView name, const QVariant& value,
                                 ChannelConfig& config);
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
    // Writes every scalar field, the log files and the RadioText+ tags of rec;
    // unchanged values cause nothing. The lists eon, oda, af, afs, afr, gmin
    // and the fields used and name have their own setters.
    bool setRDS(int id, const RDSSource& rec);
    // Re-enables the lowest-numbered unused source or creates a new one;
    // returns its number.
    int newRDS();
    bool removeRDS(int id);
    // True when the name changed.
    bool setRDSName(int id, const QString& name);
    // Linked entries (channel != 0) take PI, PS, PTY, TP, TA and AF lists of
    // the source their channel uses; list is refreshed in place.
    bool setEON(int id, QList<EON>& list);
    // Refreshes and publishes the EON entries of every source that point at
    // a channel using source id.
    void publishEON(int id, const RDSSource& rec);
    bool setODA(int id, const QList<ODARow>& list);
    // Sets the regional flags of list in place from the source's afr.
    bool setAFs(int id, QList<AFEntry>& list);
    // Toggles one frequency (x10) in the regional list.
    bool setAFr(int id, uint freq);
    bool setGroupRates(int id, const std::array<GroupRate, GroupRate::kGroupCount>& rates);

    QMap<int, TMCSource> tmcSources() const;
    TMCSource tmcSource(int id) const;
    // Re-enables the lowest-numbered unused source or creates a new one;
    // returns its row, its position in number order from 0.
    int newTMC();
    bool removeTMC(int id);
    bool setTMCName(int id, const QString& name);
    // Writes the scalar fields of src and the stored messages; src's
    // messages and service key table are not taken.
    bool setTMCFile(int id, const TMCSource& src);
    bool setTMCWord(int id, quint8 index, quint16 value);
    // An index at or beyond the count appends the message.
    void setTMCMessage(int id, int index, const TMCMessage& message);
    // Drops the messages from index to the end.
    void removeTMCMessage(int id, int index);

    // --- project reader
    // Each reads group kind.N of the file into record n (removing the record
    // when the group has no keys) and returns a copy; n < 1 touches nothing.
    Playlist loadPlaylist(int n);
    AudioSource loadAudio(int n);
    RDSSource loadRDS(int n);
    TMCSource loadTMC(int n);
    // Re-reads the records of the family the key starts with
    // ("playlist.", "audio.", "rds.", "tmc.") for every number in ids.
    void reloadGroup(const QString& key, const QList<int>& ids);

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

    // --- command layer (text commands of the remote server and the timeline)
    enum Code
    {
        NoError = 0,
        UnknownKey = 1,
        OutOfRange = 2,
        Unchanged = 3,
        WrongCount = 4,
        NotAList = 5,
        NotSet = 6,
        UseAdd = 7,
    };
    static QString resolveKey(QString keyPath, int* instance = nullptr);
    QString errorText(int code) const;
    int setOne(const QString& key, const QVariant& value, bool notify, QObject* sender);
    int set(const QString& keyPath, const QVariant& value, bool notify = true,
            QObject* sender = nullptr);
    QVariant get(const QString& keyPath) const;
    QStringList knownKeys(const QString& path) const;
    QString help(const QString& path) const;
    int add(const QString& keyPath, const QVariant& item);
    int del(const QString& keyPath);

    // --- frequency plan, distances and automatic AF lists
    void setModulatorCount(int count);
    void updateAllDistances();
    void setChannelFreq(int channel, double mhz, bool used);
    void updateDistance();
    void publishDistances() const;
    void updateAutoAF(bool request);

    // --- event roll of the timeline
    void setRoll(const QString& group, const QList<Event>& events, const QSet<int>& expanded,
                 bool repeat);
    void setEvent(quint32 row, const QString& group, const Event& event);
    void delEvent(quint32 row, const QString& group);
    void eventOption(const QString& group, const QSet<int>& expanded, bool repeat);
    QList<Event> events(const QString& group, QSet<int>& expanded, bool& repeat) const;

    // Schema entry of the key the command layer resolved last.
    KeyInfo keyInfo;

signals:
    // After every write of changes to the file: complete is false when the
    // changes are not on disk (writeError says why); they are kept and
    // written again with the next change.
    void written(bool complete);

protected:
    void writeChecked(bool complete) override { emit written(complete); }
    void load();
    // Brings the numbers of the file into the schema's ranges before they
    // are read: what SET refuses is never sent because a file held it.
    void conformToSchema();
    void conformValue(const QString& storedKey, const KeyInfo& info);
    void loadBoard();
    void loadGroups();
    void readGroupRates(int n, RDSSource& source);
    void readRadioTextTags(int n, RDSSource& source);
    void readEONs(int n, RDSSource& source);
    void readODAs(int n, RDSSource& source);
    // Both expect recordsLock held for writing.
    void publishEONLocked(int id, const RDSSource& rec);
    // Every EON entry that names a channel, from the source that channel
    // sends, in one pass over the sources.
    void publishAllEONsLocked();
    EON linkedEON(EON entry) const;
    // The AF list of the network that an EON row's channel carries: that
    // channel's own frequency, the automatic list and the manual list of its
    // RDS source. False when the channel names no known source. Expects
    // recordsLock held.
    bool linkedAF(int channel, QList<AFEntry>& list) const;
    // Removes the numbered keys (and what lies below them) of a group from
    // count upward, so that no deleted row comes back on the next load.
    void removeNumberedFrom(const QString& group, int count);
    void writeTMCMessagesFrom(int id, int first);
    void writeRDSScalars(int id, const RDSSource& rec);
    void writeTMCSystemInfo(int id, const TMCSource& src);
    // After a write of tmc.N/ltn, sid, ltcc or ltecc, writes the variant
    // word that carries the field (without notice) and returns its key; an
    // empty key when the key is no such field or the word did not change.
    QString syncTMCWord(const QString& key);

    int gminFlag = 0; // 1: the stream-0 group rates in the file are groups per minute

    mutable QReadWriteLock recordsLock;
    QMap<int, AudioSource> audioMap;
    QMap<int, Playlist> playlistMap;
    QMap<int, RDSSource> rdsMap;
    // True while the load reads the groups of the file.
    bool loadingGroups = false;
    QMap<int, TMCSource> tmcMap;

    void computeAutoAF();
    bool addAFEntry(QList<AFEntry>& list, int channel, int source) const;
    void moveListItem(const QString& from, const QString& to);

    QMap<int, double> frequencyTable; // used channels -> MHz
    QMap<int, double> distanceTable;  // channel -> MHz to the nearest other
    QMap<int, QList<AFEntry>> publishedAF;
    bool autoAF = false;

    int modulatorCount = 1;
    int bandValue = -1; // not known until a project has been read
    int attnValue = 0;

    // run-time values, under recordsLock
    QHash<int, ChannelStatus> statusTable;
    QHash<int, SongInfo> playTable;
    QHash<QString, SongInfo> songTable;
};
