#pragma once

// True while the stored language is anything but English. The country table
// and the TMC event texts read it to pick their German or English text.
extern bool uiGerman;
