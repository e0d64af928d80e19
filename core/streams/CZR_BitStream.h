#pragma once

#include "strings/CZR_BinaryBuf.h"

#include <cstdint>

// Reads bit fields from a memory block, most significant bit of each byte first.
class CZR_BitStream
{
public:
    void Init(const unsigned char* data, unsigned int size);
    // The next `count` bits (at most 32), the first one read the highest; 0 and nothing consumed
    // when fewer remain.
    uint32_t GetBits(unsigned int count);
    void ByteAlign();

private:
    // Bit counts in 64 bits: a block above 512 MB has more bits than 32 bits can count.
    uint64_t m_BitPos = 0;
    uint64_t m_BitSize = 0;
    const unsigned char* m_pData = nullptr;
};

// Writes bit fields into a byte buffer, filling each byte from its high bit. Bits are ORed into
// the buffer, which grows with zero bytes as the writing reaches its end.
class CZR_BitWriter
{
public:
    explicit CZR_BitWriter(CZR_BinaryBuf* buffer) : m_pBitBuf(buffer) {}

    // The low `count` bits of `value` (1 to 64), most significant first; false, with nothing
    // written, for another count or when the buffer cannot grow.
    bool WriteBits(long long value, int count);
    void ByteAlign();

private:
    CZR_BinaryBuf* m_pBitBuf;
    int m_BitPos = 0;
    int m_BytePos = 0;
};
