#include "AUILibUtils.h"

#include "Utf8Xml.h"

#include <optional>

namespace AUILib::AUILibUtils {

namespace {

using Node = rapidxml::xml_node<wchar_t>;

std::optional<std::wstring> AttributeValue(const Node* element, const wchar_t* name)
{
    const auto* attribute = element ? element->first_attribute(name) : nullptr;
    return attribute ? std::optional<std::wstring>(Utf8Xml::Value(attribute)) : std::nullopt;
}

// "value" counts only among the attributes that follow "name".
std::optional<std::wstring> NamedValue(const Node* element)
{
    const auto* name = element ? element->first_attribute(L"name") : nullptr;
    const auto* value = name ? name->next_attribute(L"value") : nullptr;
    return value ? std::optional<std::wstring>(Utf8Xml::Value(value)) : std::nullopt;
}

} // namespace

bool GetPluginVersionInfo(std::wstring path, PluginVersionInfo& info)
{
    try {
        rapidxml::xml_document<wchar_t> document;
        if (!Utf8Xml::Parse(Utf8Xml::ReadUtf8File(path), document))
            return false;
        const Node* reader = Utf8Xml::FirstElement(&document, L"Reader");
        if (!reader)
            return false;
        const std::optional<std::wstring> language = AttributeValue(reader, L"language");
        const std::optional<std::wstring> version = AttributeValue(reader, L"version");
        const Node* versions = Utf8Xml::FirstElement(reader, L"Version");
        const std::optional<std::wstring> verDes = NamedValue(versions ? Utf8Xml::FirstElement(versions, L"VerDes") : nullptr);
        const std::optional<std::wstring> verLeg = NamedValue(versions ? Utf8Xml::FirstElement(versions, L"VerLeg") : nullptr);
        if (!verLeg && !language && !version && !verDes)
            return false;
        info.version = version.value_or(std::wstring());
        info.language = language.value_or(std::wstring());
        info.verDes = verDes.value_or(std::wstring());
        info.verLeg = verLeg.value_or(std::wstring());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace AUILib::AUILibUtils
