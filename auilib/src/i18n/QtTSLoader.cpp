#include "QtTSLoader.h"

#include "AUILibConfig.h"
#include "AUILibUtils.h"
#include "Utf8Xml.h"

#include <vector>

namespace AUILib {

namespace {

using Node = rapidxml::xml_node<wchar_t>;

struct Location
{
    int line;
    std::wstring file;
};

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (std::size_t position = 0; (position = text.find(from, position)) != std::wstring::npos; position += to.size())
        text.replace(position, from.size(), to);
}

// The ampersand first, so that the other entities are not escaped again; the apostrophe stays.
std::wstring Escaped(std::wstring text)
{
    ReplaceAll(text, L"&", L"&amp;");
    ReplaceAll(text, L"<", L"&lt;");
    ReplaceAll(text, L">", L"&gt;");
    ReplaceAll(text, L"\"", L"&quot;");
    return text;
}

// A location without a file or a line is skipped; a line that is not a number throws and so
// rejects the file.
void ReadLocation(const Node& location, std::vector<Location>& locations)
{
    const auto* file = location.first_attribute(L"filename");
    const auto* line = location.first_attribute(L"line");
    const int number = line ? std::stoi(Utf8Xml::Value(line)) : 0;
    if (!file || !line)
        return;
    std::wstring name = Utf8Xml::Value(file);
    const std::size_t slash = name.rfind(L'/');
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    locations.push_back({number, std::move(name)});
}

void ReadMessage(const Node& message, const std::wstring& module, TSTranslationUnit& unit)
{
    TSMessage text;
    std::vector<Location> locations;
    for (const Node* child = message.first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        const std::wstring name(child->name(), child->name_size());
        if (name == L"location") {
            ReadLocation(*child, locations);
            continue;
        }
        if (name == L"source")
            text.source = Utf8Xml::Value(child);
        else if (name == L"translation")
            text.translation = Utf8Xml::Value(child);
        if (text.translation.empty())
            text.translation = text.source;
    }
    text.translation = Escaped(text.translation);
    text.source = Escaped(text.source);
    AUILibUtils::Trim(text.source);
    AUILibUtils::CleanCRLFInside(text.source);
    for (const Location& location : locations)
        unit.AddMessageFromTS(module + L";" + location.file, location.line, text);
}

} // namespace

QtTSLoader::Result QtTSLoader::LoadTranslationUnit(const std::wstring& path, const std::wstring& module) const
{
    try {
        rapidxml::xml_document<wchar_t> document;
        if (!Utf8Xml::Parse(Utf8Xml::ReadLanguageFile(path), document))
            return {nullptr, false};
        return ParseDoc(document, module);
    } catch (const std::exception&) {
        return {nullptr, false};
    }
}

QtTSLoader::Result QtTSLoader::ParseDoc(const rapidxml::xml_document<wchar_t>& doc, const std::wstring& module) const
{
    try {
        return ReadUnit(doc, module);
    } catch (const std::exception&) {
        return {nullptr, false};
    }
}

QtTSLoader::Result QtTSLoader::ReadUnit(const rapidxml::xml_document<wchar_t>& doc, const std::wstring& module)
{
    const Node* ts = Utf8Xml::FirstElement(&doc, L"TS");
    if (!ts)
        return {nullptr, false};
    const auto* language = ts->first_attribute(L"language");
    if (!language || Utf8Xml::Value(language) != GetCurrentLanguage())
        return {nullptr, false};
    auto unit = std::make_unique<TSTranslationUnit>();
    for (const Node* context = Utf8Xml::FirstElement(ts, L"context"); context; context = Utf8Xml::NextElement(context)) {
        for (const Node* message = Utf8Xml::FirstElement(context, L"message"); message;
             message = Utf8Xml::NextElement(message))
            ReadMessage(*message, module, *unit);
    }
    return {std::move(unit), true};
}

} // namespace AUILib
