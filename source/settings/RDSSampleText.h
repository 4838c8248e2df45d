#pragma once

#include <QString>

// The test RadioTexts a new RDS source starts with, and that a source read
// from a file takes for a missing text: they exercise the umlauts, the
// escapes and the scripts the RDS character tables must carry.
namespace RDSSampleText {

enum Which
{
    A = 0,
    B = 1,
    C = 2,
    D = 3
};

QString text(Which which);
// "rta" .. "rtd"
QString keyOf(Which which);

} // namespace RDSSampleText
