#include "XmlTestSupport.h"

#include "xml/CZR_XMLDataAcc.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const size_t kBlockSizes[] = {1, 2, 3, 7, 32768};

struct ParseCase
{
    const char* name;
    std::string input;
    std::string expected;
    ParseOptions options;
};

void expectSameEverywhere(const std::string& input, const std::string& expected, ParseOptions options = {})
{
    int64_t memorySize = -1;
    EXPECT_EQ(dumpTree(parseMemory(input, options, &memorySize).get()), expected);
    for (size_t blockSize : kBlockSizes) {
        int64_t streamSize = -1;
        EXPECT_EQ(dumpTree(parseStream(input, blockSize, options, &streamSize).get()), expected)
            << "block size " << blockSize;
        if (expected != "null") {
            EXPECT_EQ(streamSize, memorySize) << "block size " << blockSize;
        }
    }
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ParseOptions keepSpaces()
{
    ParseOptions options;
    options.keepSpaces = true;
    return options;
}

ParseOptions keepLineBreaks()
{
    ParseOptions options;
    options.keepLineBreaks = true;
    return options;
}

ParseOptions noEntity()
{
    ParseOptions options;
    options.noEntity = true;
    return options;
}

const ParseCase kCases[] = {
    {"blanks and byte-order mark", "  \t\xEF\xBB\xBF<r/>", "<r></>", {}},
    {"letter first", "abc<r/>", "null", {}},
    {"blank input", "   ", "null", {}},
    {"declaration and comment before root", "<?xml version=\"1.0\"?><!-- c --><r/>", "<r></>", {}},
    {"repeated attribute keeps last value", "<r a=\"1\" a=\"2\"/>", "<r a=\"2\"></>", {}},
    {"bare name replaces prefixed attribute", "<r x:a=\"1\" a=\"2\"/>", "<r x:a=\"2\"></>", {}},
    {"prefixes of tags and attributes", "<r><x:y p:q=\"v\"/><a:b:c/></r>", "<r><x:y p:q=\"v\"></><b:c></></>", {}},
    {"references", "<r>&lt;&#65;&#x42;&foo;</r>", "<r>\"<AB\\0\"</>", {}},
    {"capital X is not a reference", "<r>&#X41;</r>", "<r>\"&#X41;\"</>", {}},
    {"reference without semicolon stays text", "<r>&amp x</r>", "<r>\"&amp x\"</>", {}},
    {"reference at end of input", "<r>a&lt", "<r>\"a&lt\"</>", {}},
    {"trimmed text around child", "<r>  one  <c/>  two  </r>", "<r>\"one\"<c></>\"two\"</>", {}},
    {"kept spaces around child", "<r>  one  <c/>  two  </r>", "<r>\"  one  \"<c></>\"two  \"</>", keepSpaces()},
    {"cdata between texts", "<r>a<![CDATA[<b>]]>c</r>", "<r>\"a\"[<b>]\"c\"</>", {}},
    {"cdata ending in bracket", "<r><![CDATA[a]]]></r>", "<r>[a]]</>", {}},
    {"cdata too short", "<r><![CDATA]]>x</r>", "<r>\"x\"</>", {}},
    {"text around comment is one content", "<r>a<!--c-->b</r>", "<r>\"ab\"</>", {}},
    {"text around declaration is one content", "<r>a<!x>b</r>", "<r>\"ab\"</>", {}},
    {"comment with extra dash", "<r>a<!-- c --->b</r>", "<r>\"ab\"</>", {}},
    {"instruction ending in double question mark", "<r><?p a?" "?>x</r>", "<r>\"x\"</>", {}},
    {"document type with internal subset",
     "<?xml version='1.0'?>\n<!DOCTYPE r [\n<!ENTITY e \"a>b\">\n<!-- it's -->\n]>\n<r>t</r>", "<r>\"t\"</>", {}},
    {"ampersand in attribute value", "<r u=\"a?x=1&y=2\" v=\"3\">t</r>", "<r u=\"a?x=1&y=2\" v=\"3\">\"t\"</>", {}},
    {"unquoted value", "<r a=x/>", "<r a=\"\"></>", {}},
    {"unquoted value becomes next attribute", "<r a=x=\"1\"/>", "<r a=\"\" x=\"1\"></>", {}},
    {"unquoted digit fails the root", "<r a=1/>", "null", {}},
    {"unquoted digit drops a child", "<r><c a=1/>t</r>", "<r>\"/>t\"</>", {}},
    {"end tag first", "</r>", "null", {}},
    {"empty tag name", "<>", "null", {}},
    {"root closed by end of input", "<r a=\"1\"><c>text", "<r a=\"1\"><c>\"text\"</></>", {}},
    {"end tags are not compared", "<r><a>x</b>y</r>", "<r><a>\"x\"</>\"y\"</>", {}},
    {"text after root is not read", "<r/><s/>", "<r></>", {}},
    {"line breaks kept before child", "<r>\n<c/>\n</r>", "<r>\"\n\"<c></></>", keepLineBreaks()},
    {"no entities in text", "<r a=\"&lt;\">&lt;</r>", "<r a=\"<\">\"&lt;\"</>", noEntity()},
    {"utf-8 text and attribute", "<r a=\"\xC3\xA9\">\xE2\x82\xAC</r>", "<r a=\"\xC3\xA9\">\"\xE2\x82\xAC\"</>", {}},
    {"reference inside utf-8 sequence", "<r>\xE2\x82&amp;x</r>", "<r>\"&x\"</>", {}},
};

class XmlParserTable : public testing::TestWithParam<ParseCase>
{
};

TEST_P(XmlParserTable, GivesTheSameTreeFromMemoryAndAtEveryBlockSize)
{
    const ParseCase& c = GetParam();
    expectSameEverywhere(c.input, c.expected, c.options);
}

INSTANTIATE_TEST_SUITE_P(Documents, XmlParserTable, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ParseCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

// Plain runs are scanned in words: a special byte at every offset within and across words.
TEST(XmlParser, PlainRunsEndAtTheirFirstSpecialByteWhereverItFalls)
{
    for (size_t offset = 0; offset < 20; ++offset) {
        const std::string run(offset, 'a');
        const std::string input = "<r v=\"" + run + "&amp;" + run + "\xC3\xA9'\" w='" + run + "\"" + run + "'>" + run +
                                  "<c/>" + run + "&lt;" + run + "\xC3\xA9></r>";
        const std::string firstText = offset ? "\"" + run + "\"" : "";
        const std::string expected = "<r v=\"" + run + "&" + run + "\xC3\xA9'\" w=\"" + run + "\"" + run + "\">" +
                                     firstText + "<c></>\"" + run + "<" + run + "\xC3\xA9>\"</>";
        SCOPED_TRACE(offset);
        expectSameEverywhere(input, expected);
    }
}

TEST(XmlParser, ParsedSizeStopsAfterTheRoot)
{
    int64_t size = -1;
    ASSERT_TRUE(parseMemory("<r/>  ", {}, &size));
    EXPECT_EQ(size, 4);
    for (size_t blockSize : kBlockSizes) {
        ASSERT_TRUE(parseStream("<r/>  ", blockSize, {}, &size));
        EXPECT_EQ(size, 4);
    }
}

TEST(XmlParser, NumericReferencesWrapInThirtyTwoBits)
{
    ElementPtr root = parseMemory("<r>&#99999999999;&#xFFFFFFFFF;</r>");
    ASSERT_TRUE(root);
    const CZR_WideStringL* text = root->GetContentPtr(0);
    ASSERT_TRUE(text);
    ASSERT_EQ(text->GetLength(), 2);
    EXPECT_EQ(uint32_t(text->GetPtr()[0]), uint32_t(99999999999ull));
    EXPECT_EQ(uint32_t(text->GetPtr()[1]), 0xFFFFFFFFu);
}

TEST(XmlParser, BuildsAtMost512Levels)
{
    std::string input;
    for (int i = 0; i < 600; ++i)
        input += "<e>";
    input += "x";
    for (int i = 0; i < 600; ++i)
        input += "</e>";
    for (size_t blockSize : {size_t(3), size_t(32768)}) {
        ElementPtr root = parseStream(input, blockSize);
        ElementPtr fromMemory = parseMemory(input);
        ASSERT_TRUE(root);
        EXPECT_EQ(dumpTree(root.get()), dumpTree(fromMemory.get()));
        int depth = 1;
        const CZR_XMLElement* deepest = root.get();
        while (const CZR_XMLElement* child = deepest->GetElement(0)) {
            deepest = child;
            ++depth;
        }
        EXPECT_EQ(depth, 512);
        ASSERT_EQ(deepest->GetChildType(0), unsigned(CZR_XMLElement::ChildContent));
        EXPECT_EQ(deepest->GetContent(0), L"e>");
    }
}

TEST(XmlParser, ManyAttributesOnOneElement)
{
    const int count = 100000;
    std::string input = "<r";
    for (int i = 0; i < count; ++i)
        input += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    input += " p:a7=\"prefixed\" a5=\"again\" q:a5=\"other\" p:a7=\"twice\"/>";
    ElementPtr root = parseMemory(input);
    ASSERT_TRUE(root);
    ASSERT_EQ(root->CountAttrs(), count + 2);
    EXPECT_EQ(root->GetAttrValue("a5"), L"again");
    EXPECT_EQ(root->GetAttrValue("q:a5"), L"other");
    EXPECT_EQ(root->GetAttrValue("p:a7"), L"twice");
    EXPECT_EQ(root->GetAttrValue("a7"), L"7");
    EXPECT_EQ(root->GetAttrValue(CZR_ByteStringC("a99999")), L"99999");
    CZR_ByteString prefix, name;
    CZR_WideString value;
    root->GetAttrByIndex(count, prefix, name, value);
    EXPECT_EQ(prefix, "p");
    EXPECT_EQ(name, "a7");
}

TEST(XmlParser, RealWorldFilesParseTheSameEverywhere)
{
    for (const char* file : {"update-reply.xml", "Setup.xml", "Info.plist"}) {
        std::string input = readFile(std::string(KELVRIN_TEST_DATA_DIR) + "/xml/" + file);
        ASSERT_FALSE(input.empty()) << file;
        ElementPtr root = parseMemory(input);
        ASSERT_TRUE(root) << file;
        expectSameEverywhere(input, dumpTree(root.get()));
    }
}

TEST(XmlParser, UpdateReplyIsWalkedByIndex)
{
    ElementPtr root = parseMemory(readFile(std::string(KELVRIN_TEST_DATA_DIR) + "/xml/update-reply.xml"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetTagName(), "Updates");
    ASSERT_EQ(root->CountElements("", "Module"), 2u);
    CZR_XMLElement* module = root->GetElement("", "Module", 1);
    ASSERT_TRUE(module);
    EXPECT_EQ(module->GetAttrValue("name"), L"OCR");
    EXPECT_EQ(module->GetAttrValue("url"), L"https://dl.example.test/get?f=ocr.vzip&v=2");
    int size = 0;
    EXPECT_TRUE(module->GetAttrInteger("size", size));
    EXPECT_EQ(size, 2048);
}

TEST(XmlParser, PlistValuesKeepTheirText)
{
    ElementPtr root = parseMemory(readFile(std::string(KELVRIN_TEST_DATA_DIR) + "/xml/Info.plist"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetTagName(), "plist");
    CZR_XMLElement* dict = root->GetElement("", "dict", 0);
    ASSERT_TRUE(dict);
    CZR_XMLElement* key = dict->GetElement("", "key", 0);
    CZR_XMLElement* value = dict->GetElement("", "string", 0);
    ASSERT_TRUE(key && value);
    EXPECT_EQ(key->GetContent(0), L"CFBundleName");
    EXPECT_EQ(value->GetContent(0), L"Kelvrin PDF Reader & Tools");
}

} // namespace

namespace {

TEST(XmlReaders, MemoryReaderIsOneBlockAndStreamReaderWalksTheFile)
{
    const uint8_t bytes[] = "<r/>";
    CZR_XMLDataBufAcc* memory = CZR_XMLDataBufAcc::Create(bytes, 4, nullptr);
    EXPECT_FALSE(memory->IsEOF());
    EXPECT_EQ(memory->SetPosition(5), -1);
    EXPECT_EQ(memory->SetPosition(-1), -1);
    EXPECT_EQ(memory->SetPosition(2), 2);
    EXPECT_TRUE(memory->ReadNextBlock(false));
    EXPECT_EQ(memory->GetBlockSize(), 4u);
    EXPECT_EQ(memory->GetBlockOffset(), 0);
    EXPECT_TRUE(memory->IsEOF());
    EXPECT_FALSE(memory->ReadNextBlock(false));
    EXPECT_TRUE(memory->ReadNextBlock(true));
    char sink[4];
    EXPECT_EQ(memory->ReadBlock(sink, 4), 0u);
    memory->Release();

    MemoryFileRead file("0123456789");
    CZR_XMLDataStmAcc* stream = CZR_XMLDataStmAcc::Create(&file, nullptr, 4);
    std::string seen;
    while (stream->ReadNextBlock(false))
        seen += std::to_string(stream->GetBlockOffset()) + ":" +
                std::string(reinterpret_cast<const char*>(stream->GetBlockBuffer()), stream->GetBlockSize()) + " ";
    EXPECT_EQ(seen, "0:0123 4:4567 8:89 ");
    EXPECT_TRUE(stream->IsEOF());
    EXPECT_EQ(stream->SetPosition(0), -1);
    EXPECT_TRUE(stream->ReadNextBlock(true));
    EXPECT_EQ(stream->GetBlockOffset(), 0);
    stream->Release();
    EXPECT_EQ(CZR_XMLDataStmAcc::Create(nullptr, nullptr), nullptr);
    EXPECT_EQ(CZR_XMLElement::Parse(static_cast<IZR_FileRead*>(nullptr)), nullptr);
    EXPECT_EQ(CZR_XMLElement::Parse(static_cast<const void*>(nullptr), 0), nullptr);
}

} // namespace
