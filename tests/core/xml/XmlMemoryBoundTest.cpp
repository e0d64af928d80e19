#include "MeteredAllocator.h"
#include "XmlTestSupport.h"

#include <gtest/gtest.h>

namespace {

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
