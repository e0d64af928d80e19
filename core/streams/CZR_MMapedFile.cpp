#include "streams/CZR_MMapedFile.h"

#include "codecs/ZRUTF8.h"
#include "memory/ZRByteRanges.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int64_t kWindowStep = 65536;
constexpr size_t kFillPiece = 4096;

int64_t roundUp(int64_t value, int64_t step) { return (value + step - 1) / step * step; }

int64_t sizeOf(int fd)
{
    struct stat info{};
    return fstat(fd, &info) == 0 ? int64_t(info.st_size) : -1;
}

// Writes `count` bytes of the repeated 32-bit fill value from `start` on; stops at a failed write.
void fill(int fd, int64_t start, int64_t count, uint32_t value)
{
    if (fd < 0 || count <= 0)
        return;
    uint32_t pattern[kFillPiece / sizeof(uint32_t)];
    std::fill(std::begin(pattern), std::end(pattern), value);
    while (count > 0) {
        size_t piece = size_t(std::min<int64_t>(count, int64_t(kFillPiece)));
        ssize_t written = pwrite(fd, pattern, piece, start);
        if (written <= 0)
            return;
        start += written;
        count -= written;
    }
}

int64_t pageSize() { return int64_t(sysconf(_SC_PAGESIZE)); }

} // namespace

int64_t ZR_DEFAULT_MMAP_SIZE = pageSize();

int64_t ZR_GetDefaultMMapSize()
{
    // A static initialiser of another file may ask before this one's has run.
    int64_t size = __atomic_load_n(&ZR_DEFAULT_MMAP_SIZE, __ATOMIC_RELAXED);
    if (size == 0) {
        size = pageSize();
        __atomic_store_n(&ZR_DEFAULT_MMAP_SIZE, size, __ATOMIC_RELAXED);
    }
    return size;
}

CZR_MMapedFile* CZR_MMapedFile::Create(const CZR_WideString& path, int64_t offset, size_t length)
{
    return new CZR_MMapedFile(path, offset, length);
}

CZR_MMapedFile::CZR_MMapedFile(const CZR_WideString& path, int64_t offset, size_t length)
    : m_Path(path), m_pMapping(nullptr), m_nFileSize(0), m_nFD(-1), m_nWindowOffset(0), m_nPosition(0),
      m_nFillValue(0), m_nWindowLength(0)
{
    CZR_ByteString name = ZR_UTF8Encode(path.c_str(), path.GetLength());
    m_nFD = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0700);
    if (m_nFD < 0)
        return;
    m_nFileSize = sizeOf(m_nFD);
    int64_t page = ZR_GetDefaultMMapSize();
    if (m_nFileSize < page || m_nFileSize % page != 0)
        GrowTo((m_nFileSize / page + 1) * page);
    if (offset >= 0 && length > 0 && GrowTo(roundUp(offset + int64_t(length), page)))
        Map(offset, length);
}

CZR_MMapedFile::~CZR_MMapedFile()
{
    Unmap();
    if (m_nFD >= 0)
        close(m_nFD);
}

bool CZR_MMapedFile::GrowTo(int64_t size)
{
    if (m_nFD < 0)
        return false;
    if (size <= m_nFileSize)
        return true;
    if (ftruncate(m_nFD, size) != 0)
        return false;
    int64_t before = m_nFileSize;
    m_nFileSize = sizeOf(m_nFD);
    fill(m_nFD, before, m_nFileSize - before, m_nFillValue);
    return m_nFileSize >= size;
}

void CZR_MMapedFile::Unmap()
{
    if (m_pMapping)
        munmap(m_pMapping, size_t(m_nWindowLength));
    m_pMapping = nullptr;
    m_nWindowOffset = 0;
    m_nWindowLength = 0;
}

bool CZR_MMapedFile::Map(int64_t offset, size_t length)
{
    void* mapping = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, m_nFD, off_t(offset));
    if (mapping == MAP_FAILED)
        return false;
    m_pMapping = mapping;
    m_nWindowOffset = offset;
    m_nWindowLength = length;
    return true;
}

bool CZR_MMapedFile::WindowCovers(int64_t offset, size_t size) const
{
    return m_pMapping && offset >= m_nWindowOffset && uint64_t(offset - m_nWindowOffset) + size <= m_nWindowLength;
}

bool CZR_MMapedFile::ReMap(int64_t offset, size_t size)
{
    if (offset < 0 || m_nFD < 0)
        return false;
    if (WindowCovers(offset, size))
        return true;
    Unmap();
    int64_t start = offset / kWindowStep * kWindowStep;
    int64_t length = roundUp(std::max<int64_t>(int64_t(size), 1), kWindowStep);
    // The whole window lies inside the file: no page of the mapping is past its end.
    if (!GrowTo(std::max(roundUp(offset + int64_t(size), kWindowStep), start + length)))
        return false;
    return Map(start, size_t(length));
}

template <class Copy> bool CZR_MMapedFile::Transfer(int64_t offset, size_t size, Copy copy)
{
    if (offset < 0)
        return false;
    size_t done = 0;
    while (done < size) {
        int64_t at = offset + int64_t(done);
        bool inside = m_pMapping && at >= m_nWindowOffset && uint64_t(at - m_nWindowOffset) < m_nWindowLength;
        if (!inside) {
            if (!ReMap(at, size - done))
                return false;
            continue;
        }
        size_t inWindow = size_t(at - m_nWindowOffset);
        size_t piece = std::min<size_t>(size - done, size_t(m_nWindowLength) - inWindow);
        copy(static_cast<uint8_t*>(m_pMapping) + inWindow, done, piece);
        done += piece;
        m_nPosition = offset + int64_t(done);
    }
    return true;
}

bool CZR_MMapedFile::WindowMovesFrom(const void* bytes, int64_t offset, size_t size) const
{
    return ZR_RangesOverlap(m_pMapping, size_t(m_nWindowLength), bytes, size) && !WindowCovers(offset, size);
}

bool CZR_MMapedFile::ReadBlock(void* buffer, int64_t offset, size_t size)
{
    // Once the window moves, bytes bound for it would land in unmapped memory or in another part
    // of the file: such a read is refused.
    if (WindowMovesFrom(buffer, offset, size))
        return false;
    auto* out = static_cast<uint8_t*>(buffer);
    return Transfer(offset, size,
                    [out](const uint8_t* data, size_t done, size_t piece) { memmove(out + done, data, piece); });
}

bool CZR_MMapedFile::WriteBlock(const void* buffer, int64_t offset, size_t size)
{
    auto* in = static_cast<const uint8_t*>(buffer);
    // Bytes taken from the window itself would be unmapped when the write moves the window, so
    // they are copied out first; a write that stays inside the window moves them in place.
    if (WindowMovesFrom(in, offset, size))
        return ZR_UseCopyOf(in, size, [&](const void* copy) { return WriteBlock(copy, offset, size); });
    return Transfer(offset, size, [in](uint8_t* data, size_t done, size_t piece) { memmove(data, in + done, piece); });
}

size_t CZR_MMapedFile::ReadBlock(void* buffer, size_t size) { return ReadBlock(buffer, m_nPosition, size) ? size : 0; }

bool CZR_MMapedFile::WriteBlock(const void* buffer, size_t size) { return WriteBlock(buffer, m_nPosition, size); }

bool CZR_MMapedFile::Flush() { return m_nFD >= 0 && fsync(m_nFD) == 0; }
