#pragma once

#include <QString>

#include <functional>

class QSettings;

// A write of an ini file through QSettings that is checked on disk. The
// toolkit's ini writer reports success for a file that a full disk cut
// short (even an empty one) and has then replaced the previous file with
// it; so the previous file stays reachable under a second name while the
// new one is written, the result is read back, and a file that lacks keys
// is replaced by the previous one again.
class IniWrite
{
public:
    // Writes the pending changes of settings; empty when the file on disk
    // holds every key, else why not ("cannot be written", "incomplete on
    // disk"). After a failure the previous file is in place; with retry,
    // every key is handed to settings again, so its next write carries them
    // all (without, nothing is left pending: for the last write before the
    // object goes).
    // keyCount: how many keys settings holds, when the caller keeps count
    // (listing a large file's keys after every write costs as much as the
    // check itself); -1 asks settings.
    static QString write(QSettings& settings, bool retry, qsizetype keyCount = -1);

    // Runs right after each write, before the check: tests stand in for a
    // full disk by cutting the file short. Empty: nothing.
    static void setAfterWriteHook(std::function<void(const QString& fileName)> hook);

private:
    static bool isComplete(const QSettings& settings, qsizetype keyCount);
};
