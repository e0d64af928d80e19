#include "IsolatedEnvironment.h"

#include "../FailingManager.h"

#include "streams/CZR_ArchiveLoader.h"
#include "streams/CZR_ArchiveSaver.h"
#include "streams/CZR_CRTFileStream.h"
#include "streams/CZR_FileBufferArchive.h"
#include "streams/CZR_MemoryStream.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes saved(const CZR_ArchiveSaver& saver)
{
    return Bytes(saver.GetBuffer(), saver.GetBuffer() + saver.GetLength());
}

// The loader reads from an exact-size heap copy, so any read past the block is caught.
struct Block
{
    explicit Block(const Bytes& bytes) : data(new unsigned char[bytes.size() ? bytes.size() : 1])
    {
        if (!bytes.empty())
            memcpy(data.get(), bytes.data(), bytes.size());
    }
    std::unique_ptr<unsigned char[]> data;
};

Bytes remainingBytes(CZR_ArchiveLoader& loader, unsigned int count)
{
    Bytes rest(count);
    EXPECT_TRUE(loader.Read(rest.data(), count));
    EXPECT_TRUE(loader.IsEOF());
    return rest;
}

TEST(ArchiveSaver, WritesTheLittleEndianLayoutByHand)
{
    CZR_ArchiveSaver numbersAndText;
    numbersAndText << 1 << CZR_ByteStringC("ab");
    EXPECT_EQ(saved(numbersAndText), (Bytes{0x01, 0, 0, 0, 0x02, 0, 0, 0, 0x61, 0x62}));

    CZR_ArchiveSaver wide;
    wide << CZR_WideString(L"A");
    EXPECT_EQ(saved(wide), (Bytes{0x04, 0, 0, 0, 0x41, 0, 0, 0}));

    CZR_ArchiveSaver each;
    each << static_cast<unsigned char>(0xFE) << true << 0x01020304u << -2.0f << 0x0102030405060708LL << L"";
    EXPECT_EQ(saved(each), (Bytes{0xFE, 0x01, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x00, 0xC0, 0x08, 0x07, 0x06,
                                  0x05, 0x04, 0x03, 0x02, 0x01, 0x02, 0, 0, 0, 0, 0}));
}

TEST(ArchiveSaver, RoundTripsEveryTypeThroughTheLoader)
{
    const unsigned char raw[3] = {9, 8, 7};
    CZR_ArchiveSaver saver;
    saver << static_cast<unsigned char>(200) << false << true << INT_MIN << 4000000000u << FLT_MAX << LLONG_MIN
          << CZR_ByteStringC("view") << "pointer" << CZR_ByteString("string") << CZR_ByteString() << L"w\u00e9ide"
          << CZR_WideString(L"\u4e00 x") << CZR_WideString();
    saver.Write(raw, 3);

    Block block(saved(saver));
    CZR_ArchiveLoader loader(block.data.get(), unsigned(saver.GetLength()));
    unsigned char byte = 0;
    bool no = true, yes = false;
    int i = 0;
    unsigned int u = 0;
    float f = 0;
    long long ll = 0;
    CZR_ByteString view, pointer, string, empty("x");
    CZR_WideString wideP, wideS, wideEmpty(L"x");
    loader >> byte >> no >> yes >> i >> u >> f >> ll >> view >> pointer >> string >> empty >> wideP >> wideS >>
        wideEmpty;
    EXPECT_EQ(byte, 200);
    EXPECT_FALSE(no);
    EXPECT_TRUE(yes);
    EXPECT_EQ(i, INT_MIN);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(f, FLT_MAX);
    EXPECT_EQ(ll, LLONG_MIN);
    EXPECT_EQ(view, "view");
    EXPECT_EQ(pointer, "pointer");
    EXPECT_EQ(string, "string");
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(wideP, L"w\u00e9ide");
    EXPECT_EQ(wideS, L"\u4e00 x");
    EXPECT_TRUE(wideEmpty.IsEmpty());
    EXPECT_EQ(remainingBytes(loader, 3), (Bytes{9, 8, 7}));
}

TEST(ArchiveSaver, AppendsToAnAttachedStreamInTheSameLayout)
{
    IsolatedEnvironment env;
    std::string path = env.tempDir().toStdString() + "/archive.bin";
    IZR_FileStream* stream = ZR_CreateFileStream(path.c_str(), ZR_FILE_TRUNCATE, nullptr);
    ASSERT_TRUE(stream);
    CZR_ArchiveSaver toStream(stream);
    CZR_ArchiveSaver toBuffer;
    for (CZR_ArchiveSaver* saver : {&toStream, &toBuffer})
        *saver << 1 << "ab" << L"A" << static_cast<unsigned char>(7);
    EXPECT_EQ(toStream.GetLength(), 0);
    stream->Release();

    QByteArray text = IsolatedEnvironment::readFile(QString::fromStdString(path));
    EXPECT_EQ(Bytes(text.begin(), text.end()), saved(toBuffer));
}

TEST(ArchiveSaver, AValueThatCannotBeStoredFailsEveryLaterOne)
{
    FailingManager failing(1);
    CZR_ArchiveSaver saver;
    std::string large(200, 's');
    saver << 1;
    EXPECT_FALSE(saver.Failed());
    saver << CZR_ByteStringC(large.c_str()) << 2 << static_cast<unsigned char>(3);
    EXPECT_TRUE(saver.Failed());
    EXPECT_EQ(saved(saver), (Bytes{0x01, 0, 0, 0})) << "what was stored still lines up";
    EXPECT_EQ(failing.outOfMemoryReports(), 1);
}

TEST(ArchiveSaver, AStreamThatRefusesAWriteFailsEveryLaterValue)
{
    // Takes a number of writes, then refuses every one (a full disk).
    struct FillingStream : CZR_MemoryStream
    {
        explicit FillingStream(int accepted) : CZR_MemoryStream(kConsecutive | kOwnsBlocks, nullptr), accepted(accepted)
        {
        }
        using CZR_MemoryStream::WriteBlock;
        bool WriteBlock(const void* buffer, size_t size) override
        {
            return ++attempts <= accepted && CZR_MemoryStream::WriteBlock(buffer, size);
        }
        int accepted;
        int attempts = 0;
    };
    for (int accepted : {0, 1, 2}) {
        FillingStream stream(accepted);
        CZR_ArchiveSaver saver(&stream);
        saver << 1 << "ab" << 2;
        EXPECT_TRUE(saver.Failed()) << accepted;
        EXPECT_EQ(stream.attempts, accepted + 1) << "nothing is written after the refused write";
    }
    FillingStream roomy(10);
    CZR_ArchiveSaver saver(&roomy);
    saver << 1 << "ab" << 2;
    EXPECT_FALSE(saver.Failed());
    EXPECT_EQ(roomy.GetSize(), 14);
}

// A load that the remaining bytes cannot satisfy leaves the target and the position alone: the
// bytes that were there can still be read afterwards.
enum class Target { Int, Int64, Float, ByteString, WideString };

bool loadChangesTarget(CZR_ArchiveLoader& loader, Target target)
{
    switch (target) {
    case Target::Int: {
        int value = 42;
        loader >> value;
        return value != 42;
    }
    case Target::Int64: {
        long long value = 42;
        loader >> value;
        return value != 42;
    }
    case Target::Float: {
        float value = 42;
        loader >> value;
        return value != 42;
    }
    case Target::ByteString: {
        CZR_ByteString value("kept");
        loader >> value;
        return value != "kept";
    }
    case Target::WideString: {
        CZR_WideString value(L"kept");
        loader >> value;
        return value != L"kept";
    }
    }
    return true;
}

TEST(ArchiveLoader, ShortLoadsLeaveTargetAndPositionUnchanged)
{
    struct Case
    {
        const char* name;
        Target target;
        Bytes bytes;
    };
    const Case cases[] = {
        {"int from three bytes", Target::Int, {1, 2, 3}},
        {"int64 from seven bytes", Target::Int64, {1, 2, 3, 4, 5, 6, 7}},
        {"float from nothing", Target::Float, {}},
        {"length word cut short", Target::ByteString, {1, 0, 0}},
        {"string longer than the rest", Target::ByteString, {5, 0, 0, 0, 'a', 'b'}},
        {"negative string length", Target::ByteString, {0xFF, 0xFF, 0xFF, 0xFF, 'a'}},
        {"wide string longer than the rest", Target::WideString, {6, 0, 0, 0, 'a', 0, 'b', 0}},
        {"wide string length over 2^31", Target::WideString, {0, 0, 0, 0x80, 'a', 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unsigned size = unsigned(c.bytes.size());
        Block block(c.bytes);
        CZR_ArchiveLoader loader(block.data.get(), size);
        EXPECT_FALSE(loadChangesTarget(loader, c.target));
        EXPECT_EQ(remainingBytes(loader, size), c.bytes);
    }
}

TEST(ArchiveLoader, WideStringsDecodeExactlyTheStoredUnits)
{
    struct Case
    {
        const char* name;
        Bytes bytes;
        const wchar_t* expected;
        int expectedLength;
    };
    const Case cases[] = {
        {"terminated", {6, 0, 0, 0, 'a', 0, 'b', 0, 0, 0}, L"ab", 2},
        {"no terminator at the end of the block", {4, 0, 0, 0, 'a', 0, 'b', 0}, L"ab", 2},
        {"odd last byte ignored", {5, 0, 0, 0, 'a', 0, 'b', 0, 'c'}, L"ab", 2},
        {"zero unit inside kept", {6, 0, 0, 0, 'a', 0, 0, 0, 'b', 0}, L"a\0b", 3},
        {"only a terminator", {2, 0, 0, 0, 0, 0}, L"", 0},
        {"one byte", {1, 0, 0, 0, 'a'}, L"", 0},
        {"high units", {4, 0, 0, 0, 0x00, 0x4E, 0xFF, 0xFF}, L"\u4e00\uffff", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Block block(c.bytes);
        CZR_ArchiveLoader loader(block.data.get(), unsigned(c.bytes.size()));
        CZR_WideString text(L"old");
        loader >> text;
        EXPECT_EQ(text.GetLength(), c.expectedLength);
        EXPECT_EQ(0, wmemcmp(text.c_str(), c.expected, size_t(c.expectedLength)));
        EXPECT_TRUE(loader.IsEOF());
    }
}

TEST(ArchiveLoader, ReadSkipsWithANullBufferAndRefusesPastTheEnd)
{
    Bytes bytes{1, 2, 3, 4};
    Block block(bytes);
    CZR_ArchiveLoader loader(block.data.get(), 4);
    EXPECT_FALSE(loader.Read(nullptr, 5));
    EXPECT_TRUE(loader.Read(nullptr, 1));
    unsigned char two[2];
    EXPECT_TRUE(loader.Read(two, 2));
    EXPECT_EQ(two[0], 2);
    EXPECT_FALSE(loader.IsEOF());
    EXPECT_FALSE(loader.Read(two, 2));
    EXPECT_EQ(remainingBytes(loader, 1), Bytes{4});
}

}
