// Datagrams written in one go, on a connected pair of local datagram
// sockets: order kept, limits refused, and what the kernel does not take
// waits unchanged for the next flush.
#include "board/DatagramBatch.h"

#include <QTest>

#include <sys/socket.h>
#include <unistd.h>

#include <memory>

namespace {

// The byte string of datagram i: its number, then as many bytes as it is
// long.
QByteArray datagram(int i, int length = 100)
{
    QByteArray bytes(length, char('a' + i % 26));
    bytes[0] = char(i);
    return bytes;
}

class SocketPair
{
public:
    SocketPair()
    {
        ::socketpair(AF_UNIX, SOCK_DGRAM, 0, ends);
        // The smallest send buffer the kernel allows holds a few datagrams
        // that the peer has not read.
        const int smallest = 1;
        ::setsockopt(ends[0], SOL_SOCKET, SO_SNDBUF, &smallest, sizeof smallest);
    }
    ~SocketPair()
    {
        ::close(ends[0]);
        ::close(ends[1]);
    }
    int sender() const { return ends[0]; }
    // The datagrams waiting at the far end, oldest first.
    QList<QByteArray> receiveAll() const
    {
        QList<QByteArray> all;
        char buffer[2048];
        for (;;) {
            const auto n = ::recv(ends[1], buffer, sizeof buffer, MSG_DONTWAIT);
            if (n < 0)
                return all;
            all.append(QByteArray(buffer, int(n)));
        }
    }

private:
    int ends[2] = {-1, -1};
};

} // namespace

class TestDatagramBatch : public QObject
{
    Q_OBJECT

private slots:
    void flushSendsInOrder();
    void refusesWhatDoesNotFit();
    void untakenDatagramsWaitUnchanged();
    void badSocketKeepsEverything();
};

void TestDatagramBatch::flushSendsInOrder()
{
    SocketPair pair;
    DatagramBatch batch;
    QList<QByteArray> written;
    for (int i = 0; i < 5; ++i) {
        written.append(datagram(i, 100 + i));
        QVERIFY(batch.add(written.last().constData(), int(written.last().size())));
    }
    QCOMPARE(batch.flush(pair.sender()), 5);
    QVERIFY(batch.isEmpty());
    QCOMPARE(pair.receiveAll(), written);
    QCOMPARE(batch.flush(pair.sender()), 0);
}

void TestDatagramBatch::refusesWhatDoesNotFit()
{
    DatagramBatch batch;
    const QByteArray tooLong = datagram(0, DatagramBatch::kMaxBytes + 1);
    QVERIFY(!batch.add(tooLong.constData(), int(tooLong.size())));
    const QByteArray largest = datagram(0, DatagramBatch::kMaxBytes);
    for (int i = 0; i < DatagramBatch::kMaxDatagrams; ++i)
        QVERIFY(batch.add(largest.constData(), int(largest.size())));
    QVERIFY(!batch.add(largest.constData(), 1));
    QCOMPARE(batch.size(), DatagramBatch::kMaxDatagrams);
}

// With its smallest send buffer a local datagram socket takes only a few
// datagrams while its peer does not read; the rest wait and leave,
// unchanged and in order, once it has.
void TestDatagramBatch::untakenDatagramsWaitUnchanged()
{
    SocketPair pair;
    DatagramBatch batch;
    QList<QByteArray> written;
    for (int i = 0; i < DatagramBatch::kMaxDatagrams; ++i) {
        written.append(datagram(i));
        QVERIFY(batch.add(written.last().constData(), int(written.last().size())));
    }
    const int first = batch.flush(pair.sender());
    QVERIFY(first > 0);
    QVERIFY2(first < DatagramBatch::kMaxDatagrams, "the peer took every datagram at once");
    QCOMPARE(batch.size(), DatagramBatch::kMaxDatagrams - first);
    QCOMPARE(batch.error(), EAGAIN);
    QList<QByteArray> received = pair.receiveAll();
    // Each flush after the peer has read sends some more.
    while (!batch.isEmpty()) {
        const int sent = batch.flush(pair.sender());
        QVERIFY(sent > 0);
        received += pair.receiveAll();
    }
    QCOMPARE(received, written);
}

void TestDatagramBatch::badSocketKeepsEverything()
{
    DatagramBatch batch;
    const QByteArray one = datagram(1);
    QVERIFY(batch.add(one.constData(), int(one.size())));
    QCOMPARE(batch.flush(-1), -1);
    QCOMPARE(batch.error(), EBADF);
    QCOMPARE(batch.size(), 1);
}

QTEST_GUILESS_MAIN(TestDatagramBatch)
#include "tst_datagrambatch.moc"
