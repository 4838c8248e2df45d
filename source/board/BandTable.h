#pragma once

// The two local-oscillator frequencies of a band, the frequency where the
// carrier moves from the first to the second, and the band's edges (MHz).
struct BandTable
{
    double lo0 = 93.0;
    double lo1 = 103.0;
    double split = 98.0;
    double lower = 87.5;
    double upper = 108.0;

    // Band 1 and 2 have tables of their own; every other value is band 0.
    static BandTable forBand(int band);
};
