#include "AUILibConfig.h"
#include "I18N.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace AUILib;

namespace {

// Puts the process-wide settings back after each case.
class ConfigTest : public testing::Test
{
protected:
    void TearDown() override
    {
        SetCurrentLanguage(m_language, m_encrypted);
        SetWorkingDirPath(m_workingDirectory);
        SetForcedDecimalChar(m_decimal);
        SetReadingDirection(m_direction);
        SetGlobalSkinMode(SkinMode::Default);
        QLocale::setDefault(m_locale);
    }

private:
    QLocale m_locale;
    std::wstring m_language = GetCurrentLanguage();
    bool m_encrypted = ExpectsEncryptedLanguageFiles();
    std::wstring m_workingDirectory = GetWorkingDirPath();
    char m_decimal = GetDecimalChar();
    ReadingDirection m_direction = GetReadingDirection();
};

// Switches through a language of its own first, so that the wanted one is always a change.
void SwitchLanguage(const std::wstring& language, bool encrypted)
{
    SetCurrentLanguage(L"xx-TEST", encrypted);
    SetCurrentLanguage(language, encrypted);
}

} // namespace

TEST_F(ConfigTest, PathsOfTheWorkedExample)
{
    SetWorkingDirPath(L"/opt/app/");
    SwitchLanguage(L"pt_BR", true);
    EXPECT_EQ(GetTranslationDirPath(false), L"/opt/app/lang/pt-BR/");
    EXPECT_EQ(GetTranslationFilePath(L"m"), L"/opt/app/lang/pt-BR/m_pt-BR.ts.zr");
    EXPECT_EQ(GetStringsFilePath(L"m", true), L"/opt/app/lang/en-US/m_strings_en-US.xml.zr");
    EXPECT_EQ(GetStringsFilePath(L"", false), L"/opt/app/lang/pt-BR/strings_pt-BR.xml.zr");
    EXPECT_EQ(GetUiDirPath(L"m"), L"/opt/app/auiresources/m/ui/");
    EXPECT_EQ(GetImageDirPath(L""), L"/opt/app/auiresources/img/");
    EXPECT_EQ(GetTranslationFilePath(L""), L"/opt/app/lang/pt-BR/pt-BR.ts.zr");
}

TEST_F(ConfigTest, OnlyTheFirstUnderscoreBecomesAHyphenAndNoSeparatorIsAdded)
{
    SetWorkingDirPath(L"/opt/app");
    SwitchLanguage(L"zh_Hant_TW", false);
    EXPECT_EQ(GetTranslationFilePath(L"m"), L"/opt/applang/zh-Hant_TW/m_zh-Hant_TW.ts");
    EXPECT_EQ(GetUiDirPath(L""), L"/opt/appauiresources/ui/");
}

TEST_F(ConfigTest, LanguageSetsDecimalDirectionAndFileForm)
{
    SwitchLanguage(L"de-DE", false);
    EXPECT_EQ(GetDecimalChar(), ',');
    EXPECT_EQ(GetReadingDirection(), ReadingDirection::LeftToRight);
    EXPECT_FALSE(ExpectsEncryptedLanguageFiles());
    EXPECT_EQ(I18N::GetInstance().locale, L"de-DE.UTF-8");
    EXPECT_EQ(I18N::GetInstance().language, L"de-DE");
    EXPECT_EQ(QLocale().language(), QLocale::German);

    SetCurrentLanguage(L"de-DE", true);
    EXPECT_FALSE(ExpectsEncryptedLanguageFiles()) << "the same language changes nothing";

    SetForcedDecimalChar(';');
    SwitchLanguage(L"es-MX", true);
    EXPECT_EQ(GetDecimalChar(), '.');
    EXPECT_EQ(QLocale().language(), QLocale::Spanish);
    SwitchLanguage(L"es-419", true);
    EXPECT_EQ(GetDecimalChar(), ',');
    EXPECT_EQ(QLocale().language(), QLocale::Spanish);

    SetLayoutRTL(false);
    SwitchLanguage(L"ar-SA", true);
    EXPECT_EQ(GetReadingDirection(), ReadingDirection::RightToLeft);
    EXPECT_FALSE(GetLayoutRTL());
    SetCurrentLanguage(L"en-US", true);
    EXPECT_EQ(GetReadingDirection(), ReadingDirection::LeftToRight);
    EXPECT_EQ(GetDecimalChar(), '.');
}

TEST_F(ConfigTest, NegativeRadiiAreIgnored)
{
    struct Radius
    {
        const char* name;
        void (*set)(int);
        int (*get)();
    };
    const Radius radii[] = {
        {"combo box", SetComboboxRadius, GetComboboxRadius},
        {"check box", SetCheckboxRadius, GetCheckboxRadius},
        {"edit", SetEditRadius, GetEditRadius},
        {"context menu", SetContextMenuRadius, GetContextMenuRadius},
    };
    for (const Radius& radius : radii) {
        const int before = radius.get();
        radius.set(7);
        EXPECT_EQ(radius.get(), 7) << radius.name;
        radius.set(-5);
        EXPECT_EQ(radius.get(), 7) << radius.name << ": a negative radius is ignored";
        radius.set(0);
        EXPECT_EQ(radius.get(), 0) << radius.name;
        radius.set(before);
    }
}

TEST_F(ConfigTest, GlobalSkinModeRefusesUnknownModes)
{
    EXPECT_TRUE(SetGlobalSkinMode(SkinMode::Dark));
    EXPECT_FALSE(SetGlobalSkinMode(static_cast<SkinMode>(5)));
    EXPECT_EQ(GetGlobalSkinMode(), SkinMode::Dark);
    EXPECT_FALSE(SetGlobalSkinMode(SkinMode::Custom));
    EXPECT_EQ(GetGlobalSkinMode(), SkinMode::Dark);
}

TEST_F(ConfigTest, FontInformationIsSharedNotCopied)
{
    GetFontInfo()->lfHeight = 120;
    EXPECT_EQ(GetFontInfo()->lfHeight, 120);
    GetFontInfo()->lfHeight = 90;
}

TEST(WStringToUtf8, EncodesStrictlyAndThrowsOnInvalidCharacters)
{
    EXPECT_EQ(WStringToUtf8(L""), "");
    EXPECT_EQ(WStringToUtf8(L"caf\u00e9 \u20ac \U0001D11E"), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E");
    for (wchar_t bad : {wchar_t(0xD800), wchar_t(0xDFFF), wchar_t(0x110000)}) {
        try {
            WStringToUtf8(std::wstring(L"a") + bad);
            ADD_FAILURE() << std::hex << bad;
        } catch (const std::range_error& error) {
            EXPECT_STREQ(error.what(), "wstring_convert: to_bytes error");
        }
    }
}
