#include "FailingManager.h"

#include "codecs/ZRUTF8.h"
#include "codecs/ZRUrlCoding.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_TextBuf.h"
#include "strings/CZR_WideString.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Runs `scenario` with the default manager granting 0, 1, 2, ... allocations until it runs through
// without a refusal. Every partial run must give either the full result or an empty one, and must
// give all of its memory back.
void expectCleanFailures(const std::function<std::string()>& scenario, const std::string& expected)
{
    for (int successes = 0; successes < 200; ++successes) {
        std::string result;
        int outOfMemory = 0;
        int live = 0;
        {
            FailingManager failing(successes);
            result = scenario();
            outOfMemory = failing.outOfMemoryReports();
            live = failing.liveBlocks();
        }
        EXPECT_EQ(live, 0) << "after " << successes << " allocations";
        if (outOfMemory == 0) {
            EXPECT_EQ(result, expected);
            return;
        }
        EXPECT_TRUE(result.empty() || result == expected) << "after " << successes << ": " << result;
    }
    ADD_FAILURE() << "never ran to the end";
}

// Runs `scenario` with every run of one to three requests refused in turn, later requests granted
// again: a result that lost something on the way must not pass for the whole.
void expectWholeOrEmptyAfterAnyRefusal(const std::function<std::string()>& scenario, const std::string& expected)
{
    for (int first = 1;; ++first) {
        for (int count = 1; count <= 3; ++count) {
            std::string result;
            int requests = 0;
            int live = 0;
            {
                FailingManager failing(INT32_MAX);
                failing.refuseRequests(first, count);
                result = scenario();
                requests = failing.requests();
                live = failing.liveBlocks();
            }
            EXPECT_EQ(live, 0) << "requests " << first << " to " << first + count - 1 << " refused";
            EXPECT_TRUE(result.empty() || result == expected)
                << "requests " << first << " to " << first + count - 1 << " refused: " << result;
            if (requests < first)
                return;
        }
    }
}

std::string bytes(const CZR_ByteString& s) { return std::string(s.c_str(), size_t(s.GetLength())); }

std::string utf8(const CZR_WideString& s)
{
    CZR_ByteString encoded = s.UTF8Encode();
    return bytes(encoded);
}

} // namespace

TEST(FailureInjectionTest, ByteStringEditing)
{
    expectCleanFailures(
        [] {
            CZR_ByteString s("abc");
            CZR_ByteString shared = s;
            shared += "def";
            shared.Insert(0, '>');
            shared.Replace("cd", "CD-CD");
            CZR_ByteString tail = shared.Mid(2, 5);
            tail.MakeUpper();
            tail += tail;
            tail.GetBuffer(64);
            tail.ReleaseBuffer(-1);
            return bytes(tail);
        },
        "BCD-CBCD-C");
}

TEST(FailureInjectionTest, FormattingAndConversions)
{
    expectCleanFailures(
        [] {
            CZR_ByteString s;
            s.Format("%d:%s:%.1f", 42, "x", 2.5);
            CZR_WideString w = s.UTF8Decode();
            w += L"\x00E9";
            CZR_WideString formatted;
            formatted.Format(L"[%ls]", w.c_str());
            return utf8(formatted);
        },
        "[42:x:2.5\xC3\xA9]");
}

TEST(FailureInjectionTest, Utf8EncodingNeverReportsBrokenText)
{
    std::wstring longText(400, L'\x4E2D');
    expectCleanFailures([&] { return bytes(ZR_UTF8Encode(longText.c_str(), int(longText.size()))); },
                        [&] {
                            std::string expected;
                            for (size_t i = 0; i < longText.size(); ++i)
                                expected += "\xE4\xB8\xAD";
                            return expected;
                        }());
}

TEST(FailureInjectionTest, Utf8DecodingNeverReportsBrokenText)
{
    std::string encoded;
    for (int i = 0; i < 400; ++i)
        encoded += "\xE4\xB8\xAD";
    CZR_ByteString bytes(encoded.c_str());
    FailingManager failing(1000);
    // The decoder's output outgrows the limit; a text cut short at the limit would still fit.
    failing.refuseAbove(1100);
    EXPECT_TRUE(bytes.UTF8Decode().IsEmpty());
    EXPECT_TRUE(CZR_WideString::FromUTF8(encoded.c_str()).IsEmpty());
    EXPECT_EQ(failing.outOfMemoryReports(), 2);

    CZR_UTF8Decoder decoder;
    for (char b : encoded)
        decoder.Input(static_cast<unsigned char>(b));
    EXPECT_TRUE(decoder.Failed());
    decoder.Clear();
    EXPECT_FALSE(decoder.Failed());
    decoder.Input('a');
    EXPECT_EQ(CZR_WideString(decoder.GetResult()), L"a");
}

TEST(FailureInjectionTest, SystemLocaleAndBuffers)
{
    expectCleanFailures(
        [] {
            CZR_ByteString local = CZR_ByteString::FromUnicode(L"caf\x00E9");
            CZR_WideString back = CZR_WideString::FromLocal(local.c_str(), local.GetLength());
            CZR_WideTextBuf text;
            text << back << 12 << 0.5;
            CZR_ByteTextBuf out;
            out << CZR_ByteStringC(utf8(CZR_WideString(text.GetWideString())).c_str()) << 7u;
            return std::string(reinterpret_cast<const char*>(out.GetBuffer()), size_t(out.GetSize()));
        },
        "caf\xC3\xA9"
        "120.57");
}

TEST(FailureInjectionTest, UrlEncodingLosesNoCharacter)
{
    CZR_WideString plain(L"ab cd\x00E9");
    expectWholeOrEmptyAfterAnyRefusal([&] { return bytes(ZR_UrlEncode(plain)); }, "ab%20cd%C3%A9");
    expectWholeOrEmptyAfterAnyRefusal([&] { return bytes(ZR_EncodeURI(plain)); }, "ab%20cd%C3%A9");
}
