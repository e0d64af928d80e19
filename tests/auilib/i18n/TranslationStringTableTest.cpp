#include "TranslationStringTable.h"

#include "LanguageFolder.h"

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

class StringTableTest : public LanguageFolderTest
{
protected:
    void SetUp() override
    {
        LanguageFolderTest::SetUp();
        UseLanguage(L"de-DE", false);
    }

    std::wstring Load(const QByteArray& bytes, const char* name = "strings.xml")
    {
        const std::wstring path = Place(name, bytes).toStdWString();
        table.LoadStringTable(path);
        return path;
    }

    TranslationStringTable table;
};

} // namespace

TEST_F(StringTableTest, EntriesFirstIdWinsEmptyTextIsFound)
{
    const std::wstring path = Load(Fixture("strings_de-DE.xml"));
    EXPECT_EQ(table.GetText(path, L"AUILib::BBoxCancel"), L"Abbrechen") << "a default-language root is accepted";
    EXPECT_EQ(table.GetText(path, L"Twice"), L"Erstes");
    EXPECT_EQ(table.GetText(path, L"Empty"), std::optional<std::wstring>(L""));
    EXPECT_EQ(table.GetText(path, L"Other"), L"Anderes & Mehr") << "any element after the first string";
    EXPECT_EQ(table.GetText(path, L"Missing"), std::nullopt);
    EXPECT_EQ(table.GetText(L"/other/path", L"Twice"), std::nullopt);

    EXPECT_EQ(GetFontInfo()->lfFaceName, L"Noto Sans");
    EXPECT_EQ(GetFontInfo()->lfHeight, -13);
    EXPECT_EQ(GetFontInfo()->lfCharSet, 2) << "the low eight bits";
}

TEST_F(StringTableTest, FontOnlyWithAStringTableAndANumericHeightEndsTheFile)
{
    Load(R"(<S language="de-DE"><Font><PreFont FaceName="Nowhere" Height="1"/></Font></S>)");
    EXPECT_EQ(GetFontInfo()->lfFaceName, L"Tahoma");

    const std::wstring path = Load(R"(<S language="de-DE"><Font><PreFont FaceName="Before" Height="tall" Charset="7"/></Font>)"
                                   R"(<StringTable><string id="k">v</string></StringTable></S>)",
                                   "height.xml");
    EXPECT_EQ(table.GetText(path, L"k"), L"v");
    EXPECT_EQ(GetFontInfo()->lfFaceName, L"Before");
    EXPECT_EQ(GetFontInfo()->lfCharSet, 0) << "attributes after the bad height are not read";
}

TEST_F(StringTableTest, OtherLanguagesAndEmptyFilesGiveNothingAndAreTriedAgain)
{
    EXPECT_EQ(table.GetText(Load(R"(<S language="fr-FR"><StringTable><string id="k">v</string></StringTable></S>)"), L"k"), std::nullopt);
    EXPECT_EQ(table.GetText(Load(R"(<S><StringTable><string id="k">v</string></StringTable></S>)", "nolang.xml"), L"k"), std::nullopt);

    const std::wstring path = Path("later.xml").toStdWString();
    table.LoadStringTable(path);
    Place("later.xml", R"(<S language="de-DE"><StringTable><string id="k">now</string></StringTable></S>)");
    table.LoadStringTable(path);
    EXPECT_EQ(table.GetText(path, L"k"), L"now");
    Place("later.xml", R"(<S language="de-DE"><StringTable><string id="k">changed</string></StringTable></S>)");
    table.LoadStringTable(path);
    EXPECT_EQ(table.GetText(path, L"k"), L"now") << "a file once held is not read again";
}

TEST_F(StringTableTest, AppendedFilesMergeWithoutReplacing)
{
    const std::wstring host = Place("host.xml", R"(<S language="de-DE"><StringTable><string id="a">host</string></StringTable></S>)").toStdWString();
    const std::wstring extra = Place("extra.xml", R"(<S language="de-DE"><StringTable><string id="a">extra</string><string id="b">b</string></StringTable></S>)").toStdWString();
    table.LoadStringTable(host);
    table.AppendStringTable(host, extra);
    EXPECT_EQ(table.GetText(host, L"a"), L"host");
    EXPECT_EQ(table.GetText(host, L"b"), L"b");

    const std::wstring absent = Path("absent.xml").toStdWString();
    table.AppendStringTable(absent, Path("missing.xml").toStdWString());
    table.LoadStringTable(absent);
    Place("absent.xml", R"(<S language="de-DE"><StringTable><string id="a">x</string></StringTable></S>)");
    table.LoadStringTable(absent);
    EXPECT_EQ(table.GetText(absent, L"a"), std::nullopt) << "an appended entry is stored even when empty";
}
