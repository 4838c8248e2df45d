#pragma once

#include <QString>
#include <QtGlobal>

// What a channel plays: a sine tone, a ramp between two tones, or a file
// (which may name a playlist as "playlist.N").
struct AudioSource
{
    enum Type
    {
        Sine = 0,
        Ramp = 1,
        File = 2
    };

    bool used = true;
    qint32 type = Sine;
    quint16 time = 6;   // s, ramp duration
    quint16 frq1 = 440; // Hz
    quint16 frq2 = 880; // Hz
    quint16 vol1 = 40;  // %
    quint16 vol2 = 40;  // %
    QString file;
    QString name;

    bool operator==(const AudioSource&) const = default;
};
