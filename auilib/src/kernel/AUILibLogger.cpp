#include "AUILibLogger.h"

#include "Utf8Codec.h"

namespace AUILib {

namespace {

const wchar_t* LabelOf(AUILibLogger::ErrorCode level)
{
    switch (level) {
    case AUILibLogger::Info:
        return L"Info: ";
    case AUILibLogger::Warning:
        return L"Warning: ";
    case AUILibLogger::Error:
        return L"Error: ";
    case AUILibLogger::FatalError:
        return L"Fatal Error: ";
    case AUILibLogger::Exception:
        return L"Exception: ";
    }
    return L"";
}

} // namespace

AUILibLogger& AUILibLogger::GetInstance()
{
    static AUILibLogger instance;
    return instance;
}

void AUILibLogger::Log(ErrorCode level, const std::wstring& text)
{
    std::wstring entry = text + L'\n';
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto first = m_entries.lower_bound(level);
    if (first != m_entries.end() && first->first == level && first->second == text)
        first->second.swap(entry);
    else
        m_entries.emplace(level, std::move(entry));
}

void AUILibLogger::LogException(const std::exception& exception)
{
    Log(Exception, Utf8Codec::DecodeLenient(exception.what()));
}

void AUILibLogger::WriteLog(std::wostream& out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& entry : m_entries)
        out << LabelOf(entry.first) << entry.second;
}

void AUILibLogger::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}

std::size_t AUILibLogger::GetLogCount()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.size();
}

} // namespace AUILib
