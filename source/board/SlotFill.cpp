#include "board/SlotFill.h"

#include <algorithm>
#include <cmath>

void SlotFill::setCapacity(int pcmFrames)
{
    capacity = std::clamp(pcmFrames, 0, kMaxFill);
}

void SlotFill::setPcmRate(int framesPerSecond)
{
    rate = std::max(0, framesPerSecond);
}

double SlotFill::played(qint64 fromMs, qint64 toMs) const
{
    return rate * double(std::max<qint64>(0, toMs - fromMs)) / 1000.0;
}

double SlotFill::clamped(double frames) const
{
    return std::clamp(frames, 0.0, double(capacity > 0 ? capacity : kMaxFill));
}

double SlotFill::heldAt(qint64 nowMs) const
{
    return clamped(pcmHeld - played(pcmHeldAt, nowMs));
}

// Replies come in the order of their requests. While one request waits, a
// later one waits behind it: the reply that comes answers the first, unless
// the first reply was lost. Counting what was sent since the first request
// leaves the larger fill of the two.
void SlotFill::noteRequest(qint64 nowMs)
{
    if (!waiting || nowMs - waiting->at > kRequestLifeMs)
        waiting = Request{nowMs, pcmTotal, rdsTotal};
}

void SlotFill::noteSent(int pcmFrames, int rdsWords, qint64 nowMs)
{
    if (pcmFrames > 0) {
        pcmHeld = clamped(heldAt(nowMs) + pcmFrames);
        pcmHeldAt = nowMs;
        pcmTotal += pcmFrames;
    }
    rdsTotal += std::max(0, rdsWords);
}

// The board read the request somewhere between sending it and now. Taking
// the stated fill as the fill of now keeps the engine from sending into a
// board that answered late; the price is a refill short by what the board
// played while the reply was on its way.
std::optional<SlotFill::Interval> SlotFill::noteReply(quint16 pcmFill, quint16 rdsFill,
                                                      qint64 nowMs)
{
    // A reply nobody waits for tells a fill without its moment.
    if (!waiting)
        return std::nullopt;
    const Request request = *waiting;
    waiting.reset();
    pcmHeld = clamped(double(pcmFill) + double(pcmTotal - request.pcmSent));
    pcmHeldAt = nowMs;
    rdsReported = rdsFill;
    rdsSentAtReport = request.rdsSent;

    std::optional<Interval> interval;
    if (answered) {
        const Request& before = answered->request;
        interval = Interval{answered->pcmFill + int(request.pcmSent - before.pcmSent),
                            answered->rdsFill + int(request.rdsSent - before.rdsSent),
                            double(request.at - before.at) / 1000.0};
    }
    answered = Answered{request, pcmFill, rdsFill};
    return interval;
}

void SlotFill::forgetPcm(int frames, qint64 nowMs)
{
    pcmHeld = clamped(heldAt(nowMs) - frames);
    pcmHeldAt = nowMs;
}

int SlotFill::pcm(qint64 nowMs) const
{
    // Rounded up: a frame too many held costs nothing, one too few may
    // overflow the board.
    return int(std::ceil(heldAt(nowMs)));
}

int SlotFill::rds() const
{
    return int(std::min<qint64>(rdsReported + (rdsTotal - rdsSentAtReport), kMaxFill));
}
