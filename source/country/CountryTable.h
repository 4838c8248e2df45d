#pragma once

#include "country/ECC.h"

#include <QList>

// The fixed country table, in the order the search window lists it and
// countryByCode joins names. Complete before main() runs and never written
// afterwards, so any thread reads it without a lock.
extern QList<ECC> countryTable;

// Fills countryTable afresh; done once during static initialisation.
void buildCountryTable();

// The names of every country that uses the PI digit (upper-case hexadecimal
// character, as ECC::ci holds it) with the ECC, one name a line, in table
// order; empty when none does.
QString countryByCode(char piDigit, quint8 ecc);
