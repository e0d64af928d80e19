// Test helper, copied into a reader bundle so that its own folder is the updater's:
//   request-url <command line>: prints the service address an "Update List" check would ask.
//   query <command line>: runs an "Update List" check and prints the names of the available modules.
#include "../TestUpdateRun.h"
#include "engine/CReaderModuleManager.h"
#include "engine/CSetup_CommandLine.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

int runCheck(const char* mode, const char* commandLineText)
{
    CSetup_CommandLine commandLine;
    if (!commandLine.ProcessCmdLine(QString::fromUtf8(commandLineText)))
        return 3;
    TestUpdateRun run(&commandLine);
    int result = 0;
    {
        CReaderModuleManager engine("Update List", nullptr);
        if (std::strcmp(mode, "request-url") == 0) {
            std::printf("%s\n", engine.GetRequestURL().toUtf8().constData());
        } else if (engine.QueryModuleInfo(nullptr, true) != 0) {
            result = 4;
        } else {
            for (int i = 0; i < engine.CountAvailableModule(); ++i)
                std::printf("%s\n", engine.GetAvailabletModule(i)->name.c_str());
        }
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3 || (std::strcmp(argv[1], "request-url") != 0 && std::strcmp(argv[1], "query") != 0))
        return 2;
    return runCheck(argv[1], argv[2]);
}
