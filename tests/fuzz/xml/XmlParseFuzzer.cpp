// libFuzzer target: the parser from memory (its memory metered: the tree and the parser's scratch
// may take at most a fixed multiple of the input), the same bytes through the stream reader in
// small blocks (the trees must agree), and the composer on whatever tree came out.
#include "../../core/xml/MeteredAllocator.h"
#include "streams/IZR_Streams.h"
#include "strings/CZR_ByteString.h"
#include "xml/CZR_XMLDataAcc.h"
#include "xml/CZR_XMLElement.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class BytesFileRead : public IZR_FileRead
{
public:
    BytesFileRead(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    void Release() override {}
    bool IsEOF() override { return true; }
    int64_t GetPosition() override { return 0; }
    size_t ReadBlock(void*, size_t) override { return 0; }
    int64_t SetPosition(int64_t) override { return -1; }
    int64_t GetSize() override { return int64_t(m_size); }
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override
    {
        if (offset < 0 || uint64_t(offset) + size > m_size)
            return false;
        memcpy(buffer, m_data + offset, size);
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

void describe(const CZR_XMLElement* element, std::string& out)
{
    out.append(element->GetTagName(true).c_str());
    int attrs = element->CountAttrs();
    for (int i = 0; i < attrs; ++i) {
        CZR_ByteString prefix, name;
        CZR_WideString value;
        element->GetAttrByIndex(i, prefix, name, value);
        out += ' ';
        out.append(prefix.c_str()).append(":").append(name.c_str()).append("=");
        out.append(reinterpret_cast<const char*>(value.c_str()), size_t(value.GetLength()) * sizeof(wchar_t));
    }
    out += '{';
    for (unsigned i = 0; i < element->CountChildren(); ++i) {
        if (const CZR_XMLElement* child = element->GetElement(i)) {
            describe(child, out);
            continue;
        }
        const CZR_XMLContent* content = element->GetContentRecord(i);
        out += content->cdata ? 'C' : 'T';
        out.append(reinterpret_cast<const char*>(content->text.GetPtr()),
                   size_t(content->text.GetLength()) * sizeof(wchar_t));
    }
    out += '}';
}

std::string describeTree(const CZR_XMLElement* root)
{
    std::string out;
    if (root)
        describe(root, out);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    bool keepSpaces = size > 0 && (data[0] & 1);
    bool keepLineBreaks = size > 0 && (data[0] & 2);
    size_t blockSize = size > 0 ? 1 + (data[0] >> 2) % 9 : 1;

    int64_t memorySize = -1;
    MeteredAllocator metered;
    CZR_XMLElement* fromMemory = CZR_XMLElement::Parse(data, size, keepSpaces, &memorySize, &metered, false, keepLineBreaks);
    if (metered.peak > 48 * size + 65536)
        abort();

    BytesFileRead file(data, size);
    CZR_XMLDataStmAcc* reader = CZR_XMLDataStmAcc::Create(&file, nullptr, blockSize);
    int64_t streamSize = -1;
    CZR_XMLElement* fromStream = CZR_XMLElement::Parse(reader, keepSpaces, &streamSize, nullptr, false, keepLineBreaks);
    reader->Release();

    if (describeTree(fromMemory) != describeTree(fromStream) || (fromMemory && memorySize != streamSize))
        abort();

    if (fromMemory) {
        CZR_ByteString composed = fromMemory->OutputStream(false, size > 1 && (data[1] & 1));
        CZR_XMLElement* reparsed = CZR_XMLElement::Parse(composed.c_str(), size_t(composed.GetLength()));
        CZR_XMLElement::Destroy(reparsed);
        CZR_XMLElement* clone = fromMemory->Clone(nullptr);
        CZR_XMLElement::Destroy(clone);
    }
    CZR_XMLElement::Destroy(fromMemory);
    CZR_XMLElement::Destroy(fromStream);
    if (metered.current != 0)
        abort();
    return 0;
}
