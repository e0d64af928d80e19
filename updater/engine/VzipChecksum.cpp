#include "engine/VzipChecksum.h"

VzipChecksum::VzipChecksum(std::uint32_t polynomial)
{
    for (unsigned index = 0; index < 256; ++index)
        m_tables[0][index] = tableEntry(polynomial, index);
    // Table k holds the value of a byte followed by k zero bytes.
    for (int k = 1; k < 8; ++k) {
        for (unsigned index = 0; index < 256; ++index) {
            const std::uint32_t previous = m_tables[k - 1][index];
            m_tables[k][index] = (previous << 8) ^ m_tables[0][previous >> 24];
        }
    }
}

std::uint32_t VzipChecksum::tableEntry(std::uint32_t polynomial, unsigned index)
{
    std::uint32_t remainder = 0;
    std::uint32_t shifted = static_cast<std::uint32_t>(index) << 24;
    for (int step = 0; step < 8; ++step) {
        if ((shifted ^ remainder) & 0x80000000u)
            remainder = (remainder << 1) ^ polynomial;
        else
            remainder <<= 1;
        shifted <<= 1;
    }
    return remainder;
}

void VzipChecksum::update(const unsigned char* data, std::size_t length)
{
    for (; length >= 8; data += 8, length -= 8)
        updateGroup(data);
    for (; length > 0; ++data, --length)
        updateByte(*data);
}

void VzipChecksum::updateByte(unsigned char byte)
{
    m_crc = (m_crc << 8) ^ m_tables[0][(m_crc >> 24) ^ byte];
}

void VzipChecksum::updateGroup(const unsigned char* group)
{
    const std::uint32_t head = m_crc ^ (std::uint32_t(group[0]) << 24 | std::uint32_t(group[1]) << 16
                                        | std::uint32_t(group[2]) << 8 | group[3]);
    m_crc = m_tables[7][head >> 24] ^ m_tables[6][(head >> 16) & 0xFF] ^ m_tables[5][(head >> 8) & 0xFF]
        ^ m_tables[4][head & 0xFF] ^ m_tables[3][group[4]] ^ m_tables[2][group[5]] ^ m_tables[1][group[6]]
        ^ m_tables[0][group[7]];
}
