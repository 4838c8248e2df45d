#pragma once

#include <QByteArray>
#include <QStringList>

// The bytes a server sent and the client has not yet taken as lines. CR,
// LF and NUL end a line, and a run of them is one line end, also when the
// run is split across reads. A line that grows beyond kMaxLineBytes without
// an end is dropped up to its next line end, as the servers do, so that
// its tail never shows as a line of its own.
class ReceiveBuffer
{
public:
    static constexpr int kCapacity = 1024;
    static constexpr int kMaxLineBytes = 1000;

    // How many bytes the next read may bring.
    int room() const { return kCapacity - int(held.size()); }
    // Takes the bytes (at most room()) and returns the lines they complete,
    // decoded from UTF-8.
    QStringList take(const QByteArray& bytes);
    void clear();

private:
    static bool isLineEnd(char byte) { return byte == '\0' || byte == '\n' || byte == '\r'; }
    void endLine(QStringList& lines);

    QByteArray held;
    bool inLineEndRun = false;
    bool discarding = false;
};
