// Text forms of AF lists, group rates, ODA rows and EON entries.
#include "settings/ListCodecs.h"

#include <QTest>

Q_DECLARE_METATYPE(GroupRate)
Q_DECLARE_METATYPE(ODARow)
Q_DECLARE_METATYPE(EON)

namespace {

AFEntry af(qint32 freq, quint16 marker = 0, quint8 regional = 0)
{
    AFEntry entry;
    entry.freq = freq;
    entry.marker = marker;
    entry.regional = regional;
    return entry;
}

GroupRate rate(quint8 on, qint32 r0, qint32 r1, qint32 r2, qint32 r3)
{
    GroupRate g;
    g.on = on;
    g.rate = {r0, r1, r2, r3};
    return g;
}

} // namespace

class TestListCodecs : public QObject
{
    Q_OBJECT

private slots:
    void afListText_data();
    void afListText();
    void afListReader_data();
    void afListReader();

    void groupRateRoundTrip();
    void parseFiveInts_data();
    void parseFiveInts();

    void odaRowRoundTrip();
    void parseThirteenWords_data();
    void parseThirteenWords();

    void eonRoundTrip();
    void eonReaderKeepsWhatTextLacks_data();
    void eonReaderKeepsWhatTextLacks();
};

void TestListCodecs::afListText_data()
{
    QTest::addColumn<QList<AFEntry>>("list");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty list") << QList<AFEntry>{} << "";
    QTest::newRow("marked entry negative")
        << QList<AFEntry>{af(958), af(1000, 6666)} << "958 -1000";
    QTest::newRow("other markers stay positive") << QList<AFEntry>{af(958, 1)} << "958";
}

void TestListCodecs::afListText()
{
    QFETCH(QList<AFEntry>, list);
    QFETCH(QString, text);
    QCOMPARE(pairsToText(list), text);
    if (!text.isEmpty() && list.first().marker != 1)
        QCOMPARE(afListFromText(text), list);
}

void TestListCodecs::afListReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<AFEntry>>("list");
    QTest::newRow("regional flag from the regional list")
        << "958 -1000  1025" << QList<AFEntry>{af(958, 0, 1), af(1000, 6666), af(1025, 0, 1)};
    QTest::newRow("junk fields skipped")
        << "abc 958 9x9 99999999999" << QList<AFEntry>{af(958, 0, 1)};
    QTest::newRow("blank text") << "   " << QList<AFEntry>{};
    QTest::newRow("most negative number does not overflow")
        << "-2147483648" << QList<AFEntry>{af(2147483647, 6666)};
}

void TestListCodecs::afListReader()
{
    QFETCH(QString, text);
    QFETCH(QList<AFEntry>, list);
    QCOMPARE(afListFromText(text, {958, 1025}), list);
}

void TestListCodecs::groupRateRoundTrip()
{
    const GroupRate original = rate(1, 60, -3, 0, 685);
    QCOMPARE(fiveFieldsToText(original), QStringLiteral("1 60 -3 0 685"));
    GroupRate back;
    ::parseFiveInts(back, fiveFieldsToText(original));
    QCOMPARE(back, original);
}

void TestListCodecs::parseFiveInts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<GroupRate>("expected");
    QTest::newRow("two fields leave the rest") << "1 20" << rate(1, 20, 8, 9, 10);
    QTest::newRow("empty field reads 0") << "1  5" << rate(1, 0, 5, 9, 10);
    QTest::newRow("flag is any non-zero number") << "-4 1 2 3 4" << rate(1, 1, 2, 3, 4);
    QTest::newRow("junk reads 0") << "x y 3 z 4 99" << rate(0, 0, 3, 0, 4);
    QTest::newRow("empty text clears the flag only") << "" << rate(0, 7, 8, 9, 10);
}

void TestListCodecs::parseFiveInts()
{
    QFETCH(QString, text);
    QFETCH(GroupRate, expected);
    GroupRate value = rate(1, 7, 8, 9, 10);
    ::parseFiveInts(value, text);
    QCOMPARE(value, expected);
}

void TestListCodecs::odaRowRoundTrip()
{
    ODARow row;
    row.data = {0xd311, 0x3410, 0xabcd, 0x4bd7};
    row.check = {0x3ff, 0x400, 0, 0xffff};
    row.rate = {60, -2, 0, 1};
    row.active = 1;
    QCOMPARE(wordsToHex(row), QStringLiteral("d311 3410 abcd 4bd7 3ff 400 0 ffff 60 -2 0 1 1"));
    ODARow back;
    ::parseThirteenWords(back, wordsToHex(row));
    QCOMPARE(back, row);
}

void TestListCodecs::parseThirteenWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ODARow>("expected");
    ODARow start;
    start.data = {1, 2, 3, 4};
    start.check = {5, 6, 7, 8};
    start.rate = {9, 10, 11, 12};
    start.active = 1;

    ODARow partial = start;
    partial.data[0] = 0xffff;
    partial.data[1] = 0;
    QTest::newRow("short text keeps the rest, low 16 bits kept") << "1ffff zz" << partial;

    ODARow junk = start;
    junk.data = {0, 0, 0, 0};
    junk.check = {0, 0, 0, 0};
    junk.rate = {0, 0, 0, 0};
    junk.active = 0;
    QTest::newRow("junk fields read 0")
        << "q q q q 123456789ab q q q q q q q 0 extra fields" << junk;
}

void TestListCodecs::parseThirteenWords()
{
    QFETCH(QString, text);
    QFETCH(ODARow, expected);
    ODARow row;
    row.data = {1, 2, 3, 4};
    row.check = {5, 6, 7, 8};
    row.rate = {9, 10, 11, 12};
    row.active = 1;
    ::parseThirteenWords(row, text);
    QCOMPARE(row, expected);
}

void TestListCodecs::eonRoundTrip()
{
    EON entry;
    entry.channel = 5;
    entry.pi = 0xd312;
    entry.pty = 10;
    entry.tp = 1;
    entry.ta = 0;
    entry.link = 0xabc;
    QCOMPARE(eonToText(entry), QStringLiteral("5 d312 10 1 0 abc"));
    EON back;
    eonFromText(back, eonToText(entry));
    QCOMPARE(back, entry);
}

void TestListCodecs::eonReaderKeepsWhatTextLacks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<EON>("expected");
    EON start;
    start.channel = 1;
    start.pi = 2;
    start.pty = 3;
    start.tp = 1;
    start.ta = 1;
    start.link = 6;

    EON two = start;
    two.channel = 7;
    two.pi = 0xcafe;
    QTest::newRow("two fields") << "7 cafe" << two;

    EON wide = start;
    wide.channel = 0x2c; // 300 cut to eight bits
    wide.pi = 0x2345;
    wide.pty = 0;
    QTest::newRow("cut to the field widths") << "300 12345 x" << wide;
}

void TestListCodecs::eonReaderKeepsWhatTextLacks()
{
    QFETCH(QString, text);
    QFETCH(EON, expected);
    EON entry;
    entry.channel = 1;
    entry.pi = 2;
    entry.pty = 3;
    entry.tp = 1;
    entry.ta = 1;
    entry.link = 6;
    eonFromText(entry, text);
    QCOMPARE(entry, expected);
}

QTEST_GUILESS_MAIN(TestListCodecs)
#include "tst_listcodecs.moc"
