#include "system/ZRCLocale.h"

locale_t ZR_GetCLocale()
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return cLocale;
}
