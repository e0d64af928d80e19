#include "StandinPrograms.h"

#include "StandinLog.h"
#include "platform/InstallerPrograms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

bool linkProgram(const QString& program, const QString& mappedPath)
{
    if (mappedPath.isEmpty() || !QDir().mkpath(QFileInfo(mappedPath).absolutePath()))
        return false;
    QFile::remove(mappedPath);
    return QFile::link(program, mappedPath);
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    lines.removeAll(QString());
    return lines;
}

} // namespace

namespace StandinPrograms {

bool place()
{
    return linkProgram(KELVRIN_STANDIN_INSTALLER, InstallerPrograms::installerProgram()) &&
           linkProgram(KELVRIN_STANDIN_OPEN, InstallerPrograms::openProgram());
}

QStringList installerLog()
{
    return readLines(StandinLog::installerLogPath());
}

QStringList openLog()
{
    return readLines(StandinLog::openLogPath());
}

QStringList linesWith(const QStringList& log, const QString& word)
{
    QStringList lines;
    for (const QString& line : log) {
        if (line.section(' ', 1, 1) == word)
            lines.append(line);
    }
    return lines;
}

bool waitForInstallerEnds(int count, int timeoutMs)
{
    return QTest::qWaitFor([count] { return linesWith(installerLog(), "end").size() >= count; }, timeoutMs);
}

} // namespace StandinPrograms
