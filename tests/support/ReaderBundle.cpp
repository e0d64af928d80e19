#include "ReaderBundle.h"

#include <QDir>
#include <QFile>
#include <QProcess>

ReaderBundle::ReaderBundle(const QString& applicationsFolder) : m_applicationsFolder(applicationsFolder)
{
}

bool ReaderBundle::install(const QString& program) const
{
    if (QFile::exists(executable()))
        return true;
    return QDir().mkpath(updaterContents() + "/MacOS") && QFile::copy(program, executable());
}

QStringList ReaderBundle::run(const QStringList& arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(executable(), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n');
}
