#include "xml/CZR_XMLParser.h"

#include "xml/CZR_XMLDataAcc.h"
#include "xml/CZR_XMLElement.h"
#include "xml/ZRXMLByteTypes.h"

#include <cctype>
#include <cstring>

namespace {

int digitValue(int b, bool hex)
{
    if (b >= '0' && b <= '9')
        return b - '0';
    if (hex && b >= 'a' && b <= 'f')
        return b - 'a' + 10;
    if (hex && b >= 'A' && b <= 'F')
        return b - 'A' + 10;
    return -1;
}

unsigned namedEntity(const CZR_ByteStringC& name)
{
    static const struct
    {
        const char* name;
        unsigned code;
    } entities[] = {{"gt", 0x3E}, {"lt", 0x3C}, {"amp", 0x26}, {"apos", 0x27}, {"quot", 0x22}};
    for (const auto& entity : entities) {
        if (name == CZR_ByteStringC(entity.name))
            return entity.code;
    }
    return 0;
}

CZR_ByteStringC viewOf(const CZR_BinaryBuf& buffer) { return buffer.GetByteString(); }

bool isTrimmed(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// How many bytes from `p` are below 0x80 and neither `stopA` nor `stopB`, tested eight at a time.
// In a word the lowest flagged byte is exact (a borrow only flags bytes above a true match), and
// on a little-endian machine the lowest byte is the first one.
size_t plainRunLength(const uint8_t* p, size_t n, uint8_t stopA, uint8_t stopB)
{
    size_t i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    const uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const uint64_t repeatedA = ones * stopA, repeatedB = ones * stopB;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        memcpy(&word, p + i, 8);
        uint64_t a = word ^ repeatedA, b = word ^ repeatedB;
        uint64_t flagged = (word | ((a - ones) & ~a) | ((b - ones) & ~b)) & highs;
        if (flagged)
            return i + size_t(__builtin_ctzll(flagged) / 8);
    }
#endif
    while (i < n && p[i] < 0x80 && p[i] != stopA && p[i] != stopB)
        ++i;
    return i;
}

} // namespace

CZR_XMLParser::CZR_XMLParser(_IZR_Allocator* allocator)
    : m_pAllocator(allocator), m_pReader(nullptr), m_bOwnsReader(false), m_bKeepSpaces(false), m_pBlock(nullptr),
      m_nBlockSize(0), m_nBlockOffset(0), m_nIndex(0), m_bNoEntity(false), m_LineBreaks(allocator),
      m_bKeepLineBreaks(false), m_nNesting(0), m_bFailed(false), m_Text(allocator), m_Prefix(allocator),
      m_Name(allocator), m_Raw(allocator), m_AttrIndex(allocator), m_PendingAttrs(sizeof(CZR_XMLAttrItem), allocator),
      m_nPendingAttrs(0)
{
}

CZR_XMLParser::~CZR_XMLParser()
{
    ReleasePendingAttrs();
    if (m_pReader && m_bOwnsReader)
        m_pReader->Release();
}

bool CZR_XMLParser::Init(const unsigned char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return false;
    m_pReader = CZR_XMLDataBufAcc::Create(buffer, size, m_pAllocator);
    return m_pReader && Init(true);
}

bool CZR_XMLParser::Init(IZR_FileRead* file)
{
    if (!file)
        return false;
    m_pReader = CZR_XMLDataStmAcc::Create(file, m_pAllocator);
    return m_pReader && Init(true);
}

bool CZR_XMLParser::Init(IZR_BufferRead* reader)
{
    m_pReader = reader;
    return reader && Init(false);
}

bool CZR_XMLParser::Init(bool ownsReader)
{
    m_bOwnsReader = ownsReader;
    m_nBlockOffset = 0;
    m_nBlockSize = m_nIndex = 0;
    return ReadNextBlock() && CheckFirstNonEmptyChar();
}

bool CZR_XMLParser::ReadNextBlock()
{
    if (m_bFailed)
        return false;
    if (!m_pReader->ReadNextBlock(false)) {
        // A reader that stops short of its end could not allocate or read its next block.
        if (!m_pReader->IsEOF())
            Fail();
        return false;
    }
    const uint8_t* block = m_pReader->GetBlockBuffer();
    size_t size = m_pReader->GetBlockSize();
    if (!block || size == 0)
        return false;
    m_pBlock = block;
    m_nBlockSize = size;
    m_nBlockOffset = m_pReader->GetBlockOffset();
    m_nIndex = 0;
    return true;
}

// Blanks, then an optional byte-order mark, then '<'. What it passes over is only blanks and the
// mark, which the search for the root's '<' would pass over anyway.
bool CZR_XMLParser::CheckFirstNonEmptyChar()
{
    int b;
    while ((b = Peek()) >= 0 && isspace(b))
        Take();
    static const uint8_t marks[3][3] = {{0xEF, 0xBB, 0xBF}, {0xFF, 0xFE, 0}, {0xFE, 0xFF, 0}};
    for (const auto& mark : marks) {
        if (b != mark[0])
            continue;
        for (int i = 0; i < 3 && mark[i]; ++i) {
            if (Peek() != mark[i])
                return false;
            Take();
        }
        return Peek() == '<';
    }
    return b == '<';
}

void CZR_XMLParser::SkipWhiteSpaceRun(bool collectLineBreaks)
{
    bool collect = collectLineBreaks && m_bKeepLineBreaks;
    while (Peek() >= 0) {
        while (m_nIndex < m_nBlockSize && g_ZRCRT_XML_IsWhiteSpace(m_pBlock[m_nIndex])) {
            uint8_t b = m_pBlock[m_nIndex++];
            if (collect && (b == 0x09 || b == 0x0A || b == 0x0D) && !Require(m_LineBreaks.AppendChar(b)))
                return;
        }
        if (m_nIndex < m_nBlockSize)
            return;
    }
}

// Moves past the next occurrence of the byte, or to the end of input.
void CZR_XMLParser::SkipTo(uint8_t byte)
{
    while (Peek() >= 0) {
        const void* found = memchr(m_pBlock + m_nIndex, byte, m_nBlockSize - m_nIndex);
        if (found) {
            m_nIndex = size_t(static_cast<const uint8_t*>(found) - m_pBlock) + 1;
            return;
        }
        m_nIndex = m_nBlockSize;
    }
}

void CZR_XMLParser::GetName(CZR_BinaryBuf& prefix, CZR_BinaryBuf& name)
{
    name.Clear();
    while (Peek() >= 0) {
        size_t start = m_nIndex;
        while (m_nIndex < m_nBlockSize && g_ZRCRT_XML_IsNameChar(m_pBlock[m_nIndex]))
            ++m_nIndex;
        if (!Require(name.AppendBlock(m_pBlock + start, int(m_nIndex - start))))
            return;
        if (m_nIndex == m_nBlockSize)
            continue;
        if (m_pBlock[m_nIndex] != ':')
            return;
        Take();
        if (!Require(prefix.CopyData(name.GetBuffer(), name.GetSize())))
            return;
        name.Clear();
    }
}

// Matching keeps the longest partial match, so overlapping text such as "]]]>" or "--->" still
// ends at the true first occurrence of the literal.
void CZR_XMLParser::SkipLiterals(const char* literal, CZR_BinaryBuf* capture)
{
    int length = int(strlen(literal));
    int fallback[4] = {0, 0, 0, 0};
    for (int i = 1, k = 0; i < length; ++i) {
        while (k > 0 && literal[i] != literal[k])
            k = fallback[k - 1];
        if (literal[i] == literal[k])
            ++k;
        fallback[i] = k;
    }
    int matched = 0;
    int b;
    while (matched < length && (b = Peek()) >= 0) {
        if (matched == 0 && !capture) {
            const void* found = memchr(m_pBlock + m_nIndex, literal[0], m_nBlockSize - m_nIndex);
            if (!found) {
                m_nIndex = m_nBlockSize;
                continue;
            }
            m_nIndex = size_t(static_cast<const uint8_t*>(found) - m_pBlock);
            b = m_pBlock[m_nIndex];
        }
        Take();
        if (capture) {
            uint8_t byte = uint8_t(b);
            if (!Require(capture->AppendBlock(&byte, 1)))
                return;
        }
        while (matched > 0 && b != uint8_t(literal[matched]))
            matched = fallback[matched - 1];
        if (b == uint8_t(literal[matched]))
            ++matched;
    }
}

// A declaration such as a document type ends at the first '>' outside quotes, brackets and comments.
void CZR_XMLParser::SkipDeclaration()
{
    int depth = 0;
    int quote = 0;
    uint32_t lastBytes = 0;
    int b;
    while ((b = Peek()) >= 0) {
        Take();
        lastBytes = (lastBytes << 8) | uint8_t(b);
        if (quote) {
            if (b == quote)
                quote = 0;
        } else if (lastBytes == 0x3C212D2D) {
            SkipLiterals("-->");
            lastBytes = 0;
        } else if (b == '"' || b == '\'') {
            quote = b;
        } else if (b == '[') {
            ++depth;
        } else if (b == ']' && depth > 0) {
            --depth;
        } else if (b == '>' && depth == 0) {
            return;
        }
    }
}

// After '&': a reference ends at the first byte that cannot belong to it. Only ';' completes it;
// otherwise the '&' and what followed stay as literal text and that byte is read next.
void CZR_XMLParser::GetCharRef()
{
    m_Text.DropPartial();
    m_Raw.Clear();
    if (!AppendRaw('&'))
        return;
    unsigned value = 0;
    int b = Peek();
    if (b == '#') {
        Take();
        if (!AppendRaw('#'))
            return;
        bool hex = Peek() == 'x';
        if (hex) {
            Take();
            if (!AppendRaw('x'))
                return;
        }
        int digit;
        while ((b = Peek()) >= 0 && (digit = digitValue(b, hex)) >= 0) {
            Take();
            if (!AppendRaw(uint8_t(b)))
                return;
            value = value * (hex ? 16u : 10u) + unsigned(digit);
        }
    } else {
        while ((b = Peek()) >= 0 && g_ZRCRT_XML_IsNameChar(uint8_t(b))) {
            Take();
            if (!AppendRaw(uint8_t(b)))
                return;
        }
        value = namedEntity(CZR_ByteStringC(reinterpret_cast<const char*>(m_Raw.GetBuffer()) + 1, m_Raw.GetSize() - 1));
    }
    if (b == ';') {
        Take();
        m_Text.AppendChar(value);
        return;
    }
    for (int i = 0; i < m_Raw.GetSize(); ++i)
        m_Text.Input(m_Raw.GetBuffer()[i]);
}

void CZR_XMLParser::GetAttrValue()
{
    int quote = Peek();
    if (quote != '"' && quote != '\'')
        return;
    Take();
    int b;
    while ((b = Peek()) >= 0) {
        size_t start = m_nIndex;
        m_nIndex += plainRunLength(m_pBlock + start, m_nBlockSize - start, uint8_t(quote), '&');
        if (m_nIndex > start) {
            m_Text.InputAscii(m_pBlock + start, int(m_nIndex - start));
            continue;
        }
        Take();
        if (b == quote)
            return;
        if (b == '&')
            GetCharRef();
        else
            m_Text.Input(uint8_t(b));
    }
}

void CZR_XMLParser::GetTagName(bool& endTag, bool startTagSeen)
{
    m_Prefix.Clear();
    m_Name.Clear();
    endTag = false;
    for (;;) {
        if (!startTagSeen)
            SkipTo('<');
        startTagSeen = false;
        int b = Peek();
        if (b < 0)
            return;
        if (b == '!') {
            Take();
            if (Peek() == '-') {
                Take();
                if (Peek() >= 0)
                    Take();
                SkipLiterals("-->");
            } else {
                SkipDeclaration();
            }
            continue;
        }
        if (b == '?') {
            Take();
            SkipLiterals("?>");
            continue;
        }
        if (b == '/') {
            Take();
            endTag = true;
        }
        break;
    }
    GetName(m_Prefix, m_Name);
}

CZR_XMLElement* CZR_XMLParser::ParseRoot(bool keepSpaces, bool noEntity, bool keepLineBreaks, int64_t* parsedSize)
{
    m_bKeepSpaces = keepSpaces;
    m_bNoEntity = noEntity;
    m_bKeepLineBreaks = keepLineBreaks;
    m_nNesting = 0;
    CZR_XMLElement* root = ParseElement(nullptr, false);
    if (parsedSize && !m_bFailed)
        *parsedSize = GetPosition();
    return root;
}

// An element that a failure cut short is destroyed, so no caller ever sees part of a tree.
CZR_XMLElement* CZR_XMLParser::Completed(CZR_XMLElement* element)
{
    if (!m_bFailed)
        return element;
    CZR_XMLElement::Destroy(element);
    return nullptr;
}

CZR_XMLElement* CZR_XMLParser::ParseElement(CZR_XMLElement* parent, bool startTagSeen)
{
    if (m_nNesting++ >= CZR_XMLElement::kMostLevels || IsEOF())
        return nullptr;
    bool endTag = false;
    GetTagName(endTag, startTagSeen);
    if (m_Name.GetSize() == 0 || endTag)
        return nullptr;
    CZR_XMLElement* element = CZR_XMLElement::Create(m_pAllocator, viewOf(m_Prefix), viewOf(m_Name));
    if (!Require(element))
        return nullptr;
    element->SetParent(parent);
    ParseAttributes(element);
    SkipWhiteSpaces(false);
    int b = Peek();
    if (b < 0)
        return Completed(element);
    Take();
    if (b == '/') {
        SkipLiterals(">");
        return Completed(element);
    }
    if (b != '>') {
        CZR_XMLElement::Destroy(element);
        return nullptr;
    }
    ParseContent(element);
    return Completed(element);
}

void CZR_XMLParser::ParseAttributes(CZR_XMLElement* element)
{
    m_AttrIndex.Reset();
    m_nPendingAttrs = 0;
    ReadAttributes();
    if (element->GetAttrMap().Adopt(PendingItems(), m_nPendingAttrs, m_pAllocator)) {
        // The strings belong to the element now; the slots are empty for the next start tag.
        if (m_nPendingAttrs)
            memset(static_cast<void*>(PendingItems()), 0, sizeof(CZR_XMLAttrItem) * size_t(m_nPendingAttrs));
        m_nPendingAttrs = 0;
    } else {
        ReleasePendingAttrs();
        Fail();
    }
}

CZR_XMLAttrItem* CZR_XMLParser::PendingItems() const
{
    return reinterpret_cast<CZR_XMLAttrItem*>(m_PendingAttrs.GetData());
}

void CZR_XMLParser::ReleasePendingAttrs()
{
    for (int i = 0; i < m_nPendingAttrs; ++i) {
        PendingItems()[i].prefix.Empty(m_pAllocator);
        PendingItems()[i].name.Empty(m_pAllocator);
        PendingItems()[i].value.Empty(m_pAllocator);
    }
    m_nPendingAttrs = 0;
}

// A later attribute replaces the value of the first earlier one it answers to by the lookup rule.
void CZR_XMLParser::StorePendingAttr()
{
    if (!Require(!m_Text.Failed()))
        return;
    CZR_ByteStringC prefix = viewOf(m_Prefix), name = viewOf(m_Name);
    int index = m_AttrIndex.Find(PendingItems(), m_nPendingAttrs, prefix, name);
    if (index >= 0) {
        Require(PendingItems()[index].value.Set(m_Text.GetResult(), m_pAllocator));
        return;
    }
    if (m_nPendingAttrs == m_PendingAttrs.GetSize() &&
        !Require(m_PendingAttrs.SetSize(m_nPendingAttrs ? m_nPendingAttrs * 2 : 16, -1)))
        return;
    CZR_XMLAttrItem& item = PendingItems()[m_nPendingAttrs++];
    if (!Require(item.prefix.Set(prefix, m_pAllocator) && item.name.Set(name, m_pAllocator) &&
                 item.value.Set(m_Text.GetResult(), m_pAllocator)))
        return;
    m_AttrIndex.Added(PendingItems(), m_nPendingAttrs, m_nPendingAttrs - 1);
}

void CZR_XMLParser::ReadAttributes()
{
    for (;;) {
        SkipWhiteSpaces(false);
        int b = Peek();
        if (b < 0 || !g_ZRCRT_XML_IsNameIntro(uint8_t(b)))
            return;
        m_Prefix.Clear();
        GetName(m_Prefix, m_Name);
        SkipWhiteSpaces(false);
        if (Peek() != '=')
            return;
        Take();
        SkipWhiteSpaces(false);
        if (IsEOF())
            return;
        GetAttrValue();
        StorePendingAttr();
        m_Text.Clear();
    }
}

void CZR_XMLParser::ParseContent(CZR_XMLElement* element)
{
    if (!m_bKeepSpaces) {
        SkipWhiteSpaces(true);
        if (IsEOF())
            return;
    }
    int b;
    while ((b = Peek()) >= 0) {
        if (b == '<') {
            Take();
            if (!ParseTag(element))
                break;
        } else if (b == '&' && !m_bNoEntity) {
            Take();
            GetCharRef();
        } else if (b >= 0x80 || b == '&') {
            Take();
            m_Text.Input(uint8_t(b));
        } else {
            TakeTextRun();
        }
    }
    EmitPending(element, !m_bKeepSpaces);
}

void CZR_XMLParser::TakeTextRun()
{
    size_t start = m_nIndex;
    m_nIndex += plainRunLength(m_pBlock + start, m_nBlockSize - start, '<', '&');
    m_Text.InputAscii(m_pBlock + start, int(m_nIndex - start));
}

// After '<' in content; false when the content has ended.
bool CZR_XMLParser::ParseTag(CZR_XMLElement* element)
{
    int b = Peek();
    if (b < 0)
        return false;
    if (b == '!') {
        Take();
        ParseMarkup(element);
        SkipWhiteSpaces(false);
        return true;
    }
    if (b == '?') {
        Take();
        SkipLiterals("?>");
        SkipWhiteSpaces(false);
        return true;
    }
    if (b == '/') {
        // End tags are not compared with their start tags; neither name nor blanks hold a '>'.
        Take();
        SkipTo('>');
        return false;
    }
    EmitPending(element, !(m_bKeepLineBreaks && m_LineBreaks.GetSize() > 0) && !m_bKeepSpaces);
    CZR_XMLElement* child = ParseElement(element, true);
    --m_nNesting;
    if (child && Require(element->AddChildElement(child)))
        SkipWhiteSpaces(true);
    return true;
}

// After "<!": a comment, a CDATA section or another declaration. Pending text survives the
// comment and the declaration.
void CZR_XMLParser::ParseMarkup(CZR_XMLElement* element)
{
    int b = Peek();
    if (b < 0)
        return;
    Take();
    if (b == '-') {
        if (Peek() >= 0)
            Take();
        SkipLiterals("-->");
    } else if (b == '[') {
        EmitPending(element, !m_bKeepSpaces);
        ParseCData(element);
    } else {
        SkipLiterals(">");
    }
}

// The six bytes after "<![" ("CDATA[") are not examined; the text runs up to the "]]>".
void CZR_XMLParser::ParseCData(CZR_XMLElement* element)
{
    m_Raw.Clear();
    SkipLiterals("]]>", &m_Raw);
    int length = m_Raw.GetSize();
    if (length >= 10 && !m_bFailed) {
        for (int i = 6; i < length - 3; ++i)
            m_Text.Input(m_Raw.GetBuffer()[i]);
        if (Require(!m_Text.Failed()))
            InsertContentSegment(true, m_Text.GetResult(), element);
    }
    m_Text.Clear();
}

// The waiting line breaks and the pending text form one segment.
void CZR_XMLParser::EmitPending(CZR_XMLElement* element, bool trim)
{
    if (m_bFailed || !Require(!m_Text.Failed()))
        return;
    CZR_WideStringC text = m_Text.GetResult();
    if (m_LineBreaks.GetSize() > 0) {
        if (!Require(m_LineBreaks.AppendBlock(text.GetPtr(), text.GetLength() * 4)))
            return;
        text = m_LineBreaks.GetWideString();
    }
    int length = text.GetLength();
    while (trim && length > 0 && isTrimmed(text[length - 1]))
        --length;
    InsertContentSegment(false, CZR_WideStringC(text.GetPtr(), length), element);
    m_LineBreaks.Clear();
    m_Text.Clear();
}

void CZR_XMLParser::InsertContentSegment(bool cdata, const CZR_WideStringC& text, CZR_XMLElement* element)
{
    if (text.GetLength() > 0)
        Require(element->AddChildContent(text, cdata));
}

CZR_XMLElement* CZR_XMLElement::Parse(const void* buffer, size_t size, bool keepSpaces, int64_t* parsedSize,
                                      _IZR_Allocator* allocator, bool noEntity, bool keepLineBreaks)
{
    CZR_XMLParser parser(allocator);
    if (!parser.Init(static_cast<const unsigned char*>(buffer), size))
        return nullptr;
    return parser.ParseRoot(keepSpaces, noEntity, keepLineBreaks, parsedSize);
}

CZR_XMLElement* CZR_XMLElement::Parse(IZR_FileRead* file, bool keepSpaces, int64_t* parsedSize,
                                      _IZR_Allocator* allocator, bool noEntity, bool keepLineBreaks)
{
    CZR_XMLParser parser(allocator);
    if (!parser.Init(file))
        return nullptr;
    return parser.ParseRoot(keepSpaces, noEntity, keepLineBreaks, parsedSize);
}

CZR_XMLElement* CZR_XMLElement::Parse(IZR_BufferRead* reader, bool keepSpaces, int64_t* parsedSize,
                                      _IZR_Allocator* allocator, bool noEntity, bool keepLineBreaks)
{
    CZR_XMLParser parser(allocator);
    if (!parser.Init(reader))
        return nullptr;
    return parser.ParseRoot(keepSpaces, noEntity, keepLineBreaks, parsedSize);
}
