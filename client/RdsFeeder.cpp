#include "client/RdsFeeder.h"

#include <QDebug>

bool RdsFeeder::open(const QString& path)
{
    if (file.isOpen())
        file.close();
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug("tcp: open failed %s", qPrintable(path));
        return false;
    }
    beginPass();
    passes.clear();
    resend.clear();
    return true;
}

void RdsFeeder::restart()
{
    fill = 0;
    quietTicks = 0;
    sent = 0;
    passStart = 0;
    lastHopeful = 0;
    lastReplied = 0;
    inFlight.clear();
    passes.clear();
    // The replies to what this pass sent before are lost with the old
    // connection: the pass cannot be judged.
    judgePass = false;
}

QString RdsFeeder::tick(Stop* stop)
{
    *stop = Stop::None;
    if (!file.isOpen())
        return QString();
    if (fill > kPauseAbove && ++quietTicks < kProbeAfterTicks)
        return QString();
    quietTicks = 0;
    if (!resend.isEmpty())
        return resend.dequeue();
    return nextFileLine(stop);
}

QString RdsFeeder::nextFileLine(Stop* stop)
{
    if (file.atEnd()) {
        endPass(stop);
        if (*stop != Stop::None)
            return QString();
        file.seek(0);
    }
    const QString line = QString::fromUtf8(file.readLine()).simplified();
    if (line.toUtf8().size() > kMaxLineBytes) {
        qDebug("tcp: line of %d bytes skipped", int(line.toUtf8().size()));
        return QString();
    }
    return line;
}

void RdsFeeder::endPass(Stop* stop)
{
    if (judgePass && !passSent) {
        // Not one line of the file could go out: nothing will change that.
        *stop = Stop::NothingAccepted;
        return;
    }
    if (judgePass)
        passes.append({passStart, sent});
    beginPass();
    if (barrenPassAnswered())
        *stop = Stop::NothingAccepted;
}

void RdsFeeder::beginPass()
{
    passStart = sent;
    passSent = false;
    judgePass = true;
}

void RdsFeeder::lineSent(const QString& line)
{
    if (line.toUtf8().size() > kMaxLineBytes)
        return;
    inFlight.insert(++sent, line);
    passSent = true;
}

RdsFeeder::Stop RdsFeeder::received(const QStringList& words)
{
    quietTicks = 0;
    if (words.size() < 2)
        return Stop::None;
    const bool refused = words.at(1) == QLatin1String("-1");
    // A refusal carries the fill in its third word.
    fill = number(words.value(refused ? 2 : 1));
    bool isCount = false;
    const quint32 count = words.at(0).toUInt(&isCount);
    if (!isCount || !inFlight.contains(count))
        return Stop::None; // the greeting, or a fill report without a line
    return replied(count, words);
}

RdsFeeder::Stop RdsFeeder::replied(quint32 count, const QStringList& words)
{
    lastReplied = count;
    const QString line = inFlight.take(count);
    // Lines the server never answered (it drops overlong ones) are gone.
    while (!inFlight.isEmpty() && inFlight.firstKey() < count)
        inFlight.erase(inFlight.begin());
    const QString state = words.value(3);
    const bool refused = words.at(1) == QLatin1String("-1");
    if (!refused || state == QLatin1String("full"))
        lastHopeful = count;
    if (refused && (state == QLatin1String("full") || state == QLatin1String("offline")))
        resend.enqueue(line);
    if (refused && state == QLatin1String("offline"))
        return Stop::Offline;
    return barrenPassAnswered() ? Stop::NothingAccepted : Stop::None;
}

// Whether a pass whose every line has been answered had none accepted (or
// refused only for the moment, as full).
bool RdsFeeder::barrenPassAnswered()
{
    while (!passes.isEmpty() && lastReplied >= passes.constFirst().end) {
        const Pass pass = passes.takeFirst();
        if (lastHopeful <= pass.start)
            return true;
    }
    return false;
}

int RdsFeeder::number(const QString& word)
{
    bool ok = false;
    const int value = word.toInt(&ok);
    return ok ? value : 0;
}
