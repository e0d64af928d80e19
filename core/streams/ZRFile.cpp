#include "streams/ZRFile.h"

#include "codecs/ZRUTF8.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

IZRCRT_FileAccess* accessOf(_ZR_HFILE* file) { return reinterpret_cast<IZRCRT_FileAccess*>(file); }

CZR_ByteString terminated(const CZR_ByteStringC& path) { return CZR_ByteString(path); }

CZR_ByteString utf8Path(const CZR_WideStringC& path) { return ZR_UTF8Encode(path.GetPtr(), path.GetLength()); }

template <class Path> _ZR_HFILE* openWith(const Path& path, uint32_t flags, _IZR_Allocator* allocator)
{
    return reinterpret_cast<_ZR_HFILE*>(ZRCRT_FileAccess_Open(path, flags, allocator));
}

int openRetrying(const char* path, int flags, int mode = 0)
{
    int fd;
    do
        fd = open(path, flags | O_CLOEXEC | O_NONBLOCK, mode);
    while (fd < 0 && errno == EINTR);
    if (fd >= 0)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool copyContents(int from, int to)
{
    const size_t chunk = 32768;
    void* buffer = ZRMEM_DefaultAlloc(chunk, ZRMEM_FLAG_MAYFAIL);
    if (!buffer)
        return false;
    bool ok = true;
    for (;;) {
        bool failed = false;
        size_t count = ZRCRT_ReadAll(from, buffer, chunk, &failed);
        if (failed) {
            ok = false;
            break;
        }
        if (count == 0)
            break;
        if (ZRCRT_WriteAll(to, buffer, count) != count) {
            ok = false;
            break;
        }
        if (count < chunk)
            break;
    }
    ZRMEM_DefaultFree(buffer, 0);
    return ok;
}

} // namespace

_ZR_HFILE* ZR_File_Open(const CZR_ByteStringC& path, uint32_t flags, _IZR_Allocator* allocator)
{
    return openWith(path, flags, allocator);
}

_ZR_HFILE* ZR_File_Open(const CZR_WideStringC& path, uint32_t flags, _IZR_Allocator* allocator)
{
    return openWith(path, flags, allocator);
}

void ZR_File_Close(_ZR_HFILE* file, _IZR_Allocator* allocator)
{
    if (!file)
        return;
    accessOf(file)->Close();
    accessOf(file)->Release(allocator);
}

int64_t ZR_File_GetSize(_ZR_HFILE* file) { return file ? accessOf(file)->GetSize() : 0; }
int64_t ZR_File_GetPosition(_ZR_HFILE* file) { return file ? accessOf(file)->GetPosition() : -1; }
int64_t ZR_File_SetPosition(_ZR_HFILE* file, int64_t position) { return file ? accessOf(file)->SetPosition(position) : -1; }
size_t ZR_File_Read(_ZR_HFILE* file, void* buffer, size_t size) { return file ? accessOf(file)->Read(buffer, size) : 0; }

size_t ZR_File_Write(_ZR_HFILE* file, const void* buffer, size_t size)
{
    return file ? accessOf(file)->Write(buffer, size) : 0;
}

size_t ZR_File_ReadPos(_ZR_HFILE* file, void* buffer, size_t size, int64_t position)
{
    return file ? accessOf(file)->ReadPos(buffer, size, position) : 0;
}

size_t ZR_File_WritePos(_ZR_HFILE* file, const void* buffer, size_t size, int64_t position)
{
    return file ? accessOf(file)->WritePos(buffer, size, position) : 0;
}

bool ZR_File_Flush(_ZR_HFILE* file) { return file && accessOf(file)->Flush(); }
bool ZR_File_Truncate(_ZR_HFILE* file, int64_t length) { return file && accessOf(file)->Truncate(length); }

bool ZR_File_Exist(const CZR_ByteStringC& path) { return access(terminated(path).c_str(), F_OK) == 0; }
bool ZR_File_Exist(const CZR_WideStringC& path) { return access(utf8Path(path).c_str(), F_OK) == 0; }
bool ZR_File_Delete(const CZR_ByteStringC& path) { return remove(terminated(path).c_str()) == 0; }
bool ZR_File_Delete(const CZR_WideStringC& path) { return remove(utf8Path(path).c_str()) == 0; }

bool ZR_File_Move(const CZR_ByteStringC& source, const CZR_ByteStringC& destination)
{
    return rename(terminated(source).c_str(), terminated(destination).c_str()) == 0;
}

bool ZR_File_Move(const CZR_WideStringC& source, const CZR_WideStringC& destination)
{
    return rename(utf8Path(source).c_str(), utf8Path(destination).c_str()) == 0;
}

bool ZR_File_Copy(const CZR_ByteStringC& source, const CZR_ByteStringC& destination)
{
    CZR_ByteString to = terminated(destination);
    int from = openRetrying(terminated(source).c_str(), O_RDONLY);
    if (from < 0)
        return false;
    struct stat sourceInfo = {};
    struct stat destinationInfo = {};
    bool destinationExists = stat(to.c_str(), &destinationInfo) == 0;
    bool refused = fstat(from, &sourceInfo) != 0 || sourceInfo.st_size == 0 || !S_ISREG(sourceInfo.st_mode) ||
                   (destinationExists && (!S_ISREG(destinationInfo.st_mode) ||
                                          (destinationInfo.st_dev == sourceInfo.st_dev &&
                                           destinationInfo.st_ino == sourceInfo.st_ino)));
    if (refused) {
        close(from);
        return false;
    }
    int target = openRetrying(to.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (target < 0) {
        close(from);
        return false;
    }
    bool ok = copyContents(from, target);
    close(from);
    close(target);
    return ok;
}

bool ZR_File_Copy(const CZR_WideStringC& source, const CZR_WideStringC& destination)
{
    return ZR_File_Copy(CZR_ByteStringC(utf8Path(source)), CZR_ByteStringC(utf8Path(destination)));
}
