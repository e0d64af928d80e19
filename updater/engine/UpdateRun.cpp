#include "UpdateRun.h"

#include "engine/CRegister.h"
#include "engine/CUP_Log.h"
#include "platform/CurrentUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QGuiApplication>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QStandardPaths>

namespace {

UpdateRun* currentRun = nullptr;

QString trackWord()
{
    return CheckIsContinue() ? QStringLiteral("Continuous") : QStringLiteral("Classic");
}

QString dataRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Kelvrin Software/" + trackWord() +
           "/";
}

bool openFirstReadable(QFile& file, const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        file.setFileName(candidate);
        if (file.open(QIODevice::ReadOnly))
            return true;
    }
    return false;
}

QPoint availableScreenCentre()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().center() : QPoint();
}

} // namespace

UpdateRun::UpdateRun(CSetup_CommandLine* commandLine)
    : m_pCommandLine(commandLine)
{
    currentRun = this;
}

UpdateRun::~UpdateRun()
{
    if (currentRun == this)
        currentRun = nullptr;
}

UpdateRun* UpdateRun::current()
{
    return currentRun;
}

QString UpdateRun::GetAppDateRootPath()
{
    return dataRoot();
}

QString UpdateRun::GetAppDatePath()
{
    return dataRoot() + "Kelvrin PDF Reader/";
}

QString UpdateRun::GetPackageType()
{
    // The executable sits in ".../Contents/MacOS"; the bundle's resources are beside that folder.
    const QString executableDir = QCoreApplication::applicationDirPath();
    const QString base = executableDir.left(qMax(0, executableDir.size() - 6));
    QFile file;
    if (!openFirstReadable(file, {base + "/Resources/packagetype.xml", base + "/../../../Resources/packagetype.xml"}))
        return QString();

    QDomDocument document("packagetype");
    if (!document.setContent(&file)) {
        file.close();
        return QString();
    }
    file.close();
    const QDomElement root = document.documentElement();
    return root.isNull() ? QString() : root.attribute("name");
}

std::string UpdateRun::GetMacAddress()
{
    QStringList addresses;
    for (const QNetworkInterface& networkInterface : QNetworkInterface::allInterfaces())
        addresses.append(networkInterface.hardwareAddress());
    return joinMacAddresses(addresses, QHostInfo::localHostName());
}

std::string joinMacAddresses(const QStringList& hardwareAddresses, const QString& hostName)
{
    static const QStringList excluded{"00-00-00-00-00-00", "00-50-56-C0-00-01", "00-50-56-C0-00-08"};
    QString result;
    for (const QString& address : hardwareAddresses) {
        const QString mac = QString(address).replace(':', '-');
        if (mac.isEmpty() || excluded.contains(mac))
            continue;
        result += mac + "|";
    }
    result += hostName;
    return result.toStdString();
}

std::string UpdateRun::GetCurrentUserPlist()
{
    CUP_Log::PrintLog("login user: " + currentUserName());
    return userPreferencesPlist(currentUserHome());
}

std::string userPreferencesPlist(QString queriedHome)
{
    QString home = queriedHome.trimmed();
    if (home.isEmpty()) {
        CUP_Log::PrintLog("login homePath error: the user query gave no home folder");
        home = QDir::homePath();
    } else {
        CUP_Log::PrintLog("login homePath: " + home);
    }
    const QString path = home + QString("/Library/Preferences/com.kelvrin-software.%1.plist").arg("Kelvrin.PDF.Reader");
    CUP_Log::PrintLog("plist path: " + path);
    return path.toStdString();
}

QPoint UpdateRun::GetMainAppCenterPos()
{
    const QString plist = QString::fromStdString(GetCurrentUserPlist());
    const QPoint position = CRegister::regGetVariant("Window Position", QPoint(), plist, QString(), QString()).toPoint();
    const QSize size = CRegister::regGetVariant("Window Size", QSize(), plist, QString(), QString()).toSize();
    CUP_Log::PrintLog(QString("UpdaterApp::GetMainAppCenterPos()---position:(%1,%2), size:(%3,%4)")
                          .arg(position.x())
                          .arg(position.y())
                          .arg(size.width())
                          .arg(size.height()));

    const QPoint centre = QRect(position, size).center();
    CUP_Log::PrintLog(QString("UpdaterApp::GetMainAppCenterPos()---centerPos:(%1,%2)").arg(centre.x()).arg(centre.y()));
    if (centre.isNull() || position == QPoint(0, 0))
        return availableScreenCentre();
    return centre;
}
