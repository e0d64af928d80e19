#include "streams/CZR_BitStream.h"

void CZR_BitStream::Init(const unsigned char* data, unsigned int size)
{
    m_pData = data;
    m_BitSize = data ? uint64_t(size) * 8 : 0;
    m_BitPos = 0;
}

uint32_t CZR_BitStream::GetBits(unsigned int count)
{
    if (count > 32 || m_BitPos > m_BitSize || count > m_BitSize - m_BitPos)
        return 0;
    uint32_t result = 0;
    for (unsigned int i = 0; i < count; ++i, ++m_BitPos) {
        unsigned bit = (m_pData[m_BitPos / 8] >> (7 - m_BitPos % 8)) & 1;
        result = (result << 1) | bit;
    }
    return result;
}

void CZR_BitStream::ByteAlign() { m_BitPos = (m_BitPos + 7) / 8 * 8; }

bool CZR_BitWriter::WriteBits(long long value, int count)
{
    if (count < 1 || count > 64)
        return false;
    int bytesNeeded = (m_BitPos + count + 7) / 8;
    while (int64_t(m_pBitBuf->GetSize()) <= int64_t(m_BytePos) + bytesNeeded) {
        if (!m_pBitBuf->AppendFill(0, 20))
            return false;
    }
    unsigned char* bytes = m_pBitBuf->GetBuffer();
    for (int i = count - 1; i >= 0; --i) {
        // i stays below 64, so the shift is always defined.
        unsigned bit = unsigned(uint64_t(value) >> i) & 1;
        bytes[m_BytePos] |= static_cast<unsigned char>(bit << (7 - m_BitPos));
        if (++m_BitPos == 8) {
            m_BitPos = 0;
            ++m_BytePos;
        }
    }
    return true;
}

void CZR_BitWriter::ByteAlign()
{
    if (m_BitPos != 0) {
        m_BitPos = 0;
        ++m_BytePos;
    }
}
