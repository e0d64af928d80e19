#pragma once

#include "containers/CZR_BasicArray.h"
#include "memory/CZR_Object.h"
#include "strings/CZR_ByteString.h"
#include "strings/CZR_StringL.h"
#include "strings/CZR_WideString.h"
#include "xml/CZR_XMLAttrMap.h"

#include <cstdint>

class IZR_FileRead;
class IZR_FileWrite;
class IZR_BufferRead;

// A content child: text, and whether it came from (or is to be written as) a CDATA section.
struct CZR_XMLContent
{
    int32_t cdata;
    CZR_WideStringL text;
};

// An element node: tag with optional prefix, ordered attributes and ordered element or text
// children. Strings, attributes, contents and the child array come from the element's allocator.
class CZR_XMLElement : public CZR_Object
{
public:
    enum ChildType : uintptr_t
    {
        ChildNone = 0,
        ChildElement = 1,
        ChildContent = 2,
    };

    explicit CZR_XMLElement(_IZR_Allocator* allocator);
    CZR_XMLElement(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName, _IZR_Allocator* allocator);
    CZR_XMLElement(const CZR_ByteStringC& qualifiedTagName, _IZR_Allocator* allocator);
    ~CZR_XMLElement();
    CZR_XMLElement(const CZR_XMLElement&) = delete;
    CZR_XMLElement& operator=(const CZR_XMLElement&) = delete;

    // The levels of elements that Parse builds: a deeper start tag is read as text of the deepest
    // element, and the end tags that follow close that element and its ancestors early.
    static constexpr int kMostLevels = 512;

    static CZR_XMLElement* Parse(const void* buffer, size_t size, bool keepSpaces = false,
                                 int64_t* parsedSize = nullptr, _IZR_Allocator* allocator = nullptr,
                                 bool noEntity = false, bool keepLineBreaks = false);
    static CZR_XMLElement* Parse(IZR_FileRead* file, bool keepSpaces = false, int64_t* parsedSize = nullptr,
                                 _IZR_Allocator* allocator = nullptr, bool noEntity = false,
                                 bool keepLineBreaks = false);
    static CZR_XMLElement* Parse(IZR_BufferRead* reader, bool keepSpaces = false, int64_t* parsedSize = nullptr,
                                 _IZR_Allocator* allocator = nullptr, bool noEntity = false,
                                 bool keepLineBreaks = false);

    // Creation and destruction through an allocator (plain new and delete without one).
    static CZR_XMLElement* Create(_IZR_Allocator* allocator);
    // The same with its tag, the tag name kept in the element's own block.
    static CZR_XMLElement* Create(_IZR_Allocator* allocator, const CZR_ByteStringC& prefix,
                                  const CZR_ByteStringC& tagName);
    static void Destroy(CZR_XMLElement* element);

    // Null when any part cannot be copied: a partial copy is never returned.
    CZR_XMLElement* Clone(_IZR_Allocator* allocator) const;
    void Empty();

    // The builders answer false for a null child or when memory runs out; the element is then as
    // it was, except that a child that could not be added is destroyed.
    bool SetTag(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName);
    bool SetTag(const CZR_ByteStringC& qualifiedTagName);
    bool SetAttrValue(const CZR_ByteStringC& qualifiedName, const CZR_WideStringC& value);
    bool SetAttrValue(const CZR_ByteStringC& qualifiedName, int value);
    bool SetAttrValue(const CZR_ByteStringC& qualifiedName, unsigned value);
    bool SetAttrValue(const CZR_ByteStringC& qualifiedName, float value);
    void RemoveAttr(const CZR_ByteStringC& qualifiedName);
    bool AddChildElement(CZR_XMLElement* child);
    bool InsertChildElement(unsigned index, CZR_XMLElement* child);
    bool AddChildContent(const CZR_WideStringC& text, bool cdata = false);
    bool InsertChildContent(unsigned index, const CZR_WideStringC& text, bool cdata = false);
    void RemoveChild(unsigned index);
    void RemoveChildren();

    CZR_ByteString GetTagName(bool qualified = true) const;
    void GetTagName(CZR_ByteStringL& out, bool qualified = true) const;
    CZR_ByteString GetNamespace(bool qualified = true) const;
    void GetNamespace(CZR_ByteStringL& out, bool qualified = true) const;
    CZR_ByteString GetNamespaceURI(const CZR_ByteStringC& prefix) const;
    void GetNamespaceURI(const CZR_ByteStringC& prefix, CZR_ByteStringL& out) const;
    int CountAttrs() const { return m_AttrMap.GetSize(); }
    void GetAttrByIndex(int index, CZR_ByteString& prefix, CZR_ByteString& name, CZR_WideString& value) const;
    void GetAttrByIndex(int index, CZR_ByteStringL& prefix, CZR_ByteStringL& name, CZR_WideStringL& value) const;
    bool HasAttr(const CZR_ByteStringC& qualifiedName) const;
    bool GetAttrValue(const CZR_ByteStringC& qualifiedName, CZR_WideString& value) const;
    bool GetAttrValue(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, CZR_WideString& value) const;
    CZR_WideString GetAttrValue(const CZR_ByteStringC& qualifiedName) const;
    const CZR_WideStringL* GetAttrValuePtr(const CZR_ByteStringC& qualifiedName) const;
    const CZR_WideStringL* GetAttrValuePtr(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name) const;
    bool GetAttrInteger(const CZR_ByteStringC& qualifiedName, int& out) const;
    bool GetAttrInteger(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, int& out) const;
    bool GetAttrFloat(const CZR_ByteStringC& qualifiedName, float& out) const;
    bool GetAttrFloat(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, float& out) const;
    unsigned CountChildren() const { return unsigned(m_Children.GetSize() / 2); }
    unsigned GetChildType(unsigned index) const;
    CZR_WideString GetContent(unsigned index) const;
    const CZR_WideStringL* GetContentPtr(unsigned index) const;
    const CZR_XMLContent* GetContentRecord(unsigned index) const;
    CZR_XMLElement* GetElement(unsigned index) const
    {
        uintptr_t* slot = ChildSlot(index);
        return slot && slot[0] == ChildElement ? reinterpret_cast<CZR_XMLElement*>(slot[1]) : nullptr;
    }
    unsigned CountElements(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName) const;
    CZR_XMLElement* GetElement(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName, int index) const;
    unsigned FindElement(CZR_XMLElement* child) const;

    CZR_ByteString OutputStream(bool rawText = false, bool compact = false) const;
    // Empty output, or false from the other forms, when memory runs out or the file refuses a write.
    bool OutputStream(CZR_ByteStringL& out, bool rawText = false, bool compact = false) const;
    bool OutputStream(IZR_FileWrite* file, bool rawText = false, bool compact = false) const;

    CZR_XMLElement* GetParent() const { return m_pParent; }
    const CZR_ByteStringL& GetPrefixL() const { return m_TagPrefix; }
    const CZR_ByteStringL& GetTagNameL() const { return m_TagName; }
    CZR_XMLAttrMap& GetAttrMap() { return m_AttrMap; }
    const CZR_XMLAttrMap& GetAttrMap() const { return m_AttrMap; }
    _IZR_Allocator* GetAllocator() const { return m_Children.GetAllocator(); }
    void SetParent(CZR_XMLElement* parent) { m_pParent = parent; }

private:
    bool InsertChild(unsigned index, ChildType type, void* child);
    bool CopyInto(CZR_XMLElement* copy) const;
    uintptr_t* ChildSlot(unsigned index) const
    {
        return index < CountChildren() ? reinterpret_cast<uintptr_t*>(m_Children.GetDataPtr(int(index) * 2)) : nullptr;
    }
    void DestroyChild(uintptr_t type, void* child);
    const CZR_WideStringL* LookupAttr(const CZR_ByteStringC& qualifiedName) const;
    const CZR_WideStringL* FindNamespaceDeclaration(const CZR_ByteStringC& prefix) const;
    void ReleaseTag();

    CZR_XMLElement* m_pParent;
    CZR_ByteStringL m_TagPrefix;
    CZR_ByteStringL m_TagName;
    CZR_XMLAttrMap m_AttrMap;
    CZR_BasicArray m_Children;
    // The tag name lives right after the element in its block (see Create) and is not freed alone.
    bool m_bTagInBlock;
};
