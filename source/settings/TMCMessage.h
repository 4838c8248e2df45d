#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One TMC message row: duration, extent flags (bits 2-0 extent, bit 3
// direction, bit 4 diversion), event and location code, send state and the
// optional-content labels.
struct TMCMessage
{
    enum SendState : quint8
    {
        No = 0,
        Yes = 1,
        Cancel = 2
    };

    quint8 duration = 0;
    quint8 extentFlags = 0;
    quint16 event = 0;
    quint16 location = 0;
    quint8 send = No;
    QList<quint32> labels;

    bool operator==(const TMCMessage&) const = default;
};

// The line of one message in the project file: "duration extentFlags event
// location send", then one blank and the label per label, all decimal.
QString tmcMessageToText(const TMCMessage& message);
// Never fails: a field that is not an unsigned 32-bit decimal reads as 0 and
// is cut to the width of its field; missing fields are 0.
TMCMessage tmcMessageFromText(const QString& text);
