// What the engine counts as held in one slot of a board, driven by a clock
// the test sets: PCM sent after a status request is still held when the
// reply comes, the fill drains at the nominal rate from the reply on and
// stays within the buffer, late and lost replies leave the larger fill,
// and the rates work from what was sent between two requests.
#include "board/SlotFill.h"
#include "board/StatusRates.h"

#include <QTest>

#include <cmath>

namespace {

constexpr int kCapacity = 16384;
constexpr int kRate = 44100;

// One status reply from an entry with fills only.
StatusEntry entry(int pcm, int rds = 0)
{
    return StatusEntry{quint16(pcm), quint16(rds), 0, 1};
}

} // namespace

class TestSlotFill : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pcmAfterTheRequestIsHeld();
    void fillAtSendTime_data();
    void fillAtSendTime();
    void lateReplyLeavesTheLargerFill();
    void lostReplyIsForgotten();
    void rdsAfterTheRequestIsHeld();
    void lateRefillKeepsTheRateNominal();
    void firstReplyGivesNoRate();

private:
    SlotFill fill;
};

void TestSlotFill::init()
{
    fill = SlotFill();
    fill.setCapacity(kCapacity);
    fill.setPcmRate(kRate);
}

// The reply states the fill when the request reached the board; the 15872
// frames that went out after the request are on their way or there. Before
// them the board stood empty for seconds.
void TestSlotFill::pcmAfterTheRequestIsHeld()
{
    fill.noteRequest(5000);
    for (int i = 0; i < 62; ++i)
        fill.noteSent(256, 0, 5000);
    QCOMPARE(fill.pcm(5000), 15872);
    fill.noteReply(0, 0, 5000);
    QCOMPARE(fill.pcm(5000), 15872);
    // 20 ms later the board played 882 frames of them.
    QCOMPARE(fill.pcm(5020), 15872 - 882);
}

void TestSlotFill::fillAtSendTime_data()
{
    QTest::addColumn<int>("reported");
    QTest::addColumn<int>("sentAfterRequest");
    QTest::addColumn<qint64>("replyMs");
    QTest::addColumn<qint64>("askedMs");
    QTest::addColumn<int>("held");
    QTest::newRow("the reply as it stands") << 8000 << 0 << qint64(0) << qint64(0) << 8000;
    QTest::newRow("played since the request") << 8000 << 0 << qint64(0) << qint64(100) << 3590;
    QTest::newRow("a late reply counts from its arrival")
        << 8000 << 0 << qint64(40) << qint64(40) << 8000;
    QTest::newRow("played more than it held: empty") << 1000 << 0 << qint64(0) << qint64(200) << 0;
    QTest::newRow("never above the capacity")
        << 16000 << 2000 << qint64(1) << qint64(1) << kCapacity;
    QTest::newRow("a reply above the capacity")
        << 0xFFFF << 0 << qint64(0) << qint64(0) << kCapacity;
}

void TestSlotFill::fillAtSendTime()
{
    QFETCH(int, reported);
    QFETCH(int, sentAfterRequest);
    QFETCH(qint64, replyMs);
    QFETCH(qint64, askedMs);
    fill.noteRequest(0);
    fill.noteSent(sentAfterRequest, 0, 0);
    fill.noteReply(quint16(reported), 0, replyMs);
    QTEST(fill.pcm(askedMs), "held");
}

// Replies come in the order of their requests. The request at 0 ms got no
// answer before the next went out at 200 ms; the reply that then comes
// answers the first, unless that one's reply was lost. Counting from the
// first request leaves the larger fill, and a second reply that no request
// waits for leaves the count as it stands.
void TestSlotFill::lateReplyLeavesTheLargerFill()
{
    fill.noteRequest(0);
    fill.noteSent(8000, 0, 100);
    fill.noteRequest(200);
    QVERIFY(!fill.noteReply(0, 0, 201));
    QCOMPARE(fill.pcm(201), 8000);
    fill.noteSent(1000, 0, 202);
    QVERIFY(!fill.noteReply(3590, 0, 203));
    QCOMPARE(fill.pcm(203), 8912);
    // The next request and its reply count from the board's word again.
    fill.noteRequest(400);
    QVERIFY(fill.noteReply(2000, 0, 400));
    QCOMPARE(fill.pcm(400), 2000);
}

void TestSlotFill::lostReplyIsForgotten()
{
    fill.noteRequest(0);
    fill.noteSent(8000, 0, 100);
    fill.noteRequest(SlotFill::kRequestLifeMs + 200);
    fill.noteReply(500, 0, SlotFill::kRequestLifeMs + 200);
    QCOMPARE(fill.pcm(SlotFill::kRequestLifeMs + 200), 500);
}

// RDS does not drain between replies: the board takes it slowly.
void TestSlotFill::rdsAfterTheRequestIsHeld()
{
    fill.noteSent(0, 13, 0);
    QCOMPARE(fill.rds(), 13);
    fill.noteRequest(10);
    fill.noteSent(0, 26, 11);
    fill.noteReply(0, 40, 12);
    QCOMPARE(fill.rds(), 40 + 26);
    fill.noteRequest(210);
    fill.noteReply(0, 40, 211);
    QCOMPARE(fill.rds(), 40);
    QCOMPARE(fill.pcm(211), 0);
}

// Every refill goes out right after the request, before its reply: what
// the board played between two requests is still 8820 frames each time, so
// the rate settles at the nominal one and the flag goes off. Counting the
// refill into the fill before the reply would double it.
void TestSlotFill::lateRefillKeepsTheRateNominal()
{
    ChannelStatus status;
    int boardFill = 0;
    for (qint64 now = 0; now < 20 * 200; now += 200) {
        fill.noteRequest(now);
        const int reported = boardFill;
        const int room = kCapacity - 512 - fill.pcm(now);
        fill.noteSent(room, 0, now);
        boardFill += room;
        const auto interval = fill.noteReply(quint16(reported), 0, now);
        StatusRates::update(status, entry(reported), interval, kRate);
        boardFill -= 8820;
    }
    // Nineteen intervals smoothed from 0.
    QCOMPARE(status.pcmRate, 44100.0 * (1.0 - std::pow(0.75, 19)));
    QVERIFY(!(status.flags & ChannelStatus::kPcmRateOff));
    QCOMPARE(status.pcmFill, quint16(kCapacity - 512 - 8820));
}

void TestSlotFill::firstReplyGivesNoRate()
{
    fill.noteRequest(0);
    QVERIFY(!fill.noteReply(100, 10, 1));
    fill.noteRequest(200);
    const auto interval = fill.noteReply(100, 10, 201);
    QVERIFY(interval);
    QCOMPARE(interval->pcmHeld, 100);
    QCOMPARE(interval->rdsHeld, 10);
    QCOMPARE(interval->seconds, 0.2);
}

QTEST_GUILESS_MAIN(TestSlotFill)
#include "tst_slotfill.moc"
