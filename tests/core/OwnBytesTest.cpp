#include "containers/CZR_BasicArray.h"
#include "streams/CZR_ArchiveLoader.h"
#include "streams/CZR_ArchiveSaver.h"
#include "streams/CZR_FileBufferArchive.h"
#include "streams/CZR_MMapedFile.h"
#include "streams/IZR_MemoryStream.h"
#include "strings/CZR_BinaryBuf.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_TextBuf.h"
#include "strings/CZR_WideString.h"
#include "xml/CZR_XMLElement.h"

#include "FailingManager.h"
#include "IsolatedEnvironment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

const std::string kDigits = "0123456789";

std::string bytesOf(const void* p, size_t n) { return std::string(static_cast<const char*>(p), n); }

std::string contents(const CZR_BinaryBuf& buffer) { return bytesOf(buffer.GetBuffer(), size_t(buffer.GetSize())); }

std::string narrow(const CZR_WideStringC& text) { return CZR_WideString(text).UTF8Encode().c_str(); }

std::string repeated(const std::string& bytes, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += bytes;
    return all;
}

std::string littleEndian32(size_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

// `count` bytes of a pattern that never repeats within 251 bytes, so a misplaced copy shows.
std::string pattern(size_t count)
{
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += char(i % 251);
    return bytes;
}

// What a copy within one byte sequence must leave, the source read as it was before the copy.
std::string copiedWithin(std::string bytes, size_t from, size_t to, size_t count)
{
    std::string source = bytes.substr(from, count);
    if (bytes.size() < to + count)
        bytes.resize(to + count);
    bytes.replace(to, count, source);
    return bytes;
}

// A consecutive stream over a buffer of its own, exactly full: the next write past its end grows it.
IZR_MemoryStream* fullStream(const std::string& bytes)
{
    auto* buffer = static_cast<uint8_t*>(ZRMEM_AllocatorAlloc(nullptr, bytes.size()));
    memcpy(buffer, bytes.data(), bytes.size());
    return ZR_CreateMemoryStream(buffer, bytes.size(), true, nullptr);
}

std::string streamContents(IZR_MemoryStream* stream)
{
    std::string bytes(size_t(stream->GetSize()), '\0');
    EXPECT_TRUE(stream->ReadBlock(&bytes[0], 0, bytes.size()));
    stream->Release();
    return bytes;
}

// Stores digits in the room past the data of a 100-byte stream and writes them from there to 300,
// past the end: the bytes skipped between the data and 300 must not be cleared before the copy.
std::string streamWritingFromItsSpareRoom(bool consecutive)
{
    IZR_MemoryStream* stream = ZR_CreateMemoryStream(consecutive, nullptr);
    std::string start = pattern(100);
    stream->WriteBlock(start.data(), start.size());
    memcpy(stream->GetBuffer() + 200, kDigits.data(), kDigits.size());
    EXPECT_TRUE(stream->WriteBlock(stream->GetBuffer() + 200, 300, kDigits.size()));
    return streamContents(stream);
}

// A fresh saver whose buffer must grow at least once as it keeps storing its own bytes.
template <class Store> std::string saverStoringItself(Store store)
{
    CZR_ArchiveSaver saver;
    saver.Write(kDigits.data(), int(kDigits.size()));
    for (int i = 0; i < 8; ++i)
        store(saver);
    EXPECT_FALSE(saver.Failed());
    return bytesOf(saver.GetBuffer(), size_t(saver.GetLength()));
}

// A mapped file whose window at 0 starts with pattern(200).
CZR_MMapedFile* patternedFile(const std::string& file)
{
    CZR_MMapedFile* mapped = CZR_MMapedFile::Create(CZR_WideString::FromUTF8(file.c_str()), 0, 65536);
    std::string start = pattern(200);
    EXPECT_TRUE(mapped->WriteBlock(start.data(), 0, start.size()));
    return mapped;
}

std::string mappedFileWritingItself(const std::string& file, int64_t to, size_t count)
{
    CZR_MMapedFile* mapped = patternedFile(file);
    EXPECT_TRUE(mapped->WriteBlock(mapped->GetMemory(), to, count));
    std::string written(count, '\0');
    EXPECT_TRUE(mapped->ReadBlock(&written[0], to, count));
    mapped->Release();
    return written;
}

// Whether a read into the file's own window was refused, then what the window's first 200 bytes hold.
std::string mappedFileReadingIntoItself(const std::string& file, int64_t from, size_t count)
{
    CZR_MMapedFile* mapped = patternedFile(file);
    std::string far = pattern(100);
    EXPECT_TRUE(mapped->WriteBlock(far.data(), 200000, far.size()));
    EXPECT_TRUE(mapped->ReMap(0, 200));
    auto* window = static_cast<uint8_t*>(mapped->GetMemory());
    bool read = mapped->ReadBlock(window + 10, from, count);
    std::string result = (read ? "read " : "refused ") + bytesOf(mapped->GetMemory(), 200);
    mapped->Release();
    return result;
}

struct OwnSourceCase
{
    const char* store;
    std::function<std::string()> run;
    std::string expected;
};

} // namespace

using OwnBytesTest = IsolatedTest;

// Each store takes its source from the storage it writes to, at a moment when that storage must
// grow, move or shift: the source must be read where its bytes are at the time of the copy. A
// source read from a freed or unmapped block stops the run under the address sanitizer.
TEST_F(OwnBytesTest, EveryStoreReadsASourceInsideItsOwnTarget)
{
    std::string folder = env.tempDir().toStdString();
    const OwnSourceCase cases[] = {
        {"byte buffer append",
         [] {
             CZR_BinaryBuf buffer(10, nullptr);
             memcpy(buffer.GetBuffer(), kDigits.data(), 10);
             buffer.AppendBlock(buffer.GetBuffer() + 2, 6);
             return contents(buffer);
         },
         kDigits + "234567"},
        {"byte buffer insert",
         [] {
             CZR_BinaryBuf buffer(10, nullptr);
             memcpy(buffer.GetBuffer(), kDigits.data(), 10);
             buffer.InsertBlock(4, buffer.GetBuffer() + 2, 5);
             return contents(buffer);
         },
         "0123" "23456" "456789"},
        {"byte text",
         [] {
             CZR_ByteTextBuf text(10, nullptr);
             memcpy(text.GetBuffer(), kDigits.data(), 10);
             text << text;
             return contents(text);
         },
         kDigits + kDigits},
        {"wide text",
         [] {
             CZR_WideTextBuf text;
             text << L"0123456789";
             for (int i = 0; i < 4; ++i)
                 text << text;
             return narrow(text.GetWideString());
         },
         repeated(kDigits, 16)},
        {"byte string append",
         [] {
             CZR_ByteString s(kDigits.c_str());
             s += CZR_ByteStringC(s.c_str() + 2, 6);
             return std::string(s.c_str());
         },
         kDigits + "234567"},
        {"wide string append",
         [] {
             CZR_WideString s(L"0123456789");
             s += CZR_WideStringC(s.c_str() + 2, 6);
             return narrow(s);
         },
         kDigits + "234567"},
        {"byte string replace",
         [] {
             CZR_ByteString s(kDigits.c_str());
             s.Replace(CZR_ByteStringC(s.c_str() + 5, 1), CZR_ByteStringC(s.c_str(), 10));
             return std::string(s.c_str());
         },
         "01234" + kDigits + "6789"},
        {"wide string replace",
         [] {
             CZR_WideString s(L"0123456789");
             s.Replace(s.c_str() + 9, s.c_str());
             return narrow(s);
         },
         "012345678" + kDigits},
        {"array insert",
         [] {
             CZR_BasicArray array(1, nullptr);
             memcpy(array.InsertSpaceAt(0, 3), "abc", 3);
             array.InsertAt(1, &array);
             return bytesOf(array.GetData(), size_t(array.GetSize()));
         },
         "aabcbc"},
        {"archive raw block",
         [] {
             return saverStoringItself([](CZR_ArchiveSaver& saver) { saver.Write(saver.GetBuffer(), saver.GetLength()); });
         },
         repeated(kDigits, 256)},
        {"archive byte string",
         [] {
             return saverStoringItself([](CZR_ArchiveSaver& saver) {
                 saver << CZR_ByteStringC(saver.GetBuffer(), saver.GetLength());
             });
         },
         [] {
             std::string bytes = kDigits;
             for (int i = 0; i < 8; ++i)
                 bytes += littleEndian32(bytes.size()) + bytes;
             return bytes;
         }()},
        {"archive loader read into the data it reads",
         [] {
             std::string bytes = pattern(200);
             auto* data = reinterpret_cast<unsigned char*>(&bytes[0]);
             CZR_ArchiveLoader loader(data, unsigned(bytes.size()));
             EXPECT_TRUE(loader.Read(data + 10, 100));
             return bytes;
         },
         copiedWithin(pattern(200), 0, 10, 100)},
        {"archive byte string into a memory stream",
         [] {
             IZR_MemoryStream* stream = fullStream(kDigits);
             CZR_ArchiveSaver saver(stream);
             saver << CZR_ByteStringC(stream->GetBuffer(), int(stream->GetSize()));
             EXPECT_FALSE(saver.Failed());
             return streamContents(stream);
         },
         kDigits + littleEndian32(10) + kDigits},
        {"buffer archive appending the memory stream it writes to",
         [] {
             IZR_MemoryStream* stream = fullStream(kDigits);
             {
                 CZR_FileBufferArchive archive(4, nullptr);
                 archive.AttachFile(stream, false);
                 EXPECT_EQ(archive.AppendBlock(stream->GetBuffer(), kDigits.size()), int(kDigits.size()));
                 EXPECT_TRUE(archive.Flush());
             }
             return streamContents(stream);
         },
         kDigits + kDigits},
        {"buffer archive appending the mapped window it writes beyond",
         [folder] {
             CZR_WideString path = CZR_WideString::FromUTF8((folder + "/archive.bin").c_str());
             CZR_MMapedFile* mapped = CZR_MMapedFile::Create(path, 0, 65536);
             std::string start = pattern(65536);
             EXPECT_TRUE(mapped->WriteBlock(start.data(), 0, start.size()));
             {
                 CZR_FileBufferArchive archive(4096, nullptr);
                 archive.AttachFile(mapped, false);
                 EXPECT_EQ(archive.AppendBlock(mapped->GetMemory(), 8192), 8192);
             }
             std::string written(8192, '\0');
             EXPECT_TRUE(mapped->ReadBlock(&written[0], 65536, written.size()));
             mapped->Release();
             return written;
         },
         pattern(8192)},
        {"consecutive stream append",
         [] {
             IZR_MemoryStream* stream = fullStream(kDigits);
             EXPECT_TRUE(stream->WriteBlock(stream->GetBuffer(), size_t(stream->GetSize())));
             return streamContents(stream);
         },
         kDigits + kDigits},
        {"consecutive stream overlapping write",
         [] {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, nullptr);
             std::string start = pattern(200);
             stream->WriteBlock(start.data(), start.size());
             EXPECT_TRUE(stream->WriteBlock(stream->GetBuffer(), 10, 100));
             return streamContents(stream);
         },
         copiedWithin(pattern(200), 0, 10, 100)},
        {"consecutive stream with only a reserved buffer",
         [] {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, nullptr);
             stream->EstimateSize(0, 4096);
             memcpy(stream->GetBuffer(), kDigits.data(), 10);
             EXPECT_TRUE(stream->WriteBlock(stream->GetBuffer(), 10));
             return streamContents(stream);
         },
         kDigits},
        {"consecutive stream write past its end from its spare room",
         [] { return streamWritingFromItsSpareRoom(true); },
         pattern(100) + std::string(200, '\0') + kDigits},
        {"block stream write past its end from its spare room",
         [] { return streamWritingFromItsSpareRoom(false); },
         pattern(100) + std::string(200, '\0') + kDigits},
        {"consecutive stream read into its own buffer",
         [] {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(true, nullptr);
             std::string start = pattern(200);
             stream->WriteBlock(start.data(), start.size());
             EXPECT_TRUE(stream->ReadBlock(stream->GetBuffer() + 10, 0, 100));
             return streamContents(stream);
         },
         copiedWithin(pattern(200), 0, 10, 100)},
        {"block stream sequential read into its own block",
         [] {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(false, nullptr);
             std::string start = pattern(200);
             stream->WriteBlock(start.data(), start.size());
             stream->SetPosition(0);
             EXPECT_EQ(stream->ReadBlock(stream->GetBuffer() + 10, 100), 100u);
             return streamContents(stream);
         },
         copiedWithin(pattern(200), 0, 10, 100)},
        {"block stream write across two blocks",
         [] {
             IZR_MemoryStream* stream = ZR_CreateMemoryStream(false, nullptr);
             stream->EstimateSize(0, 4096);
             std::string start = pattern(8192);
             stream->WriteBlock(start.data(), start.size());
             // The source ends the first block; the write starts inside it and runs into the second.
             EXPECT_TRUE(stream->WriteBlock(stream->GetBuffer() + 4096 - 1536, 4096 - 536, 1536));
             return streamContents(stream);
         },
         copiedWithin(pattern(8192), 4096 - 1536, 4096 - 536, 1536)},
        {"mapped file write that moves the window",
         [folder] { return mappedFileWritingItself(folder + "/moved.bin", 200000, 100); },
         pattern(100)},
        {"mapped file overlapping write",
         [folder] { return mappedFileWritingItself(folder + "/overlap.bin", 10, 100); },
         pattern(100)},
        {"mapped file read into its own window",
         [folder] { return mappedFileReadingIntoItself(folder + "/read.bin", 0, 100); },
         "read " + copiedWithin(pattern(200), 0, 10, 100)},
        // The window the bytes were to land in goes when the read moves it: the read is refused.
        {"mapped file read that would move its own window",
         [folder] { return mappedFileReadingIntoItself(folder + "/far.bin", 200000, 100); },
         "refused " + pattern(200)},
        {"element builders",
         [] {
             CZR_XMLElement element("p:t", nullptr);
             element.SetAttrValue("a", CZR_WideStringC(L"value"));
             element.AddChildContent(CZR_WideStringC(L"text"));
             element.SetTag(element.GetTagNameL(), element.GetPrefixL());
             element.SetAttrValue("b", *element.GetAttrValuePtr("a"));
             element.AddChildContent(*element.GetContentPtr(0));
             return std::string(element.OutputStream(false, true).c_str());
         },
         "<t:p a=\"value\" b=\"value\">texttext</t:p>"},
    };
    for (const OwnSourceCase& c : cases)
        EXPECT_EQ(c.run(), c.expected) << c.store;
}

// A write from a store's own storage that has to copy its bytes aside first cannot go on without
// that copy: it fails, the out-of-memory handler hears of it once, and the store keeps its bytes.
TEST_F(OwnBytesTest, AStoreThatCannotCopyItsOwnBytesAsideFailsReportedOnce)
{
    struct Attempt
    {
        bool written;
        int reports;
        std::string kept;
    };
    auto withoutMemory = [](const std::function<bool()>& write) {
        FailingManager failing(0);
        bool written = write();
        return Attempt{written, failing.outOfMemoryReports(), ""};
    };
    std::string folder = env.tempDir().toStdString();
    const struct
    {
        const char* store;
        std::function<Attempt()> run;
        std::string kept;
    } cases[] = {
        {"consecutive stream growing",
         [&] {
             IZR_MemoryStream* stream = fullStream(kDigits);
             Attempt attempt = withoutMemory([&] { return stream->WriteBlock(stream->GetBuffer(), kDigits.size()); });
             attempt.kept = streamContents(stream);
             return attempt;
         },
         kDigits},
        {"mapped file moving its window",
         [&] {
             CZR_MMapedFile* mapped = patternedFile(folder + "/short.bin");
             int64_t size = mapped->GetSize();
             Attempt attempt = withoutMemory([&] { return mapped->WriteBlock(mapped->GetMemory(), 200000, 100); });
             attempt.kept = bytesOf(mapped->GetMemory(), 200) + (mapped->GetSize() == size ? "" : " grown");
             mapped->Release();
             return attempt;
         },
         pattern(200)},
    };
    for (const auto& c : cases) {
        Attempt attempt = c.run();
        EXPECT_FALSE(attempt.written) << c.store;
        EXPECT_EQ(attempt.reports, 1) << c.store;
        EXPECT_EQ(attempt.kept, c.kept) << c.store;
    }
}
