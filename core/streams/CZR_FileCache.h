#pragma once

#include "memory/ZRMemoryMgr.h"
#include "streams/IZR_Streams.h"

#include <cstdint>

// One chunk of a file cache: memory that the cache's owner provides, the file offset of its first
// byte (a multiple of the chunk size) and the use stamp of its last use.
struct ZR_FILECACHE_CHUNK
{
    uint8_t* buffer;
    int64_t offset;
    uint32_t stamp;
};

// A fixed set of equal chunks holding recently read pieces of a file. The chunks in use come first
// and stay sorted by offset; when all are in use, the one used least recently is refilled. Reading
// never allocates: the chunk memory is given once, and keeping the order is one block move.
class CZR_FileCache
{
public:
    explicit CZR_FileCache(_IZR_Allocator* allocator) : m_pAllocator(allocator) {}
    ~CZR_FileCache() { Empty(); }
    CZR_FileCache(const CZR_FileCache&) = delete;
    CZR_FileCache& operator=(const CZR_FileCache&) = delete;

    // With a null buffer nothing happens (true); false when the chunk records cannot be had.
    bool InitChunk(int32_t chunkSize, int32_t chunkCount, void* buffer);
    // Reads through the chunks (straight from the file without them); false when a chunk cannot be
    // loaded whole.
    bool ReadBlock(IZR_FileRead* file, void* buffer, int64_t offset, size_t size);
    // Loads the chunks from the one holding `offset` on, up to `count` of them, ahead of use.
    bool PreCache(IZR_FileRead* file, int64_t offset, int32_t count);
    // True with the chunk's index when the chunk at `offset` is held; otherwise false with the index
    // where it belongs.
    bool SearchChunk(int& index, int64_t offset) const;
    // Loads the chunk at `offset` into a free or the least used slot and moves it to `index`, which
    // then holds its final place. A failed load leaves no chunk for that slot, and answers false.
    bool CacheChunk(int& index, int64_t offset, IZR_FileRead* file);
    // The in-use slot with the smallest stamp, the first of equals; 0 without chunks.
    int FindMiniRefChunk() const;
    // Forgets every cached chunk.
    void Clear();
    // Frees the chunk records; the chunk memory belongs to the owner.
    void Empty();

    int32_t GetChunkCount() const { return m_nChunkCount; }
    int32_t GetChunksInUse() const { return m_nChunksInUse; }
    const ZR_FILECACHE_CHUNK* GetChunk(int index) const { return m_pChunks + index; }

private:
    void Use(int index);
    void Drop(int index);
    void MoveChunk(int from, int to);

    _IZR_Allocator* m_pAllocator;
    int32_t m_nChunkSize = 0;
    int32_t m_nChunkCount = 0;
    int32_t m_nChunksInUse = 0;
    int32_t m_nLastHit = 0;
    uint32_t m_nUseCounter = 0;
    ZR_FILECACHE_CHUNK* m_pChunks = nullptr;
};
