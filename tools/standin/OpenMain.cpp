// Stand-in for the macOS "open": "open PATH". A path ending in "Installer.app" brings the Installer
// to the front (logged as "front"); any other path is handed to the mapped Installer, started on its
// own, and "open" returns at once without waiting for it, as the system's tool does. Every call is
// logged (StandinLog).
#include "StandinLog.h"

#include "platform/InstallerPrograms.h"

#include <QFile>
#include <QProcess>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: open PATH\n", stderr);
        return 64;
    }
    const QString path = QFile::decodeName(argv[1]);
    const QString log = StandinLog::openLogPath();
    if (path.endsWith("Installer.app")) {
        StandinLog::append(log, "front", path);
        return 0;
    }
    StandinLog::append(log, "open", path);
    const QString installer = InstallerPrograms::installerProgram();
    return !installer.isEmpty() && QProcess::startDetached(installer, QStringList() << path) ? 0 : 1;
}
