#pragma once

#include <cstddef>
#include <cstdint>

// The package checksum: a non-reflected CRC-32 (most significant bit first) with initial value 0
// and no final XOR, whose generator polynomial is the package magic. Fed in any number of pieces,
// it gives the same value as the byte-at-a-time table method; whole 8-byte groups go through
// eight derived tables at once because the unpacker runs it over every byte of a package.
class VzipChecksum
{
public:
    static constexpr std::uint32_t kPolynomial = 0x19780625;

    explicit VzipChecksum(std::uint32_t polynomial = kPolynomial);

    void update(const unsigned char* data, std::size_t length);
    std::uint32_t value() const { return m_crc; }

    // Entry `index` of the byte-at-a-time table for `polynomial`.
    static std::uint32_t tableEntry(std::uint32_t polynomial, unsigned index);

private:
    void updateByte(unsigned char byte);
    void updateGroup(const unsigned char* group);

    std::uint32_t m_tables[8][256];
    std::uint32_t m_crc = 0;
};
