#pragma once

#include "codecs/ZRUTF8.h"
#include "strings/CZR_BinaryBuf.h"
#include "strings/CZR_TextBuf.h"
#include "xml/CZR_XMLAttrIndex.h"
#include "xml/ZRXMLByteTypes.h"

#include <cstdint>

class CZR_XMLElement;
class IZR_BufferRead;
class IZR_FileRead;

// A forgiving single-pass reader of UTF-8 markup into an element tree. It reads its input block
// by block and never looks back, so any block size gives the same tree. Forgiving covers the
// markup only: when memory runs out or the input cannot be read, the parse gives no tree at all
// rather than one with parts missing.
class CZR_XMLParser
{
public:
    explicit CZR_XMLParser(_IZR_Allocator* allocator);
    ~CZR_XMLParser();
    CZR_XMLParser(const CZR_XMLParser&) = delete;
    CZR_XMLParser& operator=(const CZR_XMLParser&) = delete;

    bool Init(const unsigned char* buffer, size_t size);
    bool Init(IZR_FileRead* file);
    bool Init(IZR_BufferRead* reader);

    // Builds the root and its subtree; null when the input holds no usable root start tag.
    CZR_XMLElement* ParseRoot(bool keepSpaces, bool noEntity, bool keepLineBreaks, int64_t* parsedSize);

private:
    bool Init(bool ownsReader);
    // Ends the input: every scan stops at once, and the parse gives no tree.
    void Fail()
    {
        m_bFailed = true;
        m_nIndex = m_nBlockSize;
    }
    bool Require(bool succeeded)
    {
        if (!succeeded)
            Fail();
        return succeeded;
    }
    bool AppendRaw(uint8_t byte) { return Require(m_Raw.AppendBlock(&byte, 1)); }
    CZR_XMLElement* Completed(CZR_XMLElement* element);
    bool ReadNextBlock();
    bool IsEOF() { return Peek() < 0; }
    int Peek()
    {
        if (m_nIndex < m_nBlockSize)
            return m_pBlock[m_nIndex];
        return ReadNextBlock() ? m_pBlock[m_nIndex] : -1;
    }
    void Take() { ++m_nIndex; }
    int64_t GetPosition() const { return m_nBlockOffset + int64_t(m_nIndex); }

    bool CheckFirstNonEmptyChar();
    // Most calls find no blank at all: they return without a call.
    void SkipWhiteSpaces(bool collectLineBreaks)
    {
        if (m_nIndex >= m_nBlockSize || g_ZRCRT_XML_IsWhiteSpace(m_pBlock[m_nIndex]))
            SkipWhiteSpaceRun(collectLineBreaks);
    }
    void SkipWhiteSpaceRun(bool collectLineBreaks);
    void SkipTo(uint8_t byte);
    void GetName(CZR_BinaryBuf& prefix, CZR_BinaryBuf& name);
    void SkipLiterals(const char* literal, CZR_BinaryBuf* capture = nullptr);
    void SkipDeclaration();
    void GetCharRef();
    void GetAttrValue();
    void GetTagName(bool& endTag, bool startTagSeen);
    CZR_XMLElement* ParseElement(CZR_XMLElement* parent, bool startTagSeen);
    void ParseAttributes(CZR_XMLElement* element);
    void ReadAttributes();
    void StorePendingAttr();
    CZR_XMLAttrItem* PendingItems() const;
    void ReleasePendingAttrs();
    void ParseContent(CZR_XMLElement* element);
    void TakeTextRun();
    bool ParseTag(CZR_XMLElement* element);
    void ParseMarkup(CZR_XMLElement* element);
    void ParseCData(CZR_XMLElement* element);
    void EmitPending(CZR_XMLElement* element, bool trim);
    void InsertContentSegment(bool cdata, const CZR_WideStringC& text, CZR_XMLElement* element);

    _IZR_Allocator* m_pAllocator;
    IZR_BufferRead* m_pReader;
    bool m_bOwnsReader;
    bool m_bKeepSpaces;
    const uint8_t* m_pBlock;
    size_t m_nBlockSize;
    int64_t m_nBlockOffset;
    size_t m_nIndex;
    bool m_bNoEntity;
    CZR_WideTextBuf m_LineBreaks;
    bool m_bKeepLineBreaks;
    int32_t m_nNesting;
    bool m_bFailed;

    // Scratch space reused by every element: the pending text, the last name read, and the raw
    // bytes of a CDATA section or of a reference that may turn out to be literal text.
    CZR_UTF8Decoder m_Text;
    CZR_BinaryBuf m_Prefix;
    CZR_BinaryBuf m_Name;
    CZR_BinaryBuf m_Raw;
    CZR_XMLAttrIndex m_AttrIndex;
    // The attributes of the start tag being read; the element takes them over in one piece.
    CZR_BasicArray m_PendingAttrs;
    int m_nPendingAttrs;
};
