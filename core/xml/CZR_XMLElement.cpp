#include "xml/CZR_XMLElement.h"

#include "codecs/ZRUTF8.h"
#include "strings/ZRNumbers.h"
#include "xml/CZR_XMLComposer.h"
#include "xml/ZRXMLNames.h"

#include <cstring>
#include <new>

namespace {

CZR_XMLContent* newContent(const CZR_WideStringC& text, bool cdata, _IZR_Allocator* allocator)
{
    void* block = ZRMEM_AllocatorAlloc(allocator, sizeof(CZR_XMLContent));
    if (!block)
        return nullptr;
    auto* content = new (block) CZR_XMLContent{cdata ? 1 : 0, CZR_WideStringL()};
    if (content->text.Set(text, allocator))
        return content;
    ZRMEM_AllocatorFree(allocator, content);
    return nullptr;
}

void destroyContent(CZR_XMLContent* content, _IZR_Allocator* allocator)
{
    content->text.Empty(allocator);
    ZRMEM_AllocatorFree(allocator, content);
}

} // namespace

CZR_XMLElement::CZR_XMLElement(_IZR_Allocator* allocator)
    : m_pParent(nullptr), m_Children(sizeof(void*), allocator), m_bTagInBlock(false)
{
}

CZR_XMLElement::CZR_XMLElement(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName, _IZR_Allocator* allocator)
    : CZR_XMLElement(allocator)
{
    SetTag(prefix, tagName);
}

CZR_XMLElement::CZR_XMLElement(const CZR_ByteStringC& qualifiedTagName, _IZR_Allocator* allocator)
    : CZR_XMLElement(allocator)
{
    SetTag(qualifiedTagName);
}

CZR_XMLElement::~CZR_XMLElement() { Empty(); }

CZR_XMLElement* CZR_XMLElement::Create(_IZR_Allocator* allocator)
{
    if (!allocator)
        return new CZR_XMLElement(nullptr);
    void* block = allocator->Alloc(allocator, sizeof(CZR_XMLElement));
    return block ? ::new (block) CZR_XMLElement(allocator) : nullptr;
}

// One allocation instead of two for every element a parse makes.
CZR_XMLElement* CZR_XMLElement::Create(_IZR_Allocator* allocator, const CZR_ByteStringC& prefix,
                                       const CZR_ByteStringC& tagName)
{
    size_t size = sizeof(CZR_XMLElement) + size_t(tagName.GetLength()) + 1;
    void* block = allocator ? allocator->Alloc(allocator, size) : CZR_Object::operator new(size);
    if (!block)
        return nullptr;
    auto* element = ::new (block) CZR_XMLElement(allocator);
    char* name = reinterpret_cast<char*>(element + 1);
    if (tagName.GetLength() > 0)
        memcpy(name, tagName.GetPtr(), size_t(tagName.GetLength()));
    name[tagName.GetLength()] = 0;
    element->m_TagName.Borrow(tagName.GetLength() > 0 ? name : nullptr, tagName.GetLength());
    element->m_bTagInBlock = true;
    if (element->m_TagPrefix.Set(prefix, allocator))
        return element;
    Destroy(element);
    return nullptr;
}

void CZR_XMLElement::Destroy(CZR_XMLElement* element)
{
    if (!element)
        return;
    _IZR_Allocator* allocator = element->GetAllocator();
    if (!allocator) {
        delete element;
        return;
    }
    element->~CZR_XMLElement();
    allocator->Free(allocator, element);
}

// Everything goes back in the reverse order a parse made it: the heap then takes back its most
// recent blocks first, which costs far less than returning the oldest first.
void CZR_XMLElement::Empty()
{
    RemoveChildren();
    m_AttrMap.RemoveAll(GetAllocator());
    ReleaseTag();
}

CZR_XMLElement* CZR_XMLElement::Clone(_IZR_Allocator* allocator) const
{
    CZR_XMLElement* copy = Create(allocator);
    if (copy && !CopyInto(copy)) {
        Destroy(copy);
        return nullptr;
    }
    return copy;
}

bool CZR_XMLElement::CopyInto(CZR_XMLElement* copy) const
{
    _IZR_Allocator* allocator = copy->GetAllocator();
    if (!copy->SetTag(m_TagPrefix, m_TagName))
        return false;
    int attrs = m_AttrMap.GetSize();
    for (int i = 0; i < attrs; ++i) {
        const CZR_XMLAttrItem* item = m_AttrMap.GetAt(i);
        if (!copy->m_AttrMap.Append(item->prefix, item->name, item->value, allocator))
            return false;
    }
    unsigned count = CountChildren();
    for (unsigned i = 0; i < count; ++i) {
        CZR_XMLElement* child = GetElement(i);
        const CZR_WideStringL* text = GetContentPtr(i);
        bool copied = child ? copy->AddChildElement(child->Clone(allocator))
                            : !text || copy->AddChildContent(*text, false);
        if (!copied)
            return false;
    }
    return true;
}

// Both parts are copied before the old tag goes: either view may point into it, and a copy that
// fails then leaves the old tag in place.
bool CZR_XMLElement::SetTag(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName)
{
    CZR_ByteStringL newPrefix, newName;
    if (!newPrefix.Set(prefix, GetAllocator()) || !newName.Set(tagName, GetAllocator())) {
        newPrefix.Empty(GetAllocator());
        return false;
    }
    ReleaseTag();
    m_TagPrefix = newPrefix;
    m_TagName = newName;
    return true;
}

void CZR_XMLElement::ReleaseTag()
{
    m_TagPrefix.Empty(GetAllocator());
    if (m_bTagInBlock)
        m_TagName.Forget();
    else
        m_TagName.Empty(GetAllocator());
    m_bTagInBlock = false;
}

bool CZR_XMLElement::SetTag(const CZR_ByteStringC& qualifiedTagName)
{
    CZR_ByteStringC prefix, name;
    ZR_XML_SplitQualifiedName(qualifiedTagName, prefix, name);
    return SetTag(prefix, name);
}

bool CZR_XMLElement::SetAttrValue(const CZR_ByteStringC& qualifiedName, const CZR_WideStringC& value)
{
    CZR_ByteStringC prefix, name;
    ZR_XML_SplitQualifiedName(qualifiedName, prefix, name);
    return m_AttrMap.SetAt(prefix, name, value, GetAllocator());
}

bool CZR_XMLElement::SetAttrValue(const CZR_ByteStringC& qualifiedName, int value)
{
    wchar_t digits[16];
    swprintf(digits, 16, L"%d", value);
    return SetAttrValue(qualifiedName, CZR_WideStringC(digits));
}

bool CZR_XMLElement::SetAttrValue(const CZR_ByteStringC& qualifiedName, unsigned value)
{
    wchar_t digits[16];
    swprintf(digits, 16, L"%u", value);
    return SetAttrValue(qualifiedName, CZR_WideStringC(digits));
}

bool CZR_XMLElement::SetAttrValue(const CZR_ByteStringC& qualifiedName, float value)
{
    char text[64];
    int length = ZR_ftoa_s(value, text, 0);
    wchar_t wide[64];
    for (int i = 0; i < length; ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    return SetAttrValue(qualifiedName, CZR_WideStringC(wide, length));
}

void CZR_XMLElement::RemoveAttr(const CZR_ByteStringC& qualifiedName)
{
    CZR_ByteStringC prefix, name;
    ZR_XML_SplitQualifiedName(qualifiedName, prefix, name);
    m_AttrMap.RemoveAt(prefix, name, GetAllocator());
}

bool CZR_XMLElement::InsertChild(unsigned index, ChildType type, void* child)
{
    unsigned count = CountChildren();
    if (index > count)
        index = count;
    auto* slot = reinterpret_cast<uintptr_t*>(m_Children.InsertSpaceAt(int(index) * 2, 2));
    if (!slot)
        return false;
    slot[0] = type;
    slot[1] = reinterpret_cast<uintptr_t>(child);
    return true;
}

bool CZR_XMLElement::AddChildElement(CZR_XMLElement* child) { return InsertChildElement(CountChildren(), child); }

bool CZR_XMLElement::InsertChildElement(unsigned index, CZR_XMLElement* child)
{
    if (!child)
        return false;
    child->m_pParent = this;
    if (InsertChild(index, ChildElement, child))
        return true;
    Destroy(child);
    return false;
}

bool CZR_XMLElement::AddChildContent(const CZR_WideStringC& text, bool cdata)
{
    return InsertChildContent(CountChildren(), text, cdata);
}

bool CZR_XMLElement::InsertChildContent(unsigned index, const CZR_WideStringC& text, bool cdata)
{
    CZR_XMLContent* content = newContent(text, cdata, GetAllocator());
    if (!content)
        return false;
    if (InsertChild(index, ChildContent, content))
        return true;
    destroyContent(content, GetAllocator());
    return false;
}

void CZR_XMLElement::DestroyChild(uintptr_t type, void* child)
{
    if (type == ChildElement)
        Destroy(static_cast<CZR_XMLElement*>(child));
    else if (type == ChildContent)
        destroyContent(static_cast<CZR_XMLContent*>(child), GetAllocator());
}

void CZR_XMLElement::RemoveChild(unsigned index)
{
    uintptr_t* slot = ChildSlot(index);
    if (!slot)
        return;
    DestroyChild(slot[0], reinterpret_cast<void*>(slot[1]));
    m_Children.RemoveAt(int(index) * 2, 2);
}

void CZR_XMLElement::RemoveChildren()
{
    unsigned count = CountChildren();
    for (unsigned i = count; i-- > 0;) {
        uintptr_t* slot = ChildSlot(i);
        DestroyChild(slot[0], reinterpret_cast<void*>(slot[1]));
    }
    m_Children.SetSize(0, -1);
}

CZR_ByteString CZR_XMLElement::GetTagName(bool qualified) const
{
    CZR_ByteString tag;
    if (qualified && m_TagPrefix.GetLength()) {
        tag = CZR_ByteStringC(m_TagPrefix);
        tag += ':';
    }
    tag += CZR_ByteStringC(m_TagName);
    return tag;
}

void CZR_XMLElement::GetTagName(CZR_ByteStringL& out, bool qualified) const
{
    out.Set(GetTagName(qualified), GetAllocator());
}

CZR_ByteString CZR_XMLElement::GetNamespace(bool qualified) const
{
    if (qualified)
        return CZR_ByteString(CZR_ByteStringC(m_TagPrefix));
    return GetNamespaceURI(m_TagPrefix);
}

void CZR_XMLElement::GetNamespace(CZR_ByteStringL& out, bool qualified) const
{
    out.Set(GetNamespace(qualified), GetAllocator());
}

const CZR_WideStringL* CZR_XMLElement::FindNamespaceDeclaration(const CZR_ByteStringC& prefix) const
{
    for (const CZR_XMLElement* element = this; element; element = element->m_pParent) {
        const CZR_WideStringL* value = prefix.IsEmpty() ? element->m_AttrMap.Lookup(CZR_ByteStringC(), "xmlns")
                                                        : element->m_AttrMap.Lookup("xmlns", prefix);
        if (value)
            return value;
    }
    return nullptr;
}

CZR_ByteString CZR_XMLElement::GetNamespaceURI(const CZR_ByteStringC& prefix) const
{
    const CZR_WideStringL* value = FindNamespaceDeclaration(prefix);
    return value ? ZR_UTF8Encode(value->GetPtr(), value->GetLength()) : CZR_ByteString();
}

void CZR_XMLElement::GetNamespaceURI(const CZR_ByteStringC& prefix, CZR_ByteStringL& out) const
{
    // An empty declaration (xmlns="") is a declaration too: it resets the output.
    const CZR_WideStringL* value = FindNamespaceDeclaration(prefix);
    if (value)
        out.Set(ZR_UTF8Encode(value->GetPtr(), value->GetLength()), GetAllocator());
}

void CZR_XMLElement::GetAttrByIndex(int index, CZR_ByteString& prefix, CZR_ByteString& name,
                                    CZR_WideString& value) const
{
    const CZR_XMLAttrItem* item = m_AttrMap.GetAt(index);
    if (!item)
        return;
    prefix = CZR_ByteStringC(item->prefix);
    name = CZR_ByteStringC(item->name);
    value = CZR_WideStringC(item->value);
}

void CZR_XMLElement::GetAttrByIndex(int index, CZR_ByteStringL& prefix, CZR_ByteStringL& name,
                                    CZR_WideStringL& value) const
{
    const CZR_XMLAttrItem* item = m_AttrMap.GetAt(index);
    if (!item)
        return;
    prefix.Set(item->prefix, GetAllocator());
    name.Set(item->name, GetAllocator());
    value.Set(item->value, GetAllocator());
}

const CZR_WideStringL* CZR_XMLElement::LookupAttr(const CZR_ByteStringC& qualifiedName) const
{
    CZR_ByteStringC prefix, name;
    ZR_XML_SplitQualifiedName(qualifiedName, prefix, name);
    return m_AttrMap.Lookup(prefix, name);
}

bool CZR_XMLElement::HasAttr(const CZR_ByteStringC& qualifiedName) const { return LookupAttr(qualifiedName); }

bool CZR_XMLElement::GetAttrValue(const CZR_ByteStringC& qualifiedName, CZR_WideString& value) const
{
    const CZR_WideStringL* found = LookupAttr(qualifiedName);
    if (found)
        value = CZR_WideStringC(*found);
    return found;
}

bool CZR_XMLElement::GetAttrValue(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name,
                                  CZR_WideString& value) const
{
    const CZR_WideStringL* found = m_AttrMap.Lookup(prefix, name);
    if (found)
        value = CZR_WideStringC(*found);
    return found;
}

CZR_WideString CZR_XMLElement::GetAttrValue(const CZR_ByteStringC& qualifiedName) const
{
    CZR_WideString value;
    GetAttrValue(qualifiedName, value);
    return value;
}

const CZR_WideStringL* CZR_XMLElement::GetAttrValuePtr(const CZR_ByteStringC& qualifiedName) const
{
    return LookupAttr(qualifiedName);
}

const CZR_WideStringL* CZR_XMLElement::GetAttrValuePtr(const CZR_ByteStringC& prefix,
                                                       const CZR_ByteStringC& name) const
{
    return m_AttrMap.Lookup(prefix, name);
}

bool CZR_XMLElement::GetAttrInteger(const CZR_ByteStringC& qualifiedName, int& out) const
{
    const CZR_WideStringL* found = LookupAttr(qualifiedName);
    if (found)
        out = found->GetInteger();
    return found;
}

bool CZR_XMLElement::GetAttrInteger(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, int& out) const
{
    const CZR_WideStringL* found = m_AttrMap.Lookup(prefix, name);
    if (found)
        out = found->GetInteger();
    return found;
}

bool CZR_XMLElement::GetAttrFloat(const CZR_ByteStringC& qualifiedName, float& out) const
{
    const CZR_WideStringL* found = LookupAttr(qualifiedName);
    if (found)
        out = found->GetFloat();
    return found;
}

bool CZR_XMLElement::GetAttrFloat(const CZR_ByteStringC& prefix, const CZR_ByteStringC& name, float& out) const
{
    const CZR_WideStringL* found = m_AttrMap.Lookup(prefix, name);
    if (found)
        out = found->GetFloat();
    return found;
}

unsigned CZR_XMLElement::GetChildType(unsigned index) const
{
    uintptr_t* slot = ChildSlot(index);
    return slot ? unsigned(slot[0]) : unsigned(ChildNone);
}

CZR_WideString CZR_XMLElement::GetContent(unsigned index) const
{
    const CZR_WideStringL* text = GetContentPtr(index);
    return text ? CZR_WideString(CZR_WideStringC(*text)) : CZR_WideString();
}

const CZR_WideStringL* CZR_XMLElement::GetContentPtr(unsigned index) const
{
    const CZR_XMLContent* content = GetContentRecord(index);
    return content ? &content->text : nullptr;
}

const CZR_XMLContent* CZR_XMLElement::GetContentRecord(unsigned index) const
{
    uintptr_t* slot = ChildSlot(index);
    if (!slot || slot[0] != ChildContent)
        return nullptr;
    return reinterpret_cast<CZR_XMLContent*>(slot[1]);
}

unsigned CZR_XMLElement::CountElements(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName) const
{
    unsigned count = CountChildren();
    unsigned matches = 0;
    for (unsigned i = 0; i < count; ++i) {
        const CZR_XMLElement* child = GetElement(i);
        if (child && ZR_XML_NameMatches(prefix, tagName, child->m_TagPrefix, child->m_TagName))
            ++matches;
    }
    return matches;
}

CZR_XMLElement* CZR_XMLElement::GetElement(const CZR_ByteStringC& prefix, const CZR_ByteStringC& tagName,
                                           int index) const
{
    if (index < 0)
        return nullptr;
    unsigned count = CountChildren();
    for (unsigned i = 0; i < count; ++i) {
        CZR_XMLElement* child = GetElement(i);
        if (child && ZR_XML_NameMatches(prefix, tagName, child->m_TagPrefix, child->m_TagName) && index-- == 0)
            return child;
    }
    return nullptr;
}

unsigned CZR_XMLElement::FindElement(CZR_XMLElement* child) const
{
    unsigned count = CountChildren();
    for (unsigned i = 0; i < count; ++i) {
        if (child && GetElement(i) == child)
            return i;
    }
    return 0xFFFFFFFF;
}

CZR_ByteString CZR_XMLElement::OutputStream(bool rawText, bool compact) const
{
    CZR_ByteStringL bytes;
    OutputStream(bytes, rawText, compact);
    CZR_ByteString result{CZR_ByteStringC(bytes)};
    bytes.Empty(GetAllocator());
    return result;
}

bool CZR_XMLElement::OutputStream(CZR_ByteStringL& out, bool rawText, bool compact) const
{
    CZR_XMLComposer composer(GetAllocator(), rawText, compact);
    return composer.Compose(this, nullptr, out);
}

bool CZR_XMLElement::OutputStream(IZR_FileWrite* file, bool rawText, bool compact) const
{
    if (!file)
        return false;
    CZR_XMLComposer composer(GetAllocator(), rawText, compact);
    CZR_ByteStringL unused;
    return composer.Compose(this, file, unused);
}
