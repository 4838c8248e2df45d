#include "board/RemoteRdsQueue.h"

#include <cstring>

void RemoteRdsQueue::push()
{
    if (isFull())
        return;
    writeIndex = (writeIndex + 1) % kCapacity;
    ++queued;
}

int RemoteRdsQueue::oldestIndex() const
{
    if (queued == 0)
        return -1;
    return (writeIndex - queued + kCapacity) % kCapacity;
}

int RemoteRdsQueue::take(quint8* out)
{
    const int index = oldestIndex();
    if (index < 0)
        return -1;
    std::memcpy(out, groups[index].data(), kGroupBytes);
    --queued;
    return index;
}
