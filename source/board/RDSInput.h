#pragma once

#include <QByteArray>

// What an RDS data input server needs of its programme engine: it hands
// over each received line and reports the channel's RDS fill level.
class RDSInput
{
public:
    // Parses the line into a packed group and queues it. Returns whether a
    // group was queued; on refusal the line is replaced by the state word
    // ("full", "offline", "noRDS", or empty for an empty line). An empty
    // line marks the end of the remote input. fillLevel receives the
    // channel's RDS fill level either way.
    virtual bool queueRemoteGroup(QByteArray& line, int& fillLevel) = 0;
    virtual int rdsFillLevel() = 0;

protected:
    ~RDSInput() = default;
};
