#pragma once

#include "strings/CZR_ByteString.h"
#include "strings/CZR_WideString.h"

// Folders over the POSIX directory calls. Wide paths go through the system locale's conversion
// (unlike the file functions, which use UTF-8). A folder handle is the directory stream, or null.

void* ZR_OpenFolder(const char* path);
void* ZR_OpenFolder(const wchar_t* path);
// The next entry ("." and ".." included) with its folder flag; false at the end or for a null
// handle. An entry whose type the file system does not report is looked up under `folderPath`.
bool ZR_GetNextFile(void* handle, CZR_ByteString& name, bool& isFolder, const char* folderPath);
bool ZR_GetNextFile(void* handle, CZR_WideString& name, bool& isFolder, const char* folderPath);
void ZR_CloseFolder(void* handle);
wchar_t ZR_GetFolderSeparator();
bool ZR_CreateFolder(const char* path);
bool ZR_CreateFolder(const wchar_t* path);
// Deletes the folder and everything under it; true when the folder is gone. Links inside are
// removed as links, never followed, and a path that is itself a link is refused, so the deletion
// stays inside the folder.
bool ZR_DeleteFolder(const char* path);
bool ZR_DeleteFolder(const wchar_t* path);
bool ZR_IsFilePathExist(const wchar_t* path);

// The reading of entry types, apart so that tests can play a file system that reports none.
// Answers a dirent type (DT_DIR, DT_UNKNOWN, ...).
using ZR_FolderEntryType = unsigned char (*)(const void* entry);
bool ZR_GetNextFile(void* handle, CZR_ByteString& name, bool& isFolder, const char* folderPath,
                    ZR_FolderEntryType entryType);
