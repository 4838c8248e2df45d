#pragma once

#include <QString>

// The folder the program runs from: the release notes, the manual and the
// example projects are installed there, whatever the current directory is. A test points it at
// a folder of its own.
class ProgramFolder
{
public:
    static QString path();
    static QString filePath(const QString& name);
    // An empty path returns to the program's own folder.
    static void setPath(const QString& path);
};
