#pragma once

#include "streams/IZRCRT_FileAccess.h"

// Opaque file handles over the platform file access.
struct _ZR_HFILE;

_ZR_HFILE* ZR_File_Open(const CZR_ByteStringC& path, uint32_t flags, _IZR_Allocator* allocator);
_ZR_HFILE* ZR_File_Open(const CZR_WideStringC& path, uint32_t flags, _IZR_Allocator* allocator);
void ZR_File_Close(_ZR_HFILE* file, _IZR_Allocator* allocator);
int64_t ZR_File_GetSize(_ZR_HFILE* file);
int64_t ZR_File_GetPosition(_ZR_HFILE* file);
int64_t ZR_File_SetPosition(_ZR_HFILE* file, int64_t position);
size_t ZR_File_Read(_ZR_HFILE* file, void* buffer, size_t size);
size_t ZR_File_Write(_ZR_HFILE* file, const void* buffer, size_t size);
size_t ZR_File_ReadPos(_ZR_HFILE* file, void* buffer, size_t size, int64_t position);
size_t ZR_File_WritePos(_ZR_HFILE* file, const void* buffer, size_t size, int64_t position);
bool ZR_File_Flush(_ZR_HFILE* file);
bool ZR_File_Truncate(_ZR_HFILE* file, int64_t length);

bool ZR_File_Exist(const CZR_ByteStringC& path);
bool ZR_File_Exist(const CZR_WideStringC& path);
bool ZR_File_Delete(const CZR_ByteStringC& path);
bool ZR_File_Delete(const CZR_WideStringC& path);
// False for an empty or unreadable source, a source and destination that are the same file, a
// destination that is not a regular file, and any read or write that did not complete.
bool ZR_File_Copy(const CZR_ByteStringC& source, const CZR_ByteStringC& destination);
bool ZR_File_Copy(const CZR_WideStringC& source, const CZR_WideStringC& destination);
bool ZR_File_Move(const CZR_ByteStringC& source, const CZR_ByteStringC& destination);
bool ZR_File_Move(const CZR_WideStringC& source, const CZR_WideStringC& destination);
