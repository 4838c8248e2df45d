#pragma once

#include <QString>

// One RadioText+ tag: content type and text.
struct RTag
{
    int type = 0;
    QString text;

    bool operator==(const RTag&) const = default;
};
