#pragma once

#include <QByteArrayList>
#include <QStringList>

// Reads the TMC reference lists from "lists" below the working directory,
// once per process: the first message table does it before any board
// thread runs, which the lock-free lookups of the tables rely on.
class TMCListLoader
{
public:
    static void loadOnce();
    // The lower-cased header row of the location file; empty without one.
    static const QByteArrayList& locationHeader();
    // The folder the lists were read from, absolute; empty before loading.
    static QString folder();
    // The names of the lists that folder lacked when they were read: the
    // event, forecast and supplementary information lists and a location
    // list "LCL*.csv".
    static QStringList missingFiles();
    // The same for any folder.
    static QStringList missingIn(const QString& listsDir);

private:
    static QByteArrayList& header();
    static QString& loadedFolder();
};
