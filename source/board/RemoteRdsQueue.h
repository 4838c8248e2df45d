#pragma once

#include <QtGlobal>

#include <array>

// The RDS groups that arrived on a channel's RDS data input server and wait
// for the fill tick: a ring of packed groups, oldest out first. A full ring
// refuses new groups; nothing queued is ever overwritten.
class RemoteRdsQueue
{
public:
    static constexpr int kCapacity = 128;
    static constexpr int kGroupBytes = 13;

    int count() const { return queued; }
    bool isFull() const { return queued == kCapacity; }
    // Where the next group is to be written; push() makes it count.
    quint8* writeSlot() { return groups[writeIndex].data(); }
    void push();
    // Index of the oldest group, or -1 when empty.
    int oldestIndex() const;
    // Copies the oldest group out and drops it; returns its ring index.
    int take(quint8* out);
    void clear() { queued = 0; }

private:
    std::array<std::array<quint8, kGroupBytes>, kCapacity> groups{};
    int writeIndex = 0;
    int queued = 0;
};
