#include "Translator.h"

#include "LanguageFolder.h"

#include <gtest/gtest.h>

using namespace AUILib;

namespace {

const char kGermanStrings[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Strings language="de-DE"><StringTable><string id="Hello">Hallo</string><string id="OnlyHere">Nur hier</string>
<string id="Blank"></string></StringTable></Strings>)";
const char kEnglishStrings[] = R"(<Strings language="en-US"><StringTable><string id="Hello">Hello</string>
<string id="OnlyDefault">Only in English</string><string id="Blank">Not blank</string></StringTable></Strings>)";
const char kFrenchStrings[] = R"(<Strings language="fr-FR"><StringTable><string id="Hello">Bonjour</string></StringTable></Strings>)";

class TranslatorTest : public LanguageFolderTest
{
protected:
    Translator& translator = Translator::GetInstance();
};

std::wstring Translated(const char* module, const char* key, const char* fallback)
{
    return TrString(QString::fromUtf8(module).toStdWString(), QString::fromUtf8(key).toStdWString(),
                    QString::fromUtf8(fallback).toStdWString());
}

} // namespace

TEST_F(TranslatorTest, FindModule)
{
    const std::pair<std::wstring, std::wstring> table[] = {
        {L"/opt/app/auiresources/pdf/ui/dlgsave.ui.zr", L"pdf"},
        {L"auiresources//ui/x.ui.zr", L""},
        {L"/opt/app/ui/x.ui.zr", L""},
        {L"auiresources/pdf/img/x.png", L""},
        {L"a/auiresources/one/two/ui/x", L"one/two"},
        {L"auiresources/uix/ui/y", L"uix"},
        {L"auiresources/m/uiform", L"m"},
    };
    for (const auto& [path, module] : table)
        EXPECT_EQ(translator.FindModule(path), module) << QString::fromStdWString(path).toStdString();
}

TEST_F(TranslatorTest, CollapseStringBlocks)
{
    struct Case
    {
        std::vector<std::wstring> lines;
        std::vector<std::wstring> collapsed;
    };
    const Case cases[] = {
        {{L"    <string>First words  ", L"  second words ", L"   </string>", L"</ui>"},
         {L"    <string>First words second words</string>", L"</ui>"}},
        {{L"<string>a", L"", L"b</string> tail"}, {L"<string>a  b</string> tail"}},
        {{L"<string notr=\"true\">a", L"b</string>"}, {L"<string notr=\"true\">a", L"b</string>"}},
        {{L"<string>one</string>", L"plain"}, {L"<string>one</string>", L"plain"}},
        {{L"<string>never closed", L"more"}, {L"<string>never closed more"}},
        {{L"<string>a\r", L"b\r", L"</string>\r"}, {L"<string>a b</string>"}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> lines = c.lines;
        translator.CollapseStringBlocks(lines);
        EXPECT_EQ(lines, c.collapsed) << QString::fromStdWString(c.lines.front()).toStdString();
    }
}

TEST_F(TranslatorTest, TranslatesAFormEndToEnd)
{
    for (const bool encipher : {false, true}) {
        UseLanguage(L"de-DE", encipher);
        const QString form = Place("auiresources/pdf/ui/dlgsave.ui.zr", Fixture("dlgsave.ui"), true);
        PlaceAt(GetTranslationFilePath(L"pdf"), Fixture("pdf_de-DE.ts"), encipher);

        QString expected = QString::fromUtf8(Fixture("dlgsave.ui")).trimmed();
        expected.replace("   <string>Save File</string>", "<string>Datei speichern</string>");
        expected.replace("    <string>Old wording</string>", "<string>Neue Formulierung</string>");
        expected.replace("    <string>Open &amp;file</string>", "<string>&amp;Datei \u00f6ffnen</string>");
        EXPECT_EQ(QString::fromStdWString(translator.TranslateUIFile(form.toStdWString())), expected)
            << (encipher ? "enciphered" : "plain") << " language file";
        EXPECT_TRUE(expected.contains("<string notr=\"true\">Save File</string>"));
        EXPECT_TRUE(expected.contains("First line\nSecond line</string>"));
    }
}

TEST_F(TranslatorTest, NoTranslationsGiveAnEmptyForm)
{
    UseLanguage(L"de-DE", false);
    PlaceAt(GetTranslationFilePath(L"pdf"), Fixture("pdf_de-DE.ts"));
    const QString other = Place("auiresources/pdf/ui/other.ui.zr", Fixture("dlgsave.ui"), true);
    EXPECT_EQ(translator.TranslateUIFile(other.toStdWString()), L"") << "a context the file does not have";

    UseLanguage(L"en-US", false);
    PlaceAt(GetTranslationFilePath(L"pdf"), Fixture("pdf_de-DE.ts"));
    const QString form = Place("auiresources/pdf/ui/dlgsave.ui.zr", Fixture("dlgsave.ui"), true);
    EXPECT_EQ(translator.TranslateUIFile(form.toStdWString()), L"") << "nothing is read for en-US";
}

TEST_F(TranslatorTest, FormOutsideAModuleUsesTheLibraryContext)
{
    UseLanguage(L"de-DE", false);
    PlaceAt(GetTranslationFilePath(L""), QByteArray(Fixture("pdf_de-DE.ts")).replace("../pdf/ui/", ""));
    const QString form = Place("forms/dlgsave.ui.zr", Fixture("dlgsave.ui"), true);
    EXPECT_NE(translator.TranslateUIFile(form.toStdWString()).find(L"Datei speichern"), std::wstring::npos);
}

TEST_F(TranslatorTest, StringLookupsFallBackToDefaultThenFallback)
{
    UseLanguage(L"de-DE", false);
    PlaceAt(GetStringsFilePath(L"pdf", false), kGermanStrings);
    PlaceAt(GetStringsFilePath(L"pdf", true), kEnglishStrings);

    EXPECT_EQ(translator.GetText(L"pdf", L"Hello", L"ignored"), L"Hallo");
    EXPECT_EQ(translator.GetText(L"pdf", L"OnlyDefault", L""), L"");
    EXPECT_EQ(translator.GetDefaultText(L"pdf", L"OnlyDefault"), L"Only in English");
    EXPECT_EQ(Translated("pdf", "Hello", "x"), L"Hallo");
    EXPECT_EQ(Translated("pdf", "OnlyDefault", "x"), L"Only in English");
    EXPECT_EQ(Translated("pdf", "Blank", "x"), L"Not blank") << "an empty text is found but falls back";
    EXPECT_EQ(Translated("pdf", "Missing", "Fallback"), L"Fallback");
    EXPECT_EQ(Translated("", "AUILib::BBoxOK", "OK"), L"OK");
    EXPECT_EQ(Translated("", "OnlyHere", "library module only"), L"library module only")
        << "the library module's files are not the module's";
}

TEST_F(TranslatorTest, AFileCreatedLaterIsPickedUpAndALanguageSwitchIsFollowed)
{
    UseLanguage(L"de-DE", false);
    EXPECT_EQ(translator.GetText(L"late", L"Hello", L""), L"");
    PlaceAt(GetStringsFilePath(L"late", false), kGermanStrings);
    EXPECT_EQ(translator.GetText(L"late", L"Hello", L""), L"Hallo");
    const TrString german(L"late", L"Hello", L"fallback");

    UseLanguage(L"fr-FR", false);
    PlaceAt(GetStringsFilePath(L"late", false), kFrenchStrings);
    EXPECT_EQ(static_cast<std::wstring>(TrString(L"late", L"Hello", L"fallback")), L"Bonjour");
    EXPECT_EQ(static_cast<std::wstring>(german), L"Hallo") << "a made text keeps what it found";
}

TEST_F(TranslatorTest, AppendedModulesMergeIntoTheirHost)
{
    UseLanguage(L"de-DE", false);
    PlaceAt(GetStringsFilePath(L"host", false), R"(<S language="de-DE"><StringTable><string id="A">host</string></StringTable></S>)");
    PlaceAt(GetStringsFilePath(L"extra", false), R"(<S language="de-DE"><StringTable><string id="A">extra</string><string id="B">extra B</string></StringTable></S>)");
    PlaceAt(GetTranslationFilePath(L"extra"), QByteArray(Fixture("pdf_de-DE.ts")));
    translator.AppendStrings(L"host", L"extra");
    translator.AppendStrings(L"host", L"extra");

    EXPECT_EQ(translator.GetText(L"host", L"A", L""), L"host");
    EXPECT_EQ(translator.GetText(L"host", L"B", L""), L"extra B");
    const QString form = Place("auiresources/host/ui/dlgsave.ui.zr", Fixture("dlgsave.ui"), true);
    EXPECT_NE(translator.TranslateUIFile(form.toStdWString()).find(L"Datei speichern"), std::wstring::npos)
        << "the appended module's messages are keyed under the host";
}

TEST_F(TranslatorTest, ReadsLanguageFilesInTheExpectedForm)
{
    UseLanguage(L"de-DE", true);
    const QString enciphered = Place("a.ts.zr", "caf\xC3\xA9", true);
    EXPECT_EQ(translator.ReadTranslationFile(enciphered.toStdWString()), L"caf\u00e9");
    UseLanguage(L"de-DE", false);
    EXPECT_EQ(translator.ReadTranslationFile(enciphered.toStdWString()), L"") << "read as plain it is not UTF-8";
    EXPECT_EQ(translator.ReadTranslationFile(Place("b.ts", "\xEF\xBB\xBFok").toStdWString()), L"\uFEFFok");
}
