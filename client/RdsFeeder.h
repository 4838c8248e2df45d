#pragma once

#include <QFile>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QStringList>

// Feeds an RDS data input server from a text file, one line per tick,
// paced by the fill level the server reports after each line. The file is
// sent in an endless loop. Every line the server answers carries a running
// count from 1, which tells which line a refusal speaks of:
// - "full": the line is sent again before the next one of the file;
// - "offline": feeding stops, the line is kept for later;
// - "noRDS" (a comment or a line without a group): the line is skipped,
//   and feeding stops once a whole pass of the file had no line accepted.
// The server reports only a changed fill while the client pauses; when
// nothing at all arrives for a while, the next line goes out as a probe.
// Time is counted in ticks, so the caller's timer is the only clock.
class RdsFeeder
{
public:
    static constexpr int kPauseAbove = 64;
    static constexpr int kTickMs = 60;
    static constexpr int kProbeAfterTicks = 1000 / kTickMs + 1; // a second of silence
    static constexpr int kMaxLineBytes = 1000;                  // longer lines are never answered

    enum class Stop
    {
        None,
        Offline,
        NothingAccepted,
    };

    // Closes a file that is open and opens the new one for reading.
    bool open(const QString& path);
    bool isOpen() const { return file.isOpen(); }
    // A new connection: the server counts from 1 again and knows no fill.
    void restart();

    // One tick of the send timer: the line to send now (empty: none), or a
    // stop when the file holds nothing to send.
    QString tick(Stop* stop);
    // Every line that went out on the connection, typed ones included, so
    // that the counts of the server's replies stay in step.
    void lineSent(const QString& line);
    // One line from the server, split into words.
    Stop received(const QStringList& words);

    int fillLevel() const { return fill; }

private:
    struct Pass
    {
        quint32 start; // count of the last line sent before the pass
        quint32 end;   // count of the pass's last line
    };

    static int number(const QString& word);
    QString nextFileLine(Stop* stop);
    void endPass(Stop* stop);
    void beginPass();
    Stop replied(quint32 count, const QStringList& words);
    bool barrenPassAnswered();

    QFile file;
    int fill = 0;
    int quietTicks = 0;
    quint32 sent = 0;        // lines sent on this connection
    quint32 passStart = 0;   // sent when the current pass began
    bool passSent = false;   // the current pass sent a line
    bool judgePass = true;   // all replies to the current pass can still come
    quint32 lastHopeful = 0; // last line accepted or refused as full
    quint32 lastReplied = 0;
    QMap<quint32, QString> inFlight;
    QQueue<QString> resend;
    QList<Pass> passes; // ended, waiting for their last reply
};
