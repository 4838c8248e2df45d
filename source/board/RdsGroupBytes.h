#pragma once

#include "board/RdsGroup.h"

#include <QByteArray>

#include <array>

// The packed form of a group: 104 bits, most significant first, in the order
// block A, checkword A, block B, checkword B, ... block D, checkword D.
struct RdsGroupBytes
{
    static constexpr int kSize = 13;

    std::array<quint8, kSize> bytes{};

    static void pack(const RdsGroup& group, quint8* out);
    static RdsGroup unpack(const quint8* in);

    static RdsGroupBytes fromGroup(const RdsGroup& group);
    RdsGroup toGroup() const { return unpack(bytes.data()); }
    QByteArray toByteArray() const;

    bool operator==(const RdsGroupBytes&) const = default;
};
