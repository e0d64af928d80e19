#include "StartupPaths.h"

#include "UpdaterApp.h"
#include "engine/CRegister.h"
#include "engine/CUP_Log.h"
#include "engine/LocaleTables.h"
#include "platform/CurrentUser.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

const _LocaleInfo* bundleLocale(int language)
{
    return findLocale(localeTableForPackage(UpdaterApp::GetPackageType()), language);
}

} // namespace

QString getLanFilePath(int language, int)
{
    const QString base = QCoreApplication::applicationDirPath() + "/../../../../";
    const _LocaleInfo* row = bundleLocale(language);
    if (!row)
        return QString();
    const QString path = base + "/lang/" + row->code + "/pagewisp_" + row->code + ".qm";
    qDebug() << "qm path:" << path;
    CUP_Log::PrintLog("qm path: " + path);
    return path;
}

QString getGLanFilePath(int language, int)
{
    QString base = CRegister::regGetString("Pagewisp_UpdateOldPath", QString());
    if (base.isEmpty())
        base = QCoreApplication::applicationDirPath();
    base += "/../../../..";
    const _LocaleInfo* row = bundleLocale(language);
    if (!row)
        return base;
    return base + "/lang/" + row->code + "/qt_" + row->code + ".qm";
}

QString GetUserPlitPath()
{
    CUP_Log::PrintLog("login user: " + currentUserName());
    const QString result = readerPreferencesUnder(currentUserHome());
    CUP_Log::PrintLog("UserPlist path: " + result);
    return result;
}

QString readerPreferencesUnder(const QString& home)
{
    if (home.isEmpty()) {
        CUP_Log::PrintLog("login homePath error: the user has no home folder");
        return QString();
    }
    CUP_Log::PrintLog("login homePath: " + home);
    return home + QString("/Library/Preferences/com.kelvrin-software.%1.plist").arg("Kelvrin.PDF.Reader");
}
