#pragma once

#include <QChar>
#include <QtGlobal>

// The RDS basic character set (EN 50067 Annex E, figure E.1).
class RdsCharset
{
public:
    // The RDS byte for one Unicode character; 0x3F ('?') for characters the
    // table does not hold.
    static quint8 toRds(char16_t c);
    // The Unicode character of one RDS byte ('?' for the unassigned 0xFF).
    static char16_t fromRds(quint8 byte);
    // What a text view shows for a received byte: fromRds, and '_' for the
    // control bytes below 0x20.
    static QChar shownChar(quint8 byte);
};
