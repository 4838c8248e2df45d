#pragma once

#include <QList>
#include <QtGlobal>

// One TMC message row: two flag bytes, event and location code, send state
// and the optional-content labels.
struct TMCMessage
{
    enum SendState : quint8 { No = 0, Yes = 1, Cancel = 2 };

    quint8 flag0 = 0;
    quint8 flag1 = 0;
    quint16 event = 0;
    quint16 location = 0;
    quint8 send = No;
    QList<quint32> labels;

    bool operator==(const TMCMessage&) const = default;
};
