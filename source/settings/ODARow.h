#pragma once

#include <QtGlobal>

#include <array>

// One open data application row on the RDS streams.
struct ODARow
{
    std::array<quint16, 4> data{};  // blocks A..D
    std::array<quint16, 4> check{}; // check words; above 1023: computed
    quint32 active = 0;
    std::array<qint32, 4> rate{}; // groups per minute on streams 0..3

    bool operator==(const ODARow&) const = default;
};
