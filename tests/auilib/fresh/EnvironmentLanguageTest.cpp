// Runs with LC_ALL naming a locale that is not installed.
#include "AUILibConfig.h"
#include "I18N.h"

#include <gtest/gtest.h>

using namespace AUILib;

TEST(EnvironmentLanguage, UninstalledLocaleStillGivesItsLanguage)
{
    EXPECT_EQ(I18N::GetInstance().locale, L"xx_YY.UTF-8");
    EXPECT_EQ(I18N::GetInstance().language, L"xx_YY");
    EXPECT_EQ(GetCurrentLanguage(), L"xx_YY");
    EXPECT_EQ(GetTranslationDirPath(false).substr(GetWorkingDirPath().size()), L"lang/xx-YY/");
}
