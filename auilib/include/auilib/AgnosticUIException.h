#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace AUILib {

// The library's one exception: misuse of a control, such as calling it after its widget is gone.
class AgnosticUIException : public std::exception
{
public:
    AgnosticUIException(const char* file, unsigned line, const char* message);

    const char* what() const noexcept override;

private:
    std::string m_file;
    std::string m_text;
    std::uint32_t m_line;
};

} // namespace AUILib
