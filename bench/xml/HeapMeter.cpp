#include "HeapMeter.h"

#include <atomic>
#include <cerrno>
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

std::atomic<size_t> g_current{0};
std::atomic<size_t> g_peak{0};

void added(void* block)
{
    if (!block)
        return;
    size_t now = g_current.fetch_add(malloc_usable_size(block)) + malloc_usable_size(block);
    size_t seen = g_peak.load();
    while (now > seen && !g_peak.compare_exchange_weak(seen, now)) {
    }
}

void removed(void* block)
{
    if (block)
        g_current.fetch_sub(malloc_usable_size(block));
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

size_t current() { return g_current.load(); }
size_t peak() { return g_peak.load(); }
void resetPeak() { g_peak.store(g_current.load()); }

} // namespace HeapMeter
