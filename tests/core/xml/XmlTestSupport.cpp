#include "XmlTestSupport.h"

#include "xml/CZR_XMLDataAcc.h"

#include <cstdint>
#include <cstring>

namespace {

// By hand rather than through the library, so that a tree can be pictured while the library's
// memory is failing on purpose.
std::string utf8(const CZR_WideStringC& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i) {
        auto c = static_cast<uint32_t>(text[i]);
        if (c == 0) {
            out += "\\0";
        } else if (c < 0x80) {
            out += char(c);
        } else {
            int count = c < 0x800 ? 2 : c < 0x10000 ? 3 : c < 0x200000 ? 4 : c < 0x4000000 ? 5 : 6;
            static const unsigned char lead[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
            out += char((c >> (6 * (count - 1))) | lead[count]);
            for (int k = count - 2; k >= 0; --k)
                out += char(0x80 | ((c >> (6 * k)) & 0x3F));
        }
    }
    return out;
}

std::string bytes(const CZR_ByteStringC& text) { return std::string(text.GetPtr() ? text.GetPtr() : "", size_t(text.GetLength())); }

std::string qualified(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name)
{
    return prefix.IsEmpty() ? bytes(name) : bytes(prefix) + ":" + bytes(name);
}

} // namespace

std::string dumpTree(const CZR_XMLElement* element)
{
    if (!element)
        return "null";
    std::string out = "<" + qualified(element->GetPrefixL(), element->GetTagNameL());
    const CZR_XMLAttrMap& attrs = element->GetAttrMap();
    for (int i = 0; i < attrs.GetSize(); ++i) {
        const CZR_XMLAttrItem* item = attrs.GetAt(i);
        out += " " + qualified(item->prefix, item->name) + "=\"" + utf8(item->value) + "\"";
    }
    out += ">";
    for (unsigned i = 0; i < element->CountChildren(); ++i) {
        if (const CZR_XMLElement* child = element->GetElement(i)) {
            out += dumpTree(child);
            continue;
        }
        const CZR_XMLContent* content = element->GetContentRecord(i);
        out += content->cdata ? "[" + utf8(content->text) + "]" : "\"" + utf8(content->text) + "\"";
    }
    return out + "</>";
}

size_t MemoryFileRead::ReadBlock(void* buffer, size_t size)
{
    size_t available = m_position < int64_t(m_bytes.size()) ? m_bytes.size() - size_t(m_position) : 0;
    size_t count = size < available ? size : available;
    memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += int64_t(count);
    return count;
}

int64_t MemoryFileRead::SetPosition(int64_t position)
{
    if (position < 0 || position > int64_t(m_bytes.size()))
        return -1;
    return m_position = position;
}

bool MemoryFileRead::ReadBlock(void* buffer, int64_t offset, size_t size)
{
    if (offset < 0 || uint64_t(offset) + size > m_bytes.size())
        return false;
    memcpy(buffer, m_bytes.data() + offset, size);
    m_position = offset + int64_t(size);
    return true;
}

ElementPtr parseMemory(const std::string& text, ParseOptions options, int64_t* parsedSize)
{
    return ElementPtr(CZR_XMLElement::Parse(text.data(), text.size(), options.keepSpaces, parsedSize, nullptr,
                                            options.noEntity, options.keepLineBreaks));
}

ElementPtr parseStream(const std::string& text, size_t blockSize, ParseOptions options, int64_t* parsedSize)
{
    MemoryFileRead file(text);
    CZR_XMLDataStmAcc* reader = CZR_XMLDataStmAcc::Create(&file, nullptr, blockSize);
    ElementPtr root(CZR_XMLElement::Parse(reader, options.keepSpaces, parsedSize, nullptr, options.noEntity,
                                          options.keepLineBreaks));
    reader->Release();
    return root;
}
