#include "Translator.h"

#include "AUILibConfig.h"
#include "AUILibUtils.h"
#include "Encrypter.h"
#include "I18N.h"
#include "QtTSLoader.h"
#include "Utf8Codec.h"
#include "Utf8Xml.h"

#include <sys/stat.h>

#include <unordered_map>

namespace AUILib {

namespace {

const wchar_t* const kWhitespace = L" \t\r\n";

bool IsWhitespace(wchar_t character)
{
    return character == L' ' || character == L'\t' || character == L'\r' || character == L'\n';
}

bool Contains(const std::wstring& text, const wchar_t* part)
{
    return text.find(part) != std::wstring::npos;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += L'\n';
        text += lines[i];
    }
    return text;
}

// Translation keys name a form by its file name less the last three characters ("X.ui.zr" is "X.ui").
std::wstring FormStem(const std::wstring& path)
{
    const wchar_t separator = Contains(path, L"/") ? L'/' : L'\\';
    const std::size_t last = path.rfind(separator);
    const std::wstring name = last == std::wstring::npos ? path : path.substr(last + 1);
    return name.size() < 3 ? name : name.substr(0, name.size() - 3);
}

// The lowest line's message for every source of a context.
std::unordered_map<std::wstring, const TSMessage*> MessagesBySource(const TSTranslationUnit::Messages& messages)
{
    std::unordered_map<std::wstring, const TSMessage*> bySource;
    bySource.reserve(messages.size());
    for (const auto& entry : messages)
        bySource.emplace(entry.second.source, &entry.second);
    return bySource;
}

// The message that replaces a form line, or null to keep it.
const TSMessage* MessageForLine(const std::wstring& line, std::int64_t lineNumber,
                                const TSTranslationUnit::Messages& messages,
                                const std::unordered_map<std::wstring, const TSMessage*>& bySource)
{
    const std::size_t closing = line.find(L"</string");
    if (closing == std::wstring::npos)
        return nullptr;
    const std::size_t headEnd = line.find(L'>');
    const std::size_t textStart = headEnd == std::wstring::npos ? 0 : headEnd + 1;
    if (Contains(line.substr(0, textStart), L"notr=\"true\""))
        return nullptr;
    const std::wstring text = textStart <= closing ? line.substr(textStart, closing - textStart) : std::wstring();
    const auto bySourceText = bySource.find(text);
    if (bySourceText != bySource.end())
        return bySourceText->second;
    const auto byLine = messages.find(lineNumber);
    return byLine == messages.end() ? nullptr : &byLine->second;
}

} // namespace

Translator& Translator::GetInstance()
{
    static Translator instance;
    return instance;
}

Translator::Translator() = default;

void Translator::LoadModule(const std::wstring& module)
{
    m_modules.emplace(L"", false);
    m_modules.emplace(module, false);
}

void Translator::LoadStrings(const std::wstring& module)
{
    m_modules[L""] = false;
    m_modules[module] = false;
}

void Translator::LoadStringsToMemory(const std::wstring& module)
{
    LoadToMemory(L"");
    LoadToMemory(module);
    LoadAppendStringsToMemory(module);
}

void Translator::LoadToMemory(const std::wstring& module)
{
    const auto entry = m_modules.find(module);
    if (entry == m_modules.end() || entry->second)
        return;
    m_currentStrings.LoadStringTable(GetStringsFilePath(module, false));
    m_defaultStrings.LoadStringTable(GetStringsFilePath(module, true));
    if (GetCurrentLanguage() != L"en-US")
        MergeTranslationFile(GetTranslationFilePath(module), module);
    m_modules[module] = true;
}

void Translator::LoadAppendStringsToMemory(const std::wstring& module)
{
    const auto host = m_appendedModules.find(module);
    if (host == m_appendedModules.end())
        return;
    for (auto& [appended, loaded] : host->second) {
        if (loaded)
            continue;
        loaded = true;
        m_currentStrings.AppendStringTable(GetStringsFilePath(module, false), GetStringsFilePath(appended, false));
        m_defaultStrings.AppendStringTable(GetStringsFilePath(module, true), GetStringsFilePath(appended, true));
        MergeTranslationFile(GetTranslationFilePath(appended), module);
    }
}

Translator::FileStamp Translator::StampOf(const std::wstring& path)
{
    Translator::FileStamp stamp;
    const std::optional<std::string> utf8 = Utf8Codec::Encode(path);
    struct stat status {};
    if (utf8 && ::stat(utf8->c_str(), &status) == 0) {
        stamp.size = status.st_size;
        stamp.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    }
    return stamp;
}

void Translator::MergeTranslationFile(const std::wstring& path, const std::wstring& host)
{
    const FileStamp stamp = StampOf(path);
    if (stamp.size < 0)
        return;
    const auto key = std::make_pair(path, host);
    const auto merged = m_mergedFiles.find(key);
    if (merged != m_mergedFiles.end() && merged->second == stamp)
        return;
    QtTSLoader::Result unit = QtTSLoader().LoadTranslationUnit(path, host);
    if (!unit.first)
        return;
    m_translations.AppendTsTranslationUnit(*unit.first, host);
    m_mergedFiles[key] = stamp;
}

void Translator::AppendStrings(const std::wstring& module, const std::wstring& appended)
{
    m_appendedModules[module].emplace(appended, false);
}

void Translator::ResetStringsTable()
{
    m_currentStrings.Clear();
    m_defaultStrings.Clear();
    m_translations.Clear();
    m_modules.clear();
    m_appendedModules.clear();
    m_mergedFiles.clear();
}

std::wstring Translator::GetText(const std::wstring& module, const std::wstring& key, const std::wstring&)
{
    LoadStrings(module);
    LoadStringsToMemory(module);
    return m_currentStrings.GetText(GetStringsFilePath(module, false), key).value_or(std::wstring());
}

std::wstring Translator::GetDefaultText(const std::wstring& module, const std::wstring& key)
{
    return m_defaultStrings.GetText(GetStringsFilePath(module, true), key).value_or(std::wstring());
}

std::wstring Translator::FindModule(const std::wstring& path) const
{
    static const std::wstring marker = L"auiresources/";
    const std::size_t start = path.find(marker);
    if (start == std::wstring::npos)
        return {};
    const std::size_t afterMarker = start + marker.size();
    const std::size_t end = path.find(L"/ui", afterMarker);
    if (end == std::wstring::npos)
        return {};
    return path.substr(afterMarker, end - afterMarker);
}

void Translator::CollapseStringBlocks(std::vector<std::wstring>& lines) const
{
    std::vector<std::wstring> collapsed;
    std::wstring pending;
    bool open = false;
    for (const std::wstring& line : lines) {
        if (!open) {
            if (!Contains(line, L"<string>") || Contains(line, L"</string>")) {
                collapsed.push_back(line);
                continue;
            }
            pending = line.substr(0, line.find_last_not_of(kWhitespace) + 1);
            open = true;
            continue;
        }
        std::wstring part = line;
        AUILibUtils::Trim(part);
        pending += L' ';
        pending += part;
        const std::size_t closing = pending.find(L"</string>");
        if (closing == std::wstring::npos)
            continue;
        std::size_t keep = closing;
        while (keep > 0 && IsWhitespace(pending[keep - 1]))
            --keep;
        pending.erase(keep, closing - keep);
        collapsed.push_back(pending);
        pending.clear();
        open = false;
    }
    if (!pending.empty())
        collapsed.push_back(pending);
    lines.swap(collapsed);
}

std::wstring Translator::ReadTranslationFile(const std::wstring& path) const
{
    return Utf8Xml::ReadLanguageFile(path);
}

std::wstring Translator::TranslateUIFile(const std::wstring& formPath)
{
    std::vector<std::wstring> lines = SplitLines(Encrypter::ReadAndDecryptFile(formPath));
    CollapseStringBlocks(lines);
    const std::wstring module = FindModule(formPath);
    LoadModule(module);
    LoadStringsToMemory(module);

    const std::wstring stem = FormStem(formPath);
    const TSTranslationUnit::Messages* messages = m_translations.Find(module + L";" + stem);
    if (!messages)
        messages = m_translations.Find(L";" + stem);
    if (!messages)
        return {};

    const auto bySource = MessagesBySource(*messages);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (const TSMessage* message = MessageForLine(lines[i], static_cast<std::int64_t>(i) + 1, *messages, bySource))
            lines[i] = L"<string>" + message->translation + L"</string>";
    }
    // The lines go back together with the line feed the split took out: text kept in several
    // lines (rich text, untranslatable blocks) keeps its breaks.
    return JoinLines(lines);
}

TrString::TrString(const std::wstring& module, const std::wstring& key, const std::wstring& fallback)
    : m_text(Translator::GetInstance().GetText(module, key, I18N::GetInstance().language))
    , m_fallback(fallback)
{
    if (m_text.empty())
        m_text = Translator::GetInstance().GetDefaultText(module, key);
}

TrString::operator std::wstring() const
{
    return m_text.empty() ? m_fallback : m_text;
}

} // namespace AUILib
