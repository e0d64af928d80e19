#include "streams/IZRCRT_FileAccess.h"

#include "codecs/ZRUTF8.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

void ZRCRT_Posix_GetFileMode(uint32_t flags, int& openFlags, int& creationMode)
{
    if (flags & ZR_FILE_READONLY) {
        openFlags = O_RDONLY;
        creationMode = 0;
    } else {
        openFlags = O_RDWR | O_CREAT | ((flags & ZR_FILE_TRUNCATE) ? O_TRUNC : 0);
        creationMode = 0644;
    }
}

size_t ZRCRT_ReadAll(int fd, void* buffer, size_t size, bool* failed)
{
    size_t done = 0;
    while (done < size) {
        ssize_t count = read(fd, static_cast<char*>(buffer) + done, size - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && failed)
            *failed = true;
        if (count <= 0)
            break;
        done += size_t(count);
    }
    return done;
}

size_t ZRCRT_WriteAll(int fd, const void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t count = write(fd, static_cast<const char*>(buffer) + done, size - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        done += size_t(count);
    }
    return done;
}

CZRCRT_FileAccess_Posix::~CZRCRT_FileAccess_Posix() { Close(); }

// Opened without waiting (a FIFO with no writer would block the open), then switched back to
// ordinary blocking transfers.
bool CZRCRT_FileAccess_Posix::Open(const CZR_ByteStringC& path, uint32_t flags)
{
    if (m_nFD >= 0 || path.IsEmpty())
        return false;
    int openFlags = 0, mode = 0;
    ZRCRT_Posix_GetFileMode(flags, openFlags, mode);
    CZR_ByteString terminated(path);
    int fd;
    do
        fd = open(terminated.c_str(), openFlags | O_NONBLOCK | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_nFD = fd;
    return true;
}

bool CZRCRT_FileAccess_Posix::Open(const CZR_WideStringC& path, uint32_t flags)
{
    CZR_ByteString utf8 = ZR_UTF8Encode(path.GetPtr(), path.GetLength());
    return Open(CZR_ByteStringC(utf8), flags);
}

void CZRCRT_FileAccess_Posix::Close()
{
    if (m_nFD >= 0)
        close(m_nFD);
    m_nFD = -1;
}

void CZRCRT_FileAccess_Posix::Release(_IZR_Allocator* allocator)
{
    if (!allocator) {
        delete this;
        return;
    }
    this->~CZRCRT_FileAccess_Posix();
    allocator->Free(allocator, this);
}

int64_t CZRCRT_FileAccess_Posix::GetSize() const
{
    if (m_nFD < 0)
        return 0;
    struct stat info = {};
    fstat(m_nFD, &info);
    return int64_t(info.st_size);
}

int64_t CZRCRT_FileAccess_Posix::GetPosition() const { return m_nFD < 0 ? -1 : int64_t(lseek(m_nFD, 0, SEEK_CUR)); }

int64_t CZRCRT_FileAccess_Posix::SetPosition(int64_t position)
{
    if (m_nFD < 0 || position < 0)
        return -1;
    return int64_t(lseek(m_nFD, off_t(position), SEEK_SET));
}

size_t CZRCRT_FileAccess_Posix::Read(void* buffer, size_t size)
{
    return m_nFD < 0 || !buffer ? 0 : ZRCRT_ReadAll(m_nFD, buffer, size);
}

size_t CZRCRT_FileAccess_Posix::Write(const void* buffer, size_t size)
{
    return m_nFD < 0 || !buffer ? 0 : ZRCRT_WriteAll(m_nFD, buffer, size);
}

size_t CZRCRT_FileAccess_Posix::ReadPos(void* buffer, size_t size, int64_t position)
{
    if (m_nFD < 0 || position >= GetSize() || SetPosition(position) < 0)
        return 0;
    return Read(buffer, size);
}

size_t CZRCRT_FileAccess_Posix::WritePos(const void* buffer, size_t size, int64_t position)
{
    if (m_nFD < 0 || SetPosition(position) < 0)
        return 0;
    return Write(buffer, size);
}

bool CZRCRT_FileAccess_Posix::Flush() { return m_nFD >= 0 && fsync(m_nFD) == 0; }

bool CZRCRT_FileAccess_Posix::Truncate(int64_t length)
{
    return m_nFD >= 0 && length >= 0 && ftruncate(m_nFD, off_t(length)) == 0;
}

IZRCRT_FileAccess* ZRCRT_FileAccess_Create(_IZR_Allocator* allocator)
{
    if (!allocator)
        return new CZRCRT_FileAccess_Posix();
    void* block = allocator->Alloc(allocator, sizeof(CZRCRT_FileAccess_Posix));
    return block ? ::new (block) CZRCRT_FileAccess_Posix() : nullptr;
}
