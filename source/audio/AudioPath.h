#pragma once

#include <QString>

// Where an audio file named in a project is read from. A relative name is
// taken from the current folder first; when nothing is there, from the
// folder the program runs from, where the build puts the example projects
// and their audio. So the examples play whatever folder the program was
// started in.
class AudioPath
{
public:
    // The path to open: path itself when it is absolute or exists, the
    // path in the fallback folder when only that exists, else path.
    static QString resolved(const QString& path);
    // An empty folder returns to the program's own folder. Decode threads
    // read the folder, so it may change at any time.
    static void setFallbackFolder(const QString& folder);
    static QString fallbackFolder();
};
