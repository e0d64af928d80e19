#include "FailingManager.h"

#include "system/ZRRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <set>
#include <vector>

namespace {

struct KnownAnswers
{
    uint32_t seed;
    uint32_t words[14];
};

// Printed by tests/data/twister/known_answers.py, a separate transcription of the generator: the
// first words, both sides of the partner switch at 392, and the next two regenerations.
const unsigned kPositions[] = {0, 1, 2, 3, 391, 392, 846, 847, 848, 849, 1695, 1696, 1697, 2999};
const KnownAnswers kKnownAnswers[] = {
    {0x00000000u,
     {0x5DBA702Bu, 0x391B98F1u, 0x2405CFD2u, 0x63934E18u, 0x5866F16Du, 0x500C0FB3u, 0x31BEFBD2u,
      0xC6CB0F50u, 0x5EA29295u, 0x89FE21E7u, 0x00724F0Fu, 0xF41ECE8Du, 0x0B9BC7E6u, 0xB4B0805Eu}},
    {0x00000001u,
     {0x3BBF6927u, 0xD46D6266u, 0xE037D32Du, 0x57222C78u, 0xF907FB2Eu, 0x62B6FD3Cu, 0x4E280819u,
      0x2C31EABCu, 0xDEE4D4E8u, 0xB4BB5FAAu, 0xCDA418DBu, 0x97FEBBD2u, 0xF5186C52u, 0x8C0BCBE2u}},
    {0x00001571u,
     {0x170F25B5u, 0x55AE9066u, 0x422D2D97u, 0x966271F8u, 0x46032DEBu, 0x0D13D887u, 0x3CA4DE1Cu,
      0xA3E929A0u, 0xCDF2096Eu, 0xC249BDCAu, 0x417D0061u, 0xEEA19E27u, 0xF439F655u, 0x7DD73F08u}},
    {0xFFFFFFFFu,
     {0x1A5585AAu, 0x0E41F559u, 0xD74A9EA7u, 0xE2D77887u, 0xF4F668F4u, 0x60677CA2u, 0xAD4CF6DAu,
      0x24FA7D58u, 0xC27670ECu, 0xEA60D4EFu, 0xF55FAC59u, 0xB492A32Cu, 0x053673D7u, 0xD5D9A952u}},
    {0x0135295Au,
     {0x4007C74Cu, 0x26F30C03u, 0x69865938u, 0x8F561D4Du, 0x73FA1E95u, 0x84EB3A0Au, 0x158A4868u,
      0xBBCAE933u, 0x7E3AE373u, 0x3C68BC7Au, 0x873A6A13u, 0x28E38AB5u, 0xDF0F1FE7u, 0xED855EF4u}},
};

TEST(RandomMT, MatchesTheIndependentTranscription)
{
    for (const KnownAnswers& known : kKnownAnswers) {
        SCOPED_TRACE(known.seed);
        void* generator = ZR_Random_MT_Start(known.seed);
        ASSERT_TRUE(generator);
        std::vector<uint32_t> words;
        for (unsigned i = 0; i <= kPositions[std::size(kPositions) - 1]; ++i)
            words.push_back(ZR_Random_MT_Generate(generator));
        ZR_Random_MT_Close(generator);
        for (size_t i = 0; i < std::size(kPositions); ++i)
            EXPECT_EQ(words[kPositions[i]], known.words[i]) << "word " << kPositions[i];
    }
}

TEST(RandomMT, SameSeedSameSequenceAndANullContextAnswersZero)
{
    void* first = ZR_Random_MT_Start(77);
    void* second = ZR_Random_MT_Start(77);
    void* other = ZR_Random_MT_Start(78);
    ASSERT_TRUE(first && second && other);
    int differing = 0;
    for (int i = 0; i < 2000; ++i) {
        uint32_t word = ZR_Random_MT_Generate(first);
        EXPECT_EQ(word, ZR_Random_MT_Generate(second));
        differing += word != ZR_Random_MT_Generate(other);
    }
    EXPECT_GT(differing, 1990);
    for (void* generator : {first, second, other})
        ZR_Random_MT_Close(generator);
    EXPECT_EQ(ZR_Random_MT_Generate(nullptr), 0u);
    ZR_Random_MT_Close(nullptr);
}

using FillFunction = bool (*)(uint32_t*, int);

TEST(RandomFill, CountsOfZeroOrLessLeaveTheBufferAndOthersFillIt)
{
    for (FillFunction fill : {ZR_Random_GenerateMT, ZR_Random_GenerateBase, ZR_Random_GenerateCrypto}) {
        std::array<uint32_t, 64> buffer;
        buffer.fill(0xDEADBEEF);
        EXPECT_FALSE(fill(buffer.data(), 0));
        EXPECT_FALSE(fill(buffer.data(), -5));
        EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xDEADBEEF), 64);

        EXPECT_TRUE(fill(buffer.data(), 63));
        EXPECT_EQ(buffer[63], 0xDEADBEEF) << "one word past the count";
        std::set<uint32_t> distinct(buffer.begin(), buffer.begin() + 63);
        EXPECT_GT(distinct.size(), 60u);
    }
}

TEST(RandomFill, AGeneratorThatCannotBeMadeIsNeverUsed)
{
    FailingManager failing(0);
    EXPECT_EQ(ZR_Random_MT_Start(1), nullptr);
    uint32_t buffer[2] = {5, 6};
    EXPECT_FALSE(ZR_Random_GenerateMT(buffer, 2));
    EXPECT_EQ(buffer[0], 5u);
    EXPECT_EQ(buffer[1], 6u);
    EXPECT_EQ(failing.outOfMemoryReports(), 0);
}

TEST(RandomFill, SuccessiveCallsDiffer)
{
    for (FillFunction fill : {ZR_Random_GenerateMT, ZR_Random_GenerateBase, ZR_Random_GenerateCrypto}) {
        uint32_t first[4], second[4];
        ASSERT_TRUE(fill(first, 4));
        ASSERT_TRUE(fill(second, 4));
        EXPECT_NE(memcmp(first, second, sizeof first), 0);
    }
}

TEST(Guid, HundredThousandVersionFourGuidsWithoutADuplicate)
{
    std::set<std::array<unsigned char, 16>> seen;
    int variantPatterns[4] = {};
    for (int i = 0; i < 100000; ++i) {
        ZR_GUID guid;
        ASSERT_TRUE(ZR_GUID_CreateV4(&guid));
        ASSERT_EQ(guid.bytes[6] >> 4, 4);
        ++variantPatterns[guid.bytes[8] >> 6];
        std::array<unsigned char, 16> bytes;
        memcpy(bytes.data(), guid.bytes, 16);
        ASSERT_TRUE(seen.insert(bytes).second) << "duplicate after " << i;
    }
    for (int count : variantPatterns)
        EXPECT_GT(count, 20000) << "the variant bits are left as drawn";
    EXPECT_FALSE(ZR_GUID_CreateV4(nullptr));
}

}
