#include "streams/CZR_ArchiveLoader.h"

#include <cstring>

CZR_ArchiveLoader::CZR_ArchiveLoader(const unsigned char* data, unsigned int size)
    : m_LoadingPos(0), m_pLoadingBuf(data), m_LoadingSize(data ? size : 0)
{
}

bool CZR_ArchiveLoader::ReadNumber(uint64_t& value, unsigned int size)
{
    if (Remaining() < size)
        return false;
    value = 0;
    for (unsigned int i = 0; i < size; ++i)
        value |= uint64_t(m_pLoadingBuf[m_LoadingPos + i]) << (8 * i);
    m_LoadingPos += size;
    return true;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(unsigned char& value)
{
    uint64_t number;
    if (ReadNumber(number, 1))
        value = static_cast<unsigned char>(number);
    return *this;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(bool& value)
{
    uint64_t number;
    if (ReadNumber(number, 1))
        value = number != 0;
    return *this;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(int& value)
{
    uint64_t number;
    if (ReadNumber(number, 4))
        value = int(uint32_t(number));
    return *this;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(unsigned int& value)
{
    uint64_t number;
    if (ReadNumber(number, 4))
        value = uint32_t(number);
    return *this;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(float& value)
{
    uint64_t number;
    if (ReadNumber(number, 4)) {
        uint32_t bits = uint32_t(number);
        memcpy(&value, &bits, sizeof value);
    }
    return *this;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(long long& value)
{
    uint64_t number;
    if (ReadNumber(number, 8))
        value = (long long)number;
    return *this;
}

bool CZR_ArchiveLoader::ReadBlock(const unsigned char*& bytes, unsigned int& length)
{
    uint64_t stored;
    unsigned int start = m_LoadingPos;
    if (!ReadNumber(stored, 4))
        return false;
    int32_t signedLength = int32_t(uint32_t(stored));
    if (signedLength < 0 || Remaining() < unsigned(signedLength)) {
        m_LoadingPos = start;
        return false;
    }
    bytes = m_pLoadingBuf + m_LoadingPos;
    length = unsigned(signedLength);
    m_LoadingPos += length;
    return true;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(CZR_ByteString& text)
{
    const unsigned char* bytes;
    unsigned int length;
    if (ReadBlock(bytes, length))
        text = CZR_ByteString(bytes, int(length));
    return *this;
}

CZR_ArchiveLoader& CZR_ArchiveLoader::operator>>(CZR_WideString& text)
{
    const unsigned char* bytes;
    unsigned int length;
    if (!ReadBlock(bytes, length))
        return *this;
    // Exactly the stored units: the saver's terminator is dropped, an odd last byte ignored.
    int units = int(length / 2);
    if (units > 0 && bytes[2 * units - 2] == 0 && bytes[2 * units - 1] == 0)
        --units;
    CZR_WideString decoded;
    wchar_t* chars = units > 0 ? decoded.GetBuffer(units) : nullptr;
    if (units > 0 && !chars)
        return *this;
    for (int i = 0; i < units; ++i)
        chars[i] = wchar_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    decoded.ReleaseBuffer(units);
    text = decoded;
    return *this;
}

bool CZR_ArchiveLoader::Read(void* buffer, unsigned int size)
{
    if (Remaining() < size)
        return false;
    // The buffer may lie in the data being read: the caller owns both.
    if (buffer && size)
        memmove(buffer, m_pLoadingBuf + m_LoadingPos, size);
    m_LoadingPos += size;
    return true;
}
