// Classification of timeline events by their command's key.
#include "dynamic/Event.h"

#include <QTest>

class TestEvent : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
};

void TestEvent::classify_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("rest");
    QTest::newRow("rds") << "rds.1.ps hello" << 4 << 1 << "ps hello";
    QTest::newRow("channel in capitals") << "CHANNEL.12.freq 95.8" << 1 << 12 << "freq 95.8";
    QTest::newRow("audio") << "audio.3.vol1 20" << 2 << 3 << "vol1 20";
    QTest::newRow("playlist") << "playlist.2.0 /a.flac" << 3 << 2 << "0 /a.flac";
    QTest::newRow("tmc") << "tmc.1.7 1 0 1500 12345 1" << 5 << 1 << "7 1 0 1500 12345 1";
    QTest::newRow("other family") << "board.band 1" << 0 << 0 << "";
    QTest::newRow("rest simplified") << "rds.2.rta   two   blanks " << 4 << 2 << "rta two blanks";
    QTest::newRow("number kept in 16 bits") << "rds.70000.ps x" << 4 << 4464 << "ps x";
    QTest::newRow("empty") << "" << 0 << 0 << "";
}

void TestEvent::classify()
{
    QFETCH(QString, command);
    Event event(100, command);
    QCOMPARE(int(event.type), int(Event::Unclassified));
    event.classify();
    QTEST(int(event.type), "type");
    QTEST(int(event.number), "number");
    QTEST(event.rest, "rest");
    QCOMPARE(event.time, 100u);
}

QTEST_GUILESS_MAIN(TestEvent)
#include "tst_event.moc"
