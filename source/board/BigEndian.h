#pragma once

#include <QByteArray>
#include <QtGlobal>

// Header fields and command items of the board link are big-endian.
namespace BigEndian {

inline void append16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
}

inline void append32(QByteArray& bytes, quint32 value)
{
    append16(bytes, quint16(value >> 16));
    append16(bytes, quint16(value & 0xFFFF));
}

} // namespace BigEndian
