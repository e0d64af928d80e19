#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

// The standard alphabet character at index & 63.
wchar_t ZRCRT_DefBase64Encoder(unsigned index);
// The standard alphabet index of c & 127, or 0xFF for a character outside it.
unsigned char ZRCRT_DefBase64Decoder(wchar_t c);

// Base64 without line breaks. The byte-array form always writes the standard alphabet with '='
// padding; the wide and string forms use the installed alphabet and the padding character. Every
// form answers 0 (and writes nothing) for an input whose encoding would exceed 2^31 - 1 characters.
class CZR_Base64Encoder
{
public:
    explicit CZR_Base64Encoder(wchar_t padding = L'=');

    void SetEncoder(wchar_t (*encoder)(unsigned index)) { m_pEncoder = encoder; }

    // A null dst asks only for the size.
    int Encode(const unsigned char* src, int n, char* dst);
    int Encode(const unsigned char* src, int n, wchar_t* dst);
    int Encode(const CZR_ByteStringC& src, CZR_WideString& dst);
    // The wide encoding in UTF-8; returns dst's length.
    int Encode(const CZR_ByteStringC& src, CZR_ByteString& dst);

private:
    wchar_t (*m_pEncoder)(unsigned index);
    wchar_t m_Padding;
};

// Base64 decoding that drops trailing padding and mixes characters outside the alphabet in as
// 0xFF rather than rejecting them. The byte-array form looks characters up in the standard table
// and drops '='; the wide and string forms use the installed decoder and padding character.
class CZR_Base64Decoder
{
public:
    explicit CZR_Base64Decoder(wchar_t padding = L'=');

    void SetDecoder(unsigned char (*decoder)(wchar_t c)) { m_pDecoder = decoder; }

    // A null dst asks only for the size.
    int Decode(const char* src, int n, unsigned char* dst);
    int Decode(const wchar_t* src, int n, unsigned char* dst);
    int Decode(const CZR_WideStringC& src, CZR_ByteString& dst);
    // The source is UTF-8 text.
    int Decode(const CZR_ByteStringC& src, CZR_ByteString& dst);

private:
    unsigned char (*m_pDecoder)(wchar_t c);
    wchar_t m_Padding;
};
