#pragma once

#include <QString>

// Names of the optional-content labels and of the control codes (ALERT-C,
// ISO 14819-1 optional message content), built once for the process.
class TMCLabelNames
{
public:
    static constexpr int kLabels = 16;
    static constexpr int kControlCodes = 8;
    static constexpr int kSeparator = 14;

    static QString label(int number);     // "0 Duration" ... "F Reserved"
    static QString controlCode(int code); // empty outside 0..7
    static int width(int number);         // value bits in a group
    static quint32 maximum(int number) { return (1u << width(number)) - 1; }
};
