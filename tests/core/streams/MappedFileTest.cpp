#include "IsolatedEnvironment.h"

#include "streams/CZR_MMapedFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Runs before the mapped-file tests, and no other test of this program asks for the size: only
// start-up can have set it.
TEST(MappedFileStartupTest, ThePageSizeIsSetBeforeAnythingAsksForIt)
{
    EXPECT_EQ(ZR_DEFAULT_MMAP_SIZE, sysconf(_SC_PAGESIZE));
}

class MappedFileTest : public IsolatedTest
{
protected:
    std::string path(const char* name) const { return env.tempDir().toStdString() + "/" + name; }
    static CZR_WideString wide(const std::string& text) { return CZR_WideString::FromUTF8(text.c_str()); }
    static int64_t page() { return ZR_GetDefaultMMapSize(); }

    static int64_t sizeOnDisk(const std::string& file)
    {
        struct stat info{};
        return stat(file.c_str(), &info) == 0 ? int64_t(info.st_size) : -1;
    }

    static std::string contents(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static void writeFile(const std::string& file, size_t size, char value)
    {
        std::ofstream(file, std::ios::binary) << std::string(size, value);
    }
};

TEST_F(MappedFileTest, AMissingFileIsCreatedAsOnePageOfZeros)
{
    std::string file = path("new.bin");
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(wide(file), 0, 100);
    ASSERT_TRUE(mapped->IsValid());
    EXPECT_EQ(ZR_DEFAULT_MMAP_SIZE, sysconf(_SC_PAGESIZE));
    EXPECT_EQ(mapped->GetSize(), page());
    EXPECT_EQ(sizeOnDisk(file), page());
    EXPECT_EQ(contents(file), std::string(size_t(page()), '\0'));
    EXPECT_EQ(mapped->GetName(), wide(file));
    EXPECT_FALSE(mapped->IsEOF());
    EXPECT_EQ(mapped->SetPosition(0), -1);
    EXPECT_EQ(mapped->Retain(), nullptr);
    mapped->Release();
}

TEST_F(MappedFileTest, AFileOfWholePagesIsNotGrownAndAShortOneIsFilledToAPage)
{
    std::string whole = path("whole.bin");
    writeFile(whole, size_t(2 * page()), 'w');
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(wide(whole), 0, size_t(page()));
    EXPECT_EQ(sizeOnDisk(whole), 2 * page());
    EXPECT_EQ(static_cast<char*>(mapped->GetMemory())[10], 'w');
    mapped->Release();

    std::string shortFile = path("short.bin");
    writeFile(shortFile, 10, 's');
    mapped = CZR_MMapedFile::Create(wide(shortFile), 0, 10);
    mapped->Release();
    EXPECT_EQ(contents(shortFile), std::string(10, 's') + std::string(size_t(page()) - 10, '\0'));
}

TEST_F(MappedFileTest, AWriteOutsideTheWindowMovesItAndGrowsTheFile)
{
    std::string file = path("far.bin");
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(wide(file), 0, size_t(page()));
    ASSERT_TRUE(mapped->WriteBlock("0123456789", 70000, 10));
    EXPECT_EQ(mapped->GetPosition(), 70010);
    EXPECT_EQ(mapped->GetSize(), 131072);
    EXPECT_EQ(memcmp(static_cast<char*>(mapped->GetMemory()) + (70000 - 65536), "0123456789", 10), 0);
    EXPECT_TRUE(mapped->Flush());
    mapped->Release();
    EXPECT_EQ(sizeOnDisk(file), 131072);
    EXPECT_EQ(contents(file).substr(70000, 10), "0123456789");
}

// Every page a window can reach is inside the file: touching any of them never raises SIGBUS.
TEST_F(MappedFileTest, NoWindowReachesPastTheEndOfTheFile)
{
    std::string file = path("edge.bin");
    writeFile(file, size_t(17 * page()), 'e');
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(wide(file), 0, 200000);
    ASSERT_TRUE(mapped->IsValid());
    EXPECT_GE(mapped->GetSize(), 200000);
    memset(mapped->GetMemory(), 'm', 200000);
    mapped->Release();

    std::string other = path("edge2.bin");
    writeFile(other, size_t(17 * page()), 'e');
    mapped = CZR_MMapedFile::Create(wide(other), 0, 100);
    char byte = 0;
    ASSERT_TRUE(mapped->ReadBlock(&byte, 65536, 1));
    EXPECT_EQ(byte, 'e');
    EXPECT_GE(mapped->GetSize(), 131072);
    ASSERT_TRUE(mapped->WriteBlock("x", 131071, 1));
    mapped->Release();
    EXPECT_EQ(contents(other)[131071], 'x');
}

TEST_F(MappedFileTest, RandomReadsAndWritesMatchAFileModel)
{
    std::string file = path("model.bin");
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(wide(file), 0, size_t(page()));
    ASSERT_TRUE(mapped->IsValid());
    Bytes model(size_t(page()), 0);
    std::mt19937 random(3);
    for (int step = 0; step < 300; ++step) {
        SCOPED_TRACE(step);
        int64_t offset = int64_t(random() % 400000);
        size_t size = 1 + random() % 150000;
        if (model.size() < uint64_t(offset) + size)
            model.resize(size_t(offset) + size, 0);
        if (random() % 2) {
            Bytes bytes(size);
            for (uint8_t& b : bytes)
                b = uint8_t(random());
            ASSERT_TRUE(mapped->WriteBlock(bytes.data(), offset, size));
            std::copy(bytes.begin(), bytes.end(), model.begin() + offset);
        } else {
            Bytes got(size);
            ASSERT_TRUE(mapped->ReadBlock(got.data(), offset, size));
            ASSERT_TRUE(std::equal(got.begin(), got.end(), model.begin() + offset));
        }
        ASSERT_EQ(mapped->GetPosition(), offset + int64_t(size));
        ASSERT_GE(uint64_t(mapped->GetSize()), model.size());
    }
    Bytes sequential(1000);
    ASSERT_TRUE(mapped->ReadBlock(sequential.data(), int64_t(0), 10));
    EXPECT_EQ(mapped->ReadBlock(sequential.data(), sequential.size()), sequential.size());
    EXPECT_TRUE(std::equal(sequential.begin(), sequential.end(), model.begin() + 10));
    mapped->Release();
    std::string disk = contents(file);
    ASSERT_GE(disk.size(), model.size());
    EXPECT_TRUE(std::equal(model.begin(), model.end(), reinterpret_cast<const uint8_t*>(disk.data())));
}

TEST_F(MappedFileTest, AFileThatCannotBeOpenedIsNotValid)
{
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(wide(path("missing/folder/file.bin")), 0, 100);
    EXPECT_FALSE(mapped->IsValid());
    char byte = 0;
    EXPECT_FALSE(mapped->ReadBlock(&byte, 0, 1));
    EXPECT_EQ(mapped->ReadBlock(&byte, 1), 0u);
    EXPECT_FALSE(mapped->Flush());
    mapped->Release();
}

} // namespace
