#pragma once

#include "settings/KeyInfo.h"

#include <QMap>

// The one process-wide table of every schema key ("channel.freq",
// "rds.eon.af", "tmc."). Built by FMSettings::defineKeys for every opened
// project; only the bounds of "channel.freq" change afterwards, with the band.
class ParameterSchema
{
public:
    static constexpr int kEntryCount = 146;

    static void define();
    static const QMap<QString, KeyInfo>& entries();
    static bool contains(const QString& schemaKey);
    static KeyInfo info(const QString& schemaKey);
    // Bounds of "channel.freq" for band 0 (EU), 1 (Japan) or 2 (Brazil).
    static void setBandBounds(int band);

private:
    static QMap<QString, KeyInfo>& table();
};
