#pragma once

#include "settings/AFEntry.h"
#include "settings/EON.h"
#include "settings/GroupRate.h"
#include "settings/ODARow.h"
#include "settings/RTag.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// One complete set of RDS content that one or more channels use. A plain
// value record: copies are cheap (implicitly shared strings and lists).
struct RDSSource
{
    quint8 used = 1;
    QString name;
    QString lps;
    QString ps;
    quint16 pi = 0xCAFE;
    quint8 tp = 1;
    quint8 ta = 0;
    quint8 ms = 1;
    quint8 pty = 10;
    quint8 dec = 9;
    QString rta;
    QString rtb;
    QString rtc;
    QString rtd;
    QString pn1;
    QString pn2;
    quint32 tmcsi = 0;
    quint8 tmgap = 0;
    quint8 mode = 0x71;
    quint8 rtgrp = 7;
    quint16 rtbit = 0;
    quint8 rtitm = 11;
    QByteArray enc;
    QByteArray crt;
    QByteArray clps;
    quint8 boml = 0;
    quint8 rtxt = 8;
    quint8 rtxg = 0;
    quint8 ertg = 9;
    quint16 ertb = 1;
    quint16 paid = 0x4BD7;
    quint16 eaid = 0x6552;
    quint8 page = 0;
    quint16 slow = 224;
    quint16 pin = 0;
    quint8 pss = 0x31;
    quint8 afu = 0;
    quint8 rpa = 4;
    quint8 rpb = 0;
    quint8 rpc = 4;
    quint8 rpd = 0;
    quint8 rp1 = 8;
    quint8 rp2 = 8;
    quint8 enda = 13;
    quint8 endb = 13;
    quint8 endc = 13;
    quint8 endd = 13;
    quint8 endl = 13;
    quint8 endx = 15;
    qint8 zone = 1;       // local time offset in half hours, signed
    qint32 mins = 0;      // additional offset in minutes, signed
    quint32 days = 42003; // fixed date, days since 1 March 1900
    quint8 date = 0;
    quint8 err = 0;
    quint8 ber = 2;
    quint8 fix = 0;
    quint8 buc1 = 8;
    quint8 buc2 = 0;
    quint8 but1 = 10;
    quint8 but2 = 0;
    quint8 eoc1 = 8;
    quint8 eoc2 = 0;
    quint8 eot1 = 10;
    quint8 eot2 = 0;
    QList<EON> eon;
    QList<ODARow> oda;
    QList<RTag> rttag;
    QList<AFEntry> af;    // automatic list, built by the store, published only
    QList<AFEntry> afs;   // manual list
    QList<quint16> codes; // AF code words of group 0A; never stored
    QList<qint32> afr;    // regional list for method B, frequencies x10
    std::array<GroupRate, GroupRate::kGroupCount> gmin{};
    bool fused = false;
    QStringList files;

    // Whether the channels on this source send the groups of its log files
    // instead of the groups encoded from its settings.
    bool playsLogFiles() const { return fused && !files.isEmpty(); }

    bool operator==(const RDSSource&) const = default;
};
