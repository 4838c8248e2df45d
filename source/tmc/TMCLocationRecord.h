#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// One location code line; fields and other are filled on first display.
struct TMCLocationRecord
{
    quint16 code = 0;
    QByteArray line;
    QByteArray other;
    QList<QByteArray> fields;
};
