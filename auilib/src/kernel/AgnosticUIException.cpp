#include "AgnosticUIException.h"

namespace AUILib {

AgnosticUIException::AgnosticUIException(const char* file, unsigned line, const char* message)
    : m_file(file ? file : "")
    , m_line(line)
{
    const std::string text = message ? message : "";
    m_text = m_file.empty() ? text : m_file + ": " + std::to_string(m_line) + " \"" + text;
}

const char* AgnosticUIException::what() const noexcept
{
    return m_text.c_str();
}

} // namespace AUILib
