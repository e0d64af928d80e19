#include "streams/CZR_FileCache.h"

#include <algorithm>
#include <cstring>

bool CZR_FileCache::InitChunk(int32_t chunkSize, int32_t chunkCount, void* buffer)
{
    if (!buffer)
        return true;
    Empty();
    if (chunkSize <= 0 || chunkCount <= 0)
        return false;
    m_pChunks = static_cast<ZR_FILECACHE_CHUNK*>(
        ZRMEM_AllocatorAlloc(m_pAllocator, size_t(chunkCount) * sizeof(ZR_FILECACHE_CHUNK)));
    if (!m_pChunks)
        return false;
    memset(static_cast<void*>(m_pChunks), 0, size_t(chunkCount) * sizeof(ZR_FILECACHE_CHUNK));
    for (int i = 0; i < chunkCount; ++i)
        m_pChunks[i].buffer = static_cast<uint8_t*>(buffer) + size_t(i) * size_t(chunkSize);
    m_nChunkSize = chunkSize;
    m_nChunkCount = chunkCount;
    Clear();
    return true;
}

void CZR_FileCache::Clear()
{
    for (int i = 0; i < m_nChunksInUse; ++i) {
        m_pChunks[i].offset = 0;
        m_pChunks[i].stamp = 0;
    }
    m_nChunksInUse = 0;
    m_nLastHit = 0;
    m_nUseCounter = 0;
}

void CZR_FileCache::Empty()
{
    if (m_pChunks)
        ZRMEM_AllocatorFree(m_pAllocator, m_pChunks);
    m_pChunks = nullptr;
    m_nChunkCount = m_nChunksInUse = m_nLastHit = 0;
}

bool CZR_FileCache::SearchChunk(int& index, int64_t offset) const
{
    if (m_nChunksInUse == 0) {
        index = 0;
        return false;
    }
    int hit = m_nLastHit < m_nChunksInUse ? m_nLastHit : 0;
    if (m_pChunks[hit].offset == offset) {
        index = hit;
        return true;
    }
    const ZR_FILECACHE_CHUNK* first = m_pChunks + (m_pChunks[hit].offset > offset ? 0 : hit + 1);
    const ZR_FILECACHE_CHUNK* last = m_pChunks + (m_pChunks[hit].offset > offset ? hit : m_nChunksInUse);
    const ZR_FILECACHE_CHUNK* found = std::lower_bound(
        first, last, offset, [](const ZR_FILECACHE_CHUNK& chunk, int64_t o) { return chunk.offset < o; });
    index = int(found - m_pChunks);
    return found != last && found->offset == offset;
}

int CZR_FileCache::FindMiniRefChunk() const
{
    int least = 0;
    for (int i = 1; i < m_nChunksInUse; ++i) {
        if (m_pChunks[i].stamp < m_pChunks[least].stamp)
            least = i;
    }
    return least;
}

void CZR_FileCache::MoveChunk(int from, int to)
{
    if (from == to)
        return;
    ZR_FILECACHE_CHUNK moving = m_pChunks[from];
    if (from < to)
        memmove(static_cast<void*>(m_pChunks + from), m_pChunks + from + 1, size_t(to - from) * sizeof(moving));
    else
        memmove(static_cast<void*>(m_pChunks + to + 1), m_pChunks + to, size_t(from - to) * sizeof(moving));
    m_pChunks[to] = moving;
}

// Takes a slot out of use: it moves behind the chunks in use.
void CZR_FileCache::Drop(int index)
{
    MoveChunk(index, m_nChunksInUse - 1);
    --m_nChunksInUse;
    m_pChunks[m_nChunksInUse].stamp = 0;
    m_nLastHit = 0;
}

bool CZR_FileCache::CacheChunk(int& index, int64_t offset, IZR_FileRead* file)
{
    int slot = m_nChunksInUse < m_nChunkCount ? m_nChunksInUse++ : FindMiniRefChunk();
    int64_t left = file->GetSize() - offset;
    size_t size = size_t(std::min<int64_t>(m_nChunkSize, left));
    if (left <= 0 || !file->ReadBlock(m_pChunks[slot].buffer, offset, size)) {
        Drop(slot);
        return false;
    }
    m_pChunks[slot].offset = offset;
    if (index > slot)
        --index;
    MoveChunk(slot, index);
    return true;
}

void CZR_FileCache::Use(int index)
{
    m_pChunks[index].stamp = ++m_nUseCounter;
    m_nLastHit = index;
}

bool CZR_FileCache::ReadBlock(IZR_FileRead* file, void* buffer, int64_t offset, size_t size)
{
    if (!m_pChunks)
        return file->ReadBlock(buffer, offset, size);
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t chunkOffset = offset - offset % m_nChunkSize;
    int index = 0;
    if (!SearchChunk(index, chunkOffset) && !CacheChunk(index, chunkOffset, file))
        return false;
    for (;;) {
        size_t inChunk = size_t(offset - chunkOffset);
        size_t piece = std::min(size, size_t(m_nChunkSize) - inChunk);
        if (out) {
            memcpy(out, m_pChunks[index].buffer + inChunk, piece);
            out += piece;
        }
        Use(index);
        size -= piece;
        offset += int64_t(piece);
        if (size == 0)
            return true;
        chunkOffset += m_nChunkSize;
        ++index;
        if ((index >= m_nChunksInUse || m_pChunks[index].offset != chunkOffset)
            && !CacheChunk(index, chunkOffset, file))
            return false;
    }
}

bool CZR_FileCache::PreCache(IZR_FileRead* file, int64_t offset, int32_t count)
{
    int64_t fileSize = file->GetSize();
    if (!m_pChunks || offset < 0 || count < 1 || offset >= fileSize)
        return false;
    int64_t chunkOffset = offset - offset % m_nChunkSize;
    for (int i = 0; i < count && chunkOffset < fileSize; ++i, chunkOffset += m_nChunkSize) {
        int index = 0;
        if (!SearchChunk(index, chunkOffset) && !CacheChunk(index, chunkOffset, file))
            return false;
        Use(index);
    }
    return true;
}
