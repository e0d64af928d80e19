#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

namespace {

// An allocator interface over malloc that keeps the bytes it holds and their peak.
struct MeteredAllocator : _IZR_Allocator
{
    size_t current = 0;
    size_t peak = 0;

    MeteredAllocator() : _IZR_Allocator{allocDebug, alloc, reallocDebug, reallocate, release, nullptr} {}

    static MeteredAllocator* self(_IZR_Allocator* a) { return static_cast<MeteredAllocator*>(a); }
    void added(void* block)
    {
        if (!block)
            return;
        current += malloc_usable_size(block);
        if (current > peak)
            peak = current;
    }
    static void* alloc(_IZR_Allocator* a, size_t size)
    {
        void* block = malloc(size);
        self(a)->added(block);
        return block;
    }
    static void* allocDebug(_IZR_Allocator* a, size_t size, const char*, int) { return alloc(a, size); }
    static void* reallocate(_IZR_Allocator* a, void* block, size_t size)
    {
        size_t before = block ? malloc_usable_size(block) : 0;
        void* moved = realloc(block, size);
        if (moved) {
            self(a)->current -= before;
            self(a)->added(moved);
        }
        return moved;
    }
    static void* reallocDebug(_IZR_Allocator* a, void* block, size_t size, const char*, int)
    {
        return reallocate(a, block, size);
    }
    static void release(_IZR_Allocator* a, void* block)
    {
        if (block)
            self(a)->current -= malloc_usable_size(block);
        free(block);
    }
};

std::string distinctAttributes(const char* prefix, size_t count)
{
    std::string out = "<r";
    for (size_t i = 0; i < count; ++i)
        out += std::string(" ") + prefix + std::to_string(i) + "=''";
    return out + "/>";
}

std::string repeated(const std::string& head, const std::string& unit, size_t count, const std::string& tail)
{
    std::string out = head;
    for (size_t i = 0; i < count; ++i)
        out += unit;
    return out + tail;
}

// The tree of a hostile document costs at most a fixed multiple of the document's size: each
// node or attribute costs a bounded number of bytes, and nothing grows faster than the input.
TEST(XmlMemoryBound, HostileShapesStayWithinAMultipleOfTheirSize)
{
    const size_t n = 20000;
    const std::string documents[] = {
        repeated("<r>", "<a/>", n, "</r>"),
        distinctAttributes("a", n),
        distinctAttributes("p:a", n),
        repeated("<r>", "&#1;", n, "</r>"),
        repeated("<r><![CDATA[", "x", n * 4, "]]></r>"),
        repeated("<r>", "<!---->x", n, "</r>"),
        repeated("", "<a>", 600, repeated("", "y", n, "")),
        repeated("<r a='", "&", n, "'/>"),
    };
    for (const std::string& document : documents) {
        MeteredAllocator metered;
        CZR_XMLElement* root =
            CZR_XMLElement::Parse(document.data(), document.size(), false, nullptr, &metered, false, false);
        ASSERT_TRUE(root) << document.substr(0, 40);
        CZR_XMLElement::Destroy(root);
        EXPECT_EQ(metered.current, 0u);
        EXPECT_LE(metered.peak, 48 * document.size() + 65536) << document.substr(0, 40) << " peak " << metered.peak
                                                              << " for " << document.size();
    }
}

} // namespace
