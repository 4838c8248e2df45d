#include "board/FMProgram.h"

#include "audio/PCMDecoder.h"
#include "board/BoardDatagram.h"
#include "board/FMBoard.h"
#include "board/TestTone.h"
#include "settings/FMSettings.h"

#include <QDebug>
#include <QMutexLocker>
#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kStereoFrameBytes = 4;
constexpr int kMonoFrameBytes = 2;

} // namespace

// --- RDS

void FMProgram::fillRDS()
{
    if (resend > 0) {
        --resend;
        sendFullCommand();
        return;
    }
    sendRDSOut();
}

void FMProgram::takeSongs()
{
    if (!decoder->hasSongInfo())
        return;
    const QList<SongInfo> songs = decoder->takeSongInfo();
    if (store)
        store->setSongInfo(programme, songs);
}

void FMProgram::sendRDSOut()
{
    takeSongs();
    QMutexLocker locker(&mutex);
    if (!channel.used)
        return;
    if (remote.count() < 2 && (!hasRds || remoteInput))
        return;

    const int limit = std::min<int>(2 * int(info.rdsCapacity), kRdsLimitBytes);
    const int boardFill = 2 * board->rdsFill(slotIndex);
    int produced = 0;
    int groups = 0;
    for (;;) {
        if (groups % 2 == 0) {
            if (groups >= kMaxGroupsPerTick || boardFill + produced + kGroupPairBytes > limit)
                break;
            if (remoteInput && remote.count() < 2)
                break;
        }
        const double secondsAhead = (boardFill + produced + kGroupBytes) / kRdsBytesPerSecond;
        if (remote.count() == 0)
            scheduleClockTime(secondsAhead);
        quint8* out[RdsEncoder::kStreams];
        for (int s = 0; s < RdsEncoder::kStreams; ++s)
            out[s] = rdsStreams[s].data() + produced;
        if (remote.count() > 0) {
            // A remote group is one classic RDS group: stream 0 alone.
            const int index = remote.take(out[0]);
            qDebug("pr%02d remote rds out %d", programme, index);
            for (int s = 1; s < RdsEncoder::kStreams; ++s)
                std::memset(out[s], 0, kGroupBytes);
        } else if (encoder->generate(out[0], out[1], out[2], out[3]) != kGroupBytes) {
            return;
        }
        logGroup(out[0], secondsAhead);
        produced += kGroupBytes;
        ++groups;
    }
    if (groups % 2 != 0 || produced % 2 != 0)
        qDebug("pr%02d boom %d %d", programme, groups, produced);
    if (groups == 0)
        return;
    const std::array<const uchar*, 4> streams{rdsStreams[0].data(), rdsStreams[1].data(),
                                              rdsStreams[2].data(), rdsStreams[3].data()};
    // The board reports its fill only every status tick; until then the
    // words just sent count as held, or every fill tick would send again.
    if (board->sendRDS(slotIndex, streams, produced, encoder->streamMask()) > 0)
        board->noteSent(slotIndex, 0, produced / 2);
}

bool FMProgram::clockTimeDue(qint64 onAirMs, qint64 nowMs, qint64 lastClockMs)
{
    const double secondOfMinute = (onAirMs % 60000) / 1000.0;
    const bool inWindow =
        secondOfMinute >= kClockWindowStart || secondOfMinute < kClockWindowEnd - 60.0;
    return inWindow && (lastClockMs == 0 || nowMs - lastClockMs >= kClockMinSpacingMs);
}

void FMProgram::scheduleClockTime(double secondsAhead)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 nowMs = now.toMSecsSinceEpoch();
    if (!clockTimeDue(nowMs + qint64(secondsAhead * 1000.0), nowMs, lastClockMs))
        return;
    lastClockMs = nowMs;
    encoder->setTime(now.addSecs(kClockLeadSeconds));
}

void FMProgram::logGroup(const quint8* group, double secondsAhead)
{
    if (!store)
        return;
    if (encoder->takeLogHeader()) {
        store->publish(QStringLiteral("chinfo.%1.rdslog.%2").arg(programme).arg(channel.idrds),
                       QStringLiteral("# Kanal %1 - ").arg(programme) + encoder->currentText());
    }
    const QString text = encoder->currentText();
    if (text != publishedRdsText) {
        publishedRdsText = text;
        store->publish(QStringLiteral("channel.%1.rds").arg(programme), text);
    }
    const QTime onAir = QDateTime::currentDateTimeUtc().time().addMSecs(int(secondsAhead * 1000.0));
    store->addRDSLog(programme, channel.idrds, onAir, group);
}

bool FMProgram::queueRemoteGroup(QByteArray& line, int& fillLevel)
{
    remoteInput = !line.isEmpty();
    if (line.isEmpty()) {
        fillLevel = rdsFillLevel();
        return false;
    }
    QMutexLocker locker(&mutex);
    fillLevel = board->rdsFill(slotIndex) * 2 / kGroupBytes + remote.count();
    if (remote.isFull()) {
        line = QByteArrayLiteral("full");
        return false;
    }
    if (!channel.used || !board->isOnline()) {
        line = QByteArrayLiteral("offline");
        return false;
    }
    if (encoder->parseGroupLine(remote.writeSlot(), line) != kGroupBytes) {
        line = QByteArrayLiteral("noRDS");
        return false;
    }
    remote.push();
    return true;
}

int FMProgram::rdsFillLevel()
{
    QMutexLocker locker(&mutex);
    return board->rdsFill(slotIndex) * 2 / kGroupBytes + (remote.count() & ~1);
}

int FMProgram::remoteQueued() const
{
    QMutexLocker locker(&mutex);
    return remote.count();
}

// --- PCM

void FMProgram::fillAudio()
{
    if (endFlag && (!channel.used || !hasAudio))
        return;
    // The fill as it stands at send time: the board played on since its
    // last status reply, and a refill sized from that reply comes short.
    for (int n = 0; n < kMaxPcmDatagramsPerTick && roomFor(kFramesPerDatagram); ++n) {
        if (!pcmPending && !buildPCMPacket())
            break;
        pcmPending = true;
        // A mono datagram holds twice the frames of a stereo one; it waits
        // until it fits with the same margin.
        if (!roomFor(pcmFrames))
            break;
        if (board->sendRaw(pcmDatagram.constData(), pcmLength + BoardDatagram::kStreamHeaderSize) <=
            0)
            break;
        pcmPending = false;
        board->noteSent(slotIndex, pcmFrames, 0);
        ++pcmSent;
        if (endFlag)
            break;
    }
}

// Room in the board for a datagram of that many frames, with a datagram of
// 256 frames to spare: the fill the engine counts is worked out in whole
// milliseconds, and it may come short by what the board plays in one.
bool FMProgram::roomFor(int frames) const
{
    return board->pcmFill(slotIndex) + frames + kFramesPerDatagram < int(info.pcmCapacity);
}

void FMProgram::testPCM()
{
    info.pcmCapacity = kTestPcmCapacity;
    board->forgetPcm(slotIndex, kTestPcmDrainFrames);
    fillAudio();
}

void FMProgram::writePcmHeader(int frames, bool stereo)
{
    char* header = pcmDatagram.data();
    qToBigEndian<quint16>(BoardDatagram::kPcmStream, header);
    header[2] = 0;
    header[3] = char(slotIndex);
    header[4] = 0;
    header[5] = char(stereo ? BoardDatagram::kPcmStereo : BoardDatagram::kPcmMono);
    qToBigEndian<quint16>(quint16(frames), header + 6);
    pcmFrames = frames;
    pcmLength = frames * (stereo ? kStereoFrameBytes : kMonoFrameBytes);
}

bool FMProgram::buildPCMPacket()
{
    if (!channel.used || !hasAudio) {
        buildSilence();
        return true;
    }
    switch (audio.type) {
    case AudioSource::Sine:
    case AudioSource::Ramp:
        buildTone();
        return true;
    case AudioSource::File:
        return buildFromDecoder();
    default:
        buildSilence();
        return true;
    }
}

void FMProgram::buildSilence()
{
    writePcmHeader(kSilenceFrames, true);
    std::memset(pcmDatagram.data() + BoardDatagram::kStreamHeaderSize, 0, pcmLength);
    endFlag = true;
}

void FMProgram::buildTone()
{
    writePcmHeader(kFramesPerDatagram, true);
    qint16 samples[2 * kFramesPerDatagram];
    const qint64 first = pcmSent * kFramesPerDatagram;
    if (audio.type == AudioSource::Sine)
        TestTone::sine(samples, first, kFramesPerDatagram, nominalRate(), audio.frq1, audio.vol1,
                       audio.frq2, audio.vol2);
    else
        TestTone::sweep(samples, first, kFramesPerDatagram, nominalRate(), audio.time, audio.frq1,
                        audio.frq2, audio.vol1, audio.vol2);
    char* out = pcmDatagram.data() + BoardDatagram::kStreamHeaderSize;
    for (int i = 0; i < 2 * kFramesPerDatagram; ++i)
        qToLittleEndian<qint16>(samples[i], out + 2 * i);
    endFlag = false;
}

bool FMProgram::buildFromDecoder()
{
    char* out = pcmDatagram.data() + BoardDatagram::kStreamHeaderSize;
    bool underrun = false;
    // The kind of the bytes read, not of the song playing: the next song
    // opens while the last one still plays out of the decoder's buffers.
    int channels = 0;
    int bytes = decoder->readPCM(out, kPcmPayloadBytes, underrun, channels);
    if (bytes <= 0)
        return false;
    if (bytes < kTopUpBelowBytes) {
        const int more =
            decoder->readPCM(out + bytes, kPcmPayloadBytes - bytes, underrun, channels);
        bytes += std::max(0, more);
    }
    reportPlayInfo();
    const bool stereo = channels != 1;
    const int frames = bytes / (stereo ? kStereoFrameBytes : kMonoFrameBytes);
    if (frames == 0)
        return false;
    writePcmHeader(frames, stereo);
    endFlag = false;
    return true;
}

void FMProgram::reportPlayInfo()
{
    const qint32 position = decoder->playPosition();
    if (position != playPosition && store) {
        playPosition = position;
        store->publish(playPositionKey, playPosition);
    }
    const quint32 serial = decoder->songSerial();
    if (serial != playingSerial) {
        playingSerial = serial;
        takePlayingSong(decoder->playInfo());
    }
}

void FMProgram::takePlayingSong(const SongInfo& now)
{
    if (now.path == playing.path && now.kind == playing.kind &&
        now.sampleRate == playing.sampleRate && now.channels == playing.channels)
        return;
    playing = now;
    encoder->setTags(now.tags);
    if (store)
        store->setPlayInfo(programme, now);
}
