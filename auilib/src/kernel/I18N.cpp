#include "I18N.h"

#include <cstdlib>

namespace AUILib {

namespace {

std::wstring BeforeFirstDot(const std::wstring& text)
{
    return text.substr(0, text.find(L'.'));
}

} // namespace

I18N& I18N::GetInstance()
{
    static I18N instance;
    return instance;
}

I18N::I18N()
    : locale(EnvironmentLocale())
    , language(LanguageOfEnvironmentLocale(locale))
{
}

std::wstring I18N::EnvironmentLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            std::wstring widened;
            for (const char* byte = value; *byte; ++byte)
                widened.push_back(static_cast<unsigned char>(*byte));
            return widened;
        }
    }
    return {};
}

std::wstring I18N::LanguageOfEnvironmentLocale(const std::wstring& locale)
{
    if (locale.empty() || locale == L"C" || locale == L"POSIX" || locale.rfind(L"C.", 0) == 0)
        return L"en-US";
    return BeforeFirstDot(locale);
}

bool I18N::SetLocale(const std::wstring& name)
{
    locale = name;
    Update();
    return true;
}

bool I18N::ChangeLanguage(const std::wstring& newLanguage, const std::wstring& codeset)
{
    locale = newLanguage + L"." + codeset;
    Update();
    return true;
}

void I18N::Update()
{
    language = BeforeFirstDot(locale);
}

} // namespace AUILib
