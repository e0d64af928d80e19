#pragma once

#include <string>

namespace AUILib {

// A text handed to a text control ends at its first NUL, as the C string it stands for would.
inline std::wstring UntilNul(const std::wstring& text)
{
    return text.substr(0, text.find(L'\0'));
}

} // namespace AUILib
