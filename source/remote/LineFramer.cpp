#include "remote/LineFramer.h"

LineFramer::LineFramer(int maxLineBytes) : maxLineBytes(maxLineBytes) {}

void LineFramer::clear()
{
    held.clear();
    lastLineEnd = 0;
    discarding = false;
}

bool LineFramer::completesPair(char byte) const
{
    return (lastLineEnd == '\r' && byte == '\n') || (lastLineEnd == '\n' && byte == '\r');
}

QList<LineFramer::Line> LineFramer::feed(const QByteArray& data)
{
    QList<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char byte = data[i];
        if (isLineEnd(byte)) {
            if (completesPair(byte)) {
                lastLineEnd = 0;
                start = i + 1;
                continue;
            }
            lastLineEnd = byte;
            if (discarding) {
                discarding = false;
            } else {
                held.append(data.constData() + start, i - start);
                lines.append({held, false});
            }
            held.clear();
            start = i + 1;
            continue;
        }
        lastLineEnd = 0;
        if (discarding) {
            start = i + 1;
            continue;
        }
        if (held.size() + (i + 1 - start) > maxLineBytes) {
            held.clear();
            discarding = true;
            start = i + 1;
            lines.append({QByteArray(), true});
        }
    }
    if (!discarding && start < data.size())
        held.append(data.constData() + start, data.size() - start);
    return lines;
}
