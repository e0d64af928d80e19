#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace AUILib::Utf8Codec {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. A byte-order mark is
// an ordinary character here.
std::optional<std::wstring> Decode(const char* data, std::size_t length);
std::optional<std::wstring> Decode(const std::string& bytes);
std::optional<std::string> Encode(const std::wstring& text);

// Valid sequences decoded, every other byte taken as Latin-1: for texts that may be either.
std::wstring DecodeLenient(const std::string& bytes);

} // namespace AUILib::Utf8Codec
