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

double SlotFill::full() const
{
    return capacity > 0 ? capacity : kMaxFill;
}

// The board plays no more than it held at its reply: PCM sent after the
// request may still be on its way, and a board that stood empty starts on
// it only when it arrives.
double SlotFill::heldAt(qint64 nowMs) const
{
    if (!answered)
        return std::max(0.0, full() - pcmForgotten);
    const double stated = std::max(0.0, answered->pcmFill - played(reportedAt, nowMs));
    const double sent = double(pcmTotal - answered->request.pcmSent);
    return std::clamp(stated + sent - pcmForgotten, 0.0, full());
}

// While a request waits, a later one would wait behind it and its reply
// come second: counting from the first leaves the larger fill.
void SlotFill::noteRequest(qint64 nowMs)
{
    if (!waiting || nowMs - waiting->at > kRequestLifeMs)
        waiting = Request{nowMs, pcmTotal, rdsTotal};
}

void SlotFill::noteSent(int pcmFrames, int rdsWords)
{
    pcmTotal += std::max(0, pcmFrames);
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
    reportedAt = nowMs;
    pcmForgotten = 0;

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
    pcmForgotten += int(std::min<double>(std::max(0, frames), heldAt(nowMs)));
}

int SlotFill::pcm(qint64 nowMs) const
{
    // Rounded up: a frame too many held costs nothing, one too few may
    // overflow the board.
    return int(std::ceil(heldAt(nowMs)));
}

int SlotFill::rds() const
{
    if (!answered)
        return int(std::min<qint64>(rdsTotal, kMaxFill));
    const qint64 since = rdsTotal - answered->request.rdsSent;
    return int(std::min<qint64>(answered->rdsFill + since, kMaxFill));
}
