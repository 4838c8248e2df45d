#include "country/ECC.h"

#include "gui/UiGerman.h"

QString ECC::name() const
{
    return uiGerman && !nameDe.isEmpty() ? nameDe : nameEn;
}
