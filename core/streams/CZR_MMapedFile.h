#pragma once

#include "memory/CZR_Object.h"
#include "streams/IZR_Streams.h"
#include "strings/CZR_WideString.h"

#include <cstdint>

// The system page size, set when the program starts. ZR_GetDefaultMMapSize answers it also to
// static initialisers that run before that of this library.
extern int64_t ZR_DEFAULT_MMAP_SIZE;
int64_t ZR_GetDefaultMMapSize();

// A read/write stream over a file mapped into memory one window at a time. The file is created
// when missing and only ever grows: before a window is mapped the file is grown (and the new part
// filled) to cover it, so no access through the mapping ever lies beyond the end of the file.
class CZR_MMapedFile : public IZR_FileStream, public CZR_Object
{
public:
    static CZR_MMapedFile* Create(const CZR_WideString& path, int64_t offset, size_t length);

    CZR_MMapedFile(const CZR_WideString& path, int64_t offset, size_t length);
    ~CZR_MMapedFile() override;

    bool IsValid() const { return m_pMapping && m_nWindowLength != 0; }
    void* GetMemory() const { return m_pMapping; }
    CZR_WideString GetName() const { return m_Path; }
    // Moves the window to hold `offset` on: aligned to 64 KiB, sized in 64 KiB steps.
    bool ReMap(int64_t offset, size_t size);

    void Release() override { delete this; }
    bool IsEOF() override { return false; }
    int64_t GetPosition() override { return m_nPosition; }
    // The bytes at the position; the count on success, 0 on failure.
    size_t ReadBlock(void* buffer, size_t size) override;
    int64_t SetPosition(int64_t) override { return -1; }
    int64_t GetSize() override { return m_nFileSize; }
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override;
    IZR_FileStream* Retain() override { return nullptr; }
    bool WriteBlock(const void* buffer, int64_t offset, size_t size) override;
    bool WriteBlock(const void* buffer, size_t size) override;
    bool Flush() override;

private:
    bool GrowTo(int64_t size);
    bool WindowCovers(int64_t offset, size_t size) const;
    // Whether a request at offset moves the window away from the caller's bytes, which lie in it.
    bool WindowMovesFrom(const void* bytes, int64_t offset, size_t size) const;
    void Unmap();
    bool Map(int64_t offset, size_t length);
    template <class Copy> bool Transfer(int64_t offset, size_t size, Copy copy);

    CZR_WideString m_Path;
    void* m_pMapping;
    int64_t m_nFileSize;
    int m_nFD;
    int64_t m_nWindowOffset;
    int64_t m_nPosition;
    uint32_t m_nFillValue;
    uint64_t m_nWindowLength;
};
