#include "ApplicationStyleSheet.h"
#include "MyApplication.h"
#include "StartupPaths.h"
#include "UpdaterApp.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "engine/CUP_Log.h"
#include "engine/CUpdateCertFile.h"
#include "engine/VzipScratchFolder.h"
#include "platform/ProcessLocale.h"

#include <QFileInfo>
#include <QFont>
#include <QStringList>
#include <QTranslator>

#include <cstdlib>

namespace {

const QString kCertificatePrefix = QStringLiteral("-downloadTrustCertfile");
const QString kNextCheckPrefix = QStringLiteral("setnextautoupdatetime:");
const QString kNoInternetPrefix = QStringLiteral("checkbDisableInternet");
const QString kLanguageKey = QStringLiteral("Preferences/Languages");
const QString kUpdaterKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Kelvrin Software\\Kelvrin PDF Reader\\plugins\\Updater");

QString joinedArguments(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromUtf8(argv[i]));
    return words.join(' ');
}

int readLanguageValue(const QString& name, int defaultValue, const QString& preferencesList)
{
    return CRegister::regGetVariant(kLanguageKey + "/" + name, defaultValue, preferencesList, QString(), QString())
        .toString()
        .toInt();
}

void installTranslation(QTranslator& translator, const QString& path)
{
    if (translator.load(path, QString(), QString(), QString()))
        QCoreApplication::installTranslator(&translator);
}

} // namespace

int main(int argc, char** argv)
{
    CUP_Log::CreateLog();
    MyApplication application(argc, argv);
    if (application.isRunning())
        return 0;
    selectUtf8Locale();
    if (application.holdsInstanceName())
        VzipScratchFolder::removeLeftovers();
    application.setStyleSheet(kApplicationStyleSheet);

    const QString command = joinedArguments(argc, argv);
    CUP_Log::PrintLog("qsCmd: " + command);

    if (command.startsWith(kCertificatePrefix)) {
        CSetup_CommandLine certificateCommandLine;
        certificateCommandLine.ProcessCmdLine(command.mid(kCertificatePrefix.size()));
        theApp = new UpdaterApp(&certificateCommandLine, nullptr);
        CUpdateCertFile certificateMode;
        certificateMode.UpdateFile();
        return 0;
    }

    CSetup_CommandLine commandLine;
    commandLine.ProcessCmdLine(command);

    const QString preferencesList = GetUserPlitPath();
    readLanguageValue("nChooseLanType", 1, preferencesList);
    const int language = readLanguageValue("nChooseLan", 31, preferencesList);
    const int country = readLanguageValue("nChooseCountry", 225, preferencesList);
    CUP_Log::PrintLog("plist path and lang value: " + QFileInfo(preferencesList).fileName() + "\n" +
                      QString::number(language));

    QTranslator updaterTranslator;
    installTranslation(updaterTranslator, getLanFilePath(language, country));
    QTranslator qtTranslator;
    installTranslation(qtTranslator, getGLanFilePath(language, country));

    QFont font;
    font.setPixelSize(12);
    QApplication::setFont(font);

    if (!command.isEmpty() && command.startsWith(kNextCheckPrefix)) {
        CRegister::regSetString(kUpdaterKey, "LastDay", command.mid(kNextCheckPrefix.size()));
        return 0;
    }
    if (command.startsWith(kNoInternetPrefix))
        return 0;

    theApp = new UpdaterApp(&commandLine, nullptr);
    theApp->runUpdate(language, country);
    // Every run ends inside runUpdate: a process that went on waiting would wait for nothing, and
    // would hold the single-instance name against every later run.
    return theApp->bRunFinished ? EXIT_SUCCESS : EXIT_FAILURE;
}
