#pragma once

#include <QString>
#include <QStringList>

// The file side of the open project: the store always works on one working
// copy beside the application ini; opening a project copies it onto the
// working copy, saving copies the working copy out. Every function leaves
// the files as they were when it cannot finish, and no function asks the
// user anything.
class ProjectFiles
{
public:
    static constexpr int kRecentSlots = 9;

    // The ini path with its file name's ".ini" suffix turned into ".fm"; a
    // name without that suffix gets ".fm" appended, so the working copy is
    // never the ini itself. Folders named "x.ini" stay as they are.
    static QString workingCopyPath(const QString& iniPath);
    // The project path with its file name's ".fm" suffix turned into ".fbk";
    // a name without that suffix gets ".fbk" appended.
    static QString backupPath(const QString& projectPath);
    // Whether two paths name the same file: compared canonical, so links
    // and other spellings of one file count as that file; a file that does
    // not exist yet by its folder's canonical path and its name.
    static bool samePath(const QString& a, const QString& b);
    // The files a project is never saved onto: the working copy, its backup
    // (the next load replaces it) and the application ini; also an empty
    // name.
    static bool isReserved(const QString& target, const QString& workingCopy,
                           const QString& iniPath);

    // Puts a copy of the chosen project in place of the working copy, whose
    // previous content becomes its backup. The chosen file is read and
    // checked first, so a missing, unreadable or foreign file (no project,
    // a folder, a FIFO) changes nothing, and the backup itself can be
    // chosen. Choosing the working copy copies nothing. The working
    // copy is readable and writable by its owner only. Returns an empty text
    // on success, else the (translated) reason.
    static QString loadOntoWorkingCopy(const QString& chosen, const QString& workingCopy);
    // For a new project: the working copy becomes its backup and none is
    // left, so the next store starts with every key at its default. True
    // when no working copy is left.
    static bool startEmptyWorkingCopy(const QString& workingCopy);
    // Owner read and write only, for a working copy the store created itself
    // (first start, new project). Creates the file when it is missing.
    static bool makePrivate(const QString& path);
    // Copies the working copy (already written to disk by the caller) to
    // target. Refuses a reserved target (isReserved), touching nothing. An
    // existing target becomes its backup when it has none yet; it is
    // replaced only once the new copy is complete, so a failed save leaves
    // it as it was, and it keeps its permission bits. A new file is
    // readable and writable by its owner only. True when target now holds
    // the working copy.
    static bool saveCopy(const QString& workingCopy, const QString& target, const QString& iniPath);

    // Trimmed, every '\' turned into '/', then every "//" into "/" (one
    // pass), so spellings of one path count as one recent entry.
    static QString recentNormalForm(const QString& path);
    // The recent list after opening or saving path: path first, then the
    // stored entries in normal form without empty ones and repeats, at most
    // kRecentSlots entries.
    static QStringList updatedRecent(const QStringList& stored, const QString& path);
};
