#pragma once

#include "settings/AFEntry.h"
#include "settings/EON.h"
#include "settings/GroupRate.h"
#include "settings/ODARow.h"

#include <QList>
#include <QString>

// Text forms of the list-valued parts of an RDS source, one text per list
// item, fields separated by single blanks. The readers never fail: a field
// that is not a number reads as 0 (or is skipped in AF lists), and fields a
// text does not supply keep their previous values.

// "958 -1000": frequencies x10, an entry marked 6666 negated.
QString pairsToText(const QList<AFEntry>& list);
// Signed fields; regional = 1 where the frequency is in regionalList.
QList<AFEntry> afListFromText(const QString& text, const QList<qint32>& regionalList = {});

// "on rate0 rate1 rate2 rate3"
QString fiveFieldsToText(const GroupRate& rate);
void parseFiveInts(GroupRate& rate, const QString& text);

// "A B C D cwA cwB cwC cwD" in hexadecimal, then "r0 r1 r2 r3 active" in decimal.
QString wordsToHex(const ODARow& row);
void parseThirteenWords(ODARow& row, const QString& text);

// "channel PI PTY TP TA link": PI and link hexadecimal, the rest decimal.
QString eonToText(const EON& entry);
void eonFromText(EON& entry, const QString& text);
