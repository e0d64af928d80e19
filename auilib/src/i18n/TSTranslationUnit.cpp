#include "TSTranslationUnit.h"

#include "AUILibUtils.h"

namespace AUILib {

void TSTranslationUnit::AddMessageFromTS(std::wstring key, int line, TSMessage message)
{
    m_contexts[std::move(key)].emplace(line, std::move(message));
}

void TSTranslationUnit::AppendTsTranslationUnit(const TSTranslationUnit& other, const std::wstring& module)
{
    for (const auto& [key, messages] : other.m_contexts) {
        const std::vector<std::wstring> parts = AUILibUtils::SplitWString(key, L';');
        const std::wstring& form = parts.size() >= 2 ? parts[1] : key;
        for (const auto& [line, message] : messages)
            AddMessageFromTS(module + L";" + form, static_cast<int>(line), message);
    }
}

const TSTranslationUnit::Messages* TSTranslationUnit::Find(const std::wstring& key) const
{
    const auto found = m_contexts.find(key);
    return found == m_contexts.end() ? nullptr : &found->second;
}

} // namespace AUILib
