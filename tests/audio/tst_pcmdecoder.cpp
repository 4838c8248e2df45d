// The decode thread read the way the board thread reads it: playlist walk,
// looping, skipping of unplayable files, jumps, playlist changes, silence on
// underrun, play position, the song records it keeps, the files it keeps
// open, and stopping.
#include "audio/PCMDecoder.h"

#include "AudioFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

constexpr int kDrainTimeoutMs = 30000;
constexpr int kWaitMs = 30000;
constexpr int kStereoFrameBytes = 4;
constexpr int kRawRate = 44100;

// Distinct stereo frames for a headerless file: no two songs share a frame.
QByteArray pattern(int frames, int seed)
{
    QByteArray bytes(frames * kStereoFrameBytes, '\0');
    for (int i = 0; i < frames; ++i) {
        qToLittleEndian<quint16>(quint16(seed * 4099 + i), bytes.data() + 4 * i);
        qToLittleEndian<quint16>(quint16(seed * 7919 - i * 3), bytes.data() + 4 * i + 2);
    }
    return bytes;
}

// Takes the next bytes of real PCM, waiting through underruns as the board
// thread's fill tick would.
QByteArray drain(PCMDecoder& decoder, qint64 bytes)
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    char step[1024];
    while (out.size() < bytes && timer.elapsed() < kDrainTimeoutMs) {
        bool underrun = false;
        const qint32 wanted = qint32(qMin<qint64>(sizeof step, bytes - out.size()));
        const qint32 got = decoder.readPCM(step, wanted, underrun);
        if (underrun) {
            QThread::msleep(2);
            continue;
        }
        out.append(step, got);
    }
    return out;
}

qsizetype commonFramePrefix(const QByteArray& a, const QByteArray& b)
{
    qsizetype n = 0;
    const qsizetype limit = qMin(a.size(), b.size());
    while (n < limit && a.at(n) == b.at(n))
        ++n;
    return n - n % kStereoFrameBytes;
}

QStringList paths(const QList<SongInfo>& songs)
{
    QStringList list;
    for (const SongInfo& song : songs)
        list << song.path;
    return list;
}

// How many open descriptors of this process name one of the files.
int openDescriptorsOf(const QStringList& files)
{
    QStringList canonical;
    for (const QString& file : files)
        canonical << QFileInfo(file).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        count += canonical.contains(QFile::symLinkTarget(fds.filePath(fd))) ? 1 : 0;
    return count;
}

} // namespace

class TestPCMDecoder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void emptyPlaylistGivesSilence();
    void walksAndLoopsPlaylist();
    void singleFileLoops();
    void skipsUnplayableFiles();
    void fileWithoutSamplesIsNotReopenedAtOnce();
    void jumpsToRequestedSong();
    void playlistChangeKeepsOrRestarts_data();
    void playlistChangeKeepsOrRestarts();
    void emptiedPlaylistFallsSilent();
    void monoPositionUsesDeliveredLayout();
    void handedOutSongsShareNoMemory_data();
    void handedOutSongsShareNoMemory();
    void songRecordsStayBounded_data();
    void songRecordsStayBounded();
    void endedSongsLeaveNoFileOpen();
    void stopsAndIsWaitedFor();

private:
    QString raw(const QString& name, int frames, int seed);

    QTemporaryDir dir;
    std::unique_ptr<AudioFiles> files;
    QMap<QString, QByteArray> rawContent;
};

void TestPCMDecoder::initTestCase()
{
    QVERIFY(dir.isValid());
    files = std::make_unique<AudioFiles>(dir.path());
}

QString TestPCMDecoder::raw(const QString& name, int frames, int seed)
{
    const QByteArray bytes = pattern(frames, seed);
    const QString path = files->write(name, bytes);
    rawContent.insert(path, bytes);
    return path;
}

void TestPCMDecoder::emptyPlaylistGivesSilence()
{
    PCMDecoder decoder(7);
    QByteArray out(1000, '\x55');
    bool underrun = false;
    QCOMPARE(decoder.readPCM(out.data(), out.size(), underrun), 1000);
    QVERIFY(underrun);
    QCOMPARE(out, QByteArray(1000, '\0'));
    QCOMPARE(decoder.playInfo().kind, int(DecoderNone));
    QCOMPARE(decoder.playInfo().position, 0);
}

void TestPCMDecoder::walksAndLoopsPlaylist()
{
    if (!AudioFiles::haveTools({"sox", "flac"}))
        QSKIP("sox and flac are needed");
    const QString a = raw("a.raw", kRawRate / 2, 1);
    const QString b = files->wav("b.wav", {44100, 2, 16, 0.4});
    const QString c = files->flac("c.flac", {44100, 1, 16, 0.3});
    QVERIFY(!b.isEmpty() && !c.isEmpty());
    QByteArray cPcm;
    const QByteArray cMono = files->soxDecode(c);
    for (qsizetype i = 0; i + 1 < cMono.size(); i += 2)
        cPcm += cMono.mid(i, 2) + cMono.mid(i, 2);
    const QByteArray round = rawContent.value(a) + files->soxDecode(b) + cPcm;

    PCMDecoder decoder(2);
    decoder.setPlaylist({a, b, c});
    const QByteArray played = drain(decoder, 2 * round.size());
    QCOMPARE(played.size(), 2 * round.size());
    QVERIFY2(played == round + round, "the walk lost, repeated or reordered PCM");
    QVERIFY(decoder.hasSongInfo());
    // Still running, the thread may open the next song right after the take;
    // stopped, it publishes nothing more.
    decoder.requestStop(false);
    QTRY_VERIFY_WITH_TIMEOUT(decoder.isStopped(), kDrainTimeoutMs);
    const QList<SongInfo> songs = decoder.takeSongInfo();
    QVERIFY(paths(songs).mid(0, 4) == (QStringList{a, b, c, a}));
    QCOMPARE(songs.at(2).kind, int(DecoderFlac));
    QCOMPARE(songs.at(2).channels, 2);
    QVERIFY(!decoder.hasSongInfo());
}

void TestPCMDecoder::singleFileLoops()
{
    const QString a = raw("loop.raw", kRawRate / 4, 2);
    PCMDecoder decoder(3);
    decoder.setPlaylist({a});
    const QByteArray song = rawContent.value(a);
    QCOMPARE(drain(decoder, 5 * song.size()), song + song + song + song + song);
}

void TestPCMDecoder::skipsUnplayableFiles()
{
    const QString good = raw("good.raw", kRawRate / 4, 3);
    const QString missing = dir.filePath("missing.wav");
    const QString junk = files->write("junk.flac", QByteArray(5000, '\x33'));
    const QString empty = files->write("empty.ogg", QByteArray());
    const QString unknown = files->write("clip.mp4", QByteArray(100, '\x01'));
    // Opens, but holds no sample: must be skipped too, not reopened at once.
    const QString silent = files->write("nothing.raw", QByteArray());

    PCMDecoder decoder(4);
    decoder.setPlaylist({missing, junk, good, empty, unknown, silent});
    const QByteArray song = rawContent.value(good);
    QCOMPARE(drain(decoder, 2 * song.size()), song + song);
    QList<SongInfo> songs;
    QTRY_VERIFY_WITH_TIMEOUT((songs += decoder.takeSongInfo(), paths(songs).count(good) >= 2),
                             kWaitMs);
    for (const SongInfo& info : songs) {
        if (info.path == missing || info.path == junk || info.path == empty)
            QCOMPARE(info.kind, int(DecoderFailed));
        else if (info.path == unknown)
            QCOMPARE(info.kind, int(DecoderNone));
    }
    QVERIFY(paths(songs).contains(unknown));
}

namespace {
QAtomicInt badLines;
QtMessageHandler previousHandler = nullptr;
void countBadLines(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(" bad! "))
        badLines.fetchAndAddRelaxed(1);
    previousHandler(type, context, text);
}
} // namespace

void TestPCMDecoder::fileWithoutSamplesIsNotReopenedAtOnce()
{
    // It opens, yet ends its first decode step with nothing: it is reported
    // and waited on like a bad file instead of being reopened in a tight loop.
    const QString silent =
        files->write("empty-data.wav", QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0"
                                                  "\x01\0\x02\0\x44\xac\0\0"
                                                  "\x10\xb1\x02\0\x04\0\x10\0"
                                                  "data\0\0\0\0",
                                                  44));
    badLines.storeRelaxed(0);
    previousHandler = qInstallMessageHandler(countBadLines);
    {
        PCMDecoder decoder(14);
        decoder.setPlaylist({silent});
        QTRY_VERIFY_WITH_TIMEOUT(badLines.loadRelaxed() >= 2, kWaitMs);
    }
    qInstallMessageHandler(previousHandler);
}

void TestPCMDecoder::jumpsToRequestedSong()
{
    const QString a = raw("j0.raw", kRawRate / 4, 10);
    const QString b = raw("j1.raw", kRawRate / 4, 11);
    const QString c = raw("j2.raw", kRawRate / 4, 12);
    const QString d = raw("j3.raw", kRawRate / 4, 13);
    PCMDecoder decoder(5);
    decoder.setPlaylist({a, b, c, d});
    const QByteArray first = drain(decoder, rawContent.value(a).size());
    QCOMPARE(first, rawContent.value(a));
    // Up to two songs (b, then c) may already sit decoded in the two
    // buffers; whatever the timing, d follows them, and a follows d.
    decoder.jumpTo(99); // past the end: ignored
    decoder.jumpTo(3);
    const QByteArray ahead = rawContent.value(b) + rawContent.value(c);
    const QByteArray jumped = rawContent.value(d) + rawContent.value(a);
    const QByteArray next = drain(decoder, ahead.size() + jumped.size());
    const qsizetype at = next.indexOf(jumped);
    QVERIFY2(at >= 0, "d and then a never came");
    QVERIFY2(ahead.startsWith(next.left(at)), "something other than b and c came before d");
    QVERIFY(at == 0 || at == rawContent.value(b).size() || at == ahead.size());
}

void TestPCMDecoder::playlistChangeKeepsOrRestarts_data()
{
    QTest::addColumn<bool>("keepFirst");
    QTest::newRow("same file at the same index keeps playing") << true;
    QTest::newRow("other file restarts at the new first entry") << false;
}

void TestPCMDecoder::playlistChangeKeepsOrRestarts()
{
    QFETCH(bool, keepFirst);
    const QString longSong = raw(keepFirst ? "long1.raw" : "long2.raw", 10 * kRawRate, 20);
    const QString other = raw(keepFirst ? "other1.raw" : "other2.raw", kRawRate / 4, 21);
    const QByteArray longPcm = rawContent.value(longSong);
    const QByteArray otherPcm = rawContent.value(other);

    PCMDecoder decoder(6);
    decoder.setPlaylist({longSong});
    const QByteArray start = drain(decoder, kRawRate * kStereoFrameBytes / 2);
    QCOMPARE(start, longPcm.left(start.size()));
    decoder.setPlaylist(keepFirst ? QStringList{longSong, other} : QStringList{other});

    // Until the decode thread takes the change, the long song goes on.
    const QByteArray rest = longPcm.mid(start.size());
    const QByteArray after = drain(decoder, rest.size() + otherPcm.size());
    if (keepFirst) {
        QVERIFY2(after == rest + otherPcm, "the playing song was interrupted");
        return;
    }
    const qsizetype carriedOn = commonFramePrefix(after, rest);
    QVERIFY2(carriedOn < rest.size(), "the old song played to its end");
    const QByteArray switched = after.mid(carriedOn);
    QVERIFY2(switched.startsWith(otherPcm + otherPcm),
             qPrintable(QString("switch at byte %1, then %2 bytes of the new song, %3 of the old")
                            .arg(carriedOn)
                            .arg(commonFramePrefix(switched, otherPcm + otherPcm))
                            .arg(switched.isEmpty() ? -1 : longPcm.indexOf(switched.left(64)))));
}

void TestPCMDecoder::emptiedPlaylistFallsSilent()
{
    const QString longSong = raw("long3.raw", 10 * kRawRate, 30);
    PCMDecoder decoder(8);
    decoder.setPlaylist({longSong});
    QVERIFY(!drain(decoder, 4096).isEmpty());
    decoder.setPlaylist({});
    char step[1024];
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            bool underrun = false;
            decoder.readPCM(step, sizeof step, underrun);
            return underrun;
        }(),
        kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(decoder.playInfo().path, QString(), kWaitMs);
    // Given time to go on decoding the old song, it must not.
    QTest::qWait(800);
    bool underrun = false;
    decoder.readPCM(step, sizeof step, underrun);
    QVERIFY(underrun);
}

void TestPCMDecoder::monoPositionUsesDeliveredLayout()
{
    if (!AudioFiles::haveTools({"sox", "flac"}))
        QSKIP("sox and flac are needed");
    // Mono FLAC is delivered as stereo: the position must count stereo bytes,
    // or half the song would already read as its end.
    const QString path = files->flac("mono.flac", {44100, 1, 16, 10.0});
    QVERIFY(!path.isEmpty());
    PCMDecoder decoder(9);
    decoder.setPlaylist({path});
    const qint64 fiveSeconds = 5LL * 44100 * kStereoFrameBytes;
    QCOMPARE(drain(decoder, fiveSeconds).size(), fiveSeconds);
    const SongInfo info = decoder.playInfo();
    QCOMPARE(info.channels, 2);
    QCOMPARE(info.frames, qint64(441000));
    QCOMPARE(info.position, 500);
}

namespace {

// True when no part of the record is shared with another record.
bool ownsAll(const SongInfo& song)
{
    if (!song.path.isDetached() || !song.tags.isDetached())
        return false;
    for (auto it = song.tags.cbegin(); it != song.tags.cend(); ++it) {
        if (!it.key().isDetached() || !it.value().isDetached())
            return false;
    }
    return true;
}

} // namespace

void TestPCMDecoder::handedOutSongsShareNoMemory_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("Ogg Vorbis comments") << "ogg";
    QTest::newRow("MP3 ID3v2 frames") << "mp3";
    QTest::newRow("FLAC Vorbis comments") << "flac";
}

void TestPCMDecoder::handedOutSongsShareNoMemory()
{
    // The board thread keeps the records it is handed long after the decode
    // thread has moved on. Shared with the decode thread's own records, the
    // board thread would free the decode thread's memory at each song
    // change, and the decode threads' malloc arenas creep in a long run.
    QFETCH(QString, format);
    if (!AudioFiles::haveTools({"sox", "oggenc", "lame", "flac"}))
        QSKIP("sox, oggenc, lame and flac are needed");
    const AudioFiles::Format tone{44100, 2, 16, 0.2};
    QString path;
    if (format == "ogg")
        path = files->ogg("shared.ogg", tone, {"-t", "Tone", "-a", "Maker"});
    else if (format == "mp3")
        path = files->mp3("shared.mp3", tone, {"--tt", "Tone", "--ta", "Maker"});
    else
        path = files->flac("shared.flac", tone, {"-T", "TITLE=Tone", "-T", "ARTIST=Maker"});
    QVERIFY2(!path.isEmpty(), qPrintable(files->lastError()));

    PCMDecoder decoder(15);
    const quint32 before = decoder.songSerial();
    decoder.setPlaylist({path});
    QList<SongInfo> songs;
    QTRY_VERIFY_WITH_TIMEOUT((songs += decoder.takeSongInfo(), !songs.isEmpty()), 20000);
    QVERIFY(decoder.songSerial() != before);
    const SongInfo playing = decoder.playInfo();
    QCOMPARE(playing.path, path);
    QCOMPARE(playing.tags.value("Title"), QString("Tone"));
    QVERIFY2(ownsAll(playing), "playInfo() shares memory with the decode thread");
    for (const SongInfo& song : songs) {
        QCOMPARE(song.tags.value("Artist"), QString("Maker"));
        QVERIFY2(ownsAll(song), "takeSongInfo() shares memory with the decode thread");
    }
}

void TestPCMDecoder::songRecordsStayBounded_data()
{
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("bound");
    // Between two takes the decode thread is at most two songs ahead; the
    // songs taken last are kept until it publishes the next one.
    QTest::newRow("taken every ten songs") << true << 2 * 10 + 2;
    // Nobody takes them while the board is offline.
    QTest::newRow("never taken") << false << 64;
}

void TestPCMDecoder::songRecordsStayBounded()
{
    QFETCH(bool, taken);
    QFETCH(int, bound);
    constexpr int kFrames = 64;
    constexpr int kSongs = 300;
    const QStringList playlist = {raw(QString("bound-a%1.raw").arg(taken), kFrames, 50),
                                  raw(QString("bound-b%1.raw").arg(taken), kFrames, 51),
                                  raw(QString("bound-c%1.raw").arg(taken), kFrames, 52)};
    PCMDecoder decoder(16);
    decoder.setPlaylist(playlist);
    QList<SongInfo> seen;
    for (int played = 0; played < kSongs; played += 10) {
        QCOMPARE(drain(decoder, 10 * kFrames * kStereoFrameBytes).size(),
                 10 * kFrames * kStereoFrameBytes);
        if (taken)
            seen += decoder.takeSongInfo();
        QVERIFY2(decoder.keptSongRecords() <= bound,
                 qPrintable(QString("%1 records kept after %2 songs")
                                .arg(decoder.keptSongRecords())
                                .arg(played + 10)));
    }
    if (!taken) {
        seen = decoder.takeSongInfo();
        QCOMPARE(seen.size(), bound);
    }
    // What is handed out is an unbroken run of the walk: a, b, c, a, ...
    for (qsizetype i = 1; i < seen.size(); ++i)
        QCOMPARE(playlist.indexOf(seen.at(i).path),
                 (playlist.indexOf(seen.at(i - 1).path) + 1) % playlist.size());
}

// Every kind keeps its decoder object, but a song that has ended holds no
// file and none of its library's memory: with a playlist of one file of each
// kind, only the song being played is open.
void TestPCMDecoder::endedSongsLeaveNoFileOpen()
{
    if (!AudioFiles::haveTools({"sox", "flac", "oggenc", "lame"}))
        QSKIP("sox, flac, oggenc and lame are needed");
    const AudioFiles::Format format{44100, 2, 16, 0.5};
    const QStringList playlist = {files->mp3("open-a.mp3", format),
                                  files->ogg("open-b.ogg", format),
                                  files->flac("open-c.flac", format)};
    for (const QString& song : playlist)
        QVERIFY2(!song.isEmpty(), qPrintable(files->lastError()));
    QCOMPARE(openDescriptorsOf(playlist), 0);

    PCMDecoder decoder(18);
    decoder.setPlaylist(playlist);
    // The third song opens only after the first two have been decoded to
    // their end; unread, the thread then waits with both buffers full.
    QTRY_VERIFY_WITH_TIMEOUT(decoder.playInfo().path == playlist.at(2), kWaitMs);
    QCOMPARE(openDescriptorsOf(playlist), 1);
    QCOMPARE(openDescriptorsOf({playlist.at(2)}), 1);

    // Closed songs open again: two more rounds play every file whole.
    const qint64 round = 3 * qint64(format.rate * format.seconds) * kStereoFrameBytes;
    QCOMPARE(drain(decoder, 2 * round).size(), 2 * round);
    decoder.requestStop(false);
    QTRY_VERIFY_WITH_TIMEOUT(decoder.isStopped(), kWaitMs);
    const QList<SongInfo> songs = decoder.takeSongInfo();
    QVERIFY(songs.size() >= 6);
    for (qsizetype i = 0; i < songs.size(); ++i) {
        QCOMPARE(songs.at(i).path, playlist.at(i % playlist.size()));
        QVERIFY(songs.at(i).kind > 0);
    }
    QCOMPARE(openDescriptorsOf(playlist), 0);
}

void TestPCMDecoder::stopsAndIsWaitedFor()
{
    const QString song = raw("stop.raw", 10 * kRawRate, 40);
    auto decoder = std::make_unique<PCMDecoder>(12);
    decoder->setPlaylist({song});
    QVERIFY(!drain(*decoder, 4096).isEmpty());
    decoder->requestStop(true);
    QTRY_VERIFY_WITH_TIMEOUT(decoder->isStopped(), kWaitMs);
    char step[256];
    bool underrun = false;
    decoder->readPCM(step, sizeof step, underrun);
    QVERIFY2(underrun, "stopping with clear left PCM in the buffers");
    decoder.reset();

    // Deleted while it decodes: the destructor waits for the thread.
    for (int i = 0; i < 5; ++i) {
        PCMDecoder busy(13);
        busy.setPlaylist({song});
        QThread::yieldCurrentThread();
    }
}

QTEST_GUILESS_MAIN(TestPCMDecoder)
#include "tst_pcmdecoder.moc"
