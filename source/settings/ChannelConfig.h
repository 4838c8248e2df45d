#pragma once

#include <QtGlobal>

// Settings of one channel (1..96), assembled from the keys of "channel.N".
struct ChannelConfig
{
    qint32 channel = 0;
    bool used = false;
    bool mute = false;
    bool mono = false;
    double freq = 87.5; // MHz
    qint8 gain = 0;     // dB, 0 (full power) down to -60
    qint8 volm = 40;    // %, linear
    qint32 idaudio = 0;
    qint32 idrds = 0;
    qint32 devi = 75; // kHz
    qint32 emph = 1;  // 0 none, 1 50 µs, 2 75 µs
    qint32 rate = 44100;
    bool autoRate = false; // key "auto"

    // The frequency a channel has until its project sets one, in MHz.
    static double defaultFrequency(int channel);
};
