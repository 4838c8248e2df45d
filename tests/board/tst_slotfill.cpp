// What the engine counts as held in one slot of a board, driven by a clock
// the test sets: full until the board tells, PCM sent after a status request
// still held when the reply comes, the stated fill draining at the nominal
// rate from the reply on and the count within the buffer, late and lost
// replies leaving the larger fill, and the rates worked out from what was
// sent between two requests.
#include "board/SlotFill.h"
#include "board/StatusRates.h"

#include <QTest>

#include <cmath>

namespace {

constexpr int kCapacity = 16384;
constexpr int kRate = 44100;
constexpr int kMargin = 512; // an engine leaves room for two datagrams

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
    void fullUntilTheBoardTells();
    void pcmAfterTheRequestIsHeld();
    void fillAtSendTime_data();
    void fillAtSendTime();
    void lateReplyLeavesTheLargerFill();
    void lostReplyIsForgotten();
    void rdsAfterTheRequestIsHeld();
    void forgottenPcmStopsAtEmpty();
    void lateRefillKeepsTheRateNominal();
    void firstReplyGivesNoRate();

private:
    void answerEmpty(qint64 atMs);

    SlotFill fill;
};

void TestSlotFill::init()
{
    fill = SlotFill();
    fill.setCapacity(kCapacity);
    fill.setPcmRate(kRate);
}

void TestSlotFill::answerEmpty(qint64 atMs)
{
    fill.noteRequest(atMs);
    fill.noteReply(0, 0, atMs);
}

// The board may still hold what an earlier session left: nothing is sent
// before it has told.
void TestSlotFill::fullUntilTheBoardTells()
{
    QCOMPARE(fill.pcm(0), kCapacity);
    fill.noteSent(0, 13);
    QCOMPARE(fill.rds(), 13);
    answerEmpty(10);
    QCOMPARE(fill.pcm(10), 0);
    QCOMPARE(fill.rds(), 0);
}

// The reply states the fill when the board read the request; the 15872
// frames that went out after the request are on their way or there, and
// count in full until the next reply: the board, empty before, plays them
// only once they arrive.
void TestSlotFill::pcmAfterTheRequestIsHeld()
{
    answerEmpty(4800);
    fill.noteRequest(5000);
    for (int i = 0; i < 62; ++i)
        fill.noteSent(256, 0);
    QCOMPARE(fill.pcm(5000), 15872);
    fill.noteReply(0, 0, 5000);
    QCOMPARE(fill.pcm(5000), 15872);
    QCOMPARE(fill.pcm(5100), 15872);
    // The next reply states what the board played of them.
    fill.noteRequest(5200);
    fill.noteReply(15872 - 8820, 0, 5200);
    QCOMPARE(fill.pcm(5200), 15872 - 8820);
    QCOMPARE(fill.pcm(5220), 15872 - 8820 - 882);
}

void TestSlotFill::fillAtSendTime_data()
{
    QTest::addColumn<int>("reported");
    QTest::addColumn<int>("sentAfterRequest");
    QTest::addColumn<qint64>("replyMs");
    QTest::addColumn<qint64>("askedMs");
    QTest::addColumn<int>("held");
    QTest::newRow("the reply as it stands") << 8000 << 0 << qint64(0) << qint64(0) << 8000;
    QTest::newRow("drains from the reply on") << 8000 << 0 << qint64(0) << qint64(100) << 3590;
    QTest::newRow("a late reply counts from its arrival")
        << 8000 << 0 << qint64(40) << qint64(40) << 8000;
    QTest::newRow("played no more than it held")
        << 1000 << 5000 << qint64(0) << qint64(200) << 5000;
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
    fill.noteSent(sentAfterRequest, 0);
    fill.noteReply(quint16(reported), 0, replyMs);
    QTEST(fill.pcm(askedMs), "held");
}

// The board thread keeps one request waiting at a time; should a second go
// out while the first waits, the reply that comes answers the first, and
// counting from it leaves the larger fill. A reply that no request waits
// for leaves the count as it stands.
void TestSlotFill::lateReplyLeavesTheLargerFill()
{
    fill.noteRequest(0);
    fill.noteSent(8000, 0);
    fill.noteRequest(200);
    QVERIFY(!fill.noteReply(0, 0, 201));
    QCOMPARE(fill.pcm(201), 8000);
    fill.noteSent(1000, 0);
    QVERIFY(!fill.noteReply(3590, 0, 203));
    QCOMPARE(fill.pcm(203), 9000);
    // The next request and its reply count from the board's word again.
    fill.noteRequest(400);
    QVERIFY(fill.noteReply(2000, 0, 400));
    QCOMPARE(fill.pcm(400), 2000);
}

void TestSlotFill::lostReplyIsForgotten()
{
    fill.noteRequest(0);
    fill.noteSent(8000, 0);
    fill.noteRequest(SlotFill::kRequestLifeMs + 200);
    fill.noteReply(500, 0, SlotFill::kRequestLifeMs + 200);
    QCOMPARE(fill.pcm(SlotFill::kRequestLifeMs + 200), 500);
}

// RDS does not drain between replies: the board takes it slowly.
void TestSlotFill::rdsAfterTheRequestIsHeld()
{
    fill.noteSent(0, 13);
    fill.noteRequest(10);
    fill.noteSent(0, 26);
    fill.noteReply(0, 40, 12);
    QCOMPARE(fill.rds(), 40 + 26);
    fill.noteRequest(210);
    fill.noteReply(0, 40, 211);
    QCOMPARE(fill.rds(), 40);
    QCOMPARE(fill.pcm(211), 0);
}

void TestSlotFill::forgottenPcmStopsAtEmpty()
{
    fill.noteRequest(0);
    fill.noteReply(8000, 0, 0);
    fill.forgetPcm(5512, 0);
    QCOMPARE(fill.pcm(0), 8000 - 5512);
    fill.forgetPcm(5512, 0);
    QCOMPARE(fill.pcm(0), 0);
    fill.noteSent(256, 0);
    QCOMPARE(fill.pcm(0), 256);
}

// The engine refills every 10 ms, and at each status request it refills
// after the request and before the reply. The board played 8820 frames
// between any two requests, so the rate settles at the nominal one and the
// flag goes off; counting the refill after the request into the fill before
// it would add 2205 frames a second.
void TestSlotFill::lateRefillKeepsTheRateNominal()
{
    ChannelStatus status;
    int boardFill = 0;
    const auto refill = [&](qint64 now) {
        const int room = kCapacity - kMargin - fill.pcm(now);
        if (room > 0) {
            fill.noteSent(room, 0);
            boardFill += room;
        }
    };
    for (qint64 now = 0; now < 4000; now += 10) {
        boardFill = std::max(0, boardFill - kRate / 100);
        if (now % 200 != 0) {
            refill(now);
            continue;
        }
        fill.noteRequest(now);
        const int reported = boardFill;
        refill(now);
        const auto interval = fill.noteReply(quint16(reported), 0, now);
        StatusRates::update(status, entry(reported), interval, kRate);
    }
    QCOMPARE(boardFill, kCapacity - kMargin);
    QCOMPARE(status.pcmFill, quint16(kCapacity - kMargin - kRate / 100));
    QVERIFY2(qAbs(status.pcmRate - kRate) < 300, qPrintable(QString::number(status.pcmRate)));
    QVERIFY(!(status.flags & ChannelStatus::kPcmRateOff));
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
