// Runs with LC_ALL=C.
#include "AUILibConfig.h"
#include "I18N.h"

#include <gtest/gtest.h>

using namespace AUILib;

TEST(PosixLanguage, ThePosixLocaleMeansAmericanEnglish)
{
    EXPECT_EQ(I18N::GetInstance().locale, L"C");
    EXPECT_EQ(GetCurrentLanguage(), L"en-US");
}
