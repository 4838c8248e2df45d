// Setters, the group scheduler and the four streams.
#include "board/RdsEncoder.h"

#include "board/AfCodeList.h"
#include "board/RdsGroupBytes.h"
#include "board/RdsText.h"

#include <QDebug>
#include <QReadLocker>
#include <QTextCodec>
#include <QWriteLocker>

#include <cmath>
#include <cstring>

namespace {

constexpr int kTypeClock = 4;
constexpr int kTypeTmc = 8;
constexpr int kTypeEon = 14;
constexpr int kTypeOda = 3;
constexpr int kVersionBOffset = 16;
constexpr double kBestRatioStart = 686.0;
constexpr quint8 kTmcAnnouncements = 0x01 | 0x08 | 0x10 | 0x20; // variants 0..3
constexpr quint8 kAnnounceErtOrRtPlus = 64;                     // rtxt from bit 6 up
constexpr int kTmcGapField = 12;                                // va1 bits 12-13
constexpr int kMinTmcGap = 3;
// Copies of stream 0 carry block A 0x0000 with its checkword: byte 2 = 0x3F,
// the top two bits of byte 3 cleared (offset A over zero data is 0x0FC).
constexpr quint8 kZeroBlockACheckHigh = 0x3F;
constexpr quint8 kStreamOnBase = 0;
constexpr quint8 kStreamCopyBase = 3;

bool sameEntry(const EON& a, const EON& b)
{
    return a.channel == b.channel && a.pty == b.pty && a.tp == b.tp && a.ta == b.ta &&
           a.pi == b.pi && a.link == b.link && a.ps == b.ps && a.af == b.af;
}

} // namespace

RdsEncoder::RdsEncoder()
{
    init();
}

RdsEncoder::~RdsEncoder() = default;

void RdsEncoder::init()
{
    cursors = {};
    odaCounter = 0;
    eonIndex = 0;
    eonStep = 0;
    burst14 = {};
    burst15 = {};
    rtPlusIndex = 0;
    itemToggle = 0;
    tmcLastAdmin = 0;
    tmcAdminPending = 0;
    tmcGap = 0;
    tmcPhase = 1;
    tmcSubIndex = 0;
    tmcRepeat = 255;
    tmcMessageIndex = -1;
    tmcContinuity = 0;
    source = RDSSource();
    tmc = TMCSource();
    tmcHasMessage = false;
    tmcMessage = TMCMessage();
    tmcChunks.clear();
    stats = {};
    odaStats.clear();
    fill = {1, 1, 1, 1};
    live = {};
    textFileName.clear();
    if (textFile.isOpen())
        textFile.close();
    fileModeStarted = false;
    tags.clear();
    clockTime = QDateTime();
    logHeader = false;
    clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

void RdsEncoder::removeGroups(const std::array<GroupRate, GroupRate::kGroupCount>& rates,
                              bool reset)
{
    live = rates;
    const bool tmcAnnounced = tmcEnabled() && (tmc.flag & kTmcAnnouncements);
    if (!tmcAnnounced && source.rtxt < kAnnounceErtOrRtPlus && live[kTypeOda].on) {
        live[kTypeOda].on = 0;
        qDebug("enc: remove ODA group 3 (%d)", int(reset));
        reset = true;
    }
    if (live[kTypeEon].on && source.eon.isEmpty()) {
        live[kTypeEon].on = 0;
        qDebug("enc: remove EON 14A (%d)", int(reset));
        reset = true;
    }
    if (reset) {
        stats = {};
        odaStats = QList<Counts>(source.oda.size(), Counts{});
    }
    fill = {1, 1, 1, 1};
    // Only the types the scheduler can choose count as fillers: a negative
    // rate on a type it never picks would leave the stream without groups.
    for (int t = 0; t < kVersionBOffset; ++t) {
        if (!live[t].on || (t == kTypeTmc && source.tmgap))
            continue;
        for (int s = 0; s < kStreams; ++s) {
            if (live[t].rate[s] < 0)
                fill[s] = 0;
        }
    }
}

void RdsEncoder::setSource(const RDSSource& next, double frequencyMHz)
{
    QWriteLocker locker(&lock);
    if (next.ps != source.ps || next.pss != source.pss) {
        for (StreamCursor& cursor : cursors) {
            cursor.psSegment = 0;
            cursor.psScroll = 0;
        }
    }
    if (next.lps != source.lps) {
        for (StreamCursor& cursor : cursors)
            cursor.lpsSegment = 0;
    }
    textFileName.clear();
    if (textFile.isOpen())
        textFile.close();

    if (next.eon.size() == source.eon.size()) {
        for (int i = 0; i < next.eon.size(); ++i) {
            if (!sameEntry(next.eon[i], source.eon[i])) {
                eonIndex = i;
                break;
            }
        }
    } else {
        eonIndex = 0;
    }

    for (StreamCursor& cursor : cursors) {
        cursor.rtSegment[0] = 0;
        cursor.rtIndex = 0;
        cursor.ertSegment = 0;
        cursor.ertIndex = 0;
        cursor.ptynSegment = 0;
        cursor.ptynIndex = 0;
        cursor.afIndex = 0;
    }
    eonStep = 0;
    burst14.count = 0;
    burst15 = {};

    bool ratesChanged = next.tmgap != source.tmgap;
    for (int t = 0; t < GroupRate::kGroupCount; ++t)
        ratesChanged = ratesChanged || !(next.gmin[t] == live[t]);
    const bool taChanged = next.ta != source.ta;
    if (taChanged)
        burst15.count = 1;

    source = next;
    removeGroups(source.gmin, ratesChanged);
    buildAfTables(source, int(std::lround(frequencyMHz * 10.0)));

    if (!tags.isEmpty()) {
        tags.clear();
        itemToggle ^= 1;
    }
    logHeader = true;
}

void RdsEncoder::setTMCSource(const TMCSource& next)
{
    QWriteLocker locker(&lock);
    tmc = next;
    tmcHasMessage = false;
    tmcMessage = TMCMessage();
    tmcChunks.clear();
    tmcRepeat = 255;
    tmcMessageIndex = -1;
    tmcLastAdmin = 0;
    tmcPhase = 1;
    // The live table may lack 3A because the previous TMC source announced
    // nothing; only the source's own rates can bring it back. A returning 3A
    // starts the counts afresh, as a change of rates does.
    const bool odaReturns = source.gmin[kTypeOda].on && !live[kTypeOda].on;
    removeGroups(source.gmin, odaReturns);
}

void RdsEncoder::setEONList(const QList<EON>& list, int changedIndex)
{
    QWriteLocker locker(&lock);
    if (changedIndex >= 0 && changedIndex < list.size() && changedIndex < source.eon.size() &&
        list[changedIndex].ta != source.eon[changedIndex].ta)
        burst14.count = 1;
    const bool emptinessChanged = list.isEmpty() != source.eon.isEmpty();
    source.eon = list;
    eonIndex = changedIndex;
    eonStep = 0;
    // 14A is dropped while there is no other network; the first row brings
    // it back, as the source's own rates ask.
    if (emptinessChanged)
        removeGroups(source.gmin, !list.isEmpty() && source.gmin[kTypeEon].on);
}

void RdsEncoder::setTags(const TagMap& next)
{
    if (next == tags)
        return;
    tags = next;
    itemToggle ^= 1;
}

void RdsEncoder::setTime(const QDateTime& time)
{
    if (live[kTypeClock].on && !source.fused)
        clockTime = time;
}

int RdsEncoder::generate(quint8* stream0, quint8* stream1, quint8* stream2, quint8* stream3)
{
    if (clockTime.isValid()) {
        const QDateTime time = clockTime;
        clockTime = QDateTime();
        QReadLocker locker(&lock);
        buildGroup4A(stream0, time);
    } else {
        nextGroup(stream0, 0);
    }
    quint8* others[] = {stream1, stream2, stream3};
    for (int k = 1; k < kStreams; ++k) {
        quint8* out = others[k - 1];
        if (!out)
            continue;
        const bool on = source.mode & (1 << (kStreamOnBase + k));
        const bool copy = source.mode & (1 << (kStreamCopyBase + k));
        if (on && !copy) {
            nextGroup(out, k);
        } else if (on) {
            memcpy(out, stream0, kGroupBytes);
            out[0] = 0;
            out[1] = 0;
            out[2] = kZeroBlockACheckHigh;
            out[3] &= 0x3F;
        } else {
            memset(out, 0, kGroupBytes);
        }
    }
    return kGroupBytes;
}

bool RdsEncoder::runBurst(Burst& burst, int count, int tenths, const char* name, quint8* out,
                          const std::function<void(quint8*)>& build)
{
    if (burst.count > count) {
        burst.count = 0;
        return false;
    }
    const quint32 ticks = burst.ticks++;
    const double due = (burst.count - 1) * (tenths * 0.1 / count);
    if (ticks * kGroupSeconds < due)
        return false;
    qDebug("RDS%d %2u %s burst %d of %d send %.3fs > %.3fs", 0, burst.ticks, name, burst.count,
           count, burst.ticks * kGroupSeconds, due);
    build(out);
    ++burst.count;
    return true;
}

int RdsEncoder::nextGroup(quint8* out, int stream)
{
    QReadLocker locker(&lock);
    if (source.fused && readFileGroup(out) > 0)
        return kGroupBytes;

    if (stream == 0 && burst15.count > 0) {
        const int count = source.ta ? source.buc1 : source.buc2;
        const int tenths = source.ta ? source.but1 : source.but2;
        if (runBurst(burst15, count, tenths, "15B", out,
                     [this](quint8* o) { buildGroup15B(o, 0); }))
            return kGroupBytes;
    }
    if (stream == 0 && burst14.count > 0 && live[kTypeEon].on && live[kTypeEon].rate[0] != 0 &&
        eonIndex >= 0 && eonIndex < source.eon.size()) {
        const bool ta = source.eon[eonIndex].ta;
        const int count = ta ? source.eoc1 : source.eoc2;
        const int tenths = ta ? source.eot1 : source.eot2;
        if (runBurst(burst14, count, tenths, "14B", out, [this](quint8* o) { buildBurstGroup(o); }))
            return kGroupBytes;
    }

    const int t = chooseGroup(out, stream);
    switch (t) {
    case kChoiceNone:
        memset(out, 0, kGroupBytes);
        break;
    case 0:
        buildGroup0(out, stream, !(source.afu & 1));
        break;
    case 1:
        buildGroup1A(out, stream);
        break;
    case 2:
        buildGroup2A(out, stream);
        break;
    case 3:
        buildGroup3A(out, stream);
        break;
    case 8:
        buildGroup8A(out, stream);
        break;
    case 10:
        buildGroup10A(out, stream);
        break;
    case 14:
        buildGroup14A(out, stream);
        break;
    case 15:
        buildGroup15A(out, stream);
        break;
    case kChoiceOda:
        break;
    default:
        if (t == source.rtgrp)
            buildRtPlusGroup(out, stream);
        else if (t == source.ertg)
            buildErtGroup(out, stream);
        else
            buildGroup15B(out, stream);
        break;
    }
    return kGroupBytes;
}

int RdsEncoder::chooseGroup(quint8* out, int stream)
{
    int gap = 0;
    if (source.tmgap) {
        const int field = (tmc.va1 >> kTmcGapField) & 3;
        gap = field == 0 ? kMinTmcGap : 3 * field + 2;
    }
    const double elapsed = stats[0][stream] * kGroupSeconds + 1.0;
    const bool filling = fill[stream];
    double best = kBestRatioStart;
    int choice = kChoiceNone;
    auto better = [&](quint32 count, qint32 rate) {
        const double ratio = count * 60.0 / elapsed / std::abs(double(rate));
        return ratio < best && (rate < 0 || ratio < 1.0 || filling) ? ratio : -1.0;
    };
    for (int t = 0; t < kVersionBOffset; ++t) {
        if (t == kTypeClock || (t == kTypeTmc && gap > tmcGap))
            continue;
        const qint32 rate = live[t].rate[stream];
        if (!live[t].on || rate == 0)
            continue;
        quint32 count = stats[1 + t][stream];
        if (t == 0 || t == 2)
            count += stats[1 + t + kVersionBOffset][stream];
        const double ratio = better(count, rate);
        if (ratio >= 0.0) {
            best = ratio;
            choice = t;
            if (stream != 0 && t != 0)
                qDebug("enc%d group %2d %d/min", stream, t, rate);
        }
    }
    if (odaStats.size() != source.oda.size()) {
        qDebug("enc%d resize stat %d != %d", stream, int(source.oda.size()), int(odaStats.size()));
        odaStats.resize(source.oda.size());
    }
    int odaRow = -1;
    for (int i = 0; i < source.oda.size(); ++i) {
        const qint32 rate = source.oda[i].rate[stream];
        if (rate == 0)
            continue;
        const double ratio = better(odaStats[i][stream], rate);
        if (ratio >= 0.0) {
            best = ratio;
            odaRow = i;
        }
    }
    if (odaRow >= 0) {
        const ODARow& row = source.oda[odaRow];
        RdsGroup group;
        group.blocks = row.data;
        group.checks = row.check;
        group.fillCheckwords();
        packGroup(out, group);
        ++odaStats[odaRow][stream];
        ++stats[0][stream];
        return kChoiceOda;
    }
    if (choice == kChoiceNone)
        return kChoiceNone;
    ++stats[1 + choice][stream];
    ++stats[0][stream];
    if (stream == 0 && choice == kTypeTmc) {
        tmcGap = 0;
        return choice;
    }
    if (tmcGap < 255)
        ++tmcGap;
    return choice;
}

QString RdsEncoder::currentText() const
{
    QString ps = source.ps;
    RdsText::decodeEscapes(ps, RdsText::kShortEscapeDigits);
    const int offset = cursors[0].psScroll;
    return ps.mid(offset, 8).leftJustified(8, u' ');
}

bool RdsEncoder::takeLogHeader()
{
    const bool raised = logHeader;
    logHeader = false;
    return raised;
}

int RdsEncoder::buildAfTables(RDSSource& source, int tunedFrequency)
{
    return AfCodeList::build(source, tunedFrequency);
}
