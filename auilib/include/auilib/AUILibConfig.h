#pragma once

#include "SkinManager.h"

#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace AUILib {

enum class ReadingDirection : std::int32_t {
    LeftToRight = 0,
    RightToLeft = 1,
};

// Font information laid out like the Windows LOGFONTW record; the library uses the height, the
// character set and the face name.
struct logFont
{
    std::int64_t lfHeight = 0;
    std::int64_t lfWidth = 0;
    std::int64_t lfEscapement = 0;
    std::int64_t lfOrientation = 0;
    std::int64_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::wstring lfFaceName;
};

// The library's process-wide settings. It is never handed out: the free functions below read and
// write it, and the first of them to be called makes it (and with it the object factory's table).
class AUILibConfig
{
public:
    AUILibConfig();
    AUILibConfig(const AUILibConfig&) = delete;
    AUILibConfig& operator=(const AUILibConfig&) = delete;

    // Fills the object factory with a creator for every class name a form may use.
    static void RegisterAUILibControls();

    std::wstring workingDirectory;
    std::wstring currentLanguage;
    std::shared_ptr<logFont> fontInfo;
    char decimalChar = '.';
    bool layoutRTL = false;
    ReadingDirection readingDirection = ReadingDirection::LeftToRight;
    SkinManager globalSkinManager{SkinMode::Default};
    SkinManager xmlSkinManager{SkinMode::Default};
    bool encryptedLanguageFiles = true;
    std::int32_t comboboxRadius = 0;
    std::int32_t checkboxRadius = 0;
    std::int32_t editRadius = 0;
    std::int32_t contextMenuRadius = 10;
};

void SetWorkingDirPath(const std::wstring& path);
std::wstring GetWorkingDirPath();
std::wstring GetCurrentLanguage();
std::wstring GetDefaultLanguage();
void SetCurrentLanguage(const std::wstring& language, bool encryptedFiles);
bool ExpectsEncryptedLanguageFiles();
void SetReadingDirection(ReadingDirection direction);
ReadingDirection GetReadingDirection();
void SetForcedDecimalChar(char decimal);
char GetDecimalChar();
void SetLayoutRTL(bool rtl);
bool GetLayoutRTL();
SkinManager* GetGlobalSkinManager();
SkinManager* GetXMLSkinManager();
SkinMode GetGlobalSkinMode();
bool SetGlobalSkinMode(SkinMode mode);
bool SetGlobalCustomSkin(const SkinManager& skin);
void InitSkinColorByMap(SkinMap map, const std::map<std::wstring, unsigned int>& colours);
std::shared_ptr<logFont> GetFontInfo();
void SetComboboxRadius(int radius);
void SetCheckboxRadius(int radius);
void SetEditRadius(int radius);
void SetContextMenuRadius(int radius);
int GetComboboxRadius();
int GetCheckboxRadius();
int GetEditRadius();
int GetContextMenuRadius();

// Paths under the working directory, always with "/" inside; ".zr" ends a language file's name
// when enciphered files are expected.
std::wstring GetTranslationDirPath(bool useDefault);
std::wstring GetTranslationFilePath(const std::wstring& module);
std::wstring GetStringsFilePath(const std::wstring& module, bool useDefault);
std::wstring GetUiDirPath(const std::wstring& module);
std::wstring GetImageDirPath(const std::wstring& module);

// Throws std::range_error("wstring_convert: to_bytes error") for a surrogate or a value above U+10FFFF.
std::string WStringToUtf8(const std::wstring& text);

// The library log (AUILibLogger) into a file or stream. The path forms write UTF-8 and report
// nothing; the stream form closes the stream and shows a failure in its state.
void WriteLogToFile(std::wofstream& file);
void WriteLogToFile(const std::string& path);
void WriteLogToFile(const std::wstring& path);

} // namespace AUILib
