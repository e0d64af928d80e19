#include "engine/VzipScratchFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// Makes `path` (mode 0700) when missing, then accepts it only as a real folder of ours; a folder of
// ours that others can reach is closed first.
bool ownPrivateFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return (info.st_mode & 077) == 0 || ::chmod(native.constData(), 0700) == 0;
}

QString makePrivateFolder(const QString& parent)
{
    QByteArray pattern = QFile::encodeName(parent + "/KelvrinPagewisp-XXXXXX");
    if (!::mkdtemp(pattern.data()))
        return QString();
    return QFile::decodeName(pattern) + "/";
}

} // namespace

VzipScratchFolder VzipScratchFolder::prepare(const QString& fallbackParent)
{
    // Qt gives an empty temporary path when TMPDIR names a missing folder; the fixed folder would
    // then land at the root of the file system.
    const QString temp = QDir::tempPath();
    const bool tempUsable = !temp.isEmpty() && QFileInfo(temp).isDir();
    VzipScratchFolder folder;
    const QString shared = temp + "/KelvrinPagewisp";
    if (tempUsable && ownPrivateFolder(shared) && ownPrivateFolder(shared + "/uncompress")) {
        folder.m_path = shared + "/uncompress/";
    } else {
        folder.m_path = makePrivateFolder(tempUsable ? temp : fallbackParent);
        folder.m_private = true;
    }
    return folder;
}

void VzipScratchFolder::releaseIfPrivate() const
{
    if (m_private)
        ::rmdir(QFile::encodeName(m_path).constData());
}
