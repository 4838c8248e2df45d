#pragma once

// Entries of the group-rate table that the basic and RadioText forms switch
// directly. Entry t is group type t version A, entry 16 + t type t version B.
namespace GroupEntries {

inline constexpr int kGroup0 = 0;    // PS with AF
inline constexpr int kGroup1 = 1;    // ECC
inline constexpr int kGroup2 = 2;    // RadioText
inline constexpr int kGroup3 = 3;    // ODA identifications
inline constexpr int kGroup4 = 4;    // clock time
inline constexpr int kGroup8 = 8;    // TMC
inline constexpr int kGroup10 = 10;  // PTYN
inline constexpr int kGroup14 = 14;  // EON
inline constexpr int kGroup15 = 15;  // long PS
inline constexpr int kVersionB = 16; // entries from here on are version B groups

} // namespace GroupEntries
