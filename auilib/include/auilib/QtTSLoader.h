#pragma once

#include "TSTranslationUnit.h"

#include <rapidxml/rapidxml.hpp>

#include <memory>
#include <string>
#include <utility>

namespace AUILib {

// Reads a module's Qt Linguist file into messages keyed by form file and line.
class QtTSLoader
{
public:
    using Result = std::pair<std::unique_ptr<TSTranslationUnit>, bool>;

    // (null, false) for a missing, unreadable, malformed or rejected file, or one for another
    // language than the current one.
    Result LoadTranslationUnit(const std::wstring& path, const std::wstring& module) const;
    Result ParseDoc(const rapidxml::xml_document<wchar_t>& doc, const std::wstring& module) const;

private:
    static Result ReadUnit(const rapidxml::xml_document<wchar_t>& doc, const std::wstring& module);
};

} // namespace AUILib
