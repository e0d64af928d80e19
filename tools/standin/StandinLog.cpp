#include "StandinLog.h"

#include "platform/SystemRoot.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace StandinLog {

QString installerLogPath()
{
    return systemPath("/var/log/kelvrin-standin-installer.log");
}

QString openLogPath()
{
    return systemPath("/var/log/kelvrin-standin-open.log");
}

void append(const QString& logPath, const QString& word, const QString& argument)
{
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    const QString time = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    log.write((time + " " + word + " " + argument + "\n").toUtf8());
}

} // namespace StandinLog
