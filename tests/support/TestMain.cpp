#include "SanitizerDefaults.h"
#include "platform/ProcessLocale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    exportSanitizerOptions();
    setenv("TZ", "UTC", 1);
    tzset();
    selectUtf8Locale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
