#include "InstallerPrograms.h"

#include "SystemRoot.h"

namespace {

const QString kInstallerApplication = QStringLiteral("/System/Library/CoreServices/Installer.app");

// A system program exists here only inside a system root, where a test or the demo placed it.
QString programInsideSystemRoot(const QString& macPath)
{
    const QString path = systemPath(macPath);
    return path == macPath ? QString() : path;
}

} // namespace

namespace InstallerPrograms {

QString installerProgram()
{
    return programInsideSystemRoot(kInstallerApplication + "/Contents/MacOS/Installer");
}

QString installerApplication()
{
    return systemPath(kInstallerApplication);
}

QString openProgram()
{
    return programInsideSystemRoot(QStringLiteral("/usr/bin/open"));
}

QString installHistory()
{
    return systemPath(QStringLiteral("/Library/Receipts/InstallHistory.plist"));
}

} // namespace InstallerPrograms
