#pragma once

#include <QByteArray>

// How both TCP servers name the program in their greeting.
namespace ProductInfo {

inline constexpr char kProduct[] = "Quorvin Generator ";
inline constexpr char kVersion[] = "v4.66";

// "modul.info Quorvin Generator v4.66"
inline QByteArray infoLine()
{
    return QByteArray("modul.info ") + kProduct + kVersion;
}

} // namespace ProductInfo
