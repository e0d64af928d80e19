#pragma once

#include "TSTranslationUnit.h"
#include "TranslationStringTable.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace AUILib {

// The library's texts in the user's language: per module, its string files and its Qt Linguist
// translations, loaded on first use; and forms rewritten with their translated texts.
class Translator
{
public:
    static Translator& GetInstance();

    // The form with its translatable texts in the current language, lines joined with LF; empty
    // when the form has no translations.
    std::wstring TranslateUIFile(const std::wstring& formPath);
    // The key's text in the module's current-language string file, or empty. The language
    // argument selects nothing: the configuration's current language is used.
    std::wstring GetText(const std::wstring& module, const std::wstring& key, const std::wstring& language);
    std::wstring GetDefaultText(const std::wstring& module, const std::wstring& key);
    // Merges the second module's files into the first's.
    void AppendStrings(const std::wstring& module, const std::wstring& appended);
    // Forgets everything loaded; the next use loads what the current language needs.
    void ResetStringsTable();
    // The folder between "auiresources/" and "/ui" of a form path.
    std::wstring FindModule(const std::wstring& path) const;
    // Joins each <string> element that spans lines into one line.
    void CollapseStringBlocks(std::vector<std::wstring>& lines) const;
    std::wstring ReadTranslationFile(const std::wstring& path) const;

    void LoadModule(const std::wstring& module);
    void LoadStrings(const std::wstring& module);
    void LoadStringsToMemory(const std::wstring& module);
    void LoadToMemory(const std::wstring& module);
    void LoadAppendStringsToMemory(const std::wstring& module);

private:
    // What identifies a version of a merged Linguist file.
    struct FileStamp
    {
        std::int64_t size = -1;
        std::int64_t modified = -1;
        bool operator==(const FileStamp& other) const { return size == other.size && modified == other.modified; }
    };

    Translator();
    static FileStamp StampOf(const std::wstring& path);
    // Merges a module's Linguist file under `host`. A file merged before and unchanged since is not
    // parsed again: merging it again would add nothing.
    void MergeTranslationFile(const std::wstring& path, const std::wstring& host);

    TranslationStringTable m_defaultStrings;
    TranslationStringTable m_currentStrings;
    TSTranslationUnit m_translations;
    std::unordered_map<std::wstring, bool> m_modules;
    std::unordered_map<std::wstring, std::unordered_map<std::wstring, bool>> m_appendedModules;
    std::map<std::pair<std::wstring, std::wstring>, FileStamp> m_mergedFiles;
};

// A translatable text, resolved once when it is made: the module's current-language text, else
// its default-language text, else the fallback.
class TrString
{
public:
    TrString(const std::wstring& module, const std::wstring& key, const std::wstring& fallback);

    operator std::wstring() const;

private:
    std::wstring m_text;
    std::wstring m_fallback;
};

} // namespace AUILib
