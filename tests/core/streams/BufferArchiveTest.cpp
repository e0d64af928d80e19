#include "../FailingManager.h"
#include "IsolatedEnvironment.h"

#include "streams/CZR_CRTFileStream.h"
#include "streams/CZR_FileBufferArchive.h"
#include "streams/IZR_BufferArchive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingArchive : public IZR_BufferArchive
{
public:
    explicit RecordingArchive(int size) : IZR_BufferArchive(size, nullptr) {}

    bool DoWork(const void* data, size_t size) override
    {
        const char* bytes = static_cast<const char*>(data);
        blocks.emplace_back(bytes, bytes + size);
        return succeed;
    }

    std::vector<std::string> blocks;
    bool succeed = true;
};

TEST(BufferArchive, HandsOverFullBlocksAndKeepsTheRestUntilFlush)
{
    RecordingArchive archive(4);
    EXPECT_EQ(archive.AppendBlock("0123456789", 10), 10);
    EXPECT_EQ(archive.blocks, (std::vector<std::string>{"0123", "4567"}));
    EXPECT_TRUE(archive.Flush());
    EXPECT_EQ(archive.blocks.back(), "89");

    EXPECT_EQ(archive.AppendBlock(nullptr, 3), 0);
    EXPECT_EQ(archive.AppendBlock("x", 0), 0);
    EXPECT_EQ(archive.AppendByte('a'), 1);
    EXPECT_EQ(archive.AppendDWord(4294967295u), 10);
    EXPECT_EQ(archive.AppendInt64(-12), 3);
    EXPECT_EQ(archive.AppendString(CZR_ByteStringC("zz")), 2);
    archive.Flush();
    std::string all;
    for (size_t i = 3; i < archive.blocks.size(); ++i)
        all += archive.blocks[i];
    EXPECT_EQ(all, "a4294967295-12zz");
}

TEST(BufferArchive, ReportsAFailedBlockAndAnUnusableSize)
{
    RecordingArchive failing(2);
    failing.succeed = false;
    EXPECT_EQ(failing.AppendBlock("abc", 3), -1);
    EXPECT_EQ(failing.blocks.size(), 1u);

    RecordingArchive empty(0);
    EXPECT_EQ(empty.AppendBlock("abc", 3), -1);
    EXPECT_TRUE(empty.blocks.empty());
}

TEST(BufferArchive, AnAppendThatRunsOutOfMemoryHandsNothingOnAndIsReportedOnce)
{
    // An append that fills the buffer more than once needs its own buffer and a copy of the bytes.
    const struct
    {
        int allocations;
        int result;
        std::vector<std::string> blocks;
        int reports;
    } cases[] = {
        {0, -1, {}, 1},
        {1, -1, {}, 1},
        {2, 10, {"0123", "4567"}, 0},
    };
    for (const auto& c : cases) {
        FailingManager failing(c.allocations);
        {
            RecordingArchive archive(4);
            EXPECT_EQ(archive.AppendBlock("0123456789", 10), c.result) << c.allocations;
            EXPECT_EQ(archive.blocks, c.blocks) << c.allocations;
        }
        EXPECT_EQ(failing.outOfMemoryReports(), c.reports) << c.allocations;
        EXPECT_EQ(failing.liveBlocks(), 0) << c.allocations;
    }
}

class FileBufferArchiveTest : public IsolatedTest
{
protected:
    std::string path(const char* name) const { return env.tempDir().toStdString() + "/" + name; }

    static std::string read(const std::string& file)
    {
        return IsolatedEnvironment::readFile(QString::fromStdString(file)).toStdString();
    }
};

TEST_F(FileBufferArchiveTest, WritesThroughATakenOverFile)
{
    std::string file = path("out.txt");
    {
        CZR_FileBufferArchive archive(4, nullptr);
        EXPECT_FALSE(archive.Flush()) << "no stream attached";
        EXPECT_FALSE(archive.AttachFile(static_cast<IZR_StreamWrite*>(nullptr), true));
        ASSERT_TRUE(archive.AttachFile(file.c_str()));
        EXPECT_EQ(archive.AppendString(CZR_ByteStringC("hello world")), 11);
        EXPECT_EQ(read(file), "hello wo");
        EXPECT_TRUE(archive.Flush());
        EXPECT_EQ(read(file), "hello world");
        EXPECT_EQ(archive.AppendString(CZR_ByteStringC("!")), 1);
    }
    EXPECT_EQ(read(file), "hello world") << "unflushed bytes are dropped with the archive";

    CZR_FileBufferArchive archive(8, nullptr);
    EXPECT_FALSE(archive.AttachFile(path("missing/folder/x").c_str()));
    EXPECT_FALSE(archive.Flush());
}

TEST_F(FileBufferArchiveTest, LeavesAStreamItDoesNotOwnToItsOwner)
{
    std::string file = path("shared.txt");
    IZR_FileWrite* stream = ZR_CreateFileWrite(file.c_str(), nullptr);
    ASSERT_TRUE(stream);
    {
        CZR_FileBufferArchive archive(16, nullptr);
        ASSERT_TRUE(archive.AttachFile(stream, false));
        archive.AppendInt64(7);
        EXPECT_TRUE(archive.Flush());
    }
    EXPECT_TRUE(stream->WriteBlock("8", 1));
    stream->Release();
    EXPECT_EQ(read(file), "78");
}

}
