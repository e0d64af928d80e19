#pragma once

#include "streams/IZR_Streams.h"
#include "xml/CZR_XMLElement.h"

#include <memory>
#include <string>

// A readable picture of a tree: <p:tag a="v">...</>, text as "t", CDATA as [c]; U+0000 as \0.
std::string dumpTree(const CZR_XMLElement* element);

// A read-only stream over a string, for the parser's stream path.
class MemoryFileRead : public IZR_FileRead
{
public:
    explicit MemoryFileRead(std::string bytes) : m_bytes(std::move(bytes)) {}
    void Release() override {}
    bool IsEOF() override { return m_position >= int64_t(m_bytes.size()); }
    int64_t GetPosition() override { return m_position; }
    size_t ReadBlock(void* buffer, size_t size) override;
    int64_t SetPosition(int64_t position) override;
    int64_t GetSize() override { return int64_t(m_bytes.size()); }
    bool ReadBlock(void* buffer, int64_t offset, size_t size) override;

private:
    std::string m_bytes;
    int64_t m_position = 0;
};

struct ParseOptions
{
    bool keepSpaces = false;
    bool noEntity = false;
    bool keepLineBreaks = false;
};

struct ElementDeleter
{
    void operator()(CZR_XMLElement* element) const { CZR_XMLElement::Destroy(element); }
};
using ElementPtr = std::unique_ptr<CZR_XMLElement, ElementDeleter>;

ElementPtr parseMemory(const std::string& text, ParseOptions options = {}, int64_t* parsedSize = nullptr);
ElementPtr parseStream(const std::string& text, size_t blockSize, ParseOptions options = {},
                       int64_t* parsedSize = nullptr);
