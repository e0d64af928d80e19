#include "XmlTestSupport.h"

#include "../FailingManager.h"

#include "memory/CZR_GrowOnlyPool.h"

#include <gtest/gtest.h>

namespace {

std::string text(const CZR_ByteString& bytes) { return std::string(bytes.c_str(), size_t(bytes.GetLength())); }

TEST(XmlElement, BareNameMatchesAnyPrefixButAPrefixMustMatch)
{
    CZR_XMLElement element("e", nullptr);
    element.SetAttrValue("x:id", CZR_WideStringC(L"1"));
    EXPECT_TRUE(element.HasAttr("id"));
    EXPECT_FALSE(element.HasAttr("y:id"));
    element.SetAttrValue("id", CZR_WideStringC(L"2"));
    ASSERT_EQ(element.CountAttrs(), 1);
    CZR_ByteString prefix, name;
    CZR_WideString value;
    element.GetAttrByIndex(0, prefix, name, value);
    EXPECT_EQ(prefix, "x");
    EXPECT_EQ(value, L"2");
    element.SetAttrValue("y:id", CZR_WideStringC(L"3"));
    EXPECT_EQ(element.CountAttrs(), 2);
}

TEST(XmlElement, ReadersLeaveOutputsAloneOutOfRange)
{
    ElementPtr root = parseMemory("<r a=\"1\">t<c/></r>");
    ASSERT_TRUE(root);
    CZR_ByteString prefix("p"), name("n");
    CZR_WideString value(L"v");
    root->GetAttrByIndex(-1, prefix, name, value);
    root->GetAttrByIndex(root->CountAttrs(), prefix, name, value);
    EXPECT_EQ(prefix, "p");
    EXPECT_EQ(name, "n");
    EXPECT_EQ(value, L"v");
    EXPECT_FALSE(root->GetAttrValue("missing", value));
    EXPECT_EQ(value, L"v");
    int number = 42;
    EXPECT_FALSE(root->GetAttrInteger("missing", number));
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(root->GetAttrInteger("a", number));
    EXPECT_EQ(number, 1);

    EXPECT_EQ(root->GetChildType(root->CountChildren()), 0u);
    EXPECT_EQ(root->GetElement(0u), nullptr);
    EXPECT_TRUE(root->GetContent(1).IsEmpty());
    EXPECT_EQ(root->GetContentPtr(7), nullptr);
    EXPECT_EQ(root->GetElement("", "c", -1), nullptr);
}

TEST(XmlElement, FindElementOnlyKnowsItsOwnChildren)
{
    ElementPtr root = parseMemory("<r><a><b/></a><b/></r>");
    ASSERT_TRUE(root);
    CZR_XMLElement* a = root->GetElement(0u);
    CZR_XMLElement* nested = a->GetElement(0u);
    EXPECT_EQ(root->FindElement(root->GetElement(1u)), 1u);
    EXPECT_EQ(root->FindElement(nested), 0xFFFFFFFFu);
    EXPECT_EQ(nested->GetParent(), a);
}

TEST(XmlElement, NamespaceUriIsFoundUpTheParents)
{
    ElementPtr root = parseMemory("<r xmlns=\"urn:d\" xmlns:k=\"urn:k\"><k:a><b/></k:a></r>");
    ASSERT_TRUE(root);
    CZR_XMLElement* a = root->GetElement(0u);
    CZR_XMLElement* b = a->GetElement(0u);
    EXPECT_EQ(a->GetNamespace(false), "urn:k");
    EXPECT_EQ(b->GetNamespaceURI(""), "urn:d");
    EXPECT_TRUE(b->GetNamespaceURI("none").IsEmpty());
    EXPECT_EQ(a->GetTagName(true), "k:a");
    EXPECT_EQ(a->GetTagName(false), "a");
}

TEST(XmlElement, AnEmptyNamespaceDeclarationIsStillFound)
{
    ElementPtr root = parseMemory("<r xmlns=\"urn:d\"><a xmlns=\"\"/></r>");
    ASSERT_TRUE(root);
    CZR_XMLElement* a = root->GetElement(0u);
    CZR_ByteStringL out;
    out.Set("stale", nullptr);
    a->GetNamespaceURI("", out);
    EXPECT_EQ(out.GetLength(), 0) << "the nearest declaration is the empty one";
    out.Set("kept", nullptr);
    a->GetNamespaceURI("none", out);
    EXPECT_STREQ(out.GetPtr(), "kept") << "nothing declared: the output stays as it was";
    out.Empty(nullptr);
}

TEST(XmlElement, BuildersInsertRemoveAndClone)
{
    CZR_XMLElement root("r", nullptr);
    root.AddChildElement(nullptr);
    root.AddChildContent(L"text", true);
    root.InsertChildElement(0, new CZR_XMLElement("first", nullptr));
    root.InsertChildContent(1, L"", false);
    root.AddChildElement(new CZR_XMLElement("last", nullptr));
    ASSERT_EQ(root.CountChildren(), 4u);
    EXPECT_EQ(root.GetElement(0u)->GetTagName(), "first");
    EXPECT_EQ(root.GetChildType(1), unsigned(CZR_XMLElement::ChildContent));
    root.RemoveChild(1);
    root.RemoveChild(9);
    ASSERT_EQ(root.CountChildren(), 3u);
    ElementPtr copy(root.Clone(nullptr));
    EXPECT_EQ(dumpTree(copy.get()), "<r><first></>\"text\"<last></></>");
    root.RemoveChildren();
    EXPECT_EQ(root.CountChildren(), 0u);
}

TEST(XmlElement, TagAndAttributeSetFromTheElementsOwnText)
{
    ElementPtr parsed = parseMemory("<p:tagname_long a=\"value of a\"/>");
    ASSERT_TRUE(parsed);
    CZR_XMLElement built("p:tagname_long", nullptr);
    built.SetAttrValue("a", CZR_WideStringC(L"value of a"));
    for (CZR_XMLElement* e : {parsed.get(), &built}) {
        SCOPED_TRACE(e == &built ? "built" : "parsed");
        e->SetTag(e->GetPrefixL(), e->GetTagNameL());
        EXPECT_EQ(e->GetTagName(true), "p:tagname_long");
        e->SetTag(e->GetTagNameL(), e->GetPrefixL());
        EXPECT_EQ(e->GetTagName(true), "tagname_long:p");
        e->SetAttrValue("a", *e->GetAttrValuePtr("a"));
        EXPECT_EQ(e->GetAttrValue("a"), L"value of a");
    }
}

TEST(XmlElement, NumericAttributeValues)
{
    CZR_XMLElement element("e", nullptr);
    element.SetAttrValue("i", -12);
    element.SetAttrValue("u", 4000000000u);
    element.SetAttrValue("f", 1.5f);
    EXPECT_EQ(element.GetAttrValue("i"), L"-12");
    EXPECT_EQ(element.GetAttrValue("u"), L"4000000000");
    float f = 0;
    EXPECT_TRUE(element.GetAttrFloat("f", f));
    EXPECT_FLOAT_EQ(f, 1.5f);
    element.RemoveAttr("i");
    element.RemoveAttr("missing");
    EXPECT_EQ(element.CountAttrs(), 2);
}

TEST(XmlComposer, WritesTheDocumentedBytes)
{
    CZR_XMLElement element("a", nullptr);
    element.SetAttrValue("b", CZR_WideStringC(L"x<y&\"z"));
    EXPECT_EQ(text(element.OutputStream(false, true)), "<a b=\"x&lt;y&amp;&quot;z\"/>");
    EXPECT_EQ(text(element.OutputStream(false, false)), "<a b=\"x&lt;y&amp;&quot;z\"\r\n/>");

    CZR_XMLElement spaced("p:t", nullptr);
    spaced.AddChildContent(L" a b ");
    spaced.AddChildContent(L"\t'<>");
    EXPECT_EQ(text(spaced.OutputStream(false, true)), "<p:t>&#x20;a b&#x20;&#x09;&apos;&lt;&gt;</p:t>");
    EXPECT_EQ(text(spaced.OutputStream(true, false)), "<p:t\r\n> a b \t'<></p:t\r\n>");
}

TEST(XmlComposer, CDataWithTerminatorSurvivesARoundTrip)
{
    CZR_XMLElement element("r", nullptr);
    element.AddChildContent(L"a]]>b]]]>", true);
    CZR_ByteString written = element.OutputStream(false, true);
    EXPECT_EQ(text(written), "<r><![CDATA[a]]]]><![CDATA[>b]]]]]><![CDATA[>]]></r>");
    ElementPtr back = parseMemory(text(written));
    ASSERT_TRUE(back);
    std::wstring joined;
    for (unsigned i = 0; i < back->CountChildren(); ++i)
        joined += back->GetContent(i).c_str();
    EXPECT_EQ(joined, L"a]]>b]]]>");
}

TEST(XmlComposer, ParseWriteParseGivesTheSameTree)
{
    const char* documents[] = {
        "<r a=\"1 &lt; 2\" p:b='q\"uote'><c>  text &amp; more  </c><d/>tail<![CDATA[ raw <x> ]]></r>",
        "<k:r xmlns:k=\"urn:k\"><k:a>\xE2\x82\xAC &#x1F600;</k:a><b>&#9;tab</b></k:r>",
    };
    for (bool compact : {false, true}) {
        for (const char* document : documents) {
            ElementPtr first = parseMemory(document);
            ASSERT_TRUE(first);
            CZR_ByteString written = first->OutputStream(false, compact);
            ElementPtr second = parseMemory(text(written));
            EXPECT_EQ(dumpTree(second.get()), dumpTree(first.get())) << text(written);
        }
    }
}

TEST(XmlComposer, WritesToAStreamPieceByPiece)
{
    struct Collect : IZR_FileWrite
    {
        std::string bytes;
        int writes = 0;
        void Release() override {}
        bool WriteBlock(const void* buffer, size_t size) override
        {
            ++writes;
            bytes.append(static_cast<const char*>(buffer), size);
            return true;
        }
        bool Flush() override { return true; }
        int64_t GetSize() override { return int64_t(bytes.size()); }
        bool WriteBlock(const void*, int64_t, size_t) override { return false; }
    } sink;
    ElementPtr root = parseMemory("<r><a/><b>t</b></r>");
    root->OutputStream(&sink, false, true);
    EXPECT_EQ(sink.bytes, "<r><a/><b>t</b></r>");
    EXPECT_GT(sink.writes, 1);
}

TEST(XmlElement, ParseUnderAFailingAllocatorLeaksNothing)
{
    std::string document = "<r a=\"1\" b=\"2\"><c>text</c><![CDATA[x]]><d e=\"f\"/></r>";
    for (int successes = 0; successes < 60; ++successes) {
        FailingManager manager(successes);
        CZR_XMLElement* root = CZR_XMLElement::Parse(document.data(), document.size(), false, nullptr,
                                                     &manager.mgr()->allocator);
        CZR_XMLElement::Destroy(root);
        EXPECT_EQ(manager.liveBlocks(), 0) << successes;
    }
}

TEST(XmlElement, ParseThroughAGrowOnlyPool)
{
    // The pool refuses every reallocation, so the child lists grow by moving to new blocks.
    std::string document = "<r a=\"1\" b=\"2\"><c d=\"e\"><![CDATA[x]]></c><c/>t<c><i/><i/><i/></c></r>";
    CZR_GrowOnlyPool pool(nullptr, 4096);
    pool.Alloc(1);
    CZR_XMLElement* root = CZR_XMLElement::Parse(document.data(), document.size(), false, nullptr, &pool);
    ASSERT_TRUE(root);
    EXPECT_EQ(dumpTree(root), "<r a=\"1\" b=\"2\"><c d=\"e\">[x]</><c></>\"t\"<c><i></><i></><i></></></>");
    CZR_XMLElement::Destroy(root);
}

} // namespace
