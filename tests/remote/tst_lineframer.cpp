// Line framing of the TCP text servers, however the bytes are split.
#include "remote/LineFramer.h"

#include <QTest>

namespace {

// Feeds the chunks in turn; a dropped line shows as "<too long>".
QStringList framed(const QList<QByteArray>& chunks, int maxLine = 32)
{
    LineFramer framer(maxLine);
    QStringList lines;
    for (const QByteArray& chunk : chunks)
        for (const LineFramer::Line& line : framer.feed(chunk))
            lines.append(line.tooLong ? QStringLiteral("<too long>")
                                      : QString::fromUtf8(line.bytes));
    return lines;
}

} // namespace

class TestLineFramer : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void everySplitGivesTheSameLines();
};

void TestLineFramer::lines_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF then LF")
        << QList<QByteArray>{"GET a\r\nSET b 1\n"} << QStringList{"GET a", "SET b 1"};
    QTest::newRow("CR alone and NUL")
        << QList<QByteArray>{QByteArray("A\rB\0", 4)} << QStringList{"A", "B"};
    QTest::newRow("CR LF and LF CR are one line end")
        << QList<QByteArray>{"A\r\nB\n\rC\n"} << QStringList{"A", "B", "C"};
    QTest::newRow("LF LF holds an empty line")
        << QList<QByteArray>{"A\n\nB\n"} << QStringList{"A", "", "B"};
    QTest::newRow("CR LF CR LF holds an empty line")
        << QList<QByteArray>{"A\r\n\r\nB\n"} << QStringList{"A", "", "B"};
    QTest::newRow("LF CR LF holds an empty line")
        << QList<QByteArray>{"A\n\r\nB\n"} << QStringList{"A", "", "B"};
    QTest::newRow("every other run of line ends holds empty lines")
        << QList<QByteArray>{QByteArray("A\r\n\0\0B\r\rC\n", 10)}
        << QStringList{"A", "", "", "B", "", "C"};
    QTest::newRow("LF LF split across reads")
        << QList<QByteArray>{"A\n", "\nB\n"} << QStringList{"A", "", "B"};
    QTest::newRow("line split across reads") << QList<QByteArray>{"SET chan", "nel.1.freq 95.8\r\n"}
                                             << QStringList{"SET channel.1.freq 95.8"};
    QTest::newRow("CR LF split across reads")
        << QList<QByteArray>{"A\r", "\nB\r", "\n"} << QStringList{"A", "B"};
    QTest::newRow("unfinished line is held") << QList<QByteArray>{"A\nB"} << QStringList{"A"};
    QTest::newRow("empty line at the start") << QList<QByteArray>{"\nA\n"} << QStringList{"", "A"};
    QTest::newRow("line of the maximum length")
        << QList<QByteArray>{QByteArray(32, 'x') + "\n"} << QStringList{QString(32, 'x')};
    QTest::newRow("too long line dropped to its end")
        << QList<QByteArray>{QByteArray(33, 'x'), QByteArray(40, 'y') + "\nOK\n"}
        << QStringList{"<too long>", "OK"};
    QTest::newRow("too long line without any end")
        << QList<QByteArray>{QByteArray(100, 'x'), QByteArray(100, 'x')}
        << QStringList{"<too long>"};
    QTest::newRow("binary junk") << QList<QByteArray>{QByteArray("\xff\xfe\x01\n", 4), "A\n"}
                                 << QStringList{QString::fromUtf8("\xff\xfe\x01"), "A"};
}

void TestLineFramer::lines()
{
    QFETCH(QList<QByteArray>, chunks);
    QTEST(framed(chunks), "lines");
}

void TestLineFramer::everySplitGivesTheSameLines()
{
    static const char kStream[] = "GET rds.1.ps\r\nSET channel.1.freq 95.8\r\n\r\nHELP\n\0VER\r";
    const QByteArray stream(kStream, sizeof(kStream) - 1);
    const QStringList whole = framed({stream}, 64);
    QCOMPARE(whole,
             (QStringList{"GET rds.1.ps", "SET channel.1.freq 95.8", "", "HELP", "", "VER"}));
    for (int cut = 1; cut < stream.size(); ++cut)
        QCOMPARE(framed({stream.left(cut), stream.mid(cut)}, 64), whole);
}

QTEST_GUILESS_MAIN(TestLineFramer)
#include "tst_lineframer.moc"
