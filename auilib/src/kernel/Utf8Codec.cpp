#include "Utf8Codec.h"

#include <cstdint>

namespace AUILib::Utf8Codec {

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0u) == 0x80u;
}

// Decodes one character at `data[position]`; returns its length, or 0 when the bytes there are
// not a valid sequence.
std::size_t DecodeOne(const unsigned char* data, std::size_t length, std::size_t position, char32_t& out)
{
    const unsigned char lead = data[position];
    std::size_t count;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80u) {
        out = lead;
        return 1;
    } else if ((lead & 0xE0u) == 0xC0u) {
        count = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0u) == 0xE0u) {
        count = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8u) == 0xF0u) {
        count = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (length - position < count)
        return 0;
    for (std::size_t i = 1; i < count; ++i) {
        const unsigned char next = data[position + i];
        if (!IsContinuation(next))
            return 0;
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    out = value;
    return count;
}

} // namespace

std::optional<std::wstring> Decode(const char* data, std::size_t length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    std::wstring text;
    text.reserve(length);
    for (std::size_t position = 0; position < length;) {
        char32_t value = 0;
        const std::size_t used = DecodeOne(bytes, length, position, value);
        if (used == 0)
            return std::nullopt;
        text.push_back(static_cast<wchar_t>(value));
        position += used;
    }
    return text;
}

std::optional<std::wstring> Decode(const std::string& bytes)
{
    return Decode(bytes.data(), bytes.size());
}

std::optional<std::string> Encode(const std::wstring& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const wchar_t character : text) {
        const auto value = static_cast<std::uint32_t>(character);
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return std::nullopt;
        if (value < 0x80) {
            bytes.push_back(static_cast<char>(value));
        } else if (value < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (value >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else if (value < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (value >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (value >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
    }
    return bytes;
}

std::wstring DecodeLenient(const std::string& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::wstring text;
    text.reserve(bytes.size());
    for (std::size_t position = 0; position < bytes.size();) {
        char32_t value = 0;
        std::size_t used = DecodeOne(data, bytes.size(), position, value);
        if (used == 0) {
            value = data[position];
            used = 1;
        }
        text.push_back(static_cast<wchar_t>(value));
        position += used;
    }
    return text;
}

} // namespace AUILib::Utf8Codec
