#pragma once

#include <QByteArray>
#include <QList>

// Cuts the byte stream of a TCP text connection into lines. NUL, LF and CR
// end a line, and a run of them is one line end, however the run is split
// across reads: "A\r" then "\nB\n" gives the lines A and B. The bytes of an
// unfinished line are kept for the next read. A line that grows beyond
// maxLineBytes is dropped up to its line end and reported once as too long,
// so a client that never sends a line end cannot stall the reader.
class LineFramer
{
public:
    struct Line
    {
        QByteArray bytes;     // without its line end, not trimmed
        bool tooLong = false; // dropped; bytes is empty
    };

    explicit LineFramer(int maxLineBytes);

    QList<Line> feed(const QByteArray& data);
    void clear();
    int heldBytes() const { return int(held.size()); }

private:
    static bool isLineEnd(char byte) { return byte == '\0' || byte == '\n' || byte == '\r'; }

    int maxLineBytes;
    QByteArray held;
    bool inLineEndRun = false;
    bool discarding = false;
};
