#pragma once

#include <locale.h>

// The "C" locale object, made once for the process; null when it cannot be made.
locale_t ZR_GetCLocale();
