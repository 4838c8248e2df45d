// The programme engines of a board thread against the board emulator on
// 127.0.0.1: test tones, silence of an unused channel, 24 channels streaming
// files and RDS within the tick budgets on a clock the test moves, the
// remote RDS queue, and the play reports into the store, which stay the same
// few keys and records however often the songs change.
#include "AudioFiles.h"
#include "BoardFixture.h"
#include "KeyRecorder.h"
#include "RdsTestDecoder.h"
#include "audio/DecoderKind.h"
#include "board/FMProgram.h"
#include "board/TestTone.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <array>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 30000;
using Emu = BoardEmulator;

// Runs fn in the board thread, where the engines live, and waits for it.
template <typename Fn> void inBoardThread(FMBoard* board, Fn fn)
{
    QMetaObject::invokeMethod(board, fn, Qt::BlockingQueuedConnection);
}

QList<Emu::Datagram> streamOf(const BoardEmulator& emulator, quint16 type, int slot)
{
    QList<Emu::Datagram> list;
    for (const Emu::Datagram& d : emulator.receivedOfType(type)) {
        if (d.slot == slot)
            list.append(d);
    }
    return list;
}

// The packed groups of one stream of an RDS stream datagram.
QList<QByteArray> groupsOf(const Emu::Datagram& d, int stream)
{
    QByteArray bytes;
    if (d.kind == 1) {
        if (stream == 0)
            bytes = d.payload;
    } else {
        for (int at = 2 * stream; at + 1 < d.payload.size(); at += 8)
            bytes += d.payload.mid(at, 2);
    }
    QList<QByteArray> groups;
    for (int at = 0; at + 13 <= bytes.size(); at += 13)
        groups.append(bytes.mid(at, 13));
    return groups;
}

// Channel n plays audio source 1 and RDS source 1.
QByteArray channels(int count, const QByteArray& extra = {})
{
    QByteArray text;
    for (int n = 1; n <= count; ++n)
        text += QByteArray("[channel.") + QByteArray::number(n) +
                "]\nused=1\nidaudio=1\nidrds=1\n" + extra;
    return text;
}

// PS, RadioText and a filler of group 0A.
const QByteArray kRdsSource = "[rds.1]\nused=1\nps=TESTPS\nrta=Hello\npi=d311\n"
                              "0=-1\n2=60\n";

// Whether every slot of the emulator holds PCM up to the last datagram the
// engine may send, waiting as long as the engine needs to get there.
bool waitUntilRefilled(BoardFixture& f, int capacity)
{
    const auto full = [&] {
        for (int slot = 0; slot < FMBoard::kSlots; ++slot) {
            // The engine rounds what it counts as held up by a frame.
            if (f.emulator->slot(slot).pcmFill < capacity - 2 * FMProgram::kFramesPerDatagram - 2)
                return false;
        }
        return true;
    };
    return QTest::qWaitFor(full, kWaitMs);
}

// Starts the board thread on the test's clock against an emulator whose PCM
// buffers hold capacity frames, and brings it online.
bool startOnTestClock(BoardFixture& f, QSharedPointer<FMSettings> settings, int capacity)
{
    f.emulator->setLogPcm(false);
    f.emulator->setCapacities(capacity, 1024);
    f.startBoard(settings);
    f.driveClock();
    return f.bringOnline();
}

// Waits, as long as the engine needs, until the board holds PCM of slot 0 up
// to the last datagram the engine may send: it keeps room for a datagram of
// 256 frames beside the next one, which holds twice as many frames in mono.
bool waitUntilSlotRefilled(BoardFixture& f, int capacity, int datagramFrames = 256)
{
    return QTest::qWaitFor(
        [&] {
            return f.emulator->slot(0).pcmFill >=
                   capacity - datagramFrames - FMProgram::kFramesPerDatagram - 2;
        },
        kWaitMs);
}

// A 16-bit WAV at 44.1 kHz whose every frame holds the given samples (one
// per channel), written here byte by byte after the RIFF layout.
QByteArray constantWav(const QList<qint16>& frame, int frames)
{
    const auto le16 = [](QByteArray& out, quint16 v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    const auto le32 = [&](QByteArray& out, quint32 v) {
        le16(out, quint16(v & 0xFFFF));
        le16(out, quint16(v >> 16));
    };
    const int channelCount = int(frame.size());
    const quint32 dataBytes = quint32(frames * channelCount * 2);
    QByteArray wav("RIFF");
    le32(wav, 36 + dataBytes);
    wav += "WAVEfmt ";
    le32(wav, 16);
    le16(wav, 1); // integer PCM
    le16(wav, quint16(channelCount));
    le32(wav, 44100);
    le32(wav, quint32(44100 * channelCount * 2));
    le16(wav, quint16(channelCount * 2));
    le16(wav, 16);
    wav += "data";
    le32(wav, dataBytes);
    for (int i = 0; i < frames; ++i) {
        for (qint16 sample : frame)
            le16(wav, quint16(sample));
    }
    return wav;
}

} // namespace

class TestFMProgram : public QObject
{
    Q_OBJECT

private slots:
    void toneSamples_data();
    void toneSamples();
    void eonEntryOfKey_data();
    void eonEntryOfKey();
    void sineStreamsFromTheFirstFrame();
    void unusedChannelSendsOneSilence();
    void twentyFourChannelsStreamFilesAndRds();
    void songChangesKeepRunTimeValuesBounded();
    void monoAndStereoSongsAlternateWithoutOverflow();
    void fifoInPlaylistIsSkipped();
    void rdsGoesBeforePcmAndLowerSlotsFirst();
    void clockTimeWindow_data();
    void clockTimeWindow();
    void remoteLines_data();
    void remoteLines();
    void remoteGroupsGoOnStreamZeroOnly();
};

void TestFMProgram::toneSamples_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("smallest");
    QTest::addColumn<int>("largest");
    // 11025 Hz at 44100 Hz: frames 1 and 3 sit on the peaks.
    QTest::newRow("sine at 100 %") << 0 << 6 << 100 << -32768 << 32767;
    QTest::newRow("sine above 100 % is clamped") << 0 << 6 << 250 << -32768 << 32767;
    QTest::newRow("silent sine") << 0 << 6 << 0 << -1 << -1;
    QTest::newRow("sweep of 0 s is clamped") << 1 << 0 << 100 << -32768 << 32767;
    QTest::newRow("sweep above 100 % is clamped") << 1 << 6 << 1000 << -32768 << 32767;
}

void TestFMProgram::toneSamples()
{
    QFETCH(int, type);
    QFETCH(int, seconds);
    QFETCH(int, volume);
    QFETCH(int, smallest);
    QFETCH(int, largest);
    constexpr int kFrames = 256;
    qint16 samples[2 * kFrames];
    if (type == 0)
        TestTone::sine(samples, 0, kFrames, 44100, 11025, volume, 11025, volume);
    else
        TestTone::sweep(samples, 0, kFrames, 44100, seconds, 11025, 11025, volume, volume);
    QCOMPARE(samples[0], qint16(-1)); // y = -0.5 rounds away from 0
    QCOMPARE(int(*std::min_element(samples, samples + 2 * kFrames)), smallest);
    QCOMPARE(int(*std::max_element(samples, samples + 2 * kFrames)), largest);
}

void TestFMProgram::eonEntryOfKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("entry");
    QTest::newRow("ps of entry 2") << "rds.1/eon/2/ps" << 2;
    QTest::newRow("af of entry 12") << "rds.7/eon/12/af" << 12;
    QTest::newRow("whole entry 3") << "rds.1/eon/3" << 3;
    QTest::newRow("no entry") << "rds.1/ps" << -1;
}

void TestFMProgram::eonEntryOfKey()
{
    QFETCH(QString, key);
    QFETCH(int, entry);
    QCOMPARE(FMProgram::eonEntry(key), entry);
}

void TestFMProgram::sineStreamsFromTheFirstFrame()
{
    BoardFixture f;
    f.emulator->setDraining(false);
    auto settings = f.project("[channel.1]\nused=1\nidaudio=1\n"
                              "[audio.1]\nused=1\ntype=0\nfrq1=11025\nfrq2=11025\n"
                              "vol1=100\nvol2=100\n");
    QVERIFY(f.bringOnline(settings));
    QTRY_VERIFY_WITH_TIMEOUT(streamOf(*f.emulator, Emu::PcmStream, 0).size() >= 2, kWaitMs);
    const auto first = streamOf(*f.emulator, Emu::PcmStream, 0).first();
    QCOMPARE(first.kind, 2);
    QCOMPARE(first.count, FMProgram::kFramesPerDatagram);
    QCOMPARE(first.samples.size(), 2 * FMProgram::kFramesPerDatagram);
    QCOMPARE(first.samples[0], qint16(-1));
    QCOMPARE(first.samples[2], qint16(32767));
    QCOMPARE(first.samples[6], qint16(-32768));
}

void TestFMProgram::unusedChannelSendsOneSilence()
{
    BoardFixture f;
    f.emulator->setDraining(false);
    auto settings = f.project("[channel.2]\nused=1\n");
    QVERIFY(f.bringOnline(settings));
    QTRY_VERIFY_WITH_TIMEOUT(!streamOf(*f.emulator, Emu::PcmStream, 1).isEmpty(), kWaitMs);
    QTest::qWait(3 * FMBoard::kStatusTickMs);
    // Channel 1 is unused, channel 2 is used but has no audio source.
    for (int slot : {0, 1}) {
        const auto pcm = streamOf(*f.emulator, Emu::PcmStream, slot);
        QCOMPARE(pcm.size(), 1);
        QCOMPARE(pcm.first().count, FMProgram::kSilenceFrames);
        QVERIFY(std::all_of(pcm.first().samples.cbegin(), pcm.first().samples.cend(),
                            [](qint16 s) { return s == 0; }));
    }
}

// The board plays three seconds of a clock the test moves in steps of 50 ms,
// and after each step the engine must have filled every slot up again:
// nothing ran dry, nothing overflowed, and as much PCM went out as the
// board played, however slow the machine.
void TestFMProgram::twentyFourChannelsStreamFilesAndRds()
{
    if (!AudioFiles::haveTools({QStringLiteral("sox")}))
        QSKIP("sox is missing");
    BoardFixture f;
    AudioFiles files(f.dir.path());
    AudioFiles::Format format;
    format.seconds = 2.0;
    const QString wav = files.wav(QStringLiteral("tone.wav"), format);
    QVERIFY2(!wav.isEmpty(), qPrintable(files.lastError()));
    auto settings = f.project(channels(FMBoard::kSlots) +
                              "[audio.1]\nused=1\ntype=2\n"
                              "file=playlist.1\n[playlist.1]\n0=" +
                              wav.toUtf8() + "\n" + kRdsSource);
    KeyRecorder recorder;
    settings->subscribe(QStringLiteral("chinfo"), &recorder);
    settings->subscribe(QStringLiteral("songinfo"), &recorder);
    constexpr int kCapacity = 16384;
    QVERIFY(startOnTestClock(f, settings, kCapacity));
    QVERIFY(waitUntilRefilled(f, kCapacity));

    RdsTestDecoder decoder;
    int badGroups = 0;
    std::array<int, FMBoard::kSlots> warmUpRds{};
    for (int slot = 0; slot < FMBoard::kSlots; ++slot) {
        for (const Emu::Datagram& d : streamOf(*f.emulator, Emu::RdsStream, slot)) {
            ++warmUpRds[slot];
            for (const QByteArray& group : groupsOf(d, 0))
                badGroups += decoder.add(group) ? 0 : 1;
        }
    }
    f.emulator->clearReceived();
    f.board->resetFillStats();
    constexpr int kStepMs = 50;
    constexpr int kSteps = 60;
    for (int step = 0; step < kSteps; ++step) {
        f.advance(kStepMs);
        QVERIFY2(waitUntilRefilled(f, kCapacity), qPrintable(QString::number(step)));
    }
    const double seconds = kSteps * kStepMs / 1000.0;

    QCOMPARE(f.emulator->totalUnderruns(), 0);
    QCOMPARE(f.emulator->totalOverflows(), 0);
    const FillTickStats::Snapshot stats = f.board->fillStats();
    // Nothing beyond the RDS budget plus what one engine may add to a tick.
    QVERIFY2(stats.maxTickBytes < FMBoard::kRdsBudgetBytes + FMProgram::kMaxPcmDatagramsPerTick *
                                                                 (FMProgram::kPcmPayloadBytes + 8),
             qPrintable(QString::number(stats.maxTickBytes)));
    for (int slot = 0; slot < FMBoard::kSlots; ++slot) {
        // Full before and after: as much PCM as the board played, give or
        // take the last datagram.
        const double frames = double(f.emulator->slot(slot).pcmFrames);
        QVERIFY2(qAbs(frames - 44100.0 * seconds) <= 2 * FMProgram::kFramesPerDatagram,
                 qPrintable(QStringLiteral("slot %1: %2 frames").arg(slot).arg(frames)));
        // RDS at the pace the board takes it, no flood.
        int groups = 0;
        for (const Emu::Datagram& d : streamOf(*f.emulator, Emu::RdsStream, slot)) {
            QCOMPARE(d.payload.size() % 26, 0);
            for (const QByteArray& group : groupsOf(d, 0)) {
                ++groups;
                if (!decoder.add(group))
                    ++badGroups;
            }
        }
        QVERIFY2(groups > 0 || warmUpRds[slot] > 0,
                 qPrintable(QStringLiteral("slot %1 rds fill %2 datagrams %3")
                                .arg(slot)
                                .arg(f.emulator->slot(slot).rdsFill)
                                .arg(f.emulator->slot(slot).rdsDatagrams)));
        QVERIFY2(groups < 11.5 * seconds + 40, qPrintable(QString::number(groups)));
        QCOMPARE(f.emulator->slot(slot).rdsOverflows, 0);
    }
    QCOMPARE(badGroups, 0);
    QCOMPARE(QString::fromLatin1(decoder.ps).trimmed(), QStringLiteral("TESTPS"));
    QCOMPARE(decoder.pi, quint16(0xD311));
    QTRY_VERIFY_WITH_TIMEOUT(recorder.keys().contains(QStringLiteral("songinfo")), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(recorder.keys().contains(QStringLiteral("chinfo.24/playpos")),
                             kWaitMs);
}

// A playlist of short MP3, Ogg and FLAC files played through many song
// changes, counted on the store's play reports and driven by the test's clock:
// the run-time keys published and the song records kept are the same after
// the last change as after the first rounds, one record per file.
void TestFMProgram::songChangesKeepRunTimeValuesBounded()
{
    if (!AudioFiles::haveTools({QStringLiteral("sox"), QStringLiteral("lame"),
                                QStringLiteral("oggenc"), QStringLiteral("flac")}))
        QSKIP("sox, lame, oggenc or flac is missing");
    BoardFixture f;
    AudioFiles files(f.dir.path());
    AudioFiles::Format format;
    format.seconds = 0.25;
    const QStringList songs = {files.mp3(QStringLiteral("a.mp3"), format),
                               files.ogg(QStringLiteral("b.ogg"), format),
                               files.flac(QStringLiteral("c.flac"), format)};
    QByteArray playlist = "[playlist.1]\n";
    for (int i = 0; i < songs.size(); ++i) {
        QVERIFY2(!songs[i].isEmpty(), qPrintable(files.lastError()));
        playlist += QByteArray::number(i) + '=' + songs[i].toUtf8() + '\n';
    }
    auto settings = f.project(channels(1) + "[audio.1]\nused=1\ntype=2\nfile=playlist.1\n" +
                              playlist + kRdsSource);
    KeyRecorder recorder;
    for (const char* key : {"chinfo", "chstatus", "songinfo"})
        settings->subscribe(QString::fromLatin1(key), &recorder);
    constexpr int kCapacity = 16384;
    QVERIFY(startOnTestClock(f, settings, kCapacity));

    const QString playingKey = QStringLiteral("chinfo.1/playing");
    const auto songChanges = [&] { return int(recorder.keys().count(playingKey)); };
    const auto distinctKeys = [&] {
        const QStringList keys = recorder.keys();
        return QSet<QString>(keys.cbegin(), keys.cend());
    };
    // Two rounds of the playlist settle every key the engine reports.
    constexpr int kSettledChanges = 6;
    constexpr int kSongChanges = 36;
    // 36 songs of 0.25 s are 180 steps of 50 ms; the rest is slack.
    constexpr int kStepMs = 50;
    constexpr int kMaxSteps = 600;
    QSet<QString> settledKeys;
    for (int step = 0; songChanges() < kSongChanges; ++step) {
        QVERIFY2(step < kMaxSteps, qPrintable(QStringLiteral("%1 song changes after %2 steps")
                                                  .arg(songChanges())
                                                  .arg(step)));
        f.advance(kStepMs);
        QVERIFY2(waitUntilSlotRefilled(f, kCapacity), qPrintable(QString::number(step)));
        if (settledKeys.isEmpty() && songChanges() >= kSettledChanges)
            settledKeys = distinctKeys();
    }

    const QSet<QString> keys = distinctKeys();
    QVERIFY2(keys == settledKeys,
             qPrintable(QStringList((keys - settledKeys).values()).join(QLatin1Char(' '))));
    QVERIFY(keys.contains(playingKey));
    const QHash<QString, SongInfo> records = settings->songInfos();
    QCOMPARE(records.size(), songs.size());
    for (const QString& song : songs)
        QVERIFY2(records.value(song).kind > 0, qPrintable(song));
    QVERIFY(songs.contains(settings->songInfo(1).path));
}

// A playlist that alternates a mono and a stereo WAV of constant samples,
// played through many changes of kind on the test's clock. Every datagram
// carries the samples of one file in that file's kind (the mono one has an
// odd number of frames, so a stray byte count would also shift the stereo
// samples), and the board plays as many frames as time passed. The engine
// counts the board's fill in whole milliseconds and may come short by what
// the board plays in one, so a mono datagram of 512 frames, like a stereo
// one, goes out only while room for another 256 stays free: the board is
// never seen fuller than that.
void TestFMProgram::monoAndStereoSongsAlternateWithoutOverflow()
{
    BoardFixture f;
    AudioFiles files(f.dir.path());
    constexpr qint16 kMono = 1000;
    constexpr qint16 kLeft = 2000;
    constexpr qint16 kRight = -2000;
    const QString monoWav = files.write(QStringLiteral("mono.wav"), constantWav({kMono}, 13231));
    const QString stereoWav =
        files.write(QStringLiteral("stereo.wav"), constantWav({kLeft, kRight}, 13230));
    auto settings = f.project(channels(1) +
                              "[audio.1]\nused=1\ntype=2\nfile=playlist.1\n"
                              "[playlist.1]\n0=" +
                              monoWav.toUtf8() + "\n1=" + stereoWav.toUtf8() + "\n");
    constexpr int kCapacity = 16384;
    QVERIFY(startOnTestClock(f, settings, kCapacity));
    constexpr int kMonoFrames = 2 * FMProgram::kFramesPerDatagram;
    QVERIFY(waitUntilSlotRefilled(f, kCapacity, kMonoFrames));
    f.emulator->clearReceived();
    f.emulator->setLogPcm(true);
    double fullest = 0.0;
    QObject::connect(f.emulator.get(), &BoardEmulator::datagramReceived,
                     [&](const Emu::Datagram& d) {
                         if (d.type == Emu::PcmStream && d.slot == 0)
                             fullest = std::max(fullest, f.emulator->slot(0).pcmFill);
                     });

    // The kinds of the datagrams that carried sound, a change counted once.
    int changesOfKind = 0;
    int lastKind = -1;
    qsizetype checked = 0;
    const auto checkNewDatagrams = [&] {
        const QList<Emu::Datagram> pcm = streamOf(*f.emulator, Emu::PcmStream, 0);
        for (; checked < pcm.size(); ++checked) {
            const Emu::Datagram& d = pcm[checked];
            const bool mono = d.kind == 0;
            const int width = mono ? 1 : 2;
            if (d.samples.size() != d.count * width)
                return QStringLiteral("%1 samples for %2 frames")
                    .arg(d.samples.size())
                    .arg(d.count);
            bool sound = false;
            for (int at = 0; at + width <= d.samples.size(); at += width) {
                const bool silent = d.samples[at] == 0 && (mono || d.samples[at + 1] == 0);
                const bool ours = mono ? d.samples[at] == kMono
                                       : d.samples[at] == kLeft && d.samples[at + 1] == kRight;
                if (!silent && !ours)
                    return QStringLiteral("kind %1 frame %2 of datagram %3: %4 %5")
                        .arg(d.kind)
                        .arg(at / width)
                        .arg(checked)
                        .arg(d.samples[at])
                        .arg(mono ? 0 : d.samples[at + 1]);
                sound = sound || ours;
            }
            if (sound && d.kind != lastKind) {
                changesOfKind += lastKind >= 0 ? 1 : 0;
                lastKind = d.kind;
            }
        }
        return QString();
    };

    constexpr int kChangesOfKind = 12;
    constexpr int kStepMs = 20;
    // Song changes come at the decode thread's pace, so the test steps on
    // until enough were played, within a generous bound.
    QDeadlineTimer patience(240000);
    int steps = 0;
    while (changesOfKind < kChangesOfKind) {
        QVERIFY2(!patience.hasExpired(), qPrintable(QString::number(changesOfKind)));
        f.advance(kStepMs);
        ++steps;
        QVERIFY2(waitUntilSlotRefilled(f, kCapacity, kMonoFrames),
                 qPrintable(QString::number(steps)));
        const QString fault = checkNewDatagrams();
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    const BoardEmulator::SlotState& slot = f.emulator->slot(0);
    QCOMPARE(slot.pcmFramesDropped, qint64(0));
    QCOMPARE(slot.pcmOverflows, 0);
    QCOMPARE(slot.underruns, 0);
    QVERIFY2(fullest < kCapacity - FMProgram::kFramesPerDatagram,
             qPrintable(QString::number(fullest)));
    const double played = 44100.0 * steps * kStepMs / 1000.0;
    QVERIFY2(qAbs(double(slot.pcmFrames) - played) <= 2 * FMProgram::kPcmPayloadBytes,
             qPrintable(QStringLiteral("%1 frames for %2").arg(slot.pcmFrames).arg(played)));
}

// Opening a FIFO for reading waits for a writer: a playlist entry that is
// one is skipped at once, the next song plays, and the board thread ends.
void TestFMProgram::fifoInPlaylistIsSkipped()
{
    BoardFixture f;
    AudioFiles files(f.dir.path());
    constexpr qint16 kSample = 1234;
    const QString fifo = f.dir.filePath(QStringLiteral("fifo.wav"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Lets a reader that did open the FIFO go on, so the board thread of a
    // faulty build still ends when the test does.
    const auto releaseReader = qScopeGuard([&] {
        const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    });
    const QString wav = files.write(QStringLiteral("song.wav"), constantWav({kSample}, 44100));
    auto settings = f.project(channels(1) +
                              "[audio.1]\nused=1\ntype=2\nfile=playlist.1\n"
                              "[playlist.1]\n0=" +
                              fifo.toUtf8() + "\n1=" + wav.toUtf8() + "\n");
    f.emulator->setCapacities(16384, 1024);
    QVERIFY(f.bringOnline(settings));

    const auto songPlays = [&] {
        for (const Emu::Datagram& d : streamOf(*f.emulator, Emu::PcmStream, 0)) {
            if (d.kind == 0 && d.samples.value(0) == kSample)
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(songPlays(), kWaitMs);
    QCOMPARE(settings->songInfos().value(fifo).kind, qint32(DecoderFailed));
    f.stopBoard();
}

void TestFMProgram::rdsGoesBeforePcmAndLowerSlotsFirst()
{
    BoardFixture f;
    auto settings = f.project(channels(4) + "[audio.1]\nused=1\ntype=0\n" + kRdsSource);
    QVERIFY(f.bringOnline(settings));
    QTRY_VERIFY_WITH_TIMEOUT(streamOf(*f.emulator, Emu::RdsStream, 3).size() >= 2, kWaitMs);

    QList<QPair<quint16, int>> order;
    for (const Emu::Datagram& d : f.emulator->received()) {
        if (d.type == Emu::RdsStream || d.type == Emu::PcmStream)
            order.append({d.type, int(d.slot)});
    }
    // The first tick that sends RDS sends it for every slot in slot order
    // before any PCM; the PCM that follows in that tick goes lower slots first.
    const qsizetype first = order.indexOf(QPair<quint16, int>{quint16(Emu::RdsStream), 0});
    QVERIFY(first >= 0);
    for (int slot = 0; slot < 4; ++slot)
        QCOMPARE(order.value(first + slot), (QPair<quint16, int>{quint16(Emu::RdsStream), slot}));
    int lastPcmSlot = -1;
    for (qsizetype i = first + 4; i < order.size() && order[i].first == Emu::PcmStream; ++i) {
        QVERIFY(order[i].second >= lastPcmSlot);
        lastPcmSlot = order[i].second;
    }
}

void TestFMProgram::clockTimeWindow_data()
{
    QTest::addColumn<qint64>("onAirSecondMs"); // within the minute
    QTest::addColumn<qint64>("sinceLastMs");   // -1: never before
    QTest::addColumn<bool>("due");
    QTest::newRow("just before the window") << qint64(59899) << qint64(-1) << false;
    QTest::newRow("window opens at 59.9 s") << qint64(59900) << qint64(-1) << true;
    QTest::newRow("the full minute") << qint64(0) << qint64(-1) << true;
    QTest::newRow("last moment 60.079 s") << qint64(79) << qint64(-1) << true;
    QTest::newRow("window closed at 60.08 s") << qint64(80) << qint64(-1) << false;
    QTest::newRow("mid minute") << qint64(30000) << qint64(-1) << false;
    QTest::newRow("sent 42.999 s ago") << qint64(0) << qint64(42999) << false;
    QTest::newRow("sent 43 s ago") << qint64(0) << qint64(43000) << true;
}

void TestFMProgram::clockTimeWindow()
{
    QFETCH(qint64, onAirSecondMs);
    QFETCH(qint64, sinceLastMs);
    // A full minute of 2026-12-10, with the on-air time 1.5 s ahead of now.
    const qint64 minute = QDateTime(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC).toMSecsSinceEpoch();
    const qint64 onAir = minute + onAirSecondMs;
    const qint64 now = onAir - 1500;
    const qint64 last = sinceLastMs < 0 ? 0 : now - sinceLastMs;
    QTEST(FMProgram::clockTimeDue(onAir, now, last), "due");
}

void TestFMProgram::remoteLines_data()
{
    QTest::addColumn<bool>("used");
    QTest::addColumn<int>("before");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("reply");
    const QByteArray group = "D311 0408 E0CD 5445";
    QTest::newRow("four blocks") << true << 0 << group << true << group;
    QTest::newRow("time stamp then status and blocks")
        << true << 0 << QByteArray("12:00:01 ABCD D311 0408 E0CD 5445") << true
        << QByteArray("12:00:01 ABCD D311 0408 E0CD 5445");
    QTest::newRow("comment") << true << 0 << QByteArray("# D311 0408 E0CD 5445") << false
                             << QByteArray("noRDS");
    QTest::newRow("no group") << true << 0 << QByteArray("hello world") << false
                              << QByteArray("noRDS");
    QTest::newRow("unused channel") << false << 0 << group << false << QByteArray("offline");
    QTest::newRow("129th group") << true << 128 << group << false << QByteArray("full");
    QTest::newRow("empty line ends remote input")
        << true << 0 << QByteArray() << false << QByteArray();
}

void TestFMProgram::remoteLines()
{
    QFETCH(bool, used);
    QFETCH(int, before);
    QFETCH(QByteArray, line);
    QFETCH(bool, accepted);
    QFETCH(QByteArray, reply);
    BoardFixture f;
    // No RDS source: queued groups only leave in pairs, so the queue holds.
    auto settings = f.project(used ? "[channel.1]\nused=1\n" : "[channel.2]\nused=1\n");
    f.emulator->setDraining(false);
    f.emulator->slot(0).rdsFill = 1000; // the board's RDS buffer is full
    QVERIFY(f.bringOnline(settings));
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator->countOfType(Emu::StatusRequest) >= 2, kWaitMs);
    FMProgram* program = f.board->program(0);
    bool result = false;
    int fill = -1;
    int queued = -1;
    inBoardThread(f.board.get(), [&] {
        for (int i = 0; i < before; ++i) {
            QByteArray filler("D311 0408 E0CD 5445");
            int ignored = 0;
            program->queueRemoteGroup(filler, ignored);
        }
        result = program->queueRemoteGroup(line, fill);
        queued = program->remoteQueued();
    });
    QCOMPARE(result, accepted);
    QCOMPARE(line, reply);
    QCOMPARE(queued, before + (accepted ? 1 : 0));
    // The board holds 1000 words: 153 groups, plus what waits here.
    if (!line.isEmpty())
        QCOMPARE(fill, 1000 * 2 / 13 + before);
}

void TestFMProgram::remoteGroupsGoOnStreamZeroOnly()
{
    BoardFixture f;
    f.emulator->setFirmware(30);
    // Four RDS streams on, so the datagram carries all four.
    auto settings = f.project("[channel.1]\nused=1\nidrds=1\n" + kRdsSource + "mode=15\n");
    QVERIFY(f.bringOnline(settings));
    QTRY_VERIFY_WITH_TIMEOUT(!streamOf(*f.emulator, Emu::RdsStream, 0).isEmpty(), kWaitMs);
    FMProgram* program = f.board->program(0);
    inBoardThread(f.board.get(), [&] {
        for (int i = 0; i < 2; ++i) {
            QByteArray line("A0A0 0408 E0CD 5445");
            int fill = 0;
            program->queueRemoteGroup(line, fill);
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const Emu::Datagram& d : streamOf(*f.emulator, Emu::RdsStream, 0)) {
                const QList<QByteArray> groups = groupsOf(d, 0);
                if (groups.isEmpty() || RdsTestDecoder::unpack(groups[0]).data[0] != 0xA0A0)
                    continue;
                if (d.kind != 15 || groups.size() != 2)
                    return false;
                for (int stream = 1; stream < 4; ++stream) {
                    for (const QByteArray& g : groupsOf(d, stream)) {
                        if (g != QByteArray(13, '\0'))
                            return false;
                    }
                }
                return RdsTestDecoder::unpack(groups[1]).valid();
            }
            return false;
        }(),
        kWaitMs);
}

QTEST_GUILESS_MAIN(TestFMProgram)
#include "tst_fmprogram.moc"
