#include "Utf8Xml.h"

#include "AUILibConfig.h"
#include "Encrypter.h"
#include "RegularFile.h"
#include "Utf8Codec.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace AUILib::Utf8Xml {

namespace {

using WideDocument = rapidxml::xml_document<wchar_t>;
using WideNode = rapidxml::xml_node<wchar_t>;
using ByteNode = rapidxml::xml_node<char>;

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// From `position` (just after "<"), the position of the last character of the comment, section,
// processing instruction or declaration that starts there; npos when the text ends first.
std::size_t SkipSpecial(const std::string& text, std::size_t position)
{
    auto after = [&](const char* terminator) {
        const std::size_t found = text.find(terminator, position);
        return found == std::string::npos ? found : found + std::strlen(terminator) - 1;
    };
    if (text.compare(position, 3, "!--") == 0)
        return after("-->");
    if (text.compare(position, 8, "![CDATA[") == 0)
        return after("]]>");
    if (text[position] == '?')
        return after("?>");
    // A document type declaration may hold bracketed markup of its own.
    int brackets = 0;
    for (std::size_t i = position; i < text.size(); ++i) {
        if (text[i] == '[')
            ++brackets;
        else if (text[i] == ']')
            --brackets;
        else if (text[i] == '>' && brackets <= 0)
            return i;
    }
    return std::string::npos;
}

// Whether an entity reference starts at `position` (at its "&"): one of the five named ones, or a
// character reference to a character other than NUL. The parser would keep an unknown one as text.
bool IsEntity(const std::string& text, std::size_t position)
{
    const std::size_t end = text.find(';', position);
    if (end == std::string::npos)
        return false;
    const std::string name = text.substr(position + 1, end - position - 1);
    for (const char* known : {"amp", "lt", "gt", "quot", "apos"}) {
        if (name == known)
            return true;
    }
    if (name.size() < 2 || name[0] != '#')
        return false;
    const bool hex = name[1] == 'x';
    const std::string digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return false;
    for (const char c : digits) {
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
            return false;
    }
    return std::stoul(digits, nullptr, hex ? 16 : 10) != 0;
}

// Checks what the parser lets through: every entity reference must be known, and no element may
// lie deeper than MaxNesting. Quoted attribute values are skipped as such, so a "/>" inside one
// cannot hide a level.
bool WithinLimits(const std::string& text)
{
    int depth = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        const char c = text[position];
        if (c == '&') {
            if (!IsEntity(text, position))
                return false;
            ++position;
            continue;
        }
        if (c != '<') {
            ++position;
            continue;
        }
        ++position;
        if (position >= text.size())
            return true;
        const char next = text[position];
        if (next == '/') {
            --depth;
            position = text.find('>', position);
        } else if (next == '!' || next == '?') {
            position = SkipSpecial(text, position);
        } else {
            char quote = 0;
            for (; position < text.size(); ++position) {
                const char d = text[position];
                if (quote) {
                    if (d == quote)
                        quote = 0;
                    else if (d == '&' && !IsEntity(text, position))
                        return false;
                } else if (d == '"' || d == '\'') {
                    quote = d;
                } else if (d == '>') {
                    break;
                }
            }
            if (position >= text.size())
                return true;
            if (text[position - 1] != '/' && ++depth > MaxNesting)
                return false;
        }
        if (position == std::string::npos)
            return true;
        ++position;
    }
    return true;
}

class WideCopier
{
public:
    explicit WideCopier(WideDocument& document)
        : m_document(document)
    {
    }

    bool CopyChildren(const ByteNode& from, WideNode& to)
    {
        for (const ByteNode* child = from.first_node(); child; child = child->next_sibling()) {
            if (child->type() != rapidxml::node_element && child->type() != rapidxml::node_data)
                continue;
            WideNode* copy = m_document.allocate_node(child->type());
            if (!Assign(*child, *copy))
                return false;
            for (const auto* attribute = child->first_attribute(); attribute; attribute = attribute->next_attribute()) {
                auto* wide = m_document.allocate_attribute();
                if (!Assign(*attribute, *wide))
                    return false;
                copy->append_attribute(wide);
            }
            to.append_node(copy);
            if (!CopyChildren(*child, *copy))
                return false;
        }
        return true;
    }

private:
    bool Assign(const rapidxml::xml_base<char>& from, rapidxml::xml_base<wchar_t>& to)
    {
        const wchar_t* name = nullptr;
        std::size_t nameSize = 0;
        const wchar_t* value = nullptr;
        std::size_t valueSize = 0;
        if (!Copy(from.name(), from.name_size(), name, nameSize) || !Copy(from.value(), from.value_size(), value, valueSize))
            return false;
        to.name(name, nameSize);
        to.value(value, valueSize);
        return true;
    }

    // A zero-terminated wide copy in the document's pool.
    bool Copy(const char* bytes, std::size_t size, const wchar_t*& text, std::size_t& length)
    {
        const std::optional<std::wstring> decoded = Utf8Codec::Decode(bytes, size);
        if (!decoded)
            return false;
        wchar_t* stored = m_document.allocate_string(nullptr, decoded->size() + 1);
        std::copy(decoded->begin(), decoded->end(), stored);
        stored[decoded->size()] = L'\0';
        text = stored;
        length = decoded->size();
        return true;
    }

    WideDocument& m_document;
};

} // namespace

bool Parse(const std::string& utf8, WideDocument& document)
{
    document.clear();
    const std::size_t start = utf8.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    const std::string text = utf8.substr(start);
    if (!Utf8Codec::Decode(text) || !WithinLimits(text))
        return false;
    try {
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        rapidxml::xml_document<char> bytes;
        bytes.parse<rapidxml::parse_default>(buffer.data());
        if (bytes.first_node() && WideCopier(document).CopyChildren(bytes, document))
            return true;
    } catch (const std::exception&) {
    }
    document.clear();
    return false;
}

bool Parse(const std::wstring& text, WideDocument& document)
{
    const std::optional<std::string> utf8 = Utf8Codec::Encode(text);
    if (!utf8) {
        document.clear();
        return false;
    }
    return Parse(*utf8, document);
}

std::wstring ReadUtf8File(const std::wstring& path)
{
    const std::optional<std::string> utf8Path = Utf8Codec::Encode(path);
    if (!utf8Path)
        return {};
    const std::optional<std::vector<unsigned char>> bytes = RegularFile::Read(*utf8Path);
    if (!bytes)
        return {};
    return Utf8Codec::Decode(reinterpret_cast<const char*>(bytes->data()), bytes->size()).value_or(std::wstring());
}

std::wstring ReadLanguageFile(const std::wstring& path)
{
    return ExpectsEncryptedLanguageFiles() ? Encrypter::ReadAndDecryptFile(path) : ReadUtf8File(path);
}

std::wstring Value(const rapidxml::xml_base<wchar_t>* node)
{
    return node ? std::wstring(node->value(), node->value_size()) : std::wstring();
}

WideNode* FirstElement(const WideNode* parent, const wchar_t* name)
{
    for (WideNode* child = parent->first_node(name); child; child = child->next_sibling(name)) {
        if (child->type() == rapidxml::node_element)
            return child;
    }
    return nullptr;
}

WideNode* NextElement(const WideNode* node)
{
    for (WideNode* sibling = node->next_sibling(); sibling; sibling = sibling->next_sibling()) {
        if (sibling->type() == rapidxml::node_element)
            return sibling;
    }
    return nullptr;
}

} // namespace AUILib::Utf8Xml
