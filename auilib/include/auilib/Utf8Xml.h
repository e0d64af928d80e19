#pragma once

#include <rapidxml/rapidxml.hpp>

#include <optional>
#include <string>

namespace AUILib::Utf8Xml {

// Real language and string files are four levels deep. The parser recurses once per level, so a
// deeper document is refused as malformed before it sees it.
constexpr int MaxNesting = 256;

// Parses UTF-8 text (a leading byte-order mark skipped) into `document`: the parse runs on the
// bytes, and the nodes and wide strings are then allocated in `document`. False for malformed
// XML, text that is not strict UTF-8 (also after entities are decoded) or nesting beyond
// MaxNesting; `document` is then empty.
bool Parse(const std::string& utf8, rapidxml::xml_document<wchar_t>& document);
bool Parse(const std::wstring& text, rapidxml::xml_document<wchar_t>& document);

// A plain UTF-8 file as text; empty when it is not a regular file, cannot be read or is not
// strict UTF-8.
std::wstring ReadUtf8File(const std::wstring& path);

// A language or string file in the form the configuration expects: enciphered or plain.
std::wstring ReadLanguageFile(const std::wstring& path);

// The text of an element or attribute as a wide string; empty for null.
std::wstring Value(const rapidxml::xml_base<wchar_t>* node);

// The first child element named `name`, skipping text between elements.
rapidxml::xml_node<wchar_t>* FirstElement(const rapidxml::xml_node<wchar_t>* parent, const wchar_t* name);
// The next sibling that is an element, whatever its name.
rapidxml::xml_node<wchar_t>* NextElement(const rapidxml::xml_node<wchar_t>* node);

} // namespace AUILib::Utf8Xml
