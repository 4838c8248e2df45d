#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: one application object for the code that
// posts events or runs timers, a private folder for the files an input is
// written to, and quiet logging (the sources log one line per event, which
// would cost more than the parsing itself; FUZZ_LOG=1 keeps the lines).
class FuzzKit
{
public:
    // Called from LLVMFuzzerInitialize, before the first input.
    static void init();

    static QByteArray bytes(const uint8_t* data, size_t size);
    // A fresh file name in the private folder for each call: the ini reader
    // caches files by name and time stamp, and two inputs written within one
    // clock tick must never be taken for each other.
    static QString freshPath(const QString& suffix);
    static QString write(const QString& path, const QByteArray& bytes);
    static QString folder();
    // The folder of the fixtures of one test area ("settings" -> tests/settings/data).
    static QString fixture(const QString& area, const QString& name);

    // Runs what the code under test posted (set-value events, deferred
    // writes), so nothing an input left behind reaches the next one.
    static void settle();

    // Lines as the line-based readers see them: cut at LF, CR and NUL.
    static QList<QByteArray> lines(const QByteArray& bytes);
};
