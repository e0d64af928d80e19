#include "AUILibConfig.h"

#include "AUILibLogger.h"
#include "I18N.h"
#include "Translator.h"
#include "Utf8Codec.h"
#include "WideText.h"

#include <QCoreApplication>
#include <QLocale>

#include <sstream>
#include <stdexcept>

// Exported by Qt Gui without a declaration in its public headers.
void qt_set_sequence_auto_mnemonic(bool enable);

namespace AUILib {

namespace {

std::unique_ptr<AUILibConfig> g_config;

AUILibConfig& Config()
{
    if (!g_config)
        g_config = std::make_unique<AUILibConfig>();
    return *g_config;
}

const wchar_t* const kCommaDecimalLanguages[] = {
    L"es-419", L"pt-BR", L"nl-NL", L"pl-PL", L"de-DE", L"fr-FR", L"ru-RU", L"da-DK", L"fi-FI", L"sv-SE", L"nb-NO",
    L"it-IT",
};

bool UsesDecimalComma(const std::wstring& language)
{
    for (const wchar_t* candidate : kCommaDecimalLanguages) {
        if (language == candidate)
            return true;
    }
    return false;
}

// Language tags name folders and files with a hyphen: only the first underscore is replaced.
std::wstring FileLanguage(std::wstring language)
{
    const std::size_t underscore = language.find(L'_');
    if (underscore != std::wstring::npos)
        language[underscore] = L'-';
    return language;
}

std::wstring EncipheredSuffix()
{
    return Config().encryptedLanguageFiles ? L".zr" : L"";
}

std::wstring ModulePrefix(const std::wstring& module, wchar_t separator)
{
    return module.empty() ? std::wstring() : module + separator;
}

void StoreRadius(std::int32_t& field, int radius)
{
    if (radius >= 0)
        field = radius;
}

// Characters UTF-8 cannot carry become U+FFFD, so that one bad entry does not lose the file.
std::string LogTextAsUtf8(std::wstring text)
{
    for (wchar_t& character : text) {
        const auto value = static_cast<std::uint32_t>(character);
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            character = 0xFFFD;
    }
    return Utf8Codec::Encode(text).value_or(std::string());
}

} // namespace

AUILibConfig::AUILibConfig()
{
    RegisterAUILibControls();
    workingDirectory = ToWString(QCoreApplication::applicationDirPath());
    const wchar_t separator = workingDirectory.find(L'/') != std::wstring::npos ? L'/' : L'\\';
    QLocale::setDefault(QLocale(QStringLiteral("en-US")));
    qt_set_sequence_auto_mnemonic(true);
    workingDirectory += separator;
    currentLanguage = I18N::GetInstance().language;
    fontInfo = std::make_shared<logFont>();
    fontInfo->lfHeight = 90;
    fontInfo->lfFaceName = L"Tahoma";
    fontInfo->lfCharSet = 0;
}

void SetWorkingDirPath(const std::wstring& path)
{
    Config().workingDirectory = path;
}

std::wstring GetWorkingDirPath()
{
    return Config().workingDirectory;
}

std::wstring GetCurrentLanguage()
{
    return Config().currentLanguage;
}

std::wstring GetDefaultLanguage()
{
    return L"en-US";
}

void SetCurrentLanguage(const std::wstring& language, bool encryptedFiles)
{
    AUILibConfig& config = Config();
    if (language == config.currentLanguage)
        return;
    config.currentLanguage = language;
    if (language == L"es-419" || language == L"es-MX")
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::AnyCountry));
    else
        QLocale::setDefault(QLocale(ToQString(language)));
    config.decimalChar = UsesDecimalComma(language) ? ',' : '.';
    config.encryptedLanguageFiles = encryptedFiles;
    I18N::GetInstance().ChangeLanguage(language, L"UTF-8");
    config.readingDirection = language == L"ar-SA" ? ReadingDirection::RightToLeft : ReadingDirection::LeftToRight;
    Translator::GetInstance().ResetStringsTable();
}

bool ExpectsEncryptedLanguageFiles()
{
    return Config().encryptedLanguageFiles;
}

void SetReadingDirection(ReadingDirection direction)
{
    Config().readingDirection = direction;
}

ReadingDirection GetReadingDirection()
{
    return Config().readingDirection;
}

void SetForcedDecimalChar(char decimal)
{
    Config().decimalChar = decimal;
}

char GetDecimalChar()
{
    return Config().decimalChar;
}

void SetLayoutRTL(bool rtl)
{
    Config().layoutRTL = rtl;
}

bool GetLayoutRTL()
{
    return Config().layoutRTL;
}

SkinManager* GetGlobalSkinManager()
{
    return &Config().globalSkinManager;
}

SkinManager* GetXMLSkinManager()
{
    return &Config().xmlSkinManager;
}

SkinMode GetGlobalSkinMode()
{
    return Config().globalSkinManager.skinMode;
}

bool SetGlobalSkinMode(SkinMode mode)
{
    return Config().globalSkinManager.LoadSkin(mode, true, false);
}

bool SetGlobalCustomSkin(const SkinManager& skin)
{
    return Config().globalSkinManager.SetCustomSkin(skin);
}

void InitSkinColorByMap(SkinMap map, const std::map<std::wstring, unsigned int>& colours)
{
    Config().xmlSkinManager.InitSkinColorByMap(map, colours);
}

std::shared_ptr<logFont> GetFontInfo()
{
    return Config().fontInfo;
}

void SetComboboxRadius(int radius)
{
    StoreRadius(Config().comboboxRadius, radius);
}

void SetCheckboxRadius(int radius)
{
    StoreRadius(Config().checkboxRadius, radius);
}

void SetEditRadius(int radius)
{
    StoreRadius(Config().editRadius, radius);
}

void SetContextMenuRadius(int radius)
{
    StoreRadius(Config().contextMenuRadius, radius);
}

int GetComboboxRadius()
{
    return Config().comboboxRadius;
}

int GetCheckboxRadius()
{
    return Config().checkboxRadius;
}

int GetEditRadius()
{
    return Config().editRadius;
}

int GetContextMenuRadius()
{
    return Config().contextMenuRadius;
}

std::wstring GetTranslationDirPath(bool useDefault)
{
    const std::wstring language = useDefault ? GetDefaultLanguage() : GetCurrentLanguage();
    return GetWorkingDirPath() + L"lang/" + FileLanguage(language) + L"/";
}

std::wstring GetTranslationFilePath(const std::wstring& module)
{
    return GetTranslationDirPath(false) + ModulePrefix(module, L'_') + FileLanguage(GetCurrentLanguage()) + L".ts"
        + EncipheredSuffix();
}

std::wstring GetStringsFilePath(const std::wstring& module, bool useDefault)
{
    const std::wstring language = useDefault ? GetDefaultLanguage() : GetCurrentLanguage();
    return GetTranslationDirPath(useDefault) + ModulePrefix(module, L'_') + L"strings_" + FileLanguage(language)
        + L".xml" + EncipheredSuffix();
}

std::wstring GetUiDirPath(const std::wstring& module)
{
    return GetWorkingDirPath() + L"auiresources/" + ModulePrefix(module, L'/') + L"ui/";
}

std::wstring GetImageDirPath(const std::wstring& module)
{
    return GetWorkingDirPath() + L"auiresources/" + ModulePrefix(module, L'/') + L"img/";
}

std::string WStringToUtf8(const std::wstring& text)
{
    std::optional<std::string> bytes = Utf8Codec::Encode(text);
    if (!bytes)
        throw std::range_error("wstring_convert: to_bytes error");
    return std::move(*bytes);
}

void WriteLogToFile(std::wofstream& file)
{
    if (!file.good() || !file.is_open())
        return;
    try {
        AUILibLogger::GetInstance().WriteLog(file);
        file.close();
    } catch (...) {
        // A text the stream's locale cannot convert: the failure shows in the stream's state.
        try {
            file.setstate(std::ios::failbit);
        } catch (...) {
        }
    }
}

void WriteLogToFile(const std::string& path)
{
    std::wostringstream text;
    AUILibLogger::GetInstance().WriteLog(text);
    std::ofstream file(path, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return;
    file << LogTextAsUtf8(text.str());
}

void WriteLogToFile(const std::wstring& path)
{
    WriteLogToFile(WStringToUtf8(path));
}

} // namespace AUILib
