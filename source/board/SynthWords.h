#pragma once

#include <QtGlobal>

#include <array>

// The seven 16-bit words that program one synthesizer of a KXWB or kXWB
// board to a local-oscillator frequency. QRV4 boards have fixed oscillators.
class SynthWords
{
public:
    using Words = std::array<quint16, 7>;

    static constexpr unsigned kDefaultOsciMHz = 52;

    static Words kxwb(double loMHz);
    // osciMHz: the board's reference oscillator; 0 falls back to the default.
    static Words kxwbLower(double loMHz, unsigned osciMHz);
};
