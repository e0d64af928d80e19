#include "engine/VzipScratchFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {

const QString kSharedFolder = QStringLiteral("KelvrinPagewisp");
const QString kSharedLevel = QStringLiteral("uncompress");
const QString kPrivatePrefix = QStringLiteral("KelvrinPagewisp-");

// A folder opened for the *at calls, closed with the object.
class OpenFolder
{
public:
    explicit OpenFolder(int fd)
        : m_fd(fd)
    {
    }
    ~OpenFolder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFolder(OpenFolder&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // `name` in `parent` when it is a real folder of the current user; an invalid one otherwise.
    static OpenFolder ownFolder(int parent, const QString& name)
    {
        OpenFolder folder(::openat(parent, QFile::encodeName(name).constData(),
                                   O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat info;
        if (folder.isValid() && (::fstat(folder.m_fd, &info) != 0 || info.st_uid != ::geteuid()))
            return OpenFolder(-1);
        return folder;
    }

    bool isValid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    // Removes the scratch files by name; a link in the place of one goes itself, its target stays.
    void removeScratchFiles() const
    {
        for (const char* name :
             {VzipScratchFolder::kLzmaPartFile, VzipScratchFolder::kDecodedFile, VzipScratchFolder::kTableFile})
            ::unlinkat(m_fd, name, 0);
    }

private:
    int m_fd;
};

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

// Empty, with the system's error, when the folder cannot be made.
QString makePrivateFolder(const QString& parent, int& error)
{
    QByteArray pattern = QFile::encodeName(parent + "/" + kPrivatePrefix + "XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        error = errno;
        return QString();
    }
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
    const QString shared = temp + "/" + kSharedFolder;
    if (tempUsable && ownPrivateFolder(shared) && ownPrivateFolder(shared + "/" + kSharedLevel)) {
        folder.m_path = shared + "/" + kSharedLevel + "/";
    } else {
        folder.m_path = makePrivateFolder(tempUsable ? temp : fallbackParent, folder.m_error);
        folder.m_private = true;
    }
    return folder;
}

void VzipScratchFolder::removeLeftovers()
{
    const QString temp = QDir::tempPath();
    if (temp.isEmpty())
        return;
    // The temporary folder is the user's choice and is shared, so it is taken as it is found.
    const OpenFolder tempFolder(::open(QFile::encodeName(temp).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!tempFolder.isValid())
        return;
    const OpenFolder shared = OpenFolder::ownFolder(tempFolder.fd(), kSharedFolder);
    if (shared.isValid()) {
        const OpenFolder level = OpenFolder::ownFolder(shared.fd(), kSharedLevel);
        if (level.isValid())
            level.removeScratchFiles();
    }
    // Name filters ignore letter case unless told otherwise, and a folder the unpacker did not name
    // is not its to empty.
    const QStringList privateFolders =
        QDir(temp).entryList({kPrivatePrefix + "??????"}, QDir::Dirs | QDir::Hidden | QDir::CaseSensitive);
    for (const QString& name : privateFolders) {
        const OpenFolder folder = OpenFolder::ownFolder(tempFolder.fd(), name);
        if (!folder.isValid())
            continue;
        folder.removeScratchFiles();
        // Fails, as it should, for a folder that holds anything else.
        ::unlinkat(tempFolder.fd(), QFile::encodeName(name).constData(), AT_REMOVEDIR);
    }
}

void VzipScratchFolder::releaseIfPrivate() const
{
    if (m_private)
        ::rmdir(QFile::encodeName(m_path).constData());
}
