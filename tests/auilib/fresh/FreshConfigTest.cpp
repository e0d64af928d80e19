// A configuration made in this process for the first time.
#include "AUILibConfig.h"
#include "AUILibObjectFactory.h"
#include "I18N.h"

#include <QCoreApplication>
#include <QLocale>

#include <gtest/gtest.h>

using namespace AUILib;

TEST(FreshConfig, DefaultsAndTheFilledFactory)
{
    EXPECT_EQ(AUILibObjectFactory::Instance().Count(), 0u) << "empty until the configuration is made";
    const std::wstring language = I18N::GetInstance().language;

    EXPECT_EQ(GetDecimalChar(), '.');
    EXPECT_FALSE(GetLayoutRTL());
    EXPECT_EQ(GetReadingDirection(), ReadingDirection::LeftToRight);
    EXPECT_TRUE(ExpectsEncryptedLanguageFiles());
    EXPECT_EQ(GetComboboxRadius(), 0);
    EXPECT_EQ(GetCheckboxRadius(), 0);
    EXPECT_EQ(GetEditRadius(), 0);
    EXPECT_EQ(GetContextMenuRadius(), 10);
    EXPECT_EQ(GetFontInfo()->lfFaceName, L"Tahoma");
    EXPECT_EQ(GetFontInfo()->lfHeight, 90);
    EXPECT_EQ(GetFontInfo()->lfCharSet, 0);
    EXPECT_EQ(GetGlobalSkinMode(), SkinMode::Default);
    EXPECT_EQ(GetXMLSkinManager()->skinMode, SkinMode::Default);
    EXPECT_NE(GetXMLSkinManager(), GetGlobalSkinManager());
    EXPECT_EQ(QString::fromStdWString(GetWorkingDirPath()), QCoreApplication::applicationDirPath() + "/");
    EXPECT_EQ(QLocale().name(), QStringLiteral("en_US"));
    EXPECT_EQ(GetCurrentLanguage(), language);
    EXPECT_TRUE(AUILibObjectFactory::Instance().Create("QWidget"));

    // The language the configuration started with is no change at all.
    SetCurrentLanguage(language, false);
    EXPECT_TRUE(ExpectsEncryptedLanguageFiles());
    EXPECT_EQ(GetDecimalChar(), '.');
}
