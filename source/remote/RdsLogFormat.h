#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// How the control server turns a binary RDS log record (13 packed group
// bytes, then milliseconds since midnight, little-endian) into the readable
// tail of a pushed line. A client chooses up to five parts with
// "SET rdslog time data"; the default is "data group".
class RdsLogFormat
{
public:
    enum class Part
    {
        None,
        Raw,
        Data,
        Time,
        Group
    };
    static constexpr int kSlots = 5;

    RdsLogFormat();

    // Words are separated by single blanks; an empty word or an unknown one
    // leaves its slot empty, words beyond the fifth are ignored.
    void set(const QString& words);
    Part part(int slot) const { return parts.at(slot); }

    // The parts in slot order, each starting with a blank. A part that needs
    // bytes the record does not hold is left out.
    QString format(const QByteArray& record) const;

private:
    static QString rawPart(const QByteArray& record);
    static QString dataPart(const QByteArray& record);
    static QString timePart(const QByteArray& record);
    static QString groupPart(const QByteArray& record);

    std::array<Part, kSlots> parts;
};
