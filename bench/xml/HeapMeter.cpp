#include "HeapMeter.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <malloc.h>

// The C heap functions of this executable stand in front of the C library's own, so that the
// comparison libraries' allocations are seen as well.
extern "C" {
void* __libc_malloc(size_t);
void __libc_free(void*);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
}

namespace {

std::atomic<bool> g_metering{false};
std::atomic<int64_t> g_current{0};
std::atomic<int64_t> g_peak{0};

void added(void* block)
{
    if (!block || !g_metering.load(std::memory_order_relaxed))
        return;
    int64_t size = int64_t(malloc_usable_size(block));
    int64_t now = g_current.fetch_add(size) + size;
    int64_t seen = g_peak.load();
    while (now > seen && !g_peak.compare_exchange_weak(seen, now)) {
    }
}

// Blocks made before metering started may be freed while it runs: the level may dip below 0.
void removed(void* block)
{
    if (block && g_metering.load(std::memory_order_relaxed))
        g_current.fetch_sub(int64_t(malloc_usable_size(block)));
}

} // namespace

extern "C" {

void* malloc(size_t size)
{
    void* block = __libc_malloc(size);
    added(block);
    return block;
}

void free(void* block)
{
    removed(block);
    __libc_free(block);
}

void* calloc(size_t count, size_t size)
{
    void* block = __libc_calloc(count, size);
    added(block);
    return block;
}

void* realloc(void* block, size_t size)
{
    removed(block);
    void* moved = __libc_realloc(block, size);
    added(moved ? moved : (size ? block : nullptr));
    return moved;
}

void* memalign(size_t alignment, size_t size)
{
    void* block = __libc_memalign(alignment, size);
    added(block);
    return block;
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, size_t alignment, size_t size)
{
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *out = block;
    return 0;
}
}

namespace HeapMeter {

size_t peak() { return size_t(g_peak.load()); }

void start()
{
    g_current.store(0);
    g_peak.store(0);
    g_metering.store(true);
}

void stop() { g_metering.store(false); }

} // namespace HeapMeter
