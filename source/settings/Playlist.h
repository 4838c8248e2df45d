#pragma once

#include <QString>
#include <QStringList>

// A named list of absolute audio file paths in play order.
struct Playlist
{
    QString name;
    QStringList items;

    bool operator==(const Playlist&) const = default;
};
