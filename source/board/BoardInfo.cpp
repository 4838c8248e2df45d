#include "board/BoardInfo.h"

BoardType BoardInfo::typeOf(quint32 tag)
{
    switch (tag) {
    case kTagQRV4:
        return BoardType::QRV4;
    case kTagKXWB:
        return BoardType::KXWB;
    case kTagKXWBLower:
        return BoardType::KXWBLower;
    default:
        return BoardType::Unknown;
    }
}

QString BoardInfo::serialText() const
{
    if (number == 0)
        return QStringLiteral("#???");
    return QStringLiteral("#%1").arg(number, 3, 10, QLatin1Char('0'));
}
