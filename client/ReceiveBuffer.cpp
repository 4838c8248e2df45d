#include "client/ReceiveBuffer.h"

QStringList ReceiveBuffer::take(const QByteArray& bytes)
{
    QStringList lines;
    for (const char byte : bytes) {
        if (isLineEnd(byte)) {
            if (!inLineEndRun)
                endLine(lines);
            inLineEndRun = true;
            continue;
        }
        inLineEndRun = false;
        if (discarding)
            continue;
        held.append(byte);
        if (held.size() > kMaxLineBytes) {
            held.clear();
            discarding = true;
        }
    }
    return lines;
}

void ReceiveBuffer::endLine(QStringList& lines)
{
    if (discarding)
        discarding = false;
    else
        lines.append(QString::fromUtf8(held));
    held.clear();
}

void ReceiveBuffer::clear()
{
    held.clear();
    inLineEndRun = false;
    discarding = false;
}
