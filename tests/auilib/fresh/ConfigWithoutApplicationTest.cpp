// A configuration made before any Qt application object exists.
#include "AUILibConfig.h"

#include <gtest/gtest.h>

using namespace AUILib;

TEST(ConfigWithoutApplication, WorkingDirectoryIsOneBackslash)
{
    EXPECT_EQ(GetWorkingDirPath(), L"\\");
    EXPECT_EQ(GetUiDirPath(L"m"), L"\\auiresources/m/ui/");
}
