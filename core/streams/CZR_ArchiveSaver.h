#pragma once

#include "strings/CZR_BinaryBuf.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"
#include "streams/IZR_Streams.h"

// Writes typed values in the archive layout: little-endian numbers, strings as a 32-bit length
// and their bytes, wide strings as terminated UTF-16LE byte strings. Values go to the attached
// stream when there is one, otherwise into the saver's own buffer; a value that cannot be stored
// is dropped whole.
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

    const unsigned char* GetBuffer() const { return m_SavingBuf.GetBuffer(); }
    int GetLength() const { return m_SavingBuf.GetSize(); }

private:
    void Store(const void* first, int firstSize, const void* second = nullptr, int secondSize = 0);
    void StoreNumber(uint64_t value, int size);

    CZR_BinaryBuf m_SavingBuf;
    IZR_FileStream* m_pStream;
};
