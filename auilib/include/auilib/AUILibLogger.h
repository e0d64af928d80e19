#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <ostream>
#include <string>

namespace AUILib {

// The library's in-memory log, offered to its users: entries by level, written out grouped by level.
class AUILibLogger
{
public:
    enum ErrorCode : std::int32_t {
        Info = 0,
        Warning = 1,
        Error = 2,
        FatalError = 3,
        Exception = 4,
    };

    static AUILibLogger& GetInstance();

    // A text that equals the first entry of its level (newline included) replaces it; any other
    // text is added after the entries of its level.
    void Log(ErrorCode level, const std::wstring& text);
    void LogInfo(const std::wstring& text) { Log(Info, text); }
    void LogWarning(const std::wstring& text) { Log(Warning, text); }
    void LogError(const std::wstring& text) { Log(Error, text); }
    void LogFatalError(const std::wstring& text) { Log(FatalError, text); }
    void LogException(const std::wstring& text) { Log(Exception, text); }
    // The message is read as UTF-8; bytes that are not UTF-8 are taken as Latin-1.
    void LogException(const std::exception& exception);

    void WriteLog(std::wostream& out);
    void Clear();
    std::size_t GetLogCount();

private:
    AUILibLogger() = default;

    std::multimap<ErrorCode, std::wstring> m_entries;
    std::mutex m_mutex;
};

} // namespace AUILib
