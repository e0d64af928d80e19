#include "streams/CZR_ArchiveSaver.h"

#include <cstring>

CZR_ArchiveSaver::CZR_ArchiveSaver(IZR_FileStream* stream, _IZR_Allocator* allocator)
    : m_SavingBuf(allocator), m_pStream(stream), m_bFailed(false)
{
}

void CZR_ArchiveSaver::Store(const void* first, int firstSize, const void* second, int secondSize)
{
    if (!m_bFailed && !StoreInto(first, firstSize, second, secondSize))
        m_bFailed = true;
}

bool CZR_ArchiveSaver::StoreInto(const void* first, int firstSize, const void* second, int secondSize)
{
    if (!m_pStream)
        return m_SavingBuf.AppendBlocks(first, firstSize, second, secondSize);
    if (secondSize <= 0)
        return m_pStream->WriteBlock(first, size_t(firstSize));
    // One write for both pieces: a second piece taken from the stream's own memory would not
    // survive a growth that writing the first one caused.
    bool staged = m_SavingBuf.AppendBlocks(first, firstSize, second, secondSize);
    bool written = staged && m_pStream->WriteBlock(m_SavingBuf.GetBuffer(), size_t(m_SavingBuf.GetSize()));
    m_SavingBuf.Clear();
    return written;
}

namespace {

void putLittleEndian(unsigned char* out, uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

}

void CZR_ArchiveSaver::StoreNumber(uint64_t value, int size)
{
    unsigned char bytes[8];
    putLittleEndian(bytes, value, size);
    Store(bytes, size);
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(unsigned char value)
{
    // Single bytes tend to come in runs: grow by a margin rather than byte by byte.
    if (!m_bFailed && !m_pStream && m_SavingBuf.GetSize() == m_SavingBuf.GetAllocSize() &&
        !m_SavingBuf.ExpandBuf(100))
        m_bFailed = true;
    Store(&value, 1);
    return *this;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(bool value)
{
    return *this << static_cast<unsigned char>(value ? 1 : 0);
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(int value)
{
    StoreNumber(uint32_t(value), 4);
    return *this;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(unsigned int value)
{
    StoreNumber(value, 4);
    return *this;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof bits);
    StoreNumber(bits, 4);
    return *this;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(long long value)
{
    StoreNumber(uint64_t(value), 8);
    return *this;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(const CZR_ByteStringC& text)
{
    int length = text.GetLength();
    if (int64_t(length) + 4 > INT32_MAX) {
        m_bFailed = true;
        return *this;
    }
    unsigned char lengthBytes[4];
    putLittleEndian(lengthBytes, uint32_t(length), 4);
    Store(lengthBytes, 4, text.GetPtr(), length);
    return *this;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(const char* text) { return *this << CZR_ByteStringC(text); }

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(const CZR_ByteString& text) { return *this << CZR_ByteStringC(text); }

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(const wchar_t* text)
{
    CZR_WideString copy(text);
    // A copy that could not be made would store a different string than the one given.
    if (text && *text && copy.IsEmpty()) {
        m_bFailed = true;
        return *this;
    }
    return *this << copy;
}

CZR_ArchiveSaver& CZR_ArchiveSaver::operator<<(const CZR_WideString& text)
{
    // The terminator makes every encoding non-empty: an empty one could not be made.
    CZR_ByteString units = text.UTF16LE_Encode(true);
    if (units.IsEmpty())
        m_bFailed = true;
    else
        *this << CZR_ByteStringC(units);
    return *this;
}

void CZR_ArchiveSaver::Write(const void* data, int size)
{
    if (data && size > 0)
        Store(data, size);
}
