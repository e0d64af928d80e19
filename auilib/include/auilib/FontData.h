#pragma once

#include <cstdint>
#include <string>

namespace AUILib {

// A font as the library passes it around; -1 in a field the record does not give.
struct FontData
{
    std::wstring faceName;
    double pointSize = 0;
    std::int32_t bold = -1;
    std::int32_t italic = -1;
    std::int32_t underline = -1;
    std::int32_t specialFont = -1; // 1 for symbol and emoji families
};

} // namespace AUILib
