#include "XmlTestSupport.h"

#include "../FailingManager.h"

#include "memory/CZR_GrowOnlyPool.h"
#include "strings/CZR_StringL.h"
#include "xml/CZR_XMLDataAcc.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string text(const CZR_ByteString& bytes) { return std::string(bytes.c_str(), size_t(bytes.GetLength())); }

std::string repeated(char c, size_t count) { return std::string(count, c); }

struct GrowthCase
{
    const char* name;
    std::string document;
    ParseOptions options;
};

// Every scratch buffer and list of the parser, and the composer's buffer, outgrows its first block.
const GrowthCase kGrowthCases[] = {
    {"long text", "<r>" + repeated('x', 200) + "</r>", {}},
    {"long text after a child", "<r><a>short</a><b>" + repeated('x', 200) + "</b></r>", {}},
    {"long attribute value", "<r a=\"s\"><c v=\"" + repeated('v', 200) + "\"/></r>", {}},
    {"long tag name", "<r><" + repeated('n', 300) + "/></r>", {}},
    {"second CDATA section", "<r><![CDATA[a]]><![CDATA[" + repeated('c', 200) + "]]></r>", {}},
    {"long prefix", "<p:r><" + repeated('q', 200) + ":c/></p:r>", {}},
    {"long unfinished reference", "<r>&" + repeated('e', 300) + " tail</r>", {}},
    {"many line breaks", "<r>" + repeated('\n', 300) + "t<c/></r>", {false, false, true}},
    {"many attributes", [] {
         std::string document = "<r";
         for (int i = 0; i < 60; ++i)
             document += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
         return document + "/>";
     }(),
     {}},
};

ElementPtr parse(const GrowthCase& c, _IZR_Allocator* allocator)
{
    return ElementPtr(CZR_XMLElement::Parse(c.document.data(), c.document.size(), c.options.keepSpaces, nullptr,
                                            allocator, c.options.noEntity, c.options.keepLineBreaks));
}

TEST(XmlGrowth, ATreeThroughAGrowOnlyPoolIsTheTreeOnTheHeap)
{
    for (const GrowthCase& c : kGrowthCases) {
        ElementPtr onHeap = parse(c, nullptr);
        ASSERT_TRUE(onHeap) << c.name;
        CZR_GrowOnlyPool pool(nullptr, 4096);
        ElementPtr inPool = parse(c, &pool);
        EXPECT_EQ(dumpTree(inPool.get()), dumpTree(onHeap.get())) << c.name;
        if (!inPool)
            continue;
        EXPECT_EQ(text(inPool->OutputStream(false, true)), text(onHeap->OutputStream(false, true))) << c.name;
        ElementPtr clonedOnHeap(onHeap->Clone(nullptr));
        ElementPtr clonedInPool(onHeap->Clone(&pool));
        EXPECT_EQ(dumpTree(clonedInPool.get()), dumpTree(clonedOnHeap.get())) << c.name;

        MemoryFileRead file(c.document);
        ElementPtr streamed(CZR_XMLElement::Parse(&file, c.options.keepSpaces, nullptr, &pool, c.options.noEntity,
                                                  c.options.keepLineBreaks));
        EXPECT_EQ(dumpTree(streamed.get()), dumpTree(onHeap.get())) << c.name;
    }
}

// Runs `attempt` with the default manager granting 0, 1, 2, ... allocations until a run meets no
// refusal. Each run must give the whole result or nothing, report each refusal it met, and give
// all of its memory back.
void expectWholeOrNothing(const std::function<std::string(_IZR_Allocator*)>& attempt, const std::string& whole,
                          bool throughAllocator)
{
    for (int successes = 0; successes < 400; ++successes) {
        FailingManager failing(successes);
        std::string result = attempt(throughAllocator ? &failing.mgr()->allocator : nullptr);
        EXPECT_EQ(failing.liveBlocks(), 0) << "after " << successes << " allocations";
        if (failing.requests() <= successes) {
            EXPECT_EQ(result, whole);
            return;
        }
        EXPECT_GE(failing.outOfMemoryReports(), 1);
        EXPECT_TRUE(result.empty() || result == whole) << "after " << successes << " allocations: " << result;
    }
    ADD_FAILURE() << "never ran to the end";
}

const char kDocument[] = "<p:r a=\"1\" b='&lt;two&gt;'>\n  <c d=\"e\">some text &amp; more text that outgrows "
                         "the first block of the text buffer, and then some</c>\n<![CDATA[x<y]]>"
                         "tail &#x4E2D;<d/><e><f g=\"h\"/></e></p:r>";

std::string dumpOrEmpty(const CZR_XMLElement* element) { return element ? dumpTree(element) : std::string(); }

TEST(XmlFailure, AParseThatRunsOutOfMemoryGivesNoTree)
{
    ParseOptions lineBreaks{false, false, true};
    std::string whole = dumpTree(parseMemory(kDocument, lineBreaks).get());
    for (bool throughAllocator : {true, false}) {
        expectWholeOrNothing(
            [](_IZR_Allocator* allocator) {
                ElementPtr root(CZR_XMLElement::Parse(kDocument, sizeof kDocument - 1, false, nullptr, allocator,
                                                      false, true));
                return dumpOrEmpty(root.get());
            },
            whole, throughAllocator);
        expectWholeOrNothing(
            [](_IZR_Allocator* allocator) {
                MemoryFileRead file(kDocument);
                ElementPtr root(CZR_XMLElement::Parse(&file, false, nullptr, allocator, false, true));
                return dumpOrEmpty(root.get());
            },
            whole, throughAllocator);
    }
}

TEST(XmlFailure, ABlockThatCannotBeReadFailsTheParse)
{
    struct FailingAfterFirstBlock : MemoryFileRead
    {
        using MemoryFileRead::MemoryFileRead;
        bool ReadBlock(void* buffer, int64_t offset, size_t size) override
        {
            return offset == 0 && MemoryFileRead::ReadBlock(buffer, offset, size);
        }
    } file(kDocument);
    CZR_XMLDataStmAcc* reader = CZR_XMLDataStmAcc::Create(&file, nullptr, 16);
    ElementPtr root(CZR_XMLElement::Parse(reader, false, nullptr, nullptr, false, false));
    EXPECT_EQ(root, nullptr);
    reader->Release();
}

TEST(XmlFailure, ACloneThatRunsOutOfMemoryIsNull)
{
    ElementPtr source = parseMemory(kDocument);
    ASSERT_TRUE(source);
    ElementPtr whole(source->Clone(nullptr));
    for (bool throughAllocator : {true, false}) {
        expectWholeOrNothing(
            [&](_IZR_Allocator* allocator) {
                ElementPtr copy(source->Clone(allocator));
                return dumpOrEmpty(copy.get());
            },
            dumpTree(whole.get()), throughAllocator);
    }
}

TEST(XmlFailure, WritingThatRunsOutOfMemorySaysSo)
{
    ElementPtr source = parseMemory(kDocument);
    ASSERT_TRUE(source);
    std::string whole = text(source->OutputStream(false, false));
    expectWholeOrNothing([&](_IZR_Allocator*) { return text(source->OutputStream(false, false)); }, whole, false);
    expectWholeOrNothing(
        [&](_IZR_Allocator*) {
            CZR_ByteStringL out;
            bool written = source->OutputStream(out, false, false);
            std::string bytes(out.GetPtr() ? out.GetPtr() : "", size_t(out.GetLength()));
            out.Empty(nullptr);
            EXPECT_EQ(written, !bytes.empty());
            return bytes;
        },
        whole, false);
}

TEST(XmlFailure, BuildersSayWhenMemoryRunsOutAndKeepWhatTheElementHad)
{
    CZR_XMLElement element("r", nullptr);
    ASSERT_TRUE(element.SetAttrValue("a", CZR_WideStringC(L"old")));
    {
        FailingManager failing(0);
        EXPECT_FALSE(element.SetTag("p:t"));
        EXPECT_FALSE(element.SetTag("t"));
        EXPECT_FALSE(element.SetAttrValue("a", CZR_WideStringC(L"new")));
        EXPECT_FALSE(element.SetAttrValue("b", 7));
        EXPECT_FALSE(element.AddChildContent(L"text"));
        EXPECT_FALSE(element.AddChildElement(nullptr));
        EXPECT_EQ(failing.liveBlocks(), 0);
    }
    {
        FailingManager prefixOnly(1);
        EXPECT_FALSE(element.SetTag("p:t"));
        EXPECT_EQ(prefixOnly.liveBlocks(), 0) << "the prefix copied before the name failed is freed";
    }
    EXPECT_EQ(dumpTree(&element), "<r a=\"old\"></>");
    EXPECT_TRUE(element.SetAttrValue("a", CZR_WideStringC(L"new")));
    EXPECT_EQ(dumpTree(&element), "<r a=\"new\"></>");
}

// A file that takes a number of writes and then refuses every one (a full disk).
struct RefusingFile : IZR_FileWrite
{
    explicit RefusingFile(int accepted) : accepted(accepted) {}
    int accepted;
    int attempts = 0;
    std::string bytes;
    void Release() override {}
    bool WriteBlock(const void* buffer, size_t size) override
    {
        if (++attempts > accepted)
            return false;
        bytes.append(static_cast<const char*>(buffer), size);
        return true;
    }
    bool Flush() override { return true; }
    int64_t GetSize() override { return int64_t(bytes.size()); }
    bool WriteBlock(const void*, int64_t, size_t) override { return false; }
};

TEST(XmlFailure, AFileThatRefusesAWriteStopsTheWriter)
{
    ElementPtr source = parseMemory(kDocument);
    ASSERT_TRUE(source);
    RefusingFile unlimited(1000);
    EXPECT_TRUE(source->OutputStream(&unlimited, false, true));
    EXPECT_EQ(unlimited.bytes, text(source->OutputStream(false, true)));
    EXPECT_GT(unlimited.attempts, 2);

    RefusingFile full(1);
    EXPECT_FALSE(source->OutputStream(&full, false, true));
    EXPECT_EQ(full.attempts, 2) << "nothing is written after the refused write";
    EXPECT_FALSE(source->OutputStream(static_cast<IZR_FileWrite*>(nullptr), false, true));
}

} // namespace
