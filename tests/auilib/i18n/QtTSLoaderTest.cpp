#include "QtTSLoader.h"

#include "LanguageFolder.h"
#include "Utf8Xml.h"

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

class QtTSLoaderTest : public LanguageFolderTest
{
protected:
    void SetUp() override
    {
        LanguageFolderTest::SetUp();
        UseLanguage(L"de-DE", false);
    }

    std::unique_ptr<TSTranslationUnit> Load(const QByteArray& bytes, const std::wstring& module = L"pdf")
    {
        QtTSLoader::Result result = QtTSLoader().LoadTranslationUnit(Place("file.ts", bytes).toStdWString(), module);
        EXPECT_EQ(result.second, result.first != nullptr);
        return std::move(result.first);
    }

    static std::wstring Translation(const TSTranslationUnit& unit, const std::wstring& key, int line)
    {
        const TSTranslationUnit::Messages* messages = unit.Find(key);
        if (!messages || !messages->count(line))
            return L"(none)";
        return messages->at(line).translation;
    }

    static std::wstring Source(const TSTranslationUnit& unit, const std::wstring& key, int line)
    {
        const TSTranslationUnit::Messages* messages = unit.Find(key);
        return messages && messages->count(line) ? messages->at(line).source : L"(none)";
    }
};

} // namespace

TEST_F(QtTSLoaderTest, MessagesAreKeyedByModuleFileAndLine)
{
    const std::unique_ptr<TSTranslationUnit> unit = Load(Fixture("loader_de-DE.ts"));
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->ContextCount(), 2u);
    EXPECT_EQ(Translation(*unit, L"pdf;dlgsave.ui", 10), L"Zwei Stellen");
    EXPECT_EQ(Translation(*unit, L"pdf;dlgprint.ui", 3), L"Zwei Stellen");
    EXPECT_EQ(Translation(*unit, L"pdf;dlgsave.ui", 11), L"Unfinished") << "an empty translation is the source";
    EXPECT_EQ(Source(*unit, L"pdf;dlgsave.ui", 12), L"Fish &amp; &quot;chips&quot; &lt;b&gt; 'n'");
    EXPECT_EQ(Translation(*unit, L"pdf;dlgsave.ui", 12), L"Fisch &amp; &quot;Pommes&quot; &lt;b&gt; 'n'");
    EXPECT_EQ(Source(*unit, L"pdf;dlgsave.ui", 13), L"Open file") << "trimmed, its line break folded";
    EXPECT_EQ(Translation(*unit, L"pdf;dlgsave.ui", 13), L"Datei\n\u00f6ffnen ") << "the first message of a line stays";
    EXPECT_EQ(Source(*unit, L"pdf;dlgsave.ui", 14), L"Gr\u00f6\u00dfe") << "leading digits of a line count";
    EXPECT_EQ(Translation(*unit, L"pdf;dlgsave.ui", 14), L"Gr\u00f6\u00dfe");
}

TEST_F(QtTSLoaderTest, ForeignLanguageOrBadLineRejectsTheWholeFile)
{
    const QByteArray good = Fixture("pdf_de-DE.ts");
    EXPECT_TRUE(Load(good));
    EXPECT_FALSE(Load(QByteArray(good).replace("language=\"de-DE\"", "language=\"de_DE\"")));
    EXPECT_FALSE(Load(QByteArray(good).replace(" language=\"de-DE\"", "")));
    EXPECT_FALSE(Load(QByteArray(good).replace("line=\"15\"", "line=\"fifteen\"")));
    EXPECT_FALSE(Load(QByteArray(good).replace("line=\"15\"", "line=\"99999999999\"")));
    EXPECT_FALSE(Load(QByteArray(good).replace("<TS ", "<Translations ").replace("</TS>", "</Translations>")));

    UseLanguage(L"en-US", false);
    EXPECT_FALSE(Load(good));
}

TEST_F(QtTSLoaderTest, CjkGermanAndByteOrderMarkedFilesComeOutExactly)
{
    UseLanguage(L"zh-CN", false);
    std::unique_ptr<TSTranslationUnit> unit = Load(Fixture("bom_zh-CN.ts"), L"");
    ASSERT_TRUE(unit);
    EXPECT_EQ(Translation(*unit, L";dlgsave.ui", 1), L"\u4e00");
    EXPECT_EQ(Translation(*unit, L";dlgsave.ui", 2), L"\u4e2d\u4e3c");
    EXPECT_EQ(Translation(*unit, L";dlgsave.ui", 3), L"\u5f15\u7528&quot;\u597d&quot;");

    UseLanguage(L"zh-CN", true);
    unit = QtTSLoader().LoadTranslationUnit(Place("enciphered.ts.zr", Fixture("bom_zh-CN.ts"), true).toStdWString(), L"m").first;
    ASSERT_TRUE(unit);
    EXPECT_EQ(Translation(*unit, L"m;dlgsave.ui", 2), L"\u4e2d\u4e3c");
}

TEST_F(QtTSLoaderTest, MergingKeepsWhatIsThereAndRekeysUnderTheHost)
{
    TSTranslationUnit host;
    host.AddMessageFromTS(L"pdf;a.ui", 1, {L"s", L"kept"});
    host.AddMessageFromTS(L"pdf;a.ui", 1, {L"s", L"ignored"});
    EXPECT_EQ(Translation(host, L"pdf;a.ui", 1), L"kept");

    TSTranslationUnit other;
    other.AddMessageFromTS(L"extra;a.ui", 1, {L"s", L"other"});
    other.AddMessageFromTS(L"extra;a.ui", 2, {L"t", L"added"});
    other.AddMessageFromTS(L"plain", 5, {L"u", L"no module"});
    other.AddMessageFromTS(L";b.ui", 7, {L"v", L"library"});
    host.AppendTsTranslationUnit(other, L"pdf");
    EXPECT_EQ(Translation(host, L"pdf;a.ui", 1), L"kept");
    EXPECT_EQ(Translation(host, L"pdf;a.ui", 2), L"added");
    EXPECT_EQ(Translation(host, L"pdf;plain", 5), L"no module");
    EXPECT_EQ(Translation(host, L"pdf;b.ui", 7), L"library");
}
