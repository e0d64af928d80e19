#include "ProcessLocale.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>

void selectUtf8Locale()
{
    if (!std::setlocale(LC_ALL, ""))
        std::setlocale(LC_ALL, "C");
    const char* codeset = nl_langinfo(CODESET);
    if (!codeset || std::strcmp(codeset, "UTF-8") != 0)
        std::setlocale(LC_ALL, "C.UTF-8");
}
