#pragma once

#include <QtGlobal>

#include <array>

// Rate of one group type and version on the four RDS streams, in groups per
// minute. Index t is type t version A (0..15), 16 + t type t version B.
struct GroupRate
{
    static constexpr int kGroupCount = 32;

    quint8 on = 0;
    std::array<qint32, 4> rate{}; // negative: filler with that weight

    bool operator==(const GroupRate&) const = default;
};
