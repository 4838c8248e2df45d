#pragma once

#include <QtGlobal>

#include <array>

// Datagrams that leave in one go: the stream datagrams of a fill tick take
// one system call (sendmmsg) instead of one each. What the kernel does not
// take stays, in order, for the next flush and goes out unchanged.
class DatagramBatch
{
public:
    static constexpr int kMaxDatagrams = 64;
    // The largest datagram: an RDS stream datagram of four streams.
    static constexpr int kMaxBytes = 8 + 1040;

    // False when the batch is full or the datagram too long.
    bool add(const char* data, int length);
    // Sends what waits on a connected datagram socket. Returns the number of
    // datagrams sent; -1 when none went and some wait (error() tells why).
    int flush(qintptr descriptor);
    void clear() { count = 0; }
    int size() const { return count; }
    bool isEmpty() const { return count == 0; }
    int error() const { return lastError; }

private:
    void dropFront(int sent);

    std::array<std::array<char, kMaxBytes>, kMaxDatagrams> storage{};
    std::array<int, kMaxDatagrams> lengths{};
    int count = 0;
    int lastError = 0;
};
