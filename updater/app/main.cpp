#include "engine/CUP_Log.h"
#include "MyApplication.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "platform/ProcessLocale.h"

#include <QStringList>

namespace {

const QString kNextCheckPrefix = QStringLiteral("setnextautoupdatetime:");
const QString kNoInternetPrefix = QStringLiteral("checkbDisableInternet");

QString joinedArguments(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromUtf8(argv[i]));
    return words.join(' ');
}

} // namespace

int main(int argc, char** argv)
{
    CUP_Log::CreateLog();
    MyApplication application(argc, argv);
    if (application.isRunning())
        return 0;
    selectUtf8Locale();
    application.setStyleSheet("QPushButton{height: 32pt}");

    const QString command = joinedArguments(argc, argv);
    CSetup_CommandLine commandLine;
    commandLine.ProcessCmdLine(command);

    if (command.startsWith(kNextCheckPrefix)) {
        CRegister::regSetString("HKEY_CURRENT_USER\\Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater",
                                "LastDay", command.mid(kNextCheckPrefix.size()));
        return 0;
    }
    if (command.startsWith(kNoInternetPrefix))
        return 0;
    return 0;
}
