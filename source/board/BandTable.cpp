#include "board/BandTable.h"

BandTable BandTable::forBand(int band)
{
    switch (band) {
    case 1:
        return {80.0, 90.0, 85.0, 76.0, 95.0};
    case 2:
        return {85.0, 101.0, 92.0, 76.0, 108.0};
    default:
        return {};
    }
}
