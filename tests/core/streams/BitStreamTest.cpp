#include "../FailingManager.h"

#include "streams/CZR_BitStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

TEST(BitStream, ReadsFromTheHighBitDownAndRefusesPastTheEnd)
{
    const unsigned char data[2] = {0xA0, 0x0F};
    CZR_BitStream bits;
    bits.Init(data, 2);
    EXPECT_EQ(bits.GetBits(3), 5u);
    EXPECT_EQ(bits.GetBits(1), 0u);
    EXPECT_EQ(bits.GetBits(13), 0u) << "only 12 bits remain";
    EXPECT_EQ(bits.GetBits(33), 0u);
    bits.ByteAlign();
    EXPECT_EQ(bits.GetBits(8), 0x0Fu);
    EXPECT_EQ(bits.GetBits(1), 0u);

    bits.Init(data, 2);
    EXPECT_EQ(bits.GetBits(16), 0xA00Fu);
    bits.Init(nullptr, 4);
    EXPECT_EQ(bits.GetBits(1), 0u);
}

TEST(BitWriter, OrsBitsFromTheHighBitAndAligns)
{
    CZR_BinaryBuf buffer;
    CZR_BitWriter writer(&buffer);
    writer.WriteBits(5, 3);
    writer.WriteBits(1, 1);
    ASSERT_GE(buffer.GetSize(), 2);
    EXPECT_EQ(buffer.GetBuffer()[0], 0xB0);
    writer.ByteAlign();
    writer.WriteBits(0x1FF, 2);
    writer.WriteBits(-1, 65);
    writer.WriteBits(-1, 0);
    EXPECT_EQ(buffer.GetBuffer()[1], 0xC0);
    EXPECT_EQ(buffer.GetBuffer()[2], 0x00);
}

TEST(BitWriter, SaysWhenItsBufferCannotGrow)
{
    FailingManager failing(0);
    CZR_BinaryBuf buffer;
    CZR_BitWriter writer(&buffer);
    EXPECT_FALSE(writer.WriteBits(5, 3));
    EXPECT_EQ(buffer.GetSize(), 0);
}

// Fields of every width up to 64 bits, written back to back, read back the same; a 64-bit field
// is read as two halves since a read takes at most 32 bits.
TEST(BitWriter, RoundTripsRandomWidthsThroughTheReader)
{
    std::mt19937_64 random(20261210);
    std::vector<std::pair<uint64_t, int>> fields;
    CZR_BinaryBuf buffer;
    CZR_BitWriter writer(&buffer);
    for (int i = 0; i < 2000; ++i) {
        int width = int(random() % 64) + 1;
        uint64_t value = random();
        uint64_t kept = width == 64 ? value : value & ((uint64_t(1) << width) - 1);
        fields.emplace_back(kept, width);
        writer.WriteBits((long long)value, width);
        if (i % 97 == 0) {
            writer.ByteAlign();
            fields.emplace_back(0, -1);
        }
    }

    CZR_BitStream reader;
    reader.Init(buffer.GetBuffer(), unsigned(buffer.GetSize()));
    for (const auto& [value, width] : fields) {
        if (width < 0) {
            reader.ByteAlign();
            continue;
        }
        int high = width > 32 ? width - 32 : 0;
        uint64_t read = high ? uint64_t(reader.GetBits(unsigned(high))) << 32 : 0;
        read |= reader.GetBits(unsigned(width - high));
        ASSERT_EQ(read, value) << "width " << width;
    }
}

}
