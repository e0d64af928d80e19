#include "TranslationStringTable.h"

#include "AUILibConfig.h"
#include "Utf8Xml.h"

namespace AUILib {

namespace {

using Node = rapidxml::xml_node<wchar_t>;

bool IsOfKnownLanguage(const Node& root)
{
    const auto* language = root.first_attribute(L"language");
    if (!language)
        return false;
    const std::wstring value = Utf8Xml::Value(language);
    return value == GetCurrentLanguage() || value == GetDefaultLanguage();
}

void ReadEntries(const Node& table, TranslationStringTable::Entries& entries)
{
    for (const Node* entry = Utf8Xml::FirstElement(&table, L"string"); entry; entry = Utf8Xml::NextElement(entry)) {
        if (const auto* id = entry->first_attribute(L"id"))
            entries.emplace(Utf8Xml::Value(id), Utf8Xml::Value(entry));
    }
}

// Changes the library's shared font record; a Height that is not a number throws.
void ReadFont(const Node& font)
{
    const Node* preFont = Utf8Xml::FirstElement(&font, L"PreFont");
    if (!preFont)
        return;
    const std::shared_ptr<logFont> record = GetFontInfo();
    for (const auto* attribute = preFont->first_attribute(); attribute; attribute = attribute->next_attribute()) {
        const std::wstring name(attribute->name(), attribute->name_size());
        if (name == L"FaceName")
            record->lfFaceName = Utf8Xml::Value(attribute);
        else if (name == L"Height")
            record->lfHeight = std::stoi(Utf8Xml::Value(attribute));
        else if (name == L"Charset")
            record->lfCharSet = static_cast<std::uint8_t>(std::stoi(Utf8Xml::Value(attribute)) & 0xFF);
    }
}

} // namespace

void TranslationStringTable::LoadStringTable(const std::wstring& path)
{
    if (m_tables.count(path))
        return;
    Entries entries;
    AppendStringTable(path, entries);
    if (!entries.empty())
        m_tables.emplace(path, std::move(entries));
}

void TranslationStringTable::AppendStringTable(const std::wstring& path, const std::wstring& appendPath)
{
    AppendStringTable(appendPath, m_tables[path]);
}

void TranslationStringTable::AppendStringTable(const std::wstring& path, Entries& entries)
{
    try {
        rapidxml::xml_document<wchar_t> document;
        if (Utf8Xml::Parse(Utf8Xml::ReadLanguageFile(path), document))
            ParseDocAndSaveStringTable(document, entries);
    } catch (const std::exception&) {
    }
}

void TranslationStringTable::ParseDocAndSaveStringTable(const rapidxml::xml_document<wchar_t>& doc, Entries& entries)
{
    const Node* root = doc.first_node();
    while (root && root->type() != rapidxml::node_element)
        root = root->next_sibling();
    if (!root || !IsOfKnownLanguage(*root))
        return;
    const Node* font = Utf8Xml::FirstElement(root, L"Font");
    const Node* table = Utf8Xml::FirstElement(root, L"StringTable");
    if (!table)
        return;
    ReadEntries(*table, entries);
    if (!font)
        return;
    try {
        ReadFont(*font);
    } catch (const std::exception&) {
        // A number that does not parse ends the file here: its entries are already taken.
    }
}

std::optional<std::wstring> TranslationStringTable::GetText(const std::wstring& path, const std::wstring& key) const
{
    const auto table = m_tables.find(path);
    if (table == m_tables.end())
        return std::nullopt;
    const auto text = table->second.find(key);
    if (text == table->second.end())
        return std::nullopt;
    return text->second;
}

} // namespace AUILib
