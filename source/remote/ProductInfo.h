#pragma once

#include <QByteArray>

// How the program names itself: in both TCP servers' greeting, the
// window title, the About box and the update notice.
namespace ProductInfo {

inline constexpr char kProduct[] = "Quorvin Generator ";
inline constexpr char kVersion[] = "v4.66";
// Reserved for examples: no real site answers here until the product has
// its own page.
inline constexpr char kProductPage[] = "https://quorvin.example/";

// "modul.info Quorvin Generator v4.66"
inline QByteArray infoLine()
{
    return QByteArray("modul.info ") + kProduct + kVersion;
}

} // namespace ProductInfo
