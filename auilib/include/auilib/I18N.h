#pragma once

#include <string>

namespace AUILib {

// The process's locale name and the language taken from it: the library's first guess of the
// user's language.
class I18N
{
public:
    static I18N& GetInstance();

    bool SetLocale(const std::wstring& locale);
    // The locale becomes language + "." + codeset.
    bool ChangeLanguage(const std::wstring& language, const std::wstring& codeset);
    void Update();

    // The locale of messages as the environment names it (LC_ALL, LC_MESSAGES, LANG, the first
    // that is set and not empty); nothing need be installed for it.
    static std::wstring EnvironmentLocale();
    // The language of a locale name: "en-US" for the POSIX locale, else the name up to its first '.'.
    static std::wstring LanguageOfEnvironmentLocale(const std::wstring& locale);

    std::wstring locale;
    std::wstring language;

private:
    I18N();
};

} // namespace AUILib
