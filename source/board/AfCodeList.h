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
    // The inverse of afCode for one received code byte: FM in 100 kHz, or,
    // when the code follows 250, LF/MF in 100 Hz; 0 for a code that names no
    // frequency (filler, counts, out of range).
    static int afFrequency(quint8 code, bool afterLfMf);

    // Rebuilds source.codes from its AF lists and the tuned frequency.
    // Returns the number of distinct alternative frequencies offered (the
    // tuned frequency not counted), also those that method A cannot place.
    static int build(RDSSource& source, int tunedFrequency);
};
