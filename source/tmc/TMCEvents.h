#pragma once

#include "tmc/TMCEventRecord.h"

#include <QString>

// Loaders and lookups of the TMC event, forecast and supplementary
// information lists ("lists/ECL401.csv", "lists/forecast.csv",
// "lists/suppinfo.csv").
class TMCEvents
{
public:
    static constexpr quint16 kNoCancellation = 128;

    // Column shift 0 for the event list, 1 for the forecast list.
    static void loadEvents(const QString& path, int columnShift);
    static void loadSuppInfo(const QString& path);
    // The three event files of a lists folder, in their order.
    static void loadLists(const QString& listsDir);
    // Empties the event, cancellation and supplementary tables.
    static void clear();

    static TMCEventRecord eventRecord(quint16 code);
    // The cancellation event of the code's update class; 128 when there is
    // none or the code is unknown.
    static quint16 eventInfo(quint16 code);
    static QString eventText(quint16 code);
    static QString durationText(quint16 code, int value);
    static QString quantifierText(quint16 code, int value);
    // The text in German (german) or English; empty when unknown.
    static QString suppInfoText(quint16 code, bool german);

private:
    static int firstCancellation(int updateClass); // -1 when none
};
