#pragma once

#include <QByteArrayList>

// Reads the TMC reference lists from "lists" below the working directory,
// once per process: the first message table does it before any board
// thread runs, which the lock-free lookups of the tables rely on.
class TMCListLoader
{
public:
    static void loadOnce();
    // The lower-cased header row of the location file; empty without one.
    static const QByteArrayList& locationHeader();

private:
    static QByteArrayList& header();
};
