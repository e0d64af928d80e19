// Test helper. "first-instance": becomes the first updater instance and serves until killed (at most
// 60 s). "bundle <language>": prints the bundle's package type and the language code of <language>.
// "translations <language>": prints the updater's and Qt's translation paths of <language>.
#include "app/MyApplication.h"
#include "app/StartupPaths.h"
#include "app/UpdaterApp.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

int serveAsFirstInstance(int argc, char** argv)
{
    MyApplication application(argc, argv);
    if (application.isRunning())
        return 3;
    std::printf("serving\n");
    std::fflush(stdout);
    QTimer::singleShot(60000, &application, &QCoreApplication::quit);
    return application.exec();
}

int printBundleFacts(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    UpdaterApp conductor(nullptr, nullptr);
    conductor.m_nLanguage = QString(argv[2]).toInt();
    std::printf("%s\n%s\n", UpdaterApp::GetPackageType().toUtf8().constData(), conductor.GetLang().c_str());
    return 0;
}

int printTranslationPaths(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int language = QString(argv[2]).toInt();
    std::printf("%s\n%s\n", getLanFilePath(language, 0).toUtf8().constData(),
                getGLanFilePath(language, 0).toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "first-instance") == 0)
        return serveAsFirstInstance(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "bundle") == 0)
        return printBundleFacts(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "translations") == 0)
        return printTranslationPaths(argc, argv);
    return 2;
}
