#pragma once

#include <QtGlobal>

#include <optional>

// What the engine counts as held in one slot of a board. A status reply
// states the fill at the moment the board read the request, so what went
// out after the request still counts as held when the reply comes. From
// the reply on, the fill it stated drains at the slot's nominal rate, so a
// refill is sized from the fill at send time, not from the fill the reply
// stated; what was sent after the request counts in full until the next
// reply, as it may still be on its way to a board that stood empty. Until
// the board has stated its fill once, it counts as full. RDS counts only
// what was sent: the board takes it slowly and the next reply soon tells.
// All times are milliseconds of one steady clock.
class SlotFill
{
public:
    // The board thread keeps one status request waiting at a time, so a
    // reply answers the request that waits. One whose reply has not come
    // for this long is taken as lost, and the next request takes its place.
    // A board answers within a millisecond; until a reply comes, what was
    // sent counts in full and the engine refills less, so a lost reply must
    // not hold it back for longer than a buffer of 16384 frames lasts.
    static constexpr qint64 kRequestLifeMs = 500;
    static constexpr int kDefaultRate = 44100;
    static constexpr int kMaxFill = 0xFFFF;

    // What the board held at the request answered before, plus what was
    // sent from then until the request just answered, and the time between
    // the two requests: the base of the consumption rates.
    struct Interval
    {
        int pcmHeld = 0;
        int rdsHeld = 0;
        double seconds = 0.0;
    };

    // 0: the board has not told yet.
    void setCapacity(int pcmFrames);
    void setPcmRate(int framesPerSecond);

    void noteRequest(qint64 nowMs);
    void noteSent(int pcmFrames, int rdsWords);
    // The interval for the rates; nothing when no earlier request was
    // answered, or when no request waits for this reply.
    std::optional<Interval> noteReply(quint16 pcmFill, quint16 rdsFill, qint64 nowMs);
    // Lowers the PCM the engine counts as held (not below empty), as if the
    // board had played it; the next reply tells again.
    void forgetPcm(int frames, qint64 nowMs);

    // Frames held now, between 0 and the capacity.
    int pcm(qint64 nowMs) const;
    // Words held: the last reported fill and what was sent since its request.
    // (Nothing reported yet: what was sent.)
    int rds() const;

private:
    struct Request
    {
        qint64 at = 0;
        qint64 pcmSent = 0; // pcmTotal when the request went out
        qint64 rdsSent = 0;
    };
    struct Answered
    {
        Request request;
        int pcmFill = 0;
        int rdsFill = 0;
    };

    double played(qint64 fromMs, qint64 toMs) const;
    double heldAt(qint64 nowMs) const;
    double full() const;

    int capacity = 0;
    double rate = kDefaultRate;
    qint64 pcmTotal = 0;
    qint64 rdsTotal = 0;
    qint64 reportedAt = 0; // when the last reply came
    int pcmForgotten = 0;
    std::optional<Request> waiting;
    std::optional<Answered> answered;
};
