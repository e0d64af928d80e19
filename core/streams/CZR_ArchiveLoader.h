#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

// Reads values in the layout CZR_ArchiveSaver writes from a memory block it does not own. A value
// that the remaining bytes cannot hold is not read: the target and the position stay as they were.
class CZR_ArchiveLoader
{
public:
    CZR_ArchiveLoader(const unsigned char* data, unsigned int size);

    bool IsEOF() const { return m_LoadingPos >= m_LoadingSize; }

    CZR_ArchiveLoader& operator>>(unsigned char& value);
    CZR_ArchiveLoader& operator>>(bool& value);
    CZR_ArchiveLoader& operator>>(int& value);
    CZR_ArchiveLoader& operator>>(unsigned int& value);
    CZR_ArchiveLoader& operator>>(float& value);
    CZR_ArchiveLoader& operator>>(long long& value);
    CZR_ArchiveLoader& operator>>(CZR_ByteString& text);
    CZR_ArchiveLoader& operator>>(CZR_WideString& text);
    // Copies the next `size` bytes (a null buffer skips them); false when fewer remain.
    bool Read(void* buffer, unsigned int size);

private:
    unsigned int Remaining() const { return IsEOF() ? 0 : m_LoadingSize - m_LoadingPos; }
    bool ReadNumber(uint64_t& value, unsigned int size);
    // The bytes of the next length-prefixed string, or false (nothing consumed) when they do not fit.
    bool ReadBlock(const unsigned char*& bytes, unsigned int& length);

    unsigned int m_LoadingPos;
    const unsigned char* m_pLoadingBuf;
    unsigned int m_LoadingSize;
};
