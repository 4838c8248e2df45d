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
    return {};
}
