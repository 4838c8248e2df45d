// The text form under which the application ini keeps a board: whatever a
// user or an older version left there reads as some address, never as a
// crash or a wrapped-around number.
#include "board/BoardIP.h"
#include "board/BoardInfo.h"

#include <QTest>

namespace {

constexpr quint32 k192_168_1_20 = 0xC0A80114;

BoardIP address(quint64 mac48, quint32 ipv4, quint16 port)
{
    BoardIP result;
    for (int i = 0; i < 6; ++i)
        result.mac[i] = quint8(mac48 >> (8 * (5 - i)));
    result.ipv4 = ipv4;
    result.port = port;
    return result;
}

} // namespace

// Readable failures: the whole address, not "<unknown>".
char* toString(const BoardIP& board)
{
    return QTest::toString(QStringLiteral("mac %1 ipv4 %2 port %3")
                               .arg(board.macText())
                               .arg(board.ipv4)
                               .arg(board.port));
}

class TestBoardIP : public QObject
{
    Q_OBJECT

private slots:
    void fromText_data();
    void fromText();
    void textRoundTrip_data();
    void textRoundTrip();
    void serialText_data();
    void serialText();
};

void TestBoardIP::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<BoardIP>("start");
    QTest::addColumn<BoardIP>("expected");

    const BoardIP zero;
    const BoardIP stored = address(0x0A0B0C0D0E0F, 0x7F000001, 4711);

    QTest::newRow("as written") << "258 3232235796 21000" << zero
                                << address(0x0102, k192_168_1_20, 21000);
    QTest::newRow("port 70000 reads as 0")
        << "258 3232235796 70000" << zero << address(0x0102, k192_168_1_20, 0);
    QTest::newRow("port 65535 is the largest") << "1 2 65535" << zero << address(1, 2, 65535);
    QTest::newRow("port 65536 reads as 0") << "1 2 65536" << zero << address(1, 2, 0);
    QTest::newRow("address 2^32 reads as 0") << "1 4294967296 5" << zero << address(1, 0, 5);
    QTest::newRow("address 2^32-1 is the largest")
        << "1 4294967295 5" << zero << address(1, 0xFFFFFFFF, 5);
    QTest::newRow("piece 1 as a 48-bit MAC, most significant byte first")
        << "18838586676582 1 2" << zero << address(0x112233445566, 1, 2);
    QTest::newRow("MAC keeps only the low 48 bits")
        << "18446744073709551615 1 2" << zero << address(0xFFFFFFFFFFFF, 1, 2);
    QTest::newRow("beyond 64 bits reads as 0")
        << "18446744073709551616 1 2" << zero << address(0, 1, 2);
    QTest::newRow("empty pieces read as 0, not as missing")
        << " 3232235796 " << stored << address(0, k192_168_1_20, 0);
    QTest::newRow("two blanks make an empty middle piece")
        << "258  21000" << stored << address(0x0102, 0, 21000);
    QTest::newRow("empty text clears only the MAC") << "" << stored << address(0, 0x7F000001, 4711);
    QTest::newRow("missing pieces keep the start address")
        << "7" << stored << address(7, 0x7F000001, 4711);
    QTest::newRow("pieces beyond the third are ignored") << "1 2 3 4" << zero << address(1, 2, 3);
    QTest::newRow("non-numeric pieces read as 0")
        << "x 192.168.1.20 0x10" << stored << address(0, 0, 0);
    QTest::newRow("signs read as 0") << "+5 -1 +80" << stored << address(0, 0, 0);
    QTest::newRow("a tab is not a separator") << "5\t6 7 8" << zero << address(0, 7, 8);
}

void TestBoardIP::fromText()
{
    QFETCH(QString, text);
    QFETCH(BoardIP, start);
    QFETCH(BoardIP, expected);
    QCOMPARE(BoardIP::fromText(text, start), expected);
}

void TestBoardIP::textRoundTrip_data()
{
    QTest::addColumn<BoardIP>("board");
    QTest::addColumn<QString>("text");

    QTest::newRow("board 258") << address(0x0002030A0102, k192_168_1_20, 21000)
                               << "258 3232235796 21000";
    QTest::newRow("entered by hand, no MAC") << address(0, 0x7F000001, 1) << "0 2130706433 1";
    QTest::newRow("largest values")
        << address(0xFFFFFFFFFFFF, 0xFFFFFFFF, 65535) << "65535 4294967295 65535";
}

// Written and read back, a board keeps address and port; of the MAC only
// the box number survives, as the label on the board shows it.
void TestBoardIP::textRoundTrip()
{
    QFETCH(BoardIP, board);
    QFETCH(QString, text);

    QCOMPARE(board.toText(), text);
    const BoardIP back = BoardIP::fromText(board.toText());
    QCOMPARE(back.ipv4, board.ipv4);
    QCOMPARE(back.port, board.port);
    QCOMPARE(back.boxNumber(), board.boxNumber());
    QCOMPARE(back.mac[0] | back.mac[1] | back.mac[2] | back.mac[3], 0);
}

void TestBoardIP::serialText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("unknown") << 0 << "#???";
    QTest::newRow("one digit zero-filled") << 7 << "#007";
    QTest::newRow("three digits") << 258 << "#258";
    QTest::newRow("more digits are kept") << 65535 << "#65535";
}

void TestBoardIP::serialText()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    BoardInfo info;
    info.number = quint16(number);
    QCOMPARE(info.serialText(), text);
}

QTEST_GUILESS_MAIN(TestBoardIP)
#include "tst_boardip.moc"
