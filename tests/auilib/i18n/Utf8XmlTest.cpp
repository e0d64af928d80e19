#include "Utf8Xml.h"

#include "AUILibUtils.h"
#include "LanguageFolder.h"
#include "QtTSLoader.h"
#include "TranslationStringTable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace AUILib;

namespace {

std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

} // namespace

TEST(Utf8Xml, ParsesUtf8TheWideParserWouldMisread)
{
    rapidxml::xml_document<wchar_t> document;
    ASSERT_TRUE(Utf8Xml::Parse(std::string("\xEF\xBB\xBF<r a=\"\xE4\xB8\xA2\" b='\xE4\xB8\xA7'>\xE4\xB8\x80 &#233; &#x4E2D;<c/>tail</r>"),
                               document));
    const auto* root = Utf8Xml::FirstElement(&document, L"r");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Utf8Xml::Value(root), L"\u4e00 \u00e9 \u4e2d");
    EXPECT_EQ(Utf8Xml::Value(root->first_attribute(L"a")), L"\u4e22") << "low byte of a double quote";
    EXPECT_EQ(Utf8Xml::Value(root->first_attribute(L"b")), L"\u4e27") << "low byte of an apostrophe";
    EXPECT_NE(Utf8Xml::FirstElement(root, L"c"), nullptr);
    EXPECT_EQ(Utf8Xml::NextElement(Utf8Xml::FirstElement(root, L"c")), nullptr) << "text is no element";

    ASSERT_TRUE(Utf8Xml::Parse(std::wstring(L"\uFEFF<r>ok</r>"), document));
    EXPECT_EQ(Utf8Xml::Value(Utf8Xml::FirstElement(&document, L"r")), L"ok");
}

TEST(Utf8Xml, RefusesWhatIsNotWellFormedStrictUtf8WithinTheNestingBound)
{
    const std::pair<const char*, std::string> bad[] = {
        {"empty", ""},
        {"text only", "just text"},
        {"unclosed", "<r><a></r>"},
        {"unknown entity", "<r>&bogus;</r>"},
        {"surrogate entity", "<r>&#xD800;</r>"},
        {"entity beyond Unicode", "<r>&#x110000;</r>"},
        {"invalid UTF-8", "<r>\xC0\x80</r>"},
        {"truncated UTF-8", "<r>\xE4\xB8</r>"},
        {"nested 100000 deep", Nested(100000)},
        {"one beyond the bound", Nested(Utf8Xml::MaxNesting + 1)},
        {"hidden levels", std::string(300, ' ').replace(0, 0, "<r>") + [] {
             std::string text;
             for (int i = 0; i < 300; ++i)
                 text += "<a x=\"/>\">";
             return text;
         }()},
    };
    for (const auto& [name, text] : bad) {
        rapidxml::xml_document<wchar_t> document;
        EXPECT_FALSE(Utf8Xml::Parse(text, document)) << name;
        EXPECT_EQ(document.first_node(), nullptr) << name;
    }
    rapidxml::xml_document<wchar_t> document;
    EXPECT_TRUE(Utf8Xml::Parse(Nested(Utf8Xml::MaxNesting), document));
    EXPECT_TRUE(Utf8Xml::Parse(std::string("<!-- <a><a><a> --><r><![CDATA[<a><a>]]><e x=\"a>b\"/></r>"), document));
}

namespace {

class BadLanguageFileTest : public LanguageFolderTest
{
};

} // namespace

TEST_F(BadLanguageFileTest, BadFilesContributeNothing)
{
    const QByteArray ts = Fixture("pdf_de-DE.ts");
    const QByteArray strings = R"(<S language="de-DE"><StringTable><string id="k">v</string></StringTable></S>)";
    struct Case
    {
        const char* name;
        QByteArray ts;
        QByteArray strings;
        bool encipher;
    };
    const Case cases[] = {
        {"unclosed element", QByteArray(ts).replace("</context>", ""), QByteArray(strings).replace("</S>", ""), false},
        {"wrong root", QByteArray(ts).replace("<TS ", "<XX ").replace("</TS>", "</XX>"), "<S language=\"de-DE\"/>", false},
        {"bad entity", QByteArray(ts).replace("&amp;file", "&file;"), QByteArray(strings).replace(">v<", ">&#0xZ;<"), false},
        {"invalid UTF-8", QByteArray(ts).replace("Datei", "D\xFF" "atei"), QByteArray(strings).replace(">v<", ">\xED\xA0\x80<"), false},
        {"non-numeric line", QByteArray(ts).replace("line=\"6\"", "line=\"six\""), QByteArray(), false},
        {"empty", QByteArray(), QByteArray(), false},
        {"nested 100000 deep", QByteArray(Nested(100000).c_str()), QByteArray(Nested(100000).c_str()), false},
        {"plain where enciphered is expected", ts, strings, false},
    };
    for (const Case& c : cases) {
        const bool expectEnciphered = std::string(c.name) == "plain where enciphered is expected";
        UseLanguage(L"de-DE", expectEnciphered);
        const QString tsPath = Place("bad.ts", c.ts, c.encipher);
        const QString stringsPath = Place("bad.xml", c.strings, c.encipher);
        EXPECT_FALSE(QtTSLoader().LoadTranslationUnit(tsPath.toStdWString(), L"pdf").first) << c.name;
        TranslationStringTable table;
        table.LoadStringTable(stringsPath.toStdWString());
        EXPECT_EQ(table.GetText(stringsPath.toStdWString(), L"k"), std::nullopt) << c.name;
    }

    UseLanguage(L"de-DE", true);
    QByteArray corrupt = encipheredBytes(ts);
    corrupt[10] = static_cast<char>(corrupt[10] ^ 0x20);
    EXPECT_FALSE(QtTSLoader().LoadTranslationUnit(Place("corrupt.ts.zr", corrupt).toStdWString(), L"pdf").first);

    for (const bool enciphered : {false, true}) {
        UseLanguage(L"de-DE", enciphered);
        const QString fifo = Path(enciphered ? "pipe.zr" : "pipe");
        ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        for (const QString& path : {fifo, Path(""), Path("missing.ts")}) {
            EXPECT_FALSE(QtTSLoader().LoadTranslationUnit(path.toStdWString(), L"pdf").first) << path.toStdString();
            TranslationStringTable table;
            table.LoadStringTable(path.toStdWString());
        }
    }
}

TEST_F(BadLanguageFileTest, PluginVersionFile)
{
    const PluginVersionInfo untouched{L"v", L"l", L"d", L"g"};
    struct Case
    {
        const char* name;
        QByteArray file;
        bool result;
        PluginVersionInfo info;
    };
    const Case cases[] = {
        {"version only", R"(<Reader version="12.1"/>)", true, {L"12.1", L"", L"", L""}},
        {"all", "\xEF\xBB\xBF<Reader version=\"1\" language=\"zh-CN\"><Version><VerDes name=\"d\" value=\"\xE4\xB8\x80\"/>"
                "<VerLeg name=\"l\" value=\"legal\"/></Version></Reader>",
         true, {L"1", L"zh-CN", L"\u4e00", L"legal"}},
        {"value before name", R"(<Reader><Version><VerDes value="x" name="d"/></Version></Reader>)", false, untouched},
        {"value only after name", R"(<Reader><Version><VerLeg value="x" name="d" other="y" value="z"/></Version></Reader>)",
         true, {L"", L"", L"", L"z"}},
        {"no Reader", R"(<Other version="1"/>)", false, untouched},
        {"malformed", R"(<Reader version="1">)", false, untouched},
        {"text outside an element", "version", false, untouched},
        {"invalid UTF-8", "<Reader version=\"\xFF\"/>", false, untouched},
    };
    for (const Case& c : cases) {
        PluginVersionInfo info = untouched;
        EXPECT_EQ(AUILibUtils::GetPluginVersionInfo(Place("version.xml", c.file).toStdWString(), info), c.result) << c.name;
        EXPECT_EQ(info.version, c.info.version) << c.name;
        EXPECT_EQ(info.language, c.info.language) << c.name;
        EXPECT_EQ(info.verDes, c.info.verDes) << c.name;
        EXPECT_EQ(info.verLeg, c.info.verLeg) << c.name;
    }
    PluginVersionInfo info = untouched;
    EXPECT_FALSE(AUILibUtils::GetPluginVersionInfo(Path("").toStdWString(), info));
    EXPECT_FALSE(AUILibUtils::GetPluginVersionInfo(std::wstring(1, wchar_t(0xD800)), info));
    EXPECT_EQ(info.version, L"v");
}
