#pragma once

#include <rapidxml/rapidxml.hpp>

#include <optional>
#include <string>
#include <unordered_map>

namespace AUILib {

// The texts of string files, by file path and key.
class TranslationStringTable
{
public:
    using Entries = std::unordered_map<std::wstring, std::wstring>;

    // Reads the file once; a file that gave nothing is tried again on the next call.
    void LoadStringTable(const std::wstring& path);
    // Merges the file at `appendPath` into the entries of `path`.
    void AppendStringTable(const std::wstring& path, const std::wstring& appendPath);
    // Reads one file into `entries`; what was taken before a failure stays.
    void AppendStringTable(const std::wstring& path, Entries& entries);
    // The entries (the first text of a key wins) and the font of a parsed string file.
    void ParseDocAndSaveStringTable(const rapidxml::xml_document<wchar_t>& doc, Entries& entries);
    // Found or not: an empty text is found.
    std::optional<std::wstring> GetText(const std::wstring& path, const std::wstring& key) const;
    void Clear() { m_tables.clear(); }

private:
    std::unordered_map<std::wstring, Entries> m_tables;
};

} // namespace AUILib
