#include "RecordingAllocator.h"

#include "../FailingManager.h"

#include "memory/CZR_GrowOnlyPool.h"
#include "streams/CZR_MemoryStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// What a memory stream should hold: the data, the absolute position and the window.
struct StreamModel
{
    Bytes data;
    uint64_t position = 0;
    bool window = false;
    uint64_t windowOffset = 0;
    uint64_t windowSize = 0;

    uint64_t base() const { return window ? windowOffset : 0; }
    uint64_t size() const { return window ? windowSize : data.size(); }
    void write(uint64_t offset, const Bytes& bytes)
    {
        uint64_t start = offset + base();
        if (data.size() < start + bytes.size())
            data.resize(start + bytes.size(), 0);
        std::copy(bytes.begin(), bytes.end(), data.begin() + long(start));
        position = start + bytes.size();
    }
};

Bytes randomBytes(std::mt19937& random, size_t count)
{
    Bytes bytes(count);
    for (uint8_t& b : bytes)
        b = uint8_t(random());
    return bytes;
}

// Random writes, reads, seeks and windows, checked against the model after every step.
void runAgainstModel(IZR_MemoryStream* stream, uint32_t seed, size_t span)
{
    std::mt19937 random(seed);
    StreamModel model;
    for (int step = 0; step < 600; ++step) {
        SCOPED_TRACE(step);
        switch (random() % 7) {
        case 0:
        case 1: {
            uint64_t offset = random() % (model.size() + span / 4 + 1);
            Bytes bytes = randomBytes(random, 1 + random() % span);
            ASSERT_TRUE(stream->WriteBlock(bytes.data(), int64_t(offset), bytes.size()));
            model.write(offset, bytes);
            break;
        }
        case 2: {
            Bytes bytes = randomBytes(random, 1 + random() % span);
            ASSERT_TRUE(stream->WriteBlock(bytes.data(), bytes.size()));
            model.write(model.size(), bytes);
            break;
        }
        case 3: {
            uint64_t offset = random() % (model.size() + 2);
            size_t size = 1 + random() % span;
            Bytes got(size);
            bool fits = offset + size <= model.size();
            ASSERT_EQ(stream->ReadBlock(got.data(), int64_t(offset), size), fits);
            if (fits) {
                uint64_t start = offset + model.base();
                ASSERT_EQ(got, Bytes(model.data.begin() + long(start), model.data.begin() + long(start + size)));
                model.position = start + size;
            }
            break;
        }
        case 4: {
            size_t size = random() % span;
            Bytes got(size + 1);
            uint64_t end = model.base() + model.size();
            size_t expected = model.position >= end ? 0 : size_t(std::min<uint64_t>(size, end - model.position));
            ASSERT_EQ(stream->ReadBlock(got.data(), size), expected);
            ASSERT_TRUE(std::equal(got.begin(), got.begin() + long(expected), model.data.begin() + long(model.position)));
            model.position += expected;
            break;
        }
        case 5: {
            int64_t target = int64_t(random() % (model.size() + 3));
            bool valid = uint64_t(target) <= model.size();
            ASSERT_EQ(stream->SetPosition(target), valid ? target : -1);
            if (valid)
                model.position = model.base() + uint64_t(target);
            break;
        }
        case 6:
            if (model.window || model.data.empty() || random() % 2) {
                stream->ClearRange();
                model.window = false;
            } else {
                uint64_t offset = random() % model.data.size();
                uint64_t size = random() % (model.data.size() - offset + 1);
                ASSERT_TRUE(stream->SetRange(int64_t(offset), int64_t(size)));
                model.window = true;
                model.windowOffset = model.position = offset;
                model.windowSize = size;
            }
            break;
        }
        ASSERT_EQ(uint64_t(stream->GetSize()), model.size());
        ASSERT_EQ(uint64_t(stream->GetPosition()), model.position - model.base());
        ASSERT_EQ(stream->IsEOF(), model.position - model.base() >= model.size());
    }
}

TEST(MemoryStreamTest, RandomSequencesMatchTheModelForBothKinds)
{
    for (bool consecutive : {true, false}) {
        SCOPED_TRACE(consecutive ? "consecutive" : "blocks");
        IZR_MemoryStream* stream = ZR_CreateMemoryStream(consecutive, nullptr);
        ASSERT_TRUE(stream);
        stream->EstimateSize(0, 4096);
        runAgainstModel(stream, consecutive ? 7 : 11, 9000);
        stream->Release();
    }
}

TEST(MemoryStreamTest, AStreamOverACallersBufferCopiesItBeforeGrowing)
{
    Bytes caller = {1, 2, 3, 4};
    RecordingAllocator allocator;
    IZR_MemoryStream* stream = ZR_CreateMemoryStream(caller.data(), caller.size(), false, &allocator);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->GetSize(), 4);
    EXPECT_EQ(stream->GetBuffer(), caller.data());
    EXPECT_TRUE(stream->WriteBlock(caller.data(), 4));
    EXPECT_NE(stream->GetBuffer(), caller.data());
    EXPECT_EQ(caller, (Bytes{1, 2, 3, 4}));
    Bytes all(8);
    EXPECT_TRUE(stream->ReadBlock(all.data(), 0, 8));
    EXPECT_EQ(all, (Bytes{1, 2, 3, 4, 1, 2, 3, 4}));
    stream->Release();
    EXPECT_EQ(allocator.live, 0);
}

TEST(MemoryStreamTest, AFailedGrowthKeepsTheDataAndFailsTheWrite)
{
    RecordingAllocator allocator;
    IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, &allocator);
    ASSERT_TRUE(stream);
    Bytes bytes(1000, 7);
    ASSERT_TRUE(stream->WriteBlock(bytes.data(), bytes.size()));
    allocator.refuseAbove = 65536;
    EXPECT_FALSE(stream->WriteBlock(bytes.data(), 70000, bytes.size()));
    EXPECT_EQ(stream->GetSize(), 1000);
    Bytes back(1000);
    EXPECT_TRUE(stream->ReadBlock(back.data(), 0, back.size()));
    EXPECT_EQ(back, bytes);
    stream->Release();
    EXPECT_EQ(allocator.live, 0);
}

TEST(MemoryStreamTest, AStreamThatCannotTakeACallersBufferIsNotMade)
{
    Bytes caller = {1, 2, 3, 4};
    FailingManager failing(1);
    EXPECT_EQ(ZR_CreateMemoryStream(caller.data(), caller.size(), true, nullptr), nullptr)
        << "the stream was made, but not the list that holds the buffer";
    EXPECT_EQ(failing.liveBlocks(), 0);
    EXPECT_EQ(caller, (Bytes{1, 2, 3, 4})) << "the buffer stays the caller's";
}

TEST(MemoryStreamTest, AConsecutiveStreamGrowsThroughAGrowOnlyPool)
{
    CZR_GrowOnlyPool pool(nullptr, 4096);
    IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, &pool);
    ASSERT_TRUE(stream);
    Bytes written;
    for (uint8_t piece = 1; piece <= 3; ++piece) {
        Bytes bytes(50000, piece);
        ASSERT_TRUE(stream->WriteBlock(bytes.data(), bytes.size())) << int(piece);
        written.insert(written.end(), bytes.begin(), bytes.end());
    }
    Bytes back(written.size());
    EXPECT_TRUE(stream->ReadBlock(back.data(), 0, back.size()));
    EXPECT_TRUE(back == written);
    stream->Release();
}

// The requests for data buffers, apart from the stream object and its block list.
std::vector<size_t> bufferRequests(const RecordingAllocator& allocator)
{
    std::vector<size_t> buffers;
    std::copy_if(allocator.requests.begin(), allocator.requests.end(), std::back_inserter(buffers),
                 [](size_t size) { return size >= 4096; });
    return buffers;
}

TEST(MemoryStreamTest, GrowthStepsFollowTheBlockSize)
{
    RecordingAllocator allocator;
    IZR_MemoryStream* consecutive = ZR_CreateMemoryStream(true, &allocator);
    Bytes bytes(10, 1);
    consecutive->WriteBlock(bytes.data(), 70000, bytes.size());
    consecutive->WriteBlock(bytes.data(), 131072, bytes.size());
    EXPECT_EQ(bufferRequests(allocator), (std::vector<size_t>{131072, 196608}));
    consecutive->Release();

    allocator.requests.clear();
    IZR_MemoryStream* blocks = ZR_CreateMemoryStream(false, &allocator);
    blocks->WriteBlock(bytes.data(), 70000, bytes.size());
    EXPECT_EQ(blocks->GetSize(), 70010);
    EXPECT_EQ(bufferRequests(allocator), (std::vector<size_t>{65536, 65536}));
    Bytes gap(10, 9);
    EXPECT_TRUE(blocks->ReadBlock(gap.data(), 65530, gap.size()));
    EXPECT_EQ(gap, Bytes(10, 0));
    blocks->Release();

    allocator.requests.clear();
    IZR_MemoryStream* estimated = ZR_CreateMemoryStream(true, &allocator);
    estimated->EstimateSize(100, 5000);
    estimated->WriteBlock(bytes.data(), 7000, bytes.size());
    EXPECT_EQ(bufferRequests(allocator), (std::vector<size_t>{4096, 10000}));
    estimated->Release();
    EXPECT_EQ(allocator.live, 0);
}

TEST(MemoryStreamTest, AWindowShowsPartOfTheData)
{
    IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, nullptr);
    Bytes bytes(20);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i);
    stream->WriteBlock(bytes.data(), bytes.size());
    EXPECT_TRUE(stream->SetRange(10, 5));
    EXPECT_EQ(stream->GetPosition(), 0);
    EXPECT_EQ(stream->GetSize(), 5);
    Bytes got(8);
    EXPECT_EQ(stream->ReadBlock(got.data(), got.size()), 5u);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 5), (Bytes{10, 11, 12, 13, 14}));
    EXPECT_TRUE(stream->IsEOF());
    EXPECT_FALSE(stream->ReadBlock(got.data(), 3, 3));
    EXPECT_FALSE(stream->SetRange(15, 6));
    EXPECT_FALSE(stream->SetRange(-1, 2));
    stream->Release();
}

TEST(MemoryStreamTest, AttachingAndDetachingHandOverTheBuffer)
{
    IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, nullptr);
    auto* mine = static_cast<uint8_t*>(ZRMEM_DefaultAlloc(4, 0));
    memcpy(mine, "abcd", 4);
    stream->AttachBuffer(mine, 4, true);
    EXPECT_TRUE(stream->IsConsecutive());
    EXPECT_EQ(stream->GetSize(), 4);
    char text[4];
    EXPECT_EQ(stream->ReadBlock(text, 4), 4u);
    EXPECT_EQ(memcmp(text, "abcd", 4), 0);

    uint8_t* handedBack = stream->GetBuffer();
    stream->DetachBuffer();
    EXPECT_EQ(handedBack, mine);
    EXPECT_FALSE(stream->IsConsecutive());
    EXPECT_EQ(stream->GetSize(), 0);
    stream->AttachBuffer(mine, 4, true);
    EXPECT_EQ(stream->GetBuffer(), nullptr);
    ZRMEM_DefaultFree(handedBack, 0);

    EXPECT_TRUE(stream->WriteBlock("xyz", 3));
    EXPECT_EQ(stream->GetSize(), 3);
    EXPECT_FALSE(stream->WriteBlock(nullptr, 3));
    EXPECT_FALSE(stream->WriteBlock("x", -1, 1));
    EXPECT_TRUE(stream->Flush());
    EXPECT_EQ(stream->Retain(), stream);
    stream->Release();
    stream->Release();
}

} // namespace
