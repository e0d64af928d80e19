#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

namespace AUILib {

// One translated text; both texts keep & < > " as entities, so that they compare with and go into
// a form's raw text as they are.
struct TSMessage
{
    std::wstring source;
    std::wstring translation;
};

// Messages by context key (module + ";" + form file name), each context by line number.
class TSTranslationUnit
{
public:
    using Messages = std::map<std::int64_t, TSMessage>;

    // The first message for a line of a context stays.
    void AddMessageFromTS(std::wstring key, int line, TSMessage message);
    // Merges `other` with its contexts keyed under `module`.
    void AppendTsTranslationUnit(const TSTranslationUnit& other, const std::wstring& module);

    const Messages* Find(const std::wstring& key) const;
    std::size_t ContextCount() const { return m_contexts.size(); }
    void Clear() { m_contexts.clear(); }

private:
    std::unordered_map<std::wstring, Messages> m_contexts;
};

} // namespace AUILib
