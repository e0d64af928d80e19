#include "AUILibUtils.h"

#include "WideText.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>
#include <QVariant>

#include <algorithm>
#include <cwctype>
#include <set>
#include <sstream>

namespace AUILib {

namespace {

const std::set<QString>& SpecialFontNames()
{
    static const std::set<QString> names = {
        "Apple Braille", "Apple Color Emoji", "Apple LiGothic Medium", "Apple LiSung Light", "AppleMyungjo",
        "Apple Symbols", "AppleGothic", "Dingbats", "Keyboard", "LastResort", "Osaka", "Bodoni Ornaments",
        "SF Symbols", "DejaVu Sans", "FontAwesome", "Material Design Icons", "OpenSymbol", "Symbola",
        "Arial Unicode MS", "Segoe UI Symbol", "Wingdings", "Wingdings 2", "Wingdings 3", "Webdings", "Symbol",
        "Bookshelf Symbol 7",
    };
    return names;
}

bool IsLineBreak(wchar_t character)
{
    return character == L'\r' || character == L'\n';
}

int NumberOrZero(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

} // namespace

bool EnumFonts(std::vector<FontData>& fonts, bool skipSpecialFonts)
{
    const QFontDatabase database;
    const QStringList families = database.families(QFontDatabase::Any);
    for (const QString& family : families) {
        if (family.startsWith(QLatin1Char('.')) || database.isPrivateFamily(family))
            continue;
        const QFont font = qvariant_cast<QFont>(QVariant(family));
        const bool special = SpecialFontNames().count(font.family()) != 0;
        if (special && skipSpecialFonts)
            continue;
        FontData record;
        record.faceName = ToWString(family);
        record.pointSize = font.pointSizeF();
        record.bold = font.weight() >= 58 ? 1 : 0;
        record.italic = font.style() != QFont::StyleNormal ? 1 : 0;
        record.underline = 0;
        record.specialFont = special ? 1 : 0;
        fonts.push_back(record);
    }
    return !families.isEmpty();
}

bool compareFontData(FontData first, FontData second)
{
    return first.faceName < second.faceName;
}

namespace AUILibUtils {

double GetScaleFactor()
{
    return QGuiApplication::primaryScreen()->devicePixelRatio();
}

CheckBoxStates QtChBStateToChBState(Qt::CheckState state)
{
    switch (state) {
    case Qt::PartiallyChecked:
        return CheckBoxStates::PartiallyChecked;
    case Qt::Checked:
        return CheckBoxStates::Checked;
    default:
        return CheckBoxStates::Unchecked;
    }
}

Qt::CheckState ChBStateToQtChBState(CheckBoxStates state)
{
    switch (state) {
    case CheckBoxStates::Checked:
        return Qt::Checked;
    case CheckBoxStates::PartiallyChecked:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

QPixmap ScaleBitmap(QPixmap pixmap, ScalePicture mode, QSize size)
{
    if (mode == ScalePicture::Keep || pixmap.isNull())
        return pixmap;
    switch (mode) {
    case ScalePicture::FitWidth:
        return pixmap.scaledToWidth(size.width(), Qt::FastTransformation);
    case ScalePicture::FitHeight:
        return pixmap.scaledToHeight(size.height(), Qt::FastTransformation);
    case ScalePicture::Stretch:
        return pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    default:
        return pixmap;
    }
}

QPixmap SelectIcon(QIcon icon, int width)
{
    QPixmap result;
    int bestWidth = 0;
    for (const QSize& size : icon.availableSizes(QIcon::Normal, QIcon::Off)) {
        if (size.width() == width)
            return icon.pixmap(QSize(width, size.height()), QIcon::Normal, QIcon::Off);
        if (bestWidth <= size.width() && size.width() < width) {
            result = icon.pixmap(size, QIcon::Normal, QIcon::Off);
            bestWidth = size.width();
        }
        if (result.isNull())
            result = icon.pixmap(size, QIcon::Normal, QIcon::Off);
    }
    return result;
}

QString NormalizeQtEnum(const QString& text)
{
    if (text.isEmpty())
        return text;
    QStringList names;
    for (const QString& part : text.split(QLatin1Char('|'))) {
        const QString trimmed = part.trimmed();
        const QStringList pieces = trimmed.split(QStringLiteral("::"));
        const QString name = pieces.size() >= 3 ? pieces.first() + QStringLiteral("::") + pieces.last() : trimmed;
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names.join(QLatin1Char('|'));
}

std::vector<std::wstring> SplitWString(const std::wstring& text, wchar_t delimiter)
{
    std::vector<std::wstring> pieces;
    std::wistringstream stream(text);
    std::wstring piece;
    while (std::getline(stream, piece, delimiter))
        pieces.push_back(piece);
    return pieces;
}

bool IsSystemHighContrastMode()
{
    return false;
}

ImageTypes WstrToImageType(std::wstring extension)
{
    if (extension.empty())
        return ImageTypes::Unknown;
    if (extension.front() == L'.')
        extension.erase(0, 1);
    for (wchar_t& character : extension)
        character = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(character)));
    if (extension == L"bmp")
        return ImageTypes::BMP;
    if (extension == L"gif")
        return ImageTypes::GIF;
    if (extension == L"jpg" || extension == L"jpeg")
        return ImageTypes::JPG;
    if (extension == L"png")
        return ImageTypes::PNG;
    if (extension == L"ico")
        return ImageTypes::ICO;
    if (extension == L"cur")
        return ImageTypes::CUR;
    return ImageTypes::Unknown;
}

std::string ImageTypeToStr(ImageTypes type)
{
    switch (type) {
    case ImageTypes::GIF:
        return "GIF";
    case ImageTypes::JPG:
        return "JPG";
    case ImageTypes::PNG:
        return "PNG";
    case ImageTypes::ICO:
        return "ICO";
    default:
        return "BMP";
    }
}

void Trim(std::wstring& text)
{
    const wchar_t* const blanks = L" \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) {
        text.clear();
        return;
    }
    text = text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void CleanCRLFInside(std::wstring& text)
{
    std::wstring cleaned;
    cleaned.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsLineBreak(text[i])) {
            cleaned.push_back(text[i]);
            continue;
        }
        cleaned.push_back(L' ');
        while (i + 1 < text.size() && IsLineBreak(text[i + 1]))
            ++i;
    }
    text.swap(cleaned);
}

OsInfo GetOsInfo()
{
    const QStringList pieces = QSysInfo::productVersion().split(QLatin1Char('.'));
    OsInfo info;
    info.majorVersion = pieces.size() > 0 ? NumberOrZero(pieces.at(0)) : 0;
    info.minorVersion = pieces.size() > 1 ? NumberOrZero(pieces.at(1)) : 0;
    return info;
}

bool IsWindows11(OsInfo info)
{
    return info.platform == 1 && info.majorVersion == 10 && info.buildNumber >= 22000;
}

WindowHandle GetHandleFromWndPtr(QWidget* widget)
{
    return widget;
}

QWidget* GetWndPtrFromHandle(WindowHandle handle)
{
    return handle;
}

QPoint GetCursorPosition()
{
    return QCursor::pos();
}

Qt::CursorShape GetPlattformCursorType(CursorTypes type)
{
    switch (type) {
    case CursorTypes::Wait:
        return Qt::WaitCursor;
    case CursorTypes::IBeam:
        return Qt::IBeamCursor;
    case CursorTypes::Cross:
        return Qt::CrossCursor;
    case CursorTypes::UpArrow:
        return Qt::UpArrowCursor;
    case CursorTypes::SizeAll:
    case CursorTypes::Move:
        return Qt::SizeAllCursor;
    case CursorTypes::SizeFDiag:
        return Qt::SizeFDiagCursor;
    case CursorTypes::SizeBDiag:
        return Qt::SizeBDiagCursor;
    case CursorTypes::SizeHor:
        return Qt::SizeHorCursor;
    case CursorTypes::SizeVer:
        return Qt::SizeVerCursor;
    case CursorTypes::Forbidden:
        return Qt::ForbiddenCursor;
    case CursorTypes::OpenHand:
        return Qt::OpenHandCursor;
    default:
        return Qt::ArrowCursor;
    }
}

bool GetSystemFonts(std::vector<FontData>& fonts, bool skipSpecialFonts)
{
    const bool listed = EnumFonts(fonts, skipSpecialFonts);
    std::sort(fonts.begin(), fonts.end(), compareFontData);
    return listed;
}

} // namespace AUILibUtils
} // namespace AUILib
