#include "engine/lzma/LzmaFileStreams.h"

#include <cstdlib>
#include <type_traits>

static_assert(std::is_standard_layout<LzmaFileInStream>::value, "the SDK casts to the first member");
static_assert(std::is_standard_layout<LzmaFileOutStream>::value, "the SDK casts to the first member");

namespace {

SRes readFromFile(void* stream, void* buffer, size_t* size)
{
    auto* self = static_cast<LzmaFileInStream*>(stream);
    const size_t wanted = *size;
    *size = std::fread(buffer, 1, wanted, self->file);
    return (*size < wanted && std::ferror(self->file)) ? SZ_ERROR_READ : SZ_OK;
}

size_t writeToFile(void* stream, const void* buffer, size_t size)
{
    auto* self = static_cast<LzmaFileOutStream*>(stream);
    return std::fwrite(buffer, 1, size, self->file);
}

void* allocate(void*, size_t size)
{
    return size == 0 ? nullptr : std::malloc(size);
}

void release(void*, void* address)
{
    std::free(address);
}

ISzAlloc systemAllocator = {allocate, release};

} // namespace

LzmaFileInStream makeLzmaFileInStream(FILE* file)
{
    return LzmaFileInStream{{readFromFile}, file};
}

LzmaFileOutStream makeLzmaFileOutStream(FILE* file)
{
    return LzmaFileOutStream{{writeToFile}, file};
}

ISzAlloc* lzmaSystemAllocator()
{
    return &systemAllocator;
}
