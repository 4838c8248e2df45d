// How the client cuts what a server sends into lines.
#include "client/ReceiveBuffer.h"

#include <QTest>

class TestReceiveBuffer : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void roomNeverRunsOut();
};

void TestReceiveBuffer::lines_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QStringList>("lines");
    const QByteArray long1100(1100, 'x');
    const QByteArray exactly1000(1000, 'y');
    QTest::newRow("CR LF, LF CR and NUL in one read")
        << QList<QByteArray>{QByteArray("one\r\ntwo\n\rthree\0", 16)}
        << QStringList{"one", "two", "three"};
    QTest::newRow("CR LF NUL is one line end")
        << QList<QByteArray>{QByteArray("a\r\n\0b\r\n", 7)} << QStringList{"a", "b"};
    QTest::newRow("line end run split across reads")
        << QList<QByteArray>{"a\r", "\nb\n"} << QStringList{"a", "b"};
    QTest::newRow("line split across reads")
        << QList<QByteArray>{"REG o", "k: rds\r\n"} << QStringList{"REG ok: rds"};
    QTest::newRow("unfinished line waits") << QList<QByteArray>{"half"} << QStringList{};
    QTest::newRow("1100 bytes without an end drop up to the next end")
        << QList<QByteArray>{long1100.left(1000), long1100.mid(1000), "\r\nok\r\n"}
        << QStringList{"ok"};
    QTest::newRow("1100 bytes and their end in one read")
        << QList<QByteArray>{long1100 + "\r\nok\r\n"} << QStringList{"ok"};
    QTest::newRow("a line of 1000 bytes is kept")
        << QList<QByteArray>{exactly1000 + "\n"} << QStringList{QString::fromLatin1(exactly1000)};
    QTest::newRow("UTF-8 character split across reads")
        << QList<QByteArray>{"Kommando ausf\xc3", "\xbchren\n"}
        << QStringList{QStringLiteral("Kommando ausf\u00fchren")};
}

void TestReceiveBuffer::lines()
{
    QFETCH(QList<QByteArray>, reads);
    ReceiveBuffer buffer;
    QStringList lines;
    for (const QByteArray& read : reads) {
        // As the socket hands them over: never more than there is room for.
        for (qsizetype at = 0; at < read.size();) {
            const QByteArray chunk = read.mid(at, buffer.room());
            lines += buffer.take(chunk);
            at += chunk.size();
        }
    }
    QTEST(lines, "lines");
}

void TestReceiveBuffer::roomNeverRunsOut()
{
    // A sender that never ends a line must not stall the reader.
    ReceiveBuffer buffer;
    for (int i = 0; i < 50; ++i) {
        QVERIFY(buffer.room() > 0);
        buffer.take(QByteArray(buffer.room(), 'z'));
    }
    QCOMPARE(buffer.take("\nlast\n"), QStringList{"last"});
}

QTEST_GUILESS_MAIN(TestReceiveBuffer)
#include "tst_receivebuffer.moc"
