#include "I18N.h"

#include <gtest/gtest.h>

using namespace AUILib;

TEST(I18N, LanguageOfAnEnvironmentLocale)
{
    const std::pair<std::wstring, std::wstring> table[] = {
        {L"", L"en-US"},
        {L"C", L"en-US"},
        {L"POSIX", L"en-US"},
        {L"C.UTF-8", L"en-US"},
        {L"de_DE.UTF-8", L"de_DE"},
        {L"fr_FR", L"fr_FR"},
        {L"sr_RS.UTF-8@latin", L"sr_RS"},
        {L"Cy_GB.UTF-8", L"Cy_GB"},
    };
    for (const auto& [locale, language] : table)
        EXPECT_EQ(I18N::LanguageOfEnvironmentLocale(locale), language) << locale;
}

TEST(I18N, LanguageFollowsTheLocale)
{
    I18N& i18n = I18N::GetInstance();
    const I18N saved = i18n;

    EXPECT_TRUE(i18n.ChangeLanguage(L"de-DE", L"UTF-8"));
    EXPECT_EQ(i18n.locale, L"de-DE.UTF-8");
    EXPECT_EQ(i18n.language, L"de-DE");
    EXPECT_TRUE(i18n.SetLocale(L"pt_BR"));
    EXPECT_EQ(i18n.language, L"pt_BR");
    i18n.ChangeLanguage(L"a.b", L"UTF-8");
    EXPECT_EQ(i18n.language, L"a");
    i18n.locale = L"ja_JP.eucJP";
    i18n.Update();
    EXPECT_EQ(i18n.language, L"ja_JP");

    i18n.locale = saved.locale;
    i18n.language = saved.language;
}
