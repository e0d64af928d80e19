#include "UpdaterFolders.h"

#include "CUP_Log.h"
#include "Comm.h"
#include "UpdateRun.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

QString systemErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Makes one level; a level that is there already must be a folder.
QString makeLevel(const QString& level)
{
    if (::mkdir(QFile::encodeName(level).constData(), 0777) == 0)
        return QString();
    const int code = errno;
    if (code != EEXIST)
        return systemErrorText(code);
    return QFileInfo(level).isDir() ? QString() : systemErrorText(ENOTDIR);
}

MadeFolder loggedOnFailure(const MadeFolder& folder, const QString& line)
{
    if (!folder.isMade()) {
        qDebug().noquote() << line << folder.path + ": " + folder.error;
        CUP_Log::PrintLog(line + " " + folder.path + ": " + folder.error);
    }
    return folder;
}

} // namespace

namespace UpdaterFolders {

MadeFolder makePath(const QString& path)
{
    MadeFolder folder{path, QString()};
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    QString level;
    for (const QString& name : absolute.split('/')) {
        if (name.isEmpty())
            continue;
        level += '/' + name;
        folder.error = makeLevel(level);
        if (!folder.isMade())
            break;
    }
    return folder;
}

MadeFolder downloadFolder()
{
    return loggedOnFailure(makePath(downloadFolderPath()), "can not make path for store the downloads:");
}

QString downloadFolderPath()
{
    return UpdateRun::GetAppDateRootPath() + "updater";
}

MadeFolder freshUnpackFolder()
{
    const QString parent = UpdateRun::GetAppDateRootPath() + "updater/uncompress/";
    Comm::deleteDir(parent);
    return loggedOnFailure(makePath(parent + QString::number(QDateTime::currentSecsSinceEpoch())),
                           "can not make path for uncompress the updater:");
}

} // namespace UpdaterFolders
