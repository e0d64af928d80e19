#pragma once

// Selects the user's locale for the whole process and falls back to "C.UTF-8" when its character
// set is not UTF-8: the system-locale conversions of the core library expect UTF-8, as on macOS.
void selectUtf8Locale();
