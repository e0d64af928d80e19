#pragma once

#include <cstdint>

// Byte classes of the parser, one table entry per byte value.
enum : uint8_t
{
    ZRXML_WhiteSpace = 0x01,
    ZRXML_Letter = 0x02,
    ZRXML_Digit = 0x04,
    ZRXML_NameIntro = 0x08,
    ZRXML_NameChar = 0x10,
    ZRXML_HexDigit = 0x20,
    ZRXML_HexLetter = 0x40,
};

extern const uint8_t g_ZRCRT_XML_ByteTypes[256];

inline bool g_ZRCRT_XML_IsWhiteSpace(uint8_t b) { return g_ZRCRT_XML_ByteTypes[b] & ZRXML_WhiteSpace; }
inline bool g_ZRCRT_XML_IsLetter(uint8_t b) { return g_ZRCRT_XML_ByteTypes[b] & ZRXML_Letter; }
inline bool g_ZRCRT_XML_IsDigital(uint8_t b) { return g_ZRCRT_XML_ByteTypes[b] & ZRXML_Digit; }
inline bool g_ZRCRT_XML_IsNameIntro(uint8_t b) { return g_ZRCRT_XML_ByteTypes[b] & ZRXML_NameIntro; }
inline bool g_ZRCRT_XML_IsNameChar(uint8_t b) { return g_ZRCRT_XML_ByteTypes[b] & ZRXML_NameChar; }
inline bool g_ZRCRT_XML_IsHexChar(uint8_t b) { return g_ZRCRT_XML_ByteTypes[b] & (ZRXML_HexDigit | ZRXML_HexLetter); }
