#pragma once

#include <QByteArray>
#include <QString>

// Decides whether a file may become the open project before anything is
// replaced by it. A project is an ini text whose groups are all groups the
// store knows (board, channel.N, audio.N, playlist.N, rds.N, tmc.N,
// events.N); an empty file is the project with every key at its default.
// Anything else (a song, the application ini, a stored binary object) would
// end up as junk keys in the working copy, so it is turned away.
class ProjectFileCheck
{
public:
    enum class Verdict
    {
        Project,
        Missing,
        Folder,
        NotRegularFile, // FIFO, socket or device: reading could block or never end
        Unreadable,
        NotText,      // NUL or other control bytes, not UTF-8
        NotProject,   // a group or line no project has
        StoredObject, // a serialised value ("@Variant(...)") the reader would decode
    };

    struct Result
    {
        Verdict verdict = Verdict::Project;
        int line = 0; // 1-based line that decided a refusal of the content, else 0
    };

    // Reads the whole file without blocking on a FIFO or device and checks
    // it; content receives the bytes checked, so the caller copies exactly
    // what passed.
    static Result read(const QString& path, QByteArray& content);
    static Result check(const QByteArray& content);

    // Whether a top-level group name belongs in a project.
    static bool isProjectGroup(const QString& group);
    // English, for log lines.
    static const char* describe(Verdict verdict);
};
