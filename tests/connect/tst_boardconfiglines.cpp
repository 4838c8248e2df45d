// The serial configuration protocol's words and lines, without a port.
#include "connect/BoardConfigLines.h"

#include <QTest>

class TestBoardConfigLines : public QObject
{
    Q_OBJECT

private slots:
    void pllWords_data();
    void pllWords();
    void pllReplies_data();
    void pllReplies();
    void writeSequence_data();
    void writeSequence();
    void registerTexts();
};

void TestBoardConfigLines::pllWords_data()
{
    QTest::addColumn<int>("hz");
    QTest::addColumn<QString>("word");
    QTest::newRow("0 Hz") << 0 << "0000";
    QTest::newRow("100 Hz is 50 steps") << 100 << "0032";
    QTest::newRow("-100 Hz in two's complement") << -100 << "FFCE";
    QTest::newRow("1 Hz is under half a step") << 1 << "0000";
    QTest::newRow("2 Hz is nearly one step") << 2 << "0001";
    QTest::newRow("-2 Hz is nearly minus one step") << -2 << "FFFF";
    QTest::newRow("highest offset") << 65915 << "7FFF";
    QTest::newRow("lowest offset") << -65915 << "8001";
}

void TestBoardConfigLines::pllWords()
{
    QFETCH(int, hz);
    QFETCH(QString, word);
    QCOMPARE(BoardConfigLines::pllWord(hz), word);
}

void TestBoardConfigLines::pllReplies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("hz");
    QTest::newRow("0032 reads back as 100 Hz") << QByteArray("0032") << 100;
    QTest::newRow("FFCE reads back as -100 Hz") << QByteArray("FFCE") << -100;
    QTest::newRow("lower case hex") << QByteArray("ffce") << -100;
    QTest::newRow("8000 is beyond the dialog's range") << QByteArray("8000") << -65917;
    QTest::newRow("7FFF") << QByteArray("7FFF") << 65915;
    QTest::newRow("no number reads as 0") << QByteArray("ERR?") << 0;
}

void TestBoardConfigLines::pllReplies()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, hz);
    QCOMPARE(BoardConfigLines::pllOffset(BoardConfigLines::word(reply)), hz);
}

void TestBoardConfigLines::writeSequence_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("pll1");
    QTest::addColumn<int>("pll2");
    QTest::addColumn<QByteArrayList>("lines");
    const QByteArrayList tail{"W080000", "W090000", "WFF0000"};
    QTest::newRow("address, port, zero offsets")
        << "192.168.1.10" << 1234 << 0 << 0
        << (QByteArrayList{"W05C0A8", "W06010A", "W0704D2"} + tail);
    QTest::newRow("the example board's offsets")
        << "192.168.1.10" << 1234 << 100 << -100
        << QByteArrayList{"W05C0A8", "W06010A", "W0704D2", "W080032", "W09FFCE", "WFF0000"};
    QTest::newRow("three parts write no address")
        << "10.0.0" << 1234 << 0 << 0 << (QByteArrayList{"W0704D2"} + tail);
    QTest::newRow("an octet above 255 writes no address")
        << "192.168.1.300" << 1234 << 0 << 0 << (QByteArrayList{"W0704D2"} + tail);
    QTest::newRow("a word of five digits is no address")
        << "255.255.256.1" << 80 << 0 << 0 << (QByteArrayList{"W070050"} + tail);
    QTest::newRow("letters write no address")
        << "192.168.1.x" << 1234 << 0 << 0 << (QByteArrayList{"W0704D2"} + tail);
    QTest::newRow("empty parts write no address")
        << "192..1.10" << 1234 << 0 << 0 << (QByteArrayList{"W0704D2"} + tail);
    QTest::newRow("highest address and port")
        << "255.255.255.255" << 65535 << 0 << 0
        << (QByteArrayList{"W05FFFF", "W06FFFF", "W07FFFF"} + tail);
    QTest::newRow("port 0 is not written")
        << "0.0.0.0" << 0 << 0 << 0 << (QByteArrayList{"W050000", "W060000"} + tail);
}

void TestBoardConfigLines::writeSequence()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(int, pll1);
    QFETCH(int, pll2);
    QFETCH(QByteArrayList, lines);
    QCOMPARE(BoardConfigLines::writeSequence(host, port, pll1, pll2), lines);
}

void TestBoardConfigLines::registerTexts()
{
    QCOMPARE(BoardConfigLines::read(0), QByteArray("R00"));
    QCOMPARE(BoardConfigLines::read(9), QByteArray("R09"));
    QCOMPARE(BoardConfigLines::macText("00123456789a"), QStringLiteral("00:12:34:56:78:9a"));
    QCOMPARE(BoardConfigLines::hostText("C0A8010A"), QStringLiteral("192.168.1.10"));
    for (const QByteArray identity : {"5152", "7152", "5634"})
        QVERIFY(BoardConfigLines::knownIdentity(identity));
    for (const QByteArray identity : {"1234", "", "5152 "})
        QVERIFY(!BoardConfigLines::knownIdentity(identity));
}

QTEST_GUILESS_MAIN(TestBoardConfigLines)
#include "tst_boardconfiglines.moc"
