#include "streams/ZRFolder.h"

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned char reportedType(const void* entry) { return static_cast<const dirent*>(entry)->d_type; }

CZR_ByteString childPath(const char* folder, const char* name)
{
    CZR_ByteString path(folder);
    path += '/';
    path += name;
    return path;
}

bool isDotEntry(const CZR_ByteString& name) { return name == "." || name == ".."; }

bool isLink(const char* path)
{
    struct stat info{};
    return lstat(path, &info) == 0 && S_ISLNK(info.st_mode);
}

bool isRealFolder(const char* path)
{
    struct stat info{};
    return lstat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

void deleteContents(const char* path)
{
    void* folder = ZR_OpenFolder(path);
    if (!folder)
        return;
    CZR_ByteString name;
    bool reportedFolder = false;
    while (ZR_GetNextFile(folder, name, reportedFolder, path)) {
        if (isDotEntry(name))
            continue;
        CZR_ByteString child = childPath(path, name.c_str());
        // Classified by lstat, never by the entry's reported type: a link is removed as a link.
        if (isRealFolder(child.c_str()))
            ZR_DeleteFolder(child.c_str());
        else
            remove(child.c_str());
    }
    ZR_CloseFolder(folder);
}

} // namespace

void* ZR_OpenFolder(const char* path) { return path ? opendir(path) : nullptr; }

void* ZR_OpenFolder(const wchar_t* path)
{
    return path ? ZR_OpenFolder(CZR_ByteString::FromUnicode(path).c_str()) : nullptr;
}

bool ZR_GetNextFile(void* handle, CZR_ByteString& name, bool& isFolder, const char* folderPath,
                    ZR_FolderEntryType entryType)
{
    if (!handle)
        return false;
    dirent* entry = readdir(static_cast<DIR*>(handle));
    if (!entry)
        return false;
    name = entry->d_name;
    unsigned char type = entryType(entry);
    if (type != DT_UNKNOWN) {
        isFolder = type == DT_DIR;
        return true;
    }
    struct stat info{};
    CZR_ByteString path = childPath(folderPath ? folderPath : "", entry->d_name);
    isFolder = stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return true;
}

bool ZR_GetNextFile(void* handle, CZR_ByteString& name, bool& isFolder, const char* folderPath)
{
    return ZR_GetNextFile(handle, name, isFolder, folderPath, reportedType);
}

bool ZR_GetNextFile(void* handle, CZR_WideString& name, bool& isFolder, const char* folderPath)
{
    CZR_ByteString bytes;
    if (!ZR_GetNextFile(handle, bytes, isFolder, folderPath))
        return false;
    name = CZR_WideString::FromLocal(bytes.c_str(), bytes.GetLength());
    return true;
}

void ZR_CloseFolder(void* handle)
{
    if (handle)
        closedir(static_cast<DIR*>(handle));
}

wchar_t ZR_GetFolderSeparator() { return L'/'; }

bool ZR_CreateFolder(const char* path) { return path && mkdir(path, 0755) == 0; }

bool ZR_CreateFolder(const wchar_t* path)
{
    return path && ZR_CreateFolder(CZR_ByteString::FromUnicode(path).c_str());
}

bool ZR_DeleteFolder(const char* path)
{
    if (!path || isLink(path))
        return false;
    if (rmdir(path) == 0)
        return true;
    deleteContents(path);
    return rmdir(path) == 0;
}

// The walk works on the byte paths the file system gives, so a name that the locale cannot
// convert is deleted all the same.
bool ZR_DeleteFolder(const wchar_t* path)
{
    return path && ZR_DeleteFolder(CZR_ByteString::FromUnicode(path).c_str());
}

bool ZR_IsFilePathExist(const wchar_t* path)
{
    return path && access(CZR_ByteString::FromUnicode(path).c_str(), F_OK) == 0;
}
