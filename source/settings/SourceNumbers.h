#pragma once

#include <QMap>

#include <algorithm>
#include <limits>

// Number for a new record of a source map: one above the highest (1 for an
// empty map). A project file may carry a group numbered at the top of the int
// range; then the lowest free number is taken instead of overflowing.
template <typename Record> int nextSourceNumber(const QMap<int, Record>& map)
{
    if (map.isEmpty())
        return 1;
    if (map.lastKey() < std::numeric_limits<int>::max())
        return std::max(map.lastKey() + 1, 1);
    int number = 1;
    while (map.contains(number))
        ++number;
    return number;
}
