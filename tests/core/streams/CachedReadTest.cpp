#include "streams/CZR_CachedFileRead.h"
#include "streams/CZR_ContinuousBytesCache.h"
#include "streams/CZR_FileCache.h"
#include "streams/CZR_LimitCacheStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A file in memory that counts its reads and fails those that touch a chosen offset.
class MemoryFile : public IZR_FileRead
{
public:
    explicit MemoryFile(size_t size) : data(size)
    {
        for (size_t i = 0; i < size; ++i)
            data[i] = uint8_t(i * 7 + i / 251);
    }

    void Release() override { ++releases; }
    bool IsEOF() override { return false; }
    int64_t GetPosition() override { return 0; }
    size_t ReadBlock(void*, size_t) override { return 0; }
    int64_t SetPosition(int64_t) override { return -1; }
    int64_t GetSize() override { return int64_t(data.size()); }
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override
    {
        ++reads;
        if (failAt >= offset && failAt < offset + int64_t(size)) {
            memset(buffer, 0xEE, size);
            return false;
        }
        if (offset < 0 || uint64_t(offset) + size > data.size())
            return false;
        memcpy(buffer, data.data() + offset, size);
        return true;
    }

    Bytes slice(int64_t offset, size_t size) const { return Bytes(data.begin() + offset, data.begin() + offset + long(size)); }

    Bytes data;
    int reads = 0;
    int releases = 0;
    int64_t failAt = -1;
};

constexpr int32_t kChunk = 4096;

class CachedReadTest : public testing::Test
{
protected:
    CZR_CachedFileRead* makeReader(MemoryFile& file, int32_t chunkSize, int32_t chunks)
    {
        memory.assign(size_t(chunkSize) * size_t(chunks), 0);
        auto* reader = new CZR_CachedFileRead;
        EXPECT_TRUE(reader->Init(chunkSize, chunks, memory.data(), nullptr));
        EXPECT_TRUE(reader->AttachFile(&file, false));
        return reader;
    }

    Bytes memory;
};

TEST_F(CachedReadTest, RandomReadsMatchTheFile)
{
    MemoryFile file(10 * kChunk + 123);
    CZR_CachedFileRead* reader = makeReader(file, kChunk, 3);
    std::mt19937 random(5);
    int64_t position = 0;
    for (int step = 0; step < 2000; ++step) {
        SCOPED_TRACE(step);
        size_t size = 1 + random() % (3 * kChunk);
        if (random() % 3 == 0) {
            Bytes got(size);
            size_t expected = size_t(std::min<int64_t>(int64_t(size), file.GetSize() - position));
            ASSERT_EQ(reader->ReadBlock(got.data(), size), expected);
            got.resize(expected);
            ASSERT_EQ(got, file.slice(position, expected));
            position += int64_t(expected);
            if (reader->IsEOF()) {
                ASSERT_TRUE(reader->ReadBlock(got.data(), int64_t(0), 1));
                position = 1;
            }
        } else {
            int64_t offset = int64_t(random() % uint64_t(file.GetSize() + 10));
            Bytes got(size);
            bool fits = offset + int64_t(size) <= file.GetSize();
            ASSERT_EQ(reader->ReadBlock(got.data(), offset, size), fits);
            if (fits) {
                ASSERT_EQ(got, file.slice(offset, size));
                position = offset + int64_t(size);
            }
        }
        ASSERT_EQ(reader->GetPosition(), position);
    }
    reader->Release();
}

TEST_F(CachedReadTest, SmallChunksReadStraightFromTheFile)
{
    MemoryFile file(3 * kChunk);
    CZR_CachedFileRead* reader = makeReader(file, kChunk - 1, 4);
    Bytes got(10);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(reader->ReadBlock(got.data(), 100, got.size()));
    EXPECT_EQ(file.reads, 3);
    reader->Release();
}

TEST_F(CachedReadTest, AFailedChunkLoadIsNotKeptAndTheReadFails)
{
    MemoryFile file(4 * kChunk);
    CZR_CachedFileRead* reader = makeReader(file, kChunk, 2);
    Bytes got(100);
    file.failAt = kChunk + 10;
    EXPECT_FALSE(reader->ReadBlock(got.data(), kChunk - 50, got.size()));
    file.failAt = -1;
    ASSERT_TRUE(reader->ReadBlock(got.data(), kChunk - 50, got.size()));
    EXPECT_EQ(got, file.slice(kChunk - 50, got.size()));
    ASSERT_TRUE(reader->ReadBlock(got.data(), kChunk + 5, got.size()));
    EXPECT_EQ(got, file.slice(kChunk + 5, got.size()));
    reader->Release();
}

TEST_F(CachedReadTest, TheReaderKeepsItsInterfaceAnswers)
{
    MemoryFile file(100);
    auto* owned = new MemoryFile(50);
    CZR_CachedFileRead* reader = makeReader(file, kChunk, 1);
    EXPECT_FALSE(reader->Init(kChunk, 1, memory.data(), nullptr));
    EXPECT_EQ(reader->GetSize(), 100);
    EXPECT_EQ(reader->SetPosition(0), -1);
    EXPECT_FALSE(reader->WriteBlock("x", 1));
    EXPECT_FALSE(reader->Flush());
    EXPECT_FALSE(reader->ReadBlock(memory.data(), -1, 1));
    EXPECT_FALSE(reader->ReadBlock(memory.data(), 99, 2));
    EXPECT_TRUE(reader->AttachFile(owned, true));
    EXPECT_EQ(reader->GetSize(), 50);
    EXPECT_TRUE(reader->AttachFile(&file, false));
    EXPECT_EQ(owned->releases, 1);
    delete owned;
    reader->Release();

    CZR_CachedFileRead bare;
    EXPECT_FALSE(bare.AttachFile(&file, false));
    EXPECT_TRUE(bare.IsEOF());
    EXPECT_EQ(bare.GetPosition(), 0);
}

class FileCacheTest : public testing::Test
{
protected:
    FileCacheTest() : cache(nullptr), memory(4 * kChunk) { cache.InitChunk(kChunk, 4, memory.data()); }

    void read(int chunk, size_t size = 10) { ASSERT_TRUE(cache.ReadBlock(&file, nullptr, int64_t(chunk) * kChunk, size)); }

    std::vector<int64_t> offsets() const
    {
        std::vector<int64_t> held;
        for (int i = 0; i < cache.GetChunksInUse(); ++i)
            held.push_back(cache.GetChunk(i)->offset / kChunk);
        return held;
    }

    MemoryFile file{8 * kChunk};
    CZR_FileCache cache;
    Bytes memory;
};

TEST_F(FileCacheTest, TheChunkUsedLeastRecentlyMakesRoom)
{
    for (int chunk : {3, 0, 2, 1})
        read(chunk);
    EXPECT_EQ(offsets(), (std::vector<int64_t>{0, 1, 2, 3}));
    read(3);
    EXPECT_EQ(file.reads, 4);
    read(5);
    EXPECT_EQ(offsets(), (std::vector<int64_t>{1, 2, 3, 5}));
    read(1);
    read(2);
    read(0);
    EXPECT_EQ(offsets(), (std::vector<int64_t>{0, 1, 2, 5}));
    EXPECT_EQ(file.reads, 6);
}

TEST_F(FileCacheTest, AReadAcrossTwoChunksStampsTheSecondLater)
{
    ASSERT_TRUE(cache.ReadBlock(&file, nullptr, kChunk - 5, 10));
    ASSERT_EQ(offsets(), (std::vector<int64_t>{0, 1}));
    EXPECT_LT(cache.GetChunk(0)->stamp, cache.GetChunk(1)->stamp);
    int index = -1;
    EXPECT_TRUE(cache.SearchChunk(index, kChunk));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(cache.SearchChunk(index, 7 * kChunk));
    EXPECT_EQ(index, 2);
}

TEST_F(FileCacheTest, PreCachingLoadsAheadWithinTheFile)
{
    EXPECT_TRUE(cache.PreCache(&file, 6 * kChunk + 1, 5));
    EXPECT_EQ(offsets(), (std::vector<int64_t>{6, 7}));
    EXPECT_FALSE(cache.PreCache(&file, 8 * kChunk, 1));
    EXPECT_FALSE(cache.PreCache(&file, -1, 1));
    EXPECT_FALSE(cache.PreCache(&file, 0, 0));
    cache.Clear();
    EXPECT_EQ(cache.GetChunksInUse(), 0);
    EXPECT_EQ(cache.FindMiniRefChunk(), 0);
}

TEST(LimitCacheStreamTest, WithoutABufferItOnlyCounts)
{
    CZR_LimitCacheStream stream(16, 8, 0);
    EXPECT_TRUE(stream.WriteBlock("abcd", 4));
    EXPECT_TRUE(stream.WriteBlock("xy", int64_t(1), 2));
    EXPECT_EQ(stream.GetSize(), 6);
    EXPECT_TRUE(stream.IsEOF());
    char got[4];
    EXPECT_EQ(stream.ReadBlock(got, 4), 0u);
    EXPECT_FALSE(stream.ReadBlock(got, int64_t(0), 2));
    EXPECT_EQ(stream.GetPosition(), 6);
    EXPECT_EQ(stream.SetPosition(0), 6);
}

TEST(LimitCacheStreamTest, ReadsNeverReachPastTheBytesStored)
{
    CZR_LimitCacheStream stream(8, 100, 10);
    EXPECT_TRUE(stream.WriteBlock("abcde", 5));
    EXPECT_TRUE(stream.WriteBlock("XY", int64_t(1), 2));
    EXPECT_TRUE(stream.WriteBlock("12345", 5));
    EXPECT_EQ(stream.GetSize(), 12);
    char got[16] = {};
    EXPECT_TRUE(stream.ReadBlock(got, int64_t(0), 7));
    EXPECT_EQ(std::string(got, 7), "aXYbcde");
    EXPECT_FALSE(stream.ReadBlock(got, int64_t(5), 4));
    EXPECT_FALSE(stream.ReadBlock(got, int64_t(-1), 1));
    EXPECT_EQ(stream.ReadBlock(got, sizeof(got)), 7u);
    EXPECT_FALSE(stream.IsEOF());
    EXPECT_EQ(stream.SetPosition(1000), 1000);
    EXPECT_EQ(stream.ReadBlock(got, 4), 0u);
    EXPECT_FALSE(stream.WriteBlock("z", int64_t(13), 1));
    EXPECT_EQ(stream.Retain(), nullptr);
}

std::string windowText(IZR_BytesCache* cache, ZR_BYTESRANGE range)
{
    std::string text(size_t(range.size), '.');
    ZR_BYTESRANGE got = cache->Read(&text[0], range);
    return std::to_string(got.offset) + ":" + std::to_string(got.size) + ":" + text;
}

TEST(ContinuousBytesCacheTest, TheWindowSlidesWithAdjoiningWrites)
{
    IZR_BytesCache* cache = ZR_CreateContinuousBytesCache(8);
    ASSERT_TRUE(cache);
    cache->Write("abcdef", 0, 6);
    cache->Write("ghij", 6, 4);
    EXPECT_EQ(windowText(cache, {0, 12}), "2:8:..cdefghij..");
    cache->Write("01", 0, 2);
    EXPECT_EQ(windowText(cache, {0, 10}), "0:8:01cdefgh..");
    cache->Write("far", 100, 3);
    EXPECT_EQ(windowText(cache, {0, 10}), "0:0:..........");
    EXPECT_EQ(windowText(cache, {101, 4}), "101:2:ar..");
    cache->Write("0123456789", 50, 10);
    EXPECT_EQ(windowText(cache, {50, 10}), "52:8:..23456789");
    cache->Clear();
    EXPECT_EQ(windowText(cache, {0, 2}), "0:0:..");
    delete cache;
}

TEST(ContinuousBytesCacheTest, LoadingStartsTheWindowAtItsOffset)
{
    MemoryFile file(300);
    IZR_BytesCache* cache = ZR_CreateContinuousBytesCache(16);
    cache->Load(&file, 100, 40);
    Bytes got(16);
    ZR_BYTESRANGE range = cache->Read(got.data(), {100, 16});
    EXPECT_EQ(range.offset, 100);
    EXPECT_EQ(range.size, 16u);
    EXPECT_EQ(got, file.slice(100, 16));
    file.failAt = 100;
    cache->Load(&file, 100, 4);
    EXPECT_EQ(cache->Read(got.data(), {100, 4}).size, 0u);
    delete cache;
}

} // namespace
