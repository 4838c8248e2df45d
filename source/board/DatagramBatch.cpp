#include "board/DatagramBatch.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/uio.h>

bool DatagramBatch::add(const char* data, int length)
{
    if (count == kMaxDatagrams || length < 0 || length > kMaxBytes)
        return false;
    std::memcpy(storage[count].data(), data, size_t(length));
    lengths[count] = length;
    ++count;
    return true;
}

void DatagramBatch::dropFront(int sent)
{
    for (int i = sent; i < count; ++i) {
        std::memcpy(storage[i - sent].data(), storage[i].data(), size_t(lengths[i]));
        lengths[i - sent] = lengths[i];
    }
    count -= sent;
}

#ifdef Q_OS_LINUX

int DatagramBatch::flush(qintptr descriptor)
{
    std::array<iovec, kMaxDatagrams> parts{};
    std::array<mmsghdr, kMaxDatagrams> messages{};
    for (int i = 0; i < count; ++i) {
        parts[i] = iovec{storage[i].data(), size_t(lengths[i])};
        messages[i].msg_hdr.msg_iov = &parts[i];
        messages[i].msg_hdr.msg_iovlen = 1;
    }
    int sent = 0;
    while (sent < count) {
        const int n = ::sendmmsg(int(descriptor), messages.data() + sent, unsigned(count - sent),
                                 MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            lastError = n < 0 ? errno : 0;
            break;
        }
        sent += n;
    }
    const bool failed = sent == 0 && count > 0;
    dropFront(sent);
    return failed ? -1 : sent;
}

#else

// Elsewhere one call per datagram, with the same contract.
int DatagramBatch::flush(qintptr descriptor)
{
    int sent = 0;
    while (sent < count) {
        const auto n = ::send(int(descriptor), storage[sent].data(), size_t(lengths[sent]), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            lastError = errno;
            break;
        }
        ++sent;
    }
    const bool failed = sent == 0 && count > 0;
    dropFront(sent);
    return failed ? -1 : sent;
}

#endif
