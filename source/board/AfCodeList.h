#pragma once

#include <QtGlobal>

struct RDSSource;

// The AF code words that group 0A sends, by AF method A or B.
class AfCodeList
{
public:
    static constexpr quint16 kNoCode = 0xCDCD;
    static constexpr quint16 kLfMfFlag = 0xFA00; // code 250 announces LF/MF
    static constexpr quint8 kFiller = 205;
    static constexpr quint8 kCountBase = 224;
    static constexpr quint16 kEmptyList = 0xE0E0;

    // FM in 100 kHz (876 = 87.6 MHz), LF/MF in 100 Hz (1530 = 153 kHz).
    static quint16 afCode(int frequency);
    static bool isFm(quint16 code) { return code >= 1 && code <= 204; }
    static bool isLfMf(quint16 code) { return (code & 0xFF00) == kLfMfFlag; }

    // Rebuilds source.codes from its AF lists and the tuned frequency.
    static void build(RDSSource& source, int tunedFrequency);
};
