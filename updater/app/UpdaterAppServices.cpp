#include "UpdaterApp.h"

#include "CUP_Log.h"
#include "LocaleTables.h"
#include "engine/CRegister.h"
#include "engine/CSetup_CommandLine.h"
#include "platform/CurrentUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QGuiApplication>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QScreen>
#include <QSize>
#include <QStandardPaths>
#include <QWidget>

namespace {

const QString kProductName = QStringLiteral("Kelvrin PDF Reader");

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

QString UpdaterApp::GetAppDateRootPath()
{
    return dataRoot();
}

QString UpdaterApp::GetAppDatePath()
{
    return dataRoot() + kProductName + "/";
}

std::string UpdaterApp::GetLang() const
{
    const _LocaleInfo* row = findLocale(localeTableForPackage(GetPackageType()), m_nLanguage);
    return row ? row->code.toStdString() : std::string("en-US");
}

QString UpdaterApp::GetPackageType()
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

std::string UpdaterApp::GetMacAddress()
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

QString UpdaterApp::GetBigVersioin() const
{
    if (!m_pCommandLine)
        return QString();
    const QStringList parts = QString::fromStdString(m_pCommandLine->GetReaderVersion()).split('.');
    if (parts.size() < 3)
        return QString();
    return QString("%1.%2").arg(parts[0], parts[1]);
}

std::string UpdaterApp::GetCurrentUserPlist()
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

QPoint UpdaterApp::GetMainAppCenterPos()
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

void UpdaterApp::ResetPostion(QRect rect, QWidget* widget)
{
    if (rect.isEmpty() || !rect.isValid())
        return;
    widget->move(rect.left() + rect.width() / 2 - widget->width() / 2,
                 rect.top() + rect.height() / 2 - widget->height() / 2);
}

std::string UpdaterApp::GetProductName()
{
    return kProductName.toStdString();
}
