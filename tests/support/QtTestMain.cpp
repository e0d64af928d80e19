#include "PrivateXServer.h"
#include "SanitizerDefaults.h"
#include "platform/ProcessLocale.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    exportSanitizerOptions();
    setenv("TZ", "UTC", 1);
    tzset();
#ifdef KELVRIN_TESTS_NEED_X
    // Tests of the real pointer: the program picks its platform itself, so that a run by hand tests
    // what the test run does, whatever the environment names.
    qputenv("QT_QPA_PLATFORM", "xcb");
    // No test draws with OpenGL, and the GL driver that xcb would load leaks on its unload, where the
    // leak checker can no longer name it to suppress it.
    qputenv("QT_XCB_GL_INTEGRATION", "none");
#else
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Declared before the application, which must let go of the display before the server ends.
    PrivateXServer xServer;
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && !xServer.Start())
        return EXIT_FAILURE;
    QApplication application(argc, argv);
    selectUtf8Locale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
