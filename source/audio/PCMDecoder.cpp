#include "audio/PCMDecoder.h"

#include "settings/FMSettings.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QMutexLocker>
#include <QReadLocker>
#include <QWriteLocker>

#include <cstring>

namespace {

constexpr int kBadFileMs = 200;
constexpr int kWrapMs = 500;
constexpr int kIdleMs = 500;
// Both buffers full: a hand-back wakes the thread at once, this only bounds
// the wait.
constexpr int kBuffersFullMs = 2000;
constexpr int kNotEmptyMs = 400;
constexpr int kPerMille = 1000;
constexpr int kLoggingDecoder = 2;
constexpr int kExitLogEvery = 12;
constexpr int kDestructorLogBelow = 5;
// Songs kept for a board thread that does not take them (its board is
// offline while a playlist of unplayable files cycles): the oldest go first.
constexpr qsizetype kMaxUntakenSongs = 64;
constexpr qint32 kSampleBytes = 2;
constexpr qint32 kStereoChannels = 2;

// A copy in memory of the calling thread.
QString ownText(const QString& text)
{
    return text.isNull() ? QString() : QString(text.constData(), text.size());
}

// A copy that shares no heap memory with the original, so the thread that
// made it may free it without touching the other thread's records.
SongInfo ownCopy(const SongInfo& song)
{
    SongInfo copy = song;
    copy.path = ownText(song.path);
    TagMap tags;
    for (auto it = song.tags.cbegin(); it != song.tags.cend(); ++it)
        tags.insert(ownText(it.key()), ownText(it.value()));
    copy.tags = tags;
    return copy;
}

} // namespace

// The decode loop's own view of the playlist walk.
struct PCMDecoder::LoopState
{
    int idx = 0;
    int lastIdx = -1;
    QStringList playlist;
    SongInfo next;
    qint64 songBytes = 0; // bytes the open song has produced
};

PCMDecoder::PCMDecoder(int number, QSharedPointer<FMSettings> settings)
    : number(number), store(std::move(settings))
{
    start(QThread::LowPriority);
}

PCMDecoder::~PCMDecoder()
{
    requestStop(false);
    wait();
    if (number < kDestructorLogBelow)
        qDebug("~de%2d", number);
}

bool PCMDecoder::logsEvents() const
{
    return number == kLoggingDecoder;
}

void PCMDecoder::requestStop(bool clear)
{
    stopRequested.store(true, std::memory_order_release);
    {
        QMutexLocker locker(&pauseMutex);
        pauseWake.wakeAll();
    }
    if (clear)
        clearBuffers();
}

void PCMDecoder::wake()
{
    QMutexLocker locker(&pauseMutex);
    wakeWanted = true;
    pauseWake.wakeAll();
}

void PCMDecoder::clearBuffers()
{
    clearGeneration.fetch_add(1, std::memory_order_acq_rel);
    wake();
    if (logsEvents())
        qDebug("de%2d buffers cleaned", number);
}

void PCMDecoder::setPlaylist(const QStringList& paths)
{
    QWriteLocker locker(&lock);
    if (paths == playlist)
        return;
    playlist = paths;
    playlistChanged = true;
    locker.unlock();
    wake();
}

void PCMDecoder::jumpTo(qint32 index)
{
    jumpTarget.store(index, std::memory_order_release);
    wake();
    if (logsEvents()) {
        QReadLocker locker(&lock);
        qDebug("de%2d jump to [%d/%d]", number, index, int(playlist.size()));
    }
}

void PCMDecoder::handBack(PcmBuffer& buffer)
{
    buffer.readPos.store(0, std::memory_order_relaxed);
    buffer.fill.store(0, std::memory_order_relaxed);
    buffer.stamp.store(0, std::memory_order_release);
    wake();
}

void PCMDecoder::discardStaleBuffers()
{
    const quint32 generation = clearGeneration.load(std::memory_order_acquire);
    for (PcmBuffer& buffer : buffers) {
        if (buffer.stamp.load(std::memory_order_acquire) != 0 &&
            buffer.generation.load(std::memory_order_relaxed) != generation)
            handBack(buffer);
    }
}

qint32 PCMDecoder::readPCM(char* destination, qint32 bytes, bool& underrun)
{
    int channels = 0;
    return readPCM(destination, bytes, underrun, channels);
}

qint32 PCMDecoder::readPCM(char* destination, qint32 bytes, bool& underrun, int& channels)
{
    if (bytes < 1)
        return 0;
    discardStaleBuffers();
    const qint32 stamp0 = buffers[0].stamp.load(std::memory_order_acquire);
    const qint32 stamp1 = buffers[1].stamp.load(std::memory_order_acquire);
    int chosen = stamp0 >= stamp1 ? 1 : 0;
    if ((chosen == 0 ? stamp0 : stamp1) == 0)
        chosen = 1 - chosen;
    PcmBuffer& buffer = buffers[chosen];
    if ((chosen == 0 ? stamp0 : stamp1) == 0) {
        std::memset(destination, 0, size_t(bytes));
        underrun = true;
        if (channels < 1)
            channels = kStereoChannels;
        return bytes;
    }
    const qint32 held = buffer.channels.load(std::memory_order_relaxed);
    if (channels > 0 && channels != held)
        return 0;
    const qint32 frameBytes = held * kSampleBytes;
    const qint32 readPos = buffer.readPos.load(std::memory_order_relaxed);
    const qint32 left = buffer.fill.load(std::memory_order_relaxed) - readPos;
    if (left < frameBytes) {
        // A torn last frame would shift every later sample by a channel.
        handBack(buffer);
        return 0;
    }
    const qint32 n = qMin(left, bytes) / frameBytes * frameBytes;
    if (n < 1)
        return 0;
    channels = held;
    std::memcpy(destination, buffer.data + readPos, size_t(n));
    buffer.readPos.store(readPos + n, std::memory_order_relaxed);
    bytesDelivered.fetch_add(n, std::memory_order_relaxed);
    underrun = false;
    return n;
}

qint32 PCMDecoder::positionOf(const SongInfo& song) const
{
    const qint64 divisor = qint64(song.channels) * song.frames * 2;
    const qint64 delivered = bytesDelivered.load(std::memory_order_relaxed);
    // The count restarts when the next file opens while the previous one
    // still plays out of the buffers, so it can run past the song's length.
    return divisor < 1 ? 0 : qint32(qMin<qint64>(delivered * kPerMille / divisor, kPerMille));
}

SongInfo PCMDecoder::playInfo() const
{
    QReadLocker locker(&lock);
    SongInfo info = ownCopy(current);
    info.position = positionOf(current);
    return info;
}

qint32 PCMDecoder::playPosition() const
{
    QReadLocker locker(&lock);
    return positionOf(current);
}

QList<SongInfo> PCMDecoder::takeSongInfo()
{
    QWriteLocker locker(&lock);
    QList<SongInfo> songs;
    songs.reserve(pending.size() - pendingTaken);
    for (qsizetype i = pendingTaken; i < pending.size(); ++i)
        songs.append(ownCopy(pending.at(i)));
    pendingTaken = pending.size();
    songInfoChanged.store(false, std::memory_order_release);
    return songs;
}

qsizetype PCMDecoder::keptSongRecords() const
{
    QReadLocker locker(&lock);
    return pending.size();
}

// Ends early when a stop is requested or wake() was called since the last
// pause: both are read under the mutex that wakes the thread, so no wake-up
// is lost.
void PCMDecoder::pause(int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    QMutexLocker locker(&pauseMutex);
    while (!stopRequested.load(std::memory_order_acquire) && !wakeWanted) {
        if (!pauseWake.wait(&pauseMutex, deadline))
            break;
    }
    wakeWanted = false;
}

bool PCMDecoder::takePlaylistChange(LoopState& state)
{
    QWriteLocker locker(&lock);
    if (!playlistChanged)
        return false;
    const bool keep = state.idx < playlist.size() && state.idx < state.playlist.size() &&
                      playlist.at(state.idx) == state.playlist.at(state.idx);
    if (keep) {
        qDebug("de%2d keep playing song [%d/%d]", number, state.idx, int(playlist.size()));
    } else {
        clearBuffers();
        stampCounter = 0;
        if (logsEvents())
            qDebug("de%2d rewind first song [%d/%d]", number, 0, int(playlist.size()));
        state.lastIdx = -1;
        decoders.rewind(current.kind);
        state.idx = 0;
        if (playlist.isEmpty()) {
            // Nothing left to play: the old song must not go on decoding.
            state.next = SongInfo();
            setCurrent(SongInfo());
        }
    }
    state.playlist = playlist;
    playlistChanged = false;
    return !keep;
}

void PCMDecoder::takeJump(LoopState& state)
{
    const qint32 target = jumpTarget.exchange(-1, std::memory_order_acq_rel);
    if (target >= 0 && target < state.playlist.size())
        state.idx = target;
}

void PCMDecoder::skipUnplayable(LoopState& state)
{
    const int following = state.idx + 1 < state.playlist.size() ? state.idx + 1 : 0;
    pause(following == 0 || following == state.idx ? kWrapMs : kBadFileMs);
    state.lastIdx = state.idx;
    state.idx = following;
}

bool PCMDecoder::openSong(LoopState& state)
{
    bytesDelivered.store(0, std::memory_order_relaxed);
    state.next = SongInfo();
    state.next.path = state.playlist.at(state.idx);
    state.songBytes = 0;
    const bool opened = openDecoder(decoders, state.next);
    if (opened && !state.next.path.isEmpty() && state.next.kind != DecoderFailed) {
        state.lastIdx = state.idx;
        return true;
    }
    if (!opened)
        qDebug("de%2d bad! %d [%s] [%d]", number, state.next.kind, qUtf8Printable(state.next.path),
               state.idx);
    skipUnplayable(state);
    return false;
}

void PCMDecoder::publish(const SongInfo& song)
{
    QWriteLocker locker(&lock);
    if (song.path == current.path && song.kind == current.kind &&
        song.sampleRate == current.sampleRate)
        return;
    if (logsEvents())
        qDebug("de%2d song %d [%s] %d %d", number, song.kind, qUtf8Printable(song.path),
               song.sampleRate, song.channels);
    setCurrent(song);
    // The board thread holds its own copies of the songs it took.
    pending.remove(0, pendingTaken);
    pendingTaken = 0;
    if (pending.size() >= kMaxUntakenSongs)
        pending.removeFirst();
    pending.append(song);
    songInfoChanged.store(true, std::memory_order_release);
}

void PCMDecoder::setCurrent(const SongInfo& song)
{
    current = song;
    serial.fetch_add(1, std::memory_order_acq_rel);
}

void PCMDecoder::fillBuffer(LoopState& state, int target)
{
    PcmBuffer& buffer = buffers[target];
    const quint32 generation = clearGeneration.load(std::memory_order_acquire);
    bool end = false;
    qint32 count = 0;
    if (decoders.has(current.kind))
        count = decoders.decode(current.kind, buffer.data, PcmBuffer::kBytes, end);
    state.songBytes += count;
    buffer.readPos.store(0, std::memory_order_relaxed);
    // A clear that came in while this step ran drops its output too.
    if (count > 0 && clearGeneration.load(std::memory_order_acquire) == generation) {
        buffer.fill.store(count, std::memory_order_relaxed);
        buffer.generation.store(generation, std::memory_order_relaxed);
        buffer.channels.store(current.channels == 1 ? 1 : kStereoChannels,
                              std::memory_order_relaxed);
        buffer.stamp.store(++stampCounter, std::memory_order_release);
    } else {
        buffer.fill.store(0, std::memory_order_relaxed);
    }
    if (end)
        finishSong(state);
}

void PCMDecoder::finishSong(LoopState& state)
{
    // The next round opens the following file afresh, also when the playlist
    // holds only this one, so the stream the decoder rewound is never read
    // again. Left open, it would keep the library's memory for it (codebooks,
    // frame buffers) while files of the other kinds open and close around it,
    // and the decode thread's heap would fragment and creep song after song.
    decoders.close(current.kind);
    if (state.songBytes == 0) {
        // A file that opens but yields no sample would otherwise be reopened
        // at once, over and over.
        qDebug("de%2d bad! %d [%s] [%d]", number, current.kind, qUtf8Printable(current.path),
               state.idx);
        skipUnplayable(state);
        state.lastIdx = -1;
        return;
    }
    state.idx = state.idx + 1 < state.playlist.size() ? state.idx + 1 : 0;
    state.lastIdx = -1;
}

void PCMDecoder::run()
{
    if (logsEvents())
        qDebug("de%2d thread started", number);
    LoopState state;
    while (!stopRequested.load(std::memory_order_acquire)) {
        int target = buffers[0].stamp.load(std::memory_order_acquire) != 0 ? 1 : 0;
        if (takePlaylistChange(state))
            target = 0;
        takeJump(state);
        bool failedOpen = false;
        if (state.idx != state.lastIdx && state.idx < state.playlist.size())
            failedOpen = !openSong(state);
        publish(state.next);
        if (stopRequested.load(std::memory_order_acquire))
            break;
        if (failedOpen)
            continue; // the skip has paused already
        if (current.kind < 1) {
            pause(kIdleMs);
            continue;
        }
        PcmBuffer& buffer = buffers[target];
        if (buffer.stamp.load(std::memory_order_acquire) != 0) {
            pause(kBuffersFullMs);
            continue;
        }
        if (buffer.fill.load(std::memory_order_relaxed) > 0) {
            if (logsEvents())
                qDebug("de%2d pcm[%d] = %d is not empty", number, target,
                       buffer.fill.load(std::memory_order_relaxed));
            pause(kNotEmptyMs);
            if (stopRequested.load(std::memory_order_acquire)) {
                buffer.readPos.store(0, std::memory_order_relaxed);
                buffer.fill.store(0, std::memory_order_relaxed);
                break;
            }
        }
        fillBuffer(state, target);
    }
    if (number % kExitLogEvery == 0)
        qDebug("de%2d exit thread", number);
    decoders.clear();
    stopped.store(true, std::memory_order_release);
}
