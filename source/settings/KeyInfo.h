#pragma once

#include <QString>

// Schema entry of one key: value type, inclusive bounds, step, unit and help.
struct KeyInfo
{
    enum Type : int
    {
        None = 0,
        Integer = 1, // a flag when the bounds are 0 and 1
        Double = 2,
        String = 3, // the bounds limit the length
        IdLink = 4, // number of another record; unit names its family
        Hex = 5,
        List = 0x100, // flag: a blank-separated list of values of the low byte's type
    };

    int type = None;
    double min = 0;
    double max = 0;
    double step = 0; // for a list: values in one item
    QString unit;
    QString help;

    int valueType() const { return type & 0xff; }
    bool isList() const { return (type & List) != 0; }
    bool hasRange() const { return min != 0 || max != 0; }
    bool isFlag() const { return valueType() == Integer && min == 0 && max == 1; }
};
