#pragma once

#include "strings/CZR_BinaryBuf.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"
#include "streams/IZR_Streams.h"

// Writes typed values in the archive layout: little-endian numbers, strings as a 32-bit length
// and their bytes, wide strings as terminated UTF-16LE byte strings. Values go to the attached
// stream when there is one, otherwise into the saver's own buffer. A value that cannot be stored
// fails the saver: it and every later value are dropped whole, so what was stored still lines up
// with what a loader expects, and Failed() tells the caller.
class CZR_ArchiveSaver
{
public:
    explicit CZR_ArchiveSaver(IZR_FileStream* stream = nullptr, _IZR_Allocator* allocator = nullptr);
    CZR_ArchiveSaver(const CZR_ArchiveSaver&) = delete;
    CZR_ArchiveSaver& operator=(const CZR_ArchiveSaver&) = delete;

    CZR_ArchiveSaver& operator<<(unsigned char value);
    CZR_ArchiveSaver& operator<<(bool value);
    CZR_ArchiveSaver& operator<<(int value);
    CZR_ArchiveSaver& operator<<(unsigned int value);
    CZR_ArchiveSaver& operator<<(float value);
    CZR_ArchiveSaver& operator<<(long long value);
    CZR_ArchiveSaver& operator<<(const CZR_ByteStringC& text);
    CZR_ArchiveSaver& operator<<(const char* text);
    CZR_ArchiveSaver& operator<<(const CZR_ByteString& text);
    CZR_ArchiveSaver& operator<<(const wchar_t* text);
    CZR_ArchiveSaver& operator<<(const CZR_WideString& text);
    void Write(const void* data, int size);

    bool Failed() const { return m_bFailed; }
    const unsigned char* GetBuffer() const { return m_SavingBuf.GetBuffer(); }
    int GetLength() const { return m_SavingBuf.GetSize(); }

private:
    void Store(const void* first, int firstSize, const void* second = nullptr, int secondSize = 0);
    bool StoreInto(const void* first, int firstSize, const void* second, int secondSize);
    void StoreNumber(uint64_t value, int size);

    CZR_BinaryBuf m_SavingBuf;
    IZR_FileStream* m_pStream;
    bool m_bFailed;
};
