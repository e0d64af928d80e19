#include "FailingManager.h"

#include "memory/CZR_GrowOnlyPool.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_StringL.h"
#include "strings/CZR_TextBuf.h"
#include "strings/CZR_WideString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

std::string contents(const CZR_BinaryBuf& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetBuffer()), size_t(buffer.GetSize()));
}

} // namespace

TEST(BinaryBufTest, GrowthSteps)
{
    struct Case
    {
        int initial;
        int append;
        int allocated;
    };
    const Case cases[] = {{0, 1, 128}, {0, 129, 256}, {1000, 1, 1250}, {512, 1, 640}};
    for (const Case& c : cases) {
        CZR_BinaryBuf buffer(c.initial, nullptr);
        ASSERT_TRUE(buffer.AppendFill('x', c.append));
        EXPECT_EQ(buffer.GetAllocSize(), c.allocated) << c.initial << " + " << c.append;
        EXPECT_EQ(buffer.GetSize(), c.initial + c.append);
    }
    CZR_BinaryBuf estimated;
    EXPECT_TRUE(estimated.EstimateSize(1000, 64));
    EXPECT_EQ(estimated.GetAllocSize(), 1024);
    EXPECT_EQ(estimated.GetSize(), 0);
    EXPECT_TRUE(estimated.EstimateSize(10, 0));

    CZR_BinaryBuf huge(16, nullptr);
    EXPECT_FALSE(huge.ExpandBuf(INT_MAX)) << "the sum does not wrap";
    EXPECT_FALSE(huge.AppendBlock(nullptr, INT_MAX - 8));
    EXPECT_EQ(huge.GetAllocSize(), 16);
}

TEST(BinaryBufTest, EveryBufferGrowsThroughAGrowOnlyPool)
{
    // The pool never reallocates: each growth must move the bytes to a new block.
    CZR_GrowOnlyPool pool(nullptr, 4096);
    std::string expected;
    CZR_BinaryBuf bytes(&pool);
    CZR_ByteTextBuf text(&pool);
    CZR_WideTextBuf wide(&pool);
    for (int i = 0; i < 600; ++i) {
        char piece[8];
        int length = snprintf(piece, sizeof piece, "%d,", i);
        expected.append(piece, size_t(length));
        ASSERT_TRUE(bytes.AppendBlock(piece, length));
        text << i << ",";
        for (int k = 0; k < length; ++k)
            ASSERT_TRUE(wide.AppendChar(wchar_t(piece[k])));
    }
    EXPECT_EQ(contents(bytes), expected);
    EXPECT_EQ(contents(text), expected);
    CZR_WideStringC wideText = wide.GetWideString();
    EXPECT_EQ(std::wstring(wideText.GetPtr(), size_t(wideText.GetLength())),
              std::wstring(expected.begin(), expected.end()));
}

TEST(BinaryBufTest, AFailedGrowthKeepsTheBytesAndIsReportedOnce)
{
    FailingManager failing(1);
    CZR_BinaryBuf buffer;
    ASSERT_TRUE(buffer.AppendBlock("kept", 4));
    EXPECT_FALSE(buffer.AppendFill('x', 500));
    EXPECT_EQ(failing.outOfMemoryReports(), 1);
    EXPECT_EQ(contents(buffer), "kept");
}

TEST(BinaryBufTest, ABlockCopiesFromItselfAcrossAGrowth)
{
    const std::string text = "0123456789";
    // Each buffer starts full, so the next append or insertion must grow (and move) the block.
    CZR_BinaryBuf appended(10, nullptr);
    memcpy(appended.GetBuffer(), text.data(), 10);
    ASSERT_TRUE(appended.AppendBlock(appended.GetBuffer() + 2, 6));
    EXPECT_EQ(contents(appended), text + "234567");

    struct InsertCase
    {
        int pos, from, count;
        std::string result;
    };
    // Sources wholly before, wholly after and straddling the insertion point.
    const InsertCase inserts[] = {{8, 1, 3, "01234567123" "89"},
                                  {2, 5, 3, "01" "567" "23456789"},
                                  {4, 2, 5, "0123" "23456" "456789"}};
    for (const InsertCase& c : inserts) {
        CZR_BinaryBuf buffer(10, nullptr);
        memcpy(buffer.GetBuffer(), text.data(), 10);
        ASSERT_TRUE(buffer.InsertBlock(c.pos, buffer.GetBuffer() + c.from, c.count));
        EXPECT_EQ(contents(buffer), c.result) << c.pos << " " << c.from << " " << c.count;
    }

    CZR_ByteTextBuf bytes(2, nullptr);
    memcpy(bytes.GetBuffer(), "ab", 2);
    bytes << bytes;
    EXPECT_EQ(contents(bytes), "abab");
    CZR_WideTextBuf wide(int(2 * sizeof(wchar_t)), nullptr);
    wmemcpy(reinterpret_cast<wchar_t*>(wide.GetBuffer()), L"ab", 2);
    wide << wide;
    EXPECT_EQ(CZR_WideString(wide.GetWideString()), L"abab");
}

TEST(BinaryBufTest, EditingRefusesBadPositionsAndCounts)
{
    CZR_BinaryBuf buffer;
    ASSERT_TRUE(buffer.CopyData("abcdef", 6));
    buffer.Delete(2, 5);
    EXPECT_EQ(contents(buffer), "abcdef");
    buffer.Delete(-1, 1);
    buffer.Delete(1, -1);
    buffer.Delete(2, INT_MAX);
    EXPECT_EQ(contents(buffer), "abcdef");
    buffer.Delete(2, 4);
    EXPECT_EQ(contents(buffer), "ab");

    EXPECT_TRUE(buffer.InsertBlock(1, "XY", 2));
    EXPECT_TRUE(buffer.InsertBlock(4, "!", 1));
    EXPECT_EQ(contents(buffer), "aXYb!");
    EXPECT_FALSE(buffer.InsertBlock(6, "?", 1));
    EXPECT_FALSE(buffer.InsertBlock(-1, "?", 1));
    EXPECT_FALSE(buffer.InsertBlock(0, "?", -1));
    EXPECT_FALSE(buffer.AppendBlock("?", -1));
    EXPECT_FALSE(buffer.AppendFill('?', -2));
    EXPECT_FALSE(buffer.CopyData("?", -1));
    EXPECT_EQ(contents(buffer), "aXYb!");

    EXPECT_TRUE(buffer.CopyData(nullptr, 0));
    EXPECT_EQ(buffer.GetSize(), 0);
    EXPECT_TRUE(buffer.AppendBlock(nullptr, 3));
    EXPECT_EQ(buffer.GetSize(), 3);
}

TEST(BinaryBufTest, OwnershipTransfers)
{
    CZR_BinaryBuf buffer;
    buffer.AppendBlock("data", 4);
    unsigned char* block = buffer.GetBuffer();
    buffer.AttachData(block, 2);
    EXPECT_EQ(buffer.GetBuffer(), block) << "attaching its own block does nothing";
    EXPECT_EQ(buffer.GetSize(), 4);
    buffer.TakeOver(buffer);
    EXPECT_EQ(contents(buffer), "data");

    CZR_BinaryBuf other;
    other.TakeOver(buffer);
    EXPECT_EQ(contents(other), "data");
    EXPECT_EQ(other.GetAllocSize(), 4);
    EXPECT_EQ(buffer.GetBuffer(), nullptr);

    other.DetachBuffer();
    EXPECT_EQ(other.GetBuffer(), nullptr);
    EXPECT_TRUE(other.AppendBlock("x", 1));
    EXPECT_NE(other.GetBuffer(), block);
    CZR_BinaryBuf adopter;
    adopter.AttachData(block, 4);
    EXPECT_EQ(contents(adopter), "data");

    CZR_ByteStringL plain;
    adopter.GetByteStringL(plain);
    EXPECT_STREQ(plain.GetPtr(), "data");
    plain.Set(CZR_ByteStringC(), nullptr);
    EXPECT_EQ(plain.GetPtr(), nullptr);
    EXPECT_EQ(plain.GetLength(), 0);
    char* raw = plain.AllocBuffer(3, nullptr);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(plain.GetLength(), 3);
    plain.Empty(nullptr);
}

TEST(TextBufTest, ByteTextAppendsNumbers)
{
    CZR_ByteTextBuf text;
    text << CZR_ByteStringC("n=") << -12 << " u=" << 4294967295u << " ll=" << -9000000000LL << " f=" << 2.0 << ","
         << 0.5 << "," << 1e-7;
    EXPECT_EQ(contents(text), "n=-12 u=4294967295 ll=-9000000000 f=2,0.5,0.0000001");
    CZR_ByteTextBuf more;
    more << text;
    EXPECT_EQ(more.GetSize(), text.GetSize());
    more = CZR_ByteStringC("");
    EXPECT_EQ(more.GetSize(), 0);
}

TEST(TextBufTest, WideTextAppendsCharacters)
{
    CZR_WideTextBuf text;
    text << 42;
    EXPECT_EQ(text.GetWideString().GetLength(), 2);
    text << L"|" << CZR_WideString(L"\x4E2D") << static_cast<const wchar_t*>(nullptr) << 0.25;
    EXPECT_TRUE(text.AppendChar(L'!'));
    CZR_WideString result(text.GetWideString());
    EXPECT_EQ(result, L"42|\x4E2D" L"0.25!");

    CZR_WideTextBuf odd;
    odd.AppendFill(0, 10);
    EXPECT_EQ(odd.GetWideString().GetLength(), 2);
    odd = CZR_WideStringC(L"ab");
    EXPECT_EQ(odd.GetSize(), 8);
    CZR_WideStringL plain;
    odd.GetWideStringL(plain);
    EXPECT_STREQ(plain.GetPtr(), L"ab");
    plain.Empty(nullptr);
}

TEST(TextBufTest, FixedBufferCutsWhatDoesNotFit)
{
    CZR_StringBuf<4> small;
    small.Copy("ab");
    small.Append("xyz");
    EXPECT_EQ(std::string(small.GetPtr(), size_t(small.GetSize())), "abxy");
    small.Copy("123456");
    EXPECT_EQ(small.GetSize(), 4);

    CZR_StringBuf<16> numbers;
    numbers.Append(255, 6);
    numbers.Append("/");
    numbers.Append(-5, 1);
    EXPECT_EQ(std::string(numbers.GetPtr(), size_t(numbers.GetSize())), "FF/-5");
}
