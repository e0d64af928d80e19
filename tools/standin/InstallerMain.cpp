// Stand-in for the macOS Installer: "Installer PACKAGE" records the package in the system's install
// history and exits 0. A package whose file name contains "fail" exits 1 without a record. A package
// file whose first line is "#standin" may bend the run with "key=value" lines:
//   exit=N     exit with N (no record unless N is 0)
//   delay=MS   wait this long before recording, as a long installation would
//   hold=PATH  wait, at most a minute, until the file PATH (an absolute system path, mapped under
//              the system root) exists before recording, so that a test decides when it ends
//   record=no  exit 0 but record nothing
//   proof=PATH create the file PATH (an absolute system path, mapped under the system root)
//   version=V  the record's "displayVersion" (default "1.0")
//   keep=N     keep the history at N records at most: the oldest go as the record is added
// Every run logs "start" and "end" lines (StandinLog).
#include "InstallHistory.h"
#include "StandinLog.h"

#include "platform/SystemRoot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QThread>

#include <cstdio>

namespace {

QMap<QString, QString> directives(const QString& packagePath)
{
    QMap<QString, QString> values;
    QFile package(packagePath);
    if (!package.open(QIODevice::ReadOnly) || package.readLine().trimmed() != "#standin")
        return values;
    while (!package.atEnd()) {
        const QString line = QString::fromUtf8(package.readLine()).trimmed();
        const int equals = line.indexOf('=');
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

void waitForRelease(const QString& absolutePath)
{
    const QString path = systemPath(absolutePath);
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(path) && waited.elapsed() < 60000)
        QThread::msleep(20);
}

bool createProof(const QString& absolutePath, const QString& packagePath)
{
    const QString path = systemPath(absolutePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile proof(path);
    return proof.open(QIODevice::WriteOnly) && proof.write(QFileInfo(packagePath).fileName().toUtf8()) >= 0;
}

int install(const QString& packagePath)
{
    if (QFileInfo(packagePath).fileName().contains("fail"))
        return 1;
    const QMap<QString, QString> options = directives(packagePath);
    QThread::msleep(options.value("delay", "0").toULong());
    if (options.contains("hold"))
        waitForRelease(options.value("hold"));
    const int exitCode = options.value("exit", "0").toInt();
    if (exitCode != 0)
        return exitCode;
    if (options.contains("proof") && !createProof(options.value("proof"), packagePath))
        return 3;
    if (options.value("record") == "no")
        return 0;
    return InstallHistory::appendRecord(packagePath, options.value("version", "1.0"), options.value("keep").toInt())
               ? 0
               : 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: Installer PACKAGE\n", stderr);
        return 64;
    }
    const QString packagePath = QFile::decodeName(argv[1]);
    const QString log = StandinLog::installerLogPath();
    StandinLog::append(log, "start", packagePath);
    const int exitCode = install(packagePath);
    StandinLog::append(log, "end", QString("%1 exit=%2").arg(packagePath).arg(exitCode));
    return exitCode;
}
