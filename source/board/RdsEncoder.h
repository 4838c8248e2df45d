#pragma once

#include "board/RdsGroup.h"
#include "board/RdsRandom.h"
#include "settings/RDSSource.h"
#include "settings/TMCSource.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QMap>
#include <QReadWriteLock>
#include <QString>

#include <array>
#include <functional>

class QTextCodec;

// The RDS encoder of one channel: it holds copies of the channel's RDS and
// TMC sources, chooses the next group type of each of the four RDS streams by
// the configured per-minute rates, builds the group and packs it into the
// 13 bytes that go to the board. Runs in the owning board thread only.
class RdsEncoder
{
public:
    using TagMap = QMap<QString, QString>;
    using Counts = std::array<quint32, 4>; // one per stream

    static constexpr int kStreams = 4;
    static constexpr int kGroupBytes = 13;
    static constexpr int kStatEntries = 33; // total + 32 group types
    static constexpr int kChoiceNone = -1;
    static constexpr int kChoiceOda = 32;
    static constexpr double kGroupSeconds = 0.08757894736842105; // 104 bits at 1187.5 bit/s

    RdsEncoder();
    ~RdsEncoder();
    RdsEncoder(const RdsEncoder&) = delete;
    RdsEncoder& operator=(const RdsEncoder&) = delete;

    void init();

    // --- setters (the programme engine calls them as store keys change)
    void setSource(const RDSSource& source, double frequencyMHz);
    void setTMCSource(const TMCSource& source);
    void setEONList(const QList<EON>& list, int changedIndex);
    void setTags(const TagMap& tags);
    void setTime(const QDateTime& time);

    // --- producing groups
    // One packed group for each stream whose buffer is given (streams 1..3
    // may be null); returns 13.
    int generate(quint8* stream0, quint8* stream1 = nullptr, quint8* stream2 = nullptr,
                 quint8* stream3 = nullptr);
    int nextGroup(quint8* out, int stream);

    // --- packing
    static void checkwords(RdsGroup& group);
    void packGroup(quint8* out, RdsGroup group);
    void injectErrors(RdsGroup& group, qint8 err, quint8 ber, quint8 fix);
    // Reads one group from a text line (five forms); 13 when a group was
    // read, 0 otherwise.
    int parseGroupLine(quint8* out, const QByteArray& line);

    // --- texts
    QByteArray toRdsCharset(const QString& text, const QList<int>& escapes,
                            bool byteOrderMark) const;
    QList<int> expandTemplates(QString& text, int maxDigits) const;
    // The texts of the RT+ markers by index: the templates, filled from the
    // song's tags where the source asks for that.
    QMap<int, QString> tagTexts() const;
    QString substituteTags(const RTag& tag) const;
    int readFileGroup(quint8* out);
    void openTextFile();

    // Rebuilds source.codes (AF method A or B) for the tuned frequency x10;
    // returns the number of distinct alternative frequencies.
    static int buildAfTables(RDSSource& source, int tunedFrequency);

    // --- what the engine and the monitor read
    quint8 streamMask() const { return source.mode; }
    // The PS as it is on air now, for the log header and the channel strip.
    QString currentText() const;
    // Raised by setSource; the engine writes a new log header and clears it.
    bool takeLogHeader();
    Counts totals() const { return stats[0]; }
    Counts typeCount(int type) const { return stats[1 + type]; }
    QList<Counts> odaCounts() const { return odaStats; }
    std::array<quint8, kStreams> fillFlags() const { return fill; }
    const RDSSource& heldSource() const { return source; }

    // Test seam: the clock of the TMC encryption administration groups and
    // the seed of the error generator.
    void setClock(std::function<qint64()> msSinceEpoch) { clock = std::move(msSinceEpoch); }
    void seedRandom(quint32 seed) { random.seed(seed); }

private:
    // Text counters of one stream: each stream walks every segment of a text
    // so that a group type sent on two streams is complete on both.
    struct StreamCursor
    {
        quint32 lpsSegment = 0;
        quint32 psSegment = 0;
        quint32 segment15B = 0;
        qint32 psScroll = 0;
        quint32 rtAlternate = 0;
        quint32 rtFlags = 0; // bit 4: RadioText A/B flag
        std::array<quint32, 2> rtSegment{};
        quint32 rtIndex = 0;
        std::array<QByteArray, 2> rtLast;
        quint32 ertSegment = 0;
        quint32 ertIndex = 0;
        quint32 ptynSegment = 0;
        quint32 ptynIndex = 0;
        qint32 afIndex = 0;
    };

    struct Burst
    {
        qint32 count = 0;
        quint32 ticks = 0;
    };

    struct RtPlusTag
    {
        int type = 0;
        int start = 0;
        int length = 0; // the length field: characters - 1
    };

    void removeGroups(const std::array<GroupRate, GroupRate::kGroupCount>& rates, bool reset);
    int chooseGroup(quint8* out, int stream);
    bool runBurst(Burst& burst, int count, int tenths, const char* name, quint8* out,
                  const std::function<void(quint8*)>& build);
    bool tmcEnabled() const { return tmc.used != 0; }

    // --- group builders (each writes 13 packed bytes)
    RdsGroup startGroup(int stream, int type, bool versionB) const;
    void finish(quint8* out, RdsGroup& group);
    void buildGroup0(quint8* out, int stream, bool versionB);
    QPair<quint8, quint8> psSegmentChars(StreamCursor& cursor);
    void buildGroup1A(quint8* out, int stream);
    void buildGroup2A(quint8* out, int stream);
    void buildGroup3A(quint8* out, int stream);
    void buildGroup4A(quint8* out, const QDateTime& time);
    void buildGroup8A(quint8* out, int stream);
    void buildGroup10A(quint8* out, int stream);
    void buildGroup14A(quint8* out, int stream);
    void buildBurstGroup(quint8* out);
    void buildGroup15A(quint8* out, int stream);
    void buildGroup15B(quint8* out, int stream);
    void buildRtPlusGroup(quint8* out, int stream);
    void buildErtGroup(quint8* out, int stream);

    // --- TMC
    void buildTmcProviderGroup(quint8* out, int stream);
    void sendTmc(quint8* out, int stream);
    bool takeNextTmcMessage();
    void packTmcLabels();
    quint16 tmcKey() const;

    QByteArray shortText(const QString& text) const; // escapes (2 digits), RDS bytes
    QList<RtPlusTag> rtPlusTags(const QString& text, bool enhanced) const;
    quint8 diBit(int segment) const;

    // --- state
    std::array<StreamCursor, kStreams> cursors;
    quint32 odaCounter = 0;
    qint32 eonIndex = 0;
    qint32 eonStep = 0;
    Burst burst14;
    Burst burst15;
    quint32 rtPlusIndex = 0;
    quint8 itemToggle = 0;

    qint64 tmcLastAdmin = 0;
    quint8 tmcAdminPending = 0;
    quint8 tmcGap = 0;
    quint8 tmcPhase = 1;
    quint8 tmcSubIndex = 0;
    quint8 tmcRepeat = 255;
    qint32 tmcMessageIndex = -1;
    quint8 tmcContinuity = 0;

    RDSSource source;
    TMCSource tmc;
    bool tmcHasMessage = false;
    TMCMessage tmcMessage;
    QList<quint32> tmcChunks;

    QReadWriteLock lock;

    std::array<Counts, kStatEntries> stats{};
    QList<Counts> odaStats;
    std::array<quint8, kStreams> fill{};
    std::array<GroupRate, GroupRate::kGroupCount> live{};

    QString textFileName;
    QFile textFile;
    bool fileModeStarted = false;

    TagMap tags;
    QDateTime clockTime;

    bool logHeader = false;
    RdsRandom random;
    std::function<qint64()> clock;
};
