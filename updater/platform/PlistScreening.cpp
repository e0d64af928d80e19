#include "PlistScreening.h"

#include "PlistCodec.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace Plist {
namespace {

// ---- XML --------------------------------------------------------------------------------------
//
// The nesting is counted from the tags themselves, and it must never come out lower than the
// library's. An opening tag is counted wherever it appears, even where the library skips it; a
// closing tag only where the library reads markup, found by stepping over markup exactly as the
// library does (comments, character data, processing instructions, declarations with an internal
// subset, attribute values in double quotes).

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':';
}

bool startsElement(const char* tag, const char* end)
{
    return tag + 1 != end && isNameChar(tag[1]) && !(tag[1] >= '0' && tag[1] <= '9');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool startsWith(const char* at, const char* end, const char* word)
{
    const size_t length = std::strlen(word);
    return size_t(end - at) >= length && std::memcmp(at, word, length) == 0;
}

// The end of the first `token` at or after `from`, or `end` when there is none.
const char* pastToken(const char* from, const char* end, const char* token)
{
    const size_t length = std::strlen(token);
    const char* found = std::search(from, end, token, token + length);
    return found == end ? end : found + length;
}

const char* pastTag(const char* tag, const char* end)
{
    bool quoted = false;
    for (const char* p = tag + 1; p != end; ++p) {
        if (*p == '"')
            quoted = !quoted;
        else if (*p == '>' && !quoted)
            return p + 1;
    }
    return end;
}

// Where the markup that starts at `tag` ends.
const char* pastMarkup(const char* tag, const char* end)
{
    if (startsWith(tag, end, "<!--"))
        return pastToken(tag + 4, end, "-->");
    if (startsWith(tag, end, "<![CDATA["))
        return pastToken(tag + 9, end, "]]>");
    if (startsWith(tag, end, "<?"))
        return pastToken(tag + 1, end, "?>");
    if (startsWith(tag, end, "<!")) {
        const char* close = pastToken(tag + 2, end, ">");
        const char* subset = std::find(tag + 2, close, '[');
        return subset == close ? close : pastToken(subset + 1, end, "]>");
    }
    return pastTag(tag, end);
}

// The length of "array" or "dict" when `name` is one of them, else 0.
size_t containerNameLength(const char* name, const char* end)
{
    for (const char* word : {"array", "dict"}) {
        const size_t length = std::strlen(word);
        if (startsWith(name, end, word) && (name + length == end || !isNameChar(name[length])))
            return length;
    }
    return 0;
}

bool opensContainer(const char* tag, const char* end)
{
    const size_t length = containerNameLength(tag + 1, end);
    if (length == 0)
        return false;
    const char* p = tag + 1 + length;
    while (p != end && isBlank(*p))
        ++p;
    return !startsWith(p, end, "/>");
}

bool closesContainer(const char* tag, const char* end)
{
    if (!startsWith(tag, end, "</"))
        return false;
    const size_t length = containerNameLength(tag + 2, end);
    const char* after = tag + 2 + length;
    return length != 0 && after != end && (isBlank(*after) || *after == '>');
}

// ---- binary -----------------------------------------------------------------------------------
//
// The library copies a shared object once for every reference to it, so what a binary list costs
// in memory is only known from its expanded graph. Each expanded object is charged what the
// library's node and our value take, plus its payload; the whole may cost a fixed multiple of the
// list's own size (a little more for small lists, whose writers share keys and values freely).

constexpr quint64 kObjectCost = 128;
constexpr quint64 kExpansionPerListByte = 64;
constexpr quint64 kMinExpansionBudget = 4 * 1024 * 1024;

constexpr int kTrailerSize = 32;

enum ObjectType { Data = 0x4, AsciiString = 0x5, Utf16String = 0x6, Array = 0xA, Set = 0xC, Dictionary = 0xD };

class BinaryList
{
public:
    explicit BinaryList(const QByteArray& bytes) : m_bytes(bytes) {}

    quint64 size() const { return quint64(m_bytes.size()); }

    // A big-endian unsigned number of `width` bytes at `offset`; nothing when it lies outside.
    std::optional<quint64> numberAt(quint64 offset, int width) const
    {
        if (width < 1 || width > 8 || offset > size() || size() - offset < quint64(width))
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[int(offset) + i]);
        return value;
    }

    bool holdsZeroUnit(quint64 offset, quint64 units, int unitWidth) const
    {
        for (quint64 i = 0; i < units; ++i)
            if (*numberAt(offset + i * quint64(unitWidth), unitWidth) == 0)
                return true;
        return false;
    }

private:
    const QByteArray& m_bytes;
};

struct Trailer {
    int offsetSize = 0;
    int refSize = 0;
    quint64 objectCount = 0;
    quint64 topObject = 0;
    quint64 offsetTable = 0;
};

std::optional<Trailer> readTrailer(const BinaryList& list)
{
    if (list.size() < 8 + kTrailerSize)
        return std::nullopt;
    const quint64 at = list.size() - kTrailerSize;
    Trailer trailer;
    trailer.offsetSize = int(*list.numberAt(at + 6, 1));
    trailer.refSize = int(*list.numberAt(at + 7, 1));
    trailer.objectCount = *list.numberAt(at + 8, 8);
    trailer.topObject = *list.numberAt(at + 16, 8);
    trailer.offsetTable = *list.numberAt(at + 24, 8);
    const bool sizesValid = trailer.offsetSize >= 1 && trailer.offsetSize <= 8 && trailer.refSize >= 1 && trailer.refSize <= 8;
    if (!sizesValid || trailer.topObject >= trailer.objectCount || trailer.offsetTable > at ||
        trailer.objectCount > (at - trailer.offsetTable) / quint64(trailer.offsetSize))
        return std::nullopt;
    return trailer;
}

// One object's marker and, for those that have them, its length and where its content starts.
struct ObjectHeader {
    int type = 0;
    quint64 count = 0;
    quint64 content = 0;
};

std::optional<ObjectHeader> readObjectHeader(const BinaryList& list, quint64 offset)
{
    const auto marker = list.numberAt(offset, 1);
    if (!marker)
        return std::nullopt;
    ObjectHeader header{int(*marker >> 4), *marker & 0xF, offset + 1};
    const bool counted = header.type == Data || header.type == AsciiString || header.type == Utf16String ||
                         header.type == Array || header.type == Set || header.type == Dictionary;
    if (!counted || header.count != 0xF)
        return header;
    const auto sizeMarker = list.numberAt(header.content, 1);
    if (!sizeMarker || (*sizeMarker >> 4) != 0x1 || (*sizeMarker & 0xF) > 3)
        return std::nullopt;
    const int width = 1 << (*sizeMarker & 0xF);
    const auto count = list.numberAt(header.content + 1, width);
    if (!count)
        return std::nullopt;
    header.count = *count;
    header.content += 1 + quint64(width);
    return header;
}

int unitWidth(int type)
{
    return type == Utf16String ? 2 : 1;
}

bool contentFits(const BinaryList& list, const ObjectHeader& header, quint64 unitWidth)
{
    return header.content <= list.size() && header.count <= (list.size() - header.content) / unitWidth;
}

// Bytes an object's payload takes once read: UTF-16 text becomes up to three bytes per unit.
quint64 payloadCost(const ObjectHeader& header)
{
    switch (header.type) {
    case Data:
    case AsciiString:
        return header.count;
    case Utf16String:
        return header.count * 3;
    default:
        return 0;
    }
}

class BinaryWalk
{
public:
    BinaryWalk(const BinaryList& list, const Trailer& trailer)
        : m_list(list)
        , m_trailer(trailer)
        , m_budget(std::max(kMinExpansionBudget, kExpansionPerListByte * list.size()))
    {
    }

    Screening run()
    {
        m_pending.push_back({m_trailer.topObject, 0});
        while (!m_pending.empty()) {
            const Pending current = m_pending.back();
            m_pending.pop_back();
            if (current.depth > kMaxNesting || ++m_visited > kMaxObjects)
                return Screening::BeyondBounds;
            if (const auto verdict = visit(current))
                return *verdict;
        }
        return m_holdsNul ? Screening::HoldsNul : Screening::Plain;
    }

private:
    struct Pending {
        quint64 object;
        int depth;
    };

    // Nothing to go on with, or why the walk ends here.
    std::optional<Screening> visit(const Pending& current)
    {
        if (current.object >= m_trailer.objectCount)
            return Screening::Malformed;
        const auto offset = m_list.numberAt(m_trailer.offsetTable + current.object * quint64(m_trailer.offsetSize),
                                            m_trailer.offsetSize);
        const auto header = offset ? readObjectHeader(m_list, *offset) : std::nullopt;
        if (!header)
            return Screening::Malformed;
        if (header->type == Data || header->type == AsciiString || header->type == Utf16String)
            return visitPayload(*header);
        if (header->type == Array || header->type == Set || header->type == Dictionary)
            return visitContainer(*header, current.depth);
        return charge(0);
    }

    std::optional<Screening> visitPayload(const ObjectHeader& header)
    {
        const int width = unitWidth(header.type);
        if (!contentFits(m_list, header, quint64(width)))
            return Screening::Malformed;
        if (const auto verdict = charge(payloadCost(header)))
            return verdict;
        if (header.type != Data && !m_holdsNul)
            m_holdsNul = m_list.holdsZeroUnit(header.content, header.count, width);
        return std::nullopt;
    }

    std::optional<Screening> visitContainer(const ObjectHeader& header, int depth)
    {
        const quint64 refSize = quint64(m_trailer.refSize);
        const quint64 refs = header.type == Dictionary ? header.count * 2 : header.count;
        if (header.count > m_list.size() || !contentFits(m_list, {header.type, refs, header.content}, refSize))
            return Screening::Malformed;
        if (refs > kMaxObjects - m_visited - m_pending.size())
            return Screening::BeyondBounds;
        if (const auto verdict = charge(0))
            return verdict;
        for (quint64 i = 0; i < refs; ++i)
            m_pending.push_back({*m_list.numberAt(header.content + i * refSize, int(refSize)), depth + 1});
        return std::nullopt;
    }

    std::optional<Screening> charge(quint64 payload)
    {
        m_cost += kObjectCost + payload;
        if (m_cost > m_budget)
            return Screening::BeyondBounds;
        return std::nullopt;
    }

    const BinaryList& m_list;
    const Trailer m_trailer;
    const quint64 m_budget;
    std::vector<Pending> m_pending;
    quint64 m_visited = 0;
    quint64 m_cost = 0;
    bool m_holdsNul = false;
};

} // namespace

Screening screenXml(const QByteArray& bytes)
{
    const char* const end = bytes.constData() + bytes.size();
    const char* nextMarkup = bytes.constData();
    int depth = 0;
    quint64 elements = 0;
    for (const char* tag = std::find(bytes.constData(), end, '<'); tag != end; tag = std::find(tag + 1, end, '<')) {
        if (startsElement(tag, end) && ++elements > kMaxObjects)
            return Screening::BeyondBounds;
        if (opensContainer(tag, end) && ++depth > kMaxNesting)
            return Screening::BeyondBounds;
        if (tag < nextMarkup)
            continue;
        if (closesContainer(tag, end))
            depth = std::max(0, depth - 1);
        nextMarkup = pastMarkup(tag, end);
    }
    return bytes.contains('\0') ? Screening::HoldsNul : Screening::Plain;
}

Screening screenBinary(const QByteArray& bytes)
{
    const BinaryList list(bytes);
    const auto trailer = readTrailer(list);
    if (!trailer)
        return Screening::Malformed;
    return BinaryWalk(list, *trailer).run();
}

} // namespace Plist
