// Groups encoded per second for one channel with every feature on, against
// what the system needs: 11.4 groups/s x 4 streams x 96 channels.
#include "board/RdsEncoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

constexpr double kNeededGroupsPerSecond = 11.4 * 4 * 96;
constexpr int kGroups = 200000;

RDSSource fullSource()
{
    RDSSource s;
    s.pi = 0xD311;
    s.ps = "BENCH FM";
    s.lps = QString::fromUtf8("Bench Radio – long PS");
    s.rta = "Now: $0 by $1 #0A on Bench FM";
    s.rtb = QString::fromUtf8("Grüße aus dem Studio");
    s.rtc = QString::fromUtf8("Ωmega #2260 Ohm");
    s.pn1 = "Rock";
    s.pn2 = "Jazz";
    s.afu = 1 | 4;
    s.afs = {AFEntry{876, 0, 0, 0}, AFEntry{1012, 0, 0, 0}, AFEntry{1079, 0, 0, 0},
             AFEntry{5310, 0, 0, 0}};
    EON other;
    other.pi = 0xD3A1;
    other.ps = "OTHER";
    other.af = {AFEntry{900, 0, 0, 0}, AFEntry{950, 0, 0, 0}};
    s.eon = {other, other};
    s.eon[1].pi = 0xD3A2;
    s.rttag = {RTag{1, "Title"}, RTag{4, "Artist"}};
    s.rtitm = 1 | 8;
    s.rtgrp = 11;
    s.ertg = 12;
    s.rtxt = 1 | 2 | 8 | 64 | 128;
    s.mode = 0x0F;
    const int rates[][2] = {{0, 240}, {1, 6},   {2, -4},  {3, 20},  {8, 30},
                            {10, 10}, {11, 20}, {12, -2}, {14, 20}, {15, 20}};
    for (const auto& r : rates) {
        s.gmin[r[0]].on = 1;
        for (int stream = 0; stream < 4; ++stream)
            s.gmin[r[0]].rate[stream] = r[1];
    }
    return s;
}

TMCSource fullTmc()
{
    TMCSource t;
    t.used = 1;
    t.spn = "TMC BENCH";
    for (int i = 0; i < 5; ++i) {
        TMCMessage m;
        m.event = quint16(101 + i);
        m.location = quint16(1000 + i);
        m.send = i == 4 ? TMCMessage::Cancel : TMCMessage::Yes;
        if (i % 2)
            m.labels = {0u << 16 | 3, 9u << 16 | 401, 10u << 16 | 2000};
        t.messages << m;
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qSetMessagePattern(QStringLiteral("%{if-critical}%{message}%{endif}"));
    RdsEncoder encoder;
    encoder.setSource(fullSource(), 95.8);
    encoder.setTMCSource(fullTmc());
    encoder.setTags({{"Title", "Yesterday"}, {"Artist", "Beatles"}});
    quint8 out[4][13];
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kGroups / 4; ++i)
        encoder.generate(out[0], out[1], out[2], out[3]);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double perSecond = kGroups / seconds;
    std::printf("RDS groups encoded: %d in %.3f s = %.0f groups/s\n", kGroups, seconds, perSecond);
    std::printf("needed for 96 channels x 4 streams: %.0f groups/s; ratio %.1f\n",
                kNeededGroupsPerSecond, perSecond / kNeededGroupsPerSecond);
    return perSecond > kNeededGroupsPerSecond ? 0 : 1;
}
