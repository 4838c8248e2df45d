#pragma once

#include "board/BandTable.h"
#include "board/BoardInfo.h"
#include "board/RDSInput.h"
#include "board/RdsDataInput.h"
#include "board/RdsEncoder.h"
#include "board/RemoteRdsQueue.h"
#include "settings/AudioSource.h"
#include "settings/ChannelConfig.h"
#include "settings/Observer.h"
#include "settings/SongInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <array>
#include <memory>

class FMBoard;
class FMSettings;
class PCMDecoder;

// The engine of one FM programme. It lives in its board's thread, follows
// the store keys of its channel and turns their changes into board
// commands; on every fill tick it sends RDS groups (its encoder's, or those
// its RDS data input server queued) and PCM (test tones or its decode
// thread's), and reports play positions, songs and RDS back to the store.
class FMProgram : public QObject, public Observer, public RDSInput
{
    Q_OBJECT
public:
    static constexpr int kFramesPerDatagram = 256;
    static constexpr int kPcmPayloadBytes = 1024;
    static constexpr int kSilenceFrames = 128;
    static constexpr int kMaxPcmDatagramsPerTick = 4;
    // Below this many bytes the first read of a datagram is topped up.
    static constexpr int kTopUpBelowBytes = 513;
    static constexpr int kMaxGroupsPerTick = 6;
    static constexpr int kGroupBytes = RdsEncoder::kGroupBytes;
    static constexpr int kGroupPairBytes = 2 * kGroupBytes;
    // At most this much RDS may wait in the board's buffer of a channel.
    static constexpr int kRdsLimitBytes = 260;
    // RDS carries 1187.5 bit/s.
    static constexpr double kRdsBytesPerSecond = 148.4375;
    static constexpr quint8 kResendTicks = 3;
    static constexpr quint8 kResendTicksRdsSource = 2;
    static constexpr int kTestPcmCapacity = 65535;
    static constexpr int kTestPcmDrainFrames = 5512;
    // The clock-time group is sent once a minute, when its on-air time falls
    // in this window around the full minute.
    static constexpr double kClockWindowStart = 59.9;
    static constexpr double kClockWindowEnd = 60.08;
    static constexpr qint64 kClockMinSpacingMs = 43000;
    static constexpr int kClockLeadSeconds = 6;
    // Whether a group going on air at onAirMs (UTC, ms since the epoch) is
    // the moment to hand the encoder the next clock time; lastClockMs is when
    // that was done last (0: never).
    static bool clockTimeDue(qint64 onAirMs, qint64 nowMs, qint64 lastClockMs);

    FMProgram(int number, QSharedPointer<FMSettings> settings, FMBoard* board);
    ~FMProgram() override;

    int number() const { return programme; }
    int slot() const { return slotIndex; }

    void setConfig(QSharedPointer<FMSettings> settings, int band);
    void setBand(int band);
    void setBoardInfo(const BoardInfo& info);

    // --- fill tick
    void fillRDS();
    void fillAudio();

    // --- board thread life cycle
    // Stops the RDS data input server and asks the decode thread to end;
    // true when it already has.
    bool stopDecoder(bool clear);
    bool isDecoderStopped() const;
    // Blocks until the decode thread has ended.
    void waitDecoder();
    // Lets go of a decode thread that does not end, without deleting it
    // under the running thread. Only when the engine is about to go.
    void abandonDecoder();
    void stopRDSServer();
    void startRDSServer(unsigned port);

    // 32000 or 48000 when the channel runs at exactly that, else 44100.
    int nominalRate() const;

    // --- RDS data input server
    // The maker of every programme's data input server, installed once at
    // start-up before any board exists; without one no programme listens.
    static void setDataInputMaker(RdsDataInput::Maker maker);
    bool hasDataInput() const { return server != nullptr; }
    bool queueRemoteGroup(QByteArray& line, int& fillLevel) override;
    int rdsFillLevel() override;
    int remoteQueued() const;

    Q_INVOKABLE void testPCM();

    // The EON entry a changed key names: the number right after "/eon/"
    // ("rds.1/eon/2/ps" is entry 2); -1 when there is none.
    static int eonEntry(const QString& key);

    void notify(SetValue* event) override;

private:
    void setBandTable(int band);
    void readChannel();
    void readRdsSource(bool announce);
    void readTmcSource();
    void readAudioSource();
    void bindPlaylist(const QString& reference);
    void subscribe(const QString& key);
    void unsubscribe(const QString& key);
    void onChannelKey(const QString& key, const QVariant& value);
    void onRdsKey(const QString& key, const QVariant& value);
    void onEonKey(const QString& key);

    void sendFullCommand();
    void sendCommand(QByteArray datagram);
    quint8 rdsMask() const;

    void takeSongs();
    void sendRDSOut();
    void scheduleClockTime(double secondsAhead);
    void logGroup(const quint8* group, double secondsAhead);

    bool roomFor(int frames) const;
    bool buildPCMPacket();
    void writePcmHeader(int frames, bool stereo);
    void buildSilence();
    void buildTone();
    bool buildFromDecoder();
    void reportPlayInfo();
    void takePlayingSong(const SongInfo& now);

    const int programme;
    const int slotIndex;
    // Published on every step of the song, hundreds of times a second.
    const QString playPositionKey;
    FMBoard* board;
    QSharedPointer<FMSettings> store;
    mutable QMutex mutex;

    ChannelConfig channel;
    AudioSource audio;
    bool hasAudio = false;
    bool hasRds = false;
    int tmcId = 0;
    BandTable bandTable;
    BoardInfo info;
    quint8 resend = 0;

    QByteArray pcmDatagram;
    int pcmFrames = 0;
    int pcmLength = 0;
    bool pcmPending = false; // built and not yet sent
    qint64 pcmSent = 0;      // the test-tone clock
    bool endFlag = false;

    RemoteRdsQueue remote;
    bool remoteInput = false;
    std::array<std::array<quint8, kMaxGroupsPerTick * kGroupBytes>, RdsEncoder::kStreams>
        rdsStreams{};
    qint64 lastClockMs = 0;
    QString publishedRdsText;

    int playlistId = -1;
    QString playlistKey;
    QString playlistReference;
    SongInfo playing;
    // The decoder's song serial when playing was last taken (0: the empty
    // record both start with); it is taken again only when the serial moves,
    // not on every datagram.
    quint32 playingSerial = 0;
    int playPosition = -1;

    std::unique_ptr<PCMDecoder> decoder;
    std::unique_ptr<RdsEncoder> encoder;
    RdsDataInput* server = nullptr;
};
