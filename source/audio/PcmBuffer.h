#pragma once

#include <QtGlobal>

#include <atomic>

// One of the two hand-over buffers between a decode thread and the board
// thread. Ownership travels with the stamp: while it is 0 only the decode
// thread touches the buffer, while it is not 0 only the reader does. The stamp
// is stored with release order after fill, readPos and the data, and loaded
// with acquire order before them.
struct PcmBuffer
{
    // 3 s of 44.1 kHz 16-bit stereo.
    static constexpr qint32 kBytes = 529200;

    char data[kBytes];
    std::atomic<qint32> readPos{0};
    std::atomic<qint32> fill{0};
    std::atomic<qint32> stamp{0};
    // Channels of the song the data was decoded from (1 mono, 2 stereo):
    // a buffer holds PCM of one song only, so the reader knows the frame
    // size of every byte it takes.
    std::atomic<qint32> channels{2};
    // Value of the decoder's clear generation when this buffer was filled; a
    // later clear makes the reader hand it back unread.
    std::atomic<quint32> generation{0};
};
