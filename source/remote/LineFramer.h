#pragma once

#include <QByteArray>
#include <QList>

// Cuts the byte stream of a TCP text connection into lines. NUL, LF and CR
// end a line; CR LF and LF CR are one line end, however they are split
// across reads ("A\r" then "\nB\n" gives the lines A and B), while any other
// two line ends hold an empty line ("A\n\nB\n" gives A, "" and B), which a
// client may send on purpose. The bytes of an
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
    // Whether byte completes a CR LF or LF CR begun by the line end before.
    bool completesPair(char byte) const;

    int maxLineBytes;
    QByteArray held;
    // The line end just taken, while the byte after it may still pair with
    // it; 0 when a pair is complete or a line has begun.
    char lastLineEnd = 0;
    bool discarding = false;
};
