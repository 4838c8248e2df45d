#pragma once

#include "audio/DecoderKind.h"
#include "audio/DecoderSet.h"
#include "audio/PcmBuffer.h"
#include "settings/SongInfo.h"

#include <QList>
#include <QMutex>
#include <QReadWriteLock>
#include <QSharedPointer>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

class FMSettings;

// The decode thread of one programme: walks the playlist, opens each file with
// the decoder of its kind and keeps two PCM buffers filled. Every operation
// but run() is called from the board thread; readPCM() takes no lock, the
// lock guards only the playlist and the song records.
class PCMDecoder : public QThread
{
public:
    // Starts the thread at once, at low priority.
    explicit PCMDecoder(int number, QSharedPointer<FMSettings> settings = {});
    // Stops the thread if the owner has not, and always waits for it.
    ~PCMDecoder() override;

    // Asks the loop to end at its next check; with clear, also drops the
    // buffered PCM. isStopped() turns true once the thread is done.
    void requestStop(bool clear);
    bool isStopped() const { return stopped.load(std::memory_order_acquire); }

    // Drops every buffered byte: the reader is handed nothing that was decoded
    // before this call.
    void clearBuffers();

    // An equal list changes nothing; a list that keeps the playing file at its
    // index keeps it playing; any other list starts at its first entry.
    void setPlaylist(const QStringList& paths);
    // An index past the end of the playlist is ignored.
    void jumpTo(qint32 index);

    // Takes up to bytes of PCM; when both buffers are empty the destination
    // gets silence, underrun is set and the full count is returned. Returns 0
    // (underrun untouched) on the call after a buffer's last byte was taken.
    qint32 readPCM(char* destination, qint32 bytes, bool& underrun);
    // The same, in whole frames, telling the channel count of what it hands
    // out (1 mono, 2 stereo). With a count above 0 on entry only bytes of that
    // count are taken: a buffer of the other count gives 0 and is left for
    // the next read, so two songs of different kinds never share a datagram.
    // Silence keeps the count asked for (stereo when none was).
    qint32 readPCM(char* destination, qint32 bytes, bool& underrun, int& channels);

    // Song records handed out below are copies made by the caller's thread
    // that share no heap memory with the decode thread's records. Otherwise
    // the board thread drops the last reference to each song's tags and frees
    // memory of the decode thread's malloc arena into its own thread cache,
    // song after song, and the arenas of 96 decode threads creep.

    // The playing song with its position in thousandths (0 to 1000).
    SongInfo playInfo() const;
    // Changes whenever the playing song's record does: a caller that asks for
    // the position on every datagram takes playInfo() only when this moved.
    quint32 songSerial() const { return serial.load(std::memory_order_acquire); }
    // Position of the playing song in thousandths, as in playInfo().
    qint32 playPosition() const;
    // Songs opened since the last call, oldest first.
    QList<SongInfo> takeSongInfo();
    bool hasSongInfo() const { return songInfoChanged.load(std::memory_order_acquire); }
    // Records the decode thread keeps for takeSongInfo(): the songs not yet
    // taken, and those taken since the decode thread last published a song.
    qsizetype keptSongRecords() const;

    QSharedPointer<FMSettings> settings() const { return store; }

protected:
    void run() override;

private:
    struct LoopState;

    bool takePlaylistChange(LoopState& state);
    void takeJump(LoopState& state);
    bool openSong(LoopState& state);
    void publish(const SongInfo& song);
    void setCurrent(const SongInfo& song);
    qint32 positionOf(const SongInfo& song) const;
    void fillBuffer(LoopState& state, int target);
    void finishSong(LoopState& state);
    void skipUnplayable(LoopState& state);
    void pause(int milliseconds) const;
    void discardStaleBuffers();
    void handBack(PcmBuffer& buffer);
    // Ends a pause of the decode thread: there is work (a buffer was handed
    // back, the playlist changed, a jump or a clear was asked for).
    void wake();
    bool logsEvents() const;

    const int number;
    QSharedPointer<FMSettings> store;

    mutable QReadWriteLock lock;
    QStringList playlist;
    bool playlistChanged = false;
    SongInfo current;
    std::atomic<quint32> serial{0};
    // Songs published for the board thread. The first pendingTaken of them
    // were copied out by takeSongInfo() already; the decode thread drops them
    // itself, so the memory it allocated is also freed by it.
    QList<SongInfo> pending;
    qsizetype pendingTaken = 0;
    std::atomic<bool> songInfoChanged{false};

    std::atomic<qint32> jumpTarget{-1};
    std::atomic<qint64> bytesDelivered{0};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> stopped{false};
    // A stop request wakes a pausing decode thread at once; woken only for
    // that, 96 threads do not poll the flag a hundred times a second each.
    mutable QMutex pauseMutex;
    mutable QWaitCondition pauseWake;
    mutable bool wakeWanted = false; // guarded by pauseMutex
    // Bumped by clearBuffers(); a buffer filled under an older value is handed
    // back unread by the reader, and a decode step that overlaps a clear is
    // dropped by the decode thread. So each side only ever clears the buffers
    // it owns at that moment.
    std::atomic<quint32> clearGeneration{0};

    qint32 stampCounter = 0; // decode thread only
    PcmBuffer buffers[2];
    DecoderSet decoders; // decode thread only
};
