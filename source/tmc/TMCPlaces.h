#pragma once

#include "tmc/TMCLocationRecord.h"

#include <QByteArrayList>
#include <QString>

// Loader and lookup of the TMC location list (one "LCL*.csv" file).
class TMCPlaces
{
public:
    // The file to load: the last "LCL*.csv" of the folder by name; empty
    // when there is none.
    static QString locationFile(const QString& listsDir);
    // Fills the location table; returns the header row (lower case, split
    // at ';'), empty when the file has none.
    static QByteArrayList loadLocations(const QString& path);
    static void clear();
    static QString placeText(quint16 code);
    // Splits the line into fields and other, once.
    static void parse(TMCLocationRecord& record);
};
