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
    // Called before the first input (FuzzKit.cpp defines the fuzzer's
    // initialisation hook for every target).
    static void init();

    static QByteArray bytes(const uint8_t* data, size_t size);
    // Writes an input file of the private folder under the same name each
    // time. The ini reader keeps files it has read by name and re-reads one
    // only when its size or time stamp changed, so every write gets a time
    // stamp of its own; a fresh name per input would instead leave an entry
    // in that cache each time, and the fuzzer's leak check runs after every
    // input that ends with more allocations than it freed.
    static QString inputFile(const QString& name, const QByteArray& bytes);
    static QString folder();
    // The project of the store tests (tests/settings/data/current.fm), freshly
    // written for an input that changes it.
    static QString projectFile();
    // A fixture of one test area ("settings" -> tests/settings/data/<name>).
    static QByteArray fixture(const QString& area, const QString& name);

    // Runs what the code under test posted (set-value events, deferred
    // deletes).
    static void settle();
    // After an input, once everything it made is gone: settles, and drops
    // the single-shot timers whose receivers went with the input (the
    // store's delayed write). Without an event loop they would never fire,
    // and each would count as memory the input kept.
    static void endInput();

    // Lines as the line-based readers see them: cut at LF, CR and NUL.
    static QList<QByteArray> lines(const QByteArray& bytes);
};
