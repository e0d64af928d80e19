#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_StringL.h"
#include "strings/CZR_TextBuf.h"
#include "strings/CZR_WideString.h"

// Incremental, lenient UTF-8 decoder for sequences of up to six bytes; once its buffer cannot
// grow it stops and reports the failure until it is cleared.
class CZR_UTF8Decoder
{
public:
    explicit CZR_UTF8Decoder(_IZR_Allocator* allocator = nullptr) : m_Buffer(allocator) {}

    void Input(unsigned char b);
    // A run of bytes below 0x80, appended as they are.
    void InputAscii(const unsigned char* bytes, int count);
    void AppendChar(unsigned c);
    // Forgets a sequence whose continuation bytes have not all arrived.
    void DropPartial() { m_PendingBytes = 0; }
    void Clear();
    bool Failed() const { return m_Failed; }
    CZR_WideStringC GetResult() const { return m_Buffer.GetWideString(); }

private:
    int m_PendingBytes = 0;
    unsigned m_PartialChar = 0;
    CZR_WideTextBuf m_Buffer;
    bool m_Failed = false;
};

// The whole text decoded; empty when memory ran out.
CZR_WideString ZR_UTF8Decode(const char* p, int len);

// Incremental UTF-8 encoder; once its buffer cannot grow it stops and reports the failure.
class CZR_UTF8Encoder
{
public:
    explicit CZR_UTF8Encoder(_IZR_Allocator* allocator = nullptr) : m_Buffer(allocator) {}

    void Input(wchar_t c);
    bool Failed() const { return m_Failed; }
    CZR_ByteStringC GetResult() const { return m_Buffer.GetByteString(); }

private:
    void AppendByte(unsigned char b);

    CZR_ByteTextBuf m_Buffer;
    bool m_Failed = false;
};

// The whole text in UTF-8 (len < 0: measured); empty when the input is empty or memory ran out.
CZR_ByteString ZR_UTF8Encode(const wchar_t* p, int len);
void ZR_UTF8Encode(const wchar_t* p, int len, CZR_ByteStringL& out, _IZR_Allocator* allocator);
