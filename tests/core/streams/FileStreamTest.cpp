#include "IsolatedEnvironment.h"

#include "streams/CZR_CRTFileAccess.h"
#include "streams/CZR_CRTFileStream.h"
#include "streams/ZRFile.h"
#include "xml/CZR_XMLElement.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileStreamTest : public IsolatedTest
{
protected:
    std::string path(const char* name) const { return env.tempDir().toStdString() + "/" + name; }

    static void write(const std::string& file, const std::string& bytes)
    {
        std::ofstream out(file, std::ios::binary);
        out << bytes;
    }

    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    static CZR_ByteStringC view(const std::string& text) { return CZR_ByteStringC(text.c_str(), int(text.size())); }
};

TEST_F(FileStreamTest, HandlesReadWriteSeekAndTruncate)
{
    std::string file = path("h.bin");
    _ZR_HFILE* handle = ZR_File_Open(view(file), ZR_FILE_READWRITE, nullptr);
    ASSERT_TRUE(handle);
    EXPECT_EQ(ZR_File_Write(handle, "hello world", 11), 11u);
    EXPECT_EQ(ZR_File_GetSize(handle), 11);
    EXPECT_EQ(ZR_File_SetPosition(handle, -1), -1);
    char buffer[16] = {};
    EXPECT_EQ(ZR_File_ReadPos(handle, buffer, 5, 6), 5u);
    EXPECT_EQ(std::string(buffer, 5), "world");
    EXPECT_EQ(ZR_File_ReadPos(handle, buffer, 5, 11), 0u);
    EXPECT_EQ(ZR_File_WritePos(handle, "!", 1, 20), 1u);
    EXPECT_EQ(ZR_File_GetSize(handle), 21);
    EXPECT_TRUE(ZR_File_Truncate(handle, 5));
    EXPECT_TRUE(ZR_File_Flush(handle));
    ZR_File_Close(handle, nullptr);
    EXPECT_EQ(read(file), "hello");

    _ZR_HFILE* readOnly = ZR_File_Open(view(file), 3, nullptr);
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(ZR_File_Write(readOnly, "x", 1), 0u);
    ZR_File_Close(readOnly, nullptr);
    EXPECT_FALSE(ZR_File_Open(view(path("missing")), ZR_FILE_READONLY, nullptr));
}

TEST_F(FileStreamTest, CopyMoveExistDelete)
{
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    std::string source = path("source"), copy = path("copy"), moved = path("moved");
    write(source, big);
    EXPECT_TRUE(ZR_File_Copy(view(source), view(copy)));
    EXPECT_EQ(read(copy), big);

    EXPECT_FALSE(ZR_File_Copy(view(source), view(source)));
    EXPECT_EQ(read(source), big);
    std::string hardLink = path("link");
    ASSERT_EQ(link(source.c_str(), hardLink.c_str()), 0);
    EXPECT_FALSE(ZR_File_Copy(view(source), view(hardLink)));
    EXPECT_EQ(read(source), big);

    std::string empty = path("empty");
    write(empty, "");
    EXPECT_FALSE(ZR_File_Copy(view(empty), view(path("never"))));
    EXPECT_FALSE(ZR_File_Exist(view(path("never"))));
    EXPECT_FALSE(ZR_File_Copy(view(env.tempDir().toStdString()), view(path("dir-copy"))));
    EXPECT_FALSE(ZR_File_Exist(view(path("dir-copy"))));

    EXPECT_TRUE(ZR_File_Move(view(copy), view(moved)));
    EXPECT_FALSE(ZR_File_Exist(view(copy)));
    EXPECT_FALSE(ZR_File_Move(view(copy), view(moved)));
    std::wstring wideMoved(moved.begin(), moved.end());
    EXPECT_TRUE(ZR_File_Exist(CZR_WideStringC(wideMoved.c_str())));
    EXPECT_TRUE(ZR_File_Delete(CZR_WideStringC(wideMoved.c_str())));
    EXPECT_FALSE(ZR_File_Delete(view(moved)));
}

// A file-size limit makes the copy's writes fall short; the copy must say so.
TEST_F(FileStreamTest, CopyReportsAShortWrite)
{
    std::string source = path("large"), target = path("limited");
    write(source, std::string(100000, 'z'));
    struct rlimit saved = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = 40000;
    sighandler_t previous = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool copied = ZR_File_Copy(view(source), view(target));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_FALSE(copied);
    EXPECT_EQ(read(target).size(), 40000u);
}

TEST_F(FileStreamTest, StreamWindowAndWholeBlocks)
{
    std::string file = path("w.bin");
    write(file, "0123456789");
    IZR_FileStream* stream = ZR_CreateFileStream(file.c_str(), ZR_FILE_READWRITE, nullptr);
    ASSERT_TRUE(stream);
    EXPECT_FALSE(stream->SetRange(8, 3));
    EXPECT_FALSE(stream->SetRange(-1, 3));
    ASSERT_TRUE(stream->SetRange(2, 5));
    EXPECT_EQ(stream->GetPosition(), 0);
    EXPECT_EQ(stream->GetSize(), 5);
    EXPECT_EQ(stream->SetPosition(6), -1);
    EXPECT_EQ(stream->SetPosition(-1), -1);
    char buffer[16] = {};
    EXPECT_EQ(stream->ReadBlock(buffer, sizeof buffer), 5u);
    EXPECT_EQ(std::string(buffer, 5), "23456");
    EXPECT_EQ(stream->ReadBlock(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(stream->IsEOF());
    EXPECT_TRUE(stream->ReadBlock(buffer, int64_t(1), 4));
    EXPECT_EQ(std::string(buffer, 4), "3456");
    EXPECT_FALSE(stream->ReadBlock(buffer, int64_t(2), 4));
    EXPECT_FALSE(stream->ReadBlock(buffer, int64_t(-1), 1));
    stream->ClearRange();
    EXPECT_EQ(stream->GetSize(), 10);
    EXPECT_FALSE(stream->ReadBlock(buffer, int64_t(8), 4));
    EXPECT_TRUE(stream->WriteBlock("ab", 2));
    EXPECT_EQ(stream->GetSize(), 12);
    IZR_FileWrite* writeFace = stream;
    EXPECT_TRUE(writeFace->WriteBlock("c", 1));
    stream->Retain();
    stream->Release();
    stream->Release();
    EXPECT_EQ(read(file), "0123456789abc");
}

TEST_F(FileStreamTest, FactoriesCreateTruncateAndRefuse)
{
    std::string file = path("new.txt");
    IZR_FileWrite* writer = ZR_CreateFileWrite(file.c_str(), nullptr);
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->WriteBlock("first", 5));
    writer->Release();
    struct stat info = {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0644u & ~mask);
    writer = ZR_CreateFileWrite(file.c_str(), nullptr);
    ASSERT_TRUE(writer);
    writer->Release();
    EXPECT_EQ(read(file), "");

    EXPECT_FALSE(ZR_CreateFileRead(path("missing").c_str(), nullptr));
    EXPECT_FALSE(ZR_CreateFileRead(static_cast<const char*>(nullptr), nullptr));
    EXPECT_FALSE(ZR_CreateDefaultFileAccess(CZR_WideStringC(L""), nullptr));

    write(file, "<r a=\"1\"><c/></r>");
    std::wstring wide(file.begin(), file.end());
    IZR_FileAccess* access = ZR_CreateDefaultFileAccess(CZR_WideStringC(wide.c_str()), nullptr);
    ASSERT_TRUE(access);
    CZR_WideString held;
    access->GetPath(held);
    EXPECT_EQ(held, wide.c_str());
    IZR_FileStream* stream = access->CreateFileStream(ZR_FILE_READONLY);
    access->Release();
    ASSERT_TRUE(stream);
    CZR_XMLElement* root = CZR_XMLElement::Parse(static_cast<IZR_FileRead*>(stream));
    stream->Release();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetAttrValue("a"), L"1");
    EXPECT_EQ(root->CountChildren(), 1u);
    delete root;
}

TEST_F(FileStreamTest, DirectoryFifoAndReadOnlyFile)
{
    std::string dir = env.tempDir().toStdString();
    IZR_FileRead* directory = ZR_CreateFileRead(dir.c_str(), nullptr);
    if (directory) {
        char buffer[8];
        EXPECT_EQ(directory->ReadBlock(buffer, sizeof buffer), 0u);
        EXPECT_FALSE(directory->ReadBlock(buffer, int64_t(0), 1));
        directory->Release();
    }
    EXPECT_FALSE(ZR_CreateFileWrite(dir.c_str(), nullptr));

    std::string fifo = path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    IZR_FileRead* pipe = ZR_CreateFileRead(fifo.c_str(), nullptr);
    ASSERT_TRUE(pipe);
    EXPECT_EQ(pipe->GetSize(), 0);
    char byte;
    EXPECT_EQ(pipe->ReadBlock(&byte, 1), 0u);
    EXPECT_FALSE(CZR_XMLElement::Parse(pipe));
    pipe->Release();
    EXPECT_FALSE(ZR_File_Copy(view(fifo), view(path("fifo-copy"))));
    std::string regular = path("regular");
    write(regular, "data");
    EXPECT_FALSE(ZR_File_Copy(view(regular), view(fifo)));

    std::string locked = path("locked");
    write(locked, "<r/>");
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    IZR_FileRead* reader = ZR_CreateFileRead(locked.c_str(), nullptr);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetSize(), 4);
    reader->Release();
    if (geteuid() != 0) {
        EXPECT_FALSE(ZR_CreateFileWrite(locked.c_str(), nullptr));
    }
}

} // namespace
