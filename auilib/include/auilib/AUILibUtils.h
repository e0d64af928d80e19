#pragma once

#include "FontData.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace AUILib {

enum class CheckBoxStates : std::int32_t {
    Unchecked = 0,
    Checked = 1,
    PartiallyChecked = 2,
};

enum class ScalePicture : std::int32_t {
    Keep = 1,
    FitWidth = 2,
    FitHeight = 3,
    Stretch = 4,
};

enum class ImageTypes : std::int32_t {
    Unknown = 0,
    BMP = 1,
    GIF = 2,
    JPG = 3,
    PNG = 4,
    ICO = 6,
    CUR = 7,
};

enum class CursorTypes : std::int32_t {
    Wait = 2,
    IBeam = 3,
    Cross = 4,
    UpArrow = 5,
    SizeAll = 6,
    Arrow = 7,
    SizeFDiag = 8,
    SizeBDiag = 9,
    SizeHor = 10,
    SizeVer = 11,
    Move = 12,
    Forbidden = 13,
    OpenHand = 14,
};

struct OsInfo
{
    std::int32_t platform = 0; // 1 stands for Windows
    std::int32_t majorVersion = 0;
    std::int32_t minorVersion = 0;
    std::int32_t buildNumber = 0;
};

struct PluginVersionInfo
{
    std::wstring version;
    std::wstring language;
    std::wstring verDes;
    std::wstring verLeg;
};

// The library's window handle is the widget pointer itself.
using WindowHandle = QWidget*;

// Appends the installed font families; false when the font database lists none.
bool EnumFonts(std::vector<FontData>& fonts, bool skipSpecialFonts);
// Orders by face name, code point by code point.
bool compareFontData(FontData first, FontData second);

namespace AUILibUtils {

double GetScaleFactor();
CheckBoxStates QtChBStateToChBState(Qt::CheckState state);
Qt::CheckState ChBStateToQtChBState(CheckBoxStates state);
QPixmap ScaleBitmap(QPixmap pixmap, ScalePicture mode, QSize size);
// The pixmap of the wanted width, else the largest narrower one, else the first listed.
QPixmap SelectIcon(QIcon icon, int width);
// "Qt::AlignmentFlag::AlignLeft | Qt::AlignTop" as "Qt::AlignLeft|Qt::AlignTop", repeats dropped.
QString NormalizeQtEnum(const QString& text);
std::vector<std::wstring> SplitWString(const std::wstring& text, wchar_t delimiter);
bool IsSystemHighContrastMode();
ImageTypes WstrToImageType(std::wstring extension);
std::string ImageTypeToStr(ImageTypes type);
void Trim(std::wstring& text);
// Every run of CR and LF becomes one space.
void CleanCRLFInside(std::wstring& text);
OsInfo GetOsInfo();
bool IsWindows11(OsInfo info);
WindowHandle GetHandleFromWndPtr(QWidget* widget);
QWidget* GetWndPtrFromHandle(WindowHandle handle);
QPoint GetCursorPosition();
Qt::CursorShape GetPlattformCursorType(CursorTypes type);
// Reads a plug-in version file; false with `info` untouched when the file gives nothing or cannot
// be read or parsed.
bool GetPluginVersionInfo(std::wstring path, PluginVersionInfo& info);
// EnumFonts, then sorted by face name.
bool GetSystemFonts(std::vector<FontData>& fonts, bool skipSpecialFonts);

} // namespace AUILibUtils
} // namespace AUILib
