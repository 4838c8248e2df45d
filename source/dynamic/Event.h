#pragma once

#include <QString>
#include <QtGlobal>

// One timed command of the timeline: a key, a blank and a value, at a time in
// milliseconds from the start of the roll.
struct Event
{
    enum RowType : quint8
    {
        Other = 0,
        Channel = 1,
        Audio = 2,
        Playlist = 3,
        Rds = 4,
        Tmc = 5,
        Unclassified = 255,
    };

    Event() = default;
    Event(quint32 time, const QString& command);
    ~Event();

    // Fills type, number and rest from the command: "rds.1.ps hello" is
    // type Rds, number 1, rest "ps hello".
    void classify();

    quint32 time = 0;
    quint8 type = Unclassified;
    qint16 number = 0;
    quint16 line = 0;
    qint32 x = 0;
    qint32 y = 0;
    QString command;
    QString rest;
};
