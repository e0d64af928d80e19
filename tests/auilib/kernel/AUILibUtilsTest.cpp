#include "AUILibUtils.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QSysInfo>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

using namespace AUILib;
using namespace AUILib::AUILibUtils;

TEST(AUILibUtils, CheckStatesConvertBothWays)
{
    EXPECT_EQ(QtChBStateToChBState(Qt::Unchecked), CheckBoxStates::Unchecked);
    EXPECT_EQ(QtChBStateToChBState(Qt::PartiallyChecked), CheckBoxStates::PartiallyChecked);
    EXPECT_EQ(QtChBStateToChBState(Qt::Checked), CheckBoxStates::Checked);
    EXPECT_EQ(QtChBStateToChBState(static_cast<Qt::CheckState>(9)), CheckBoxStates::Unchecked);
    EXPECT_EQ(ChBStateToQtChBState(CheckBoxStates::Unchecked), Qt::Unchecked);
    EXPECT_EQ(ChBStateToQtChBState(CheckBoxStates::Checked), Qt::Checked);
    EXPECT_EQ(ChBStateToQtChBState(CheckBoxStates::PartiallyChecked), Qt::PartiallyChecked);
    EXPECT_EQ(ChBStateToQtChBState(static_cast<CheckBoxStates>(-3)), Qt::Unchecked);
}

TEST(AUILibUtils, ImageTypeNames)
{
    const std::pair<std::wstring, ImageTypes> fromText[] = {
        {L"", ImageTypes::Unknown}, {L".", ImageTypes::Unknown}, {L"bmp", ImageTypes::BMP},
        {L".GIF", ImageTypes::GIF}, {L"jpg", ImageTypes::JPG}, {L".JPEG", ImageTypes::JPG},
        {L"Png", ImageTypes::PNG}, {L"ico", ImageTypes::ICO}, {L".cur", ImageTypes::CUR},
        {L"tif", ImageTypes::Unknown}, {L"..png", ImageTypes::Unknown},
    };
    for (const auto& [text, type] : fromText)
        EXPECT_EQ(WstrToImageType(text), type) << testing::PrintToString(text);

    const std::pair<int, std::string> toText[] = {
        {0, "BMP"}, {1, "BMP"}, {2, "GIF"}, {3, "JPG"}, {4, "PNG"}, {5, "BMP"}, {6, "ICO"}, {7, "BMP"}, {-1, "BMP"},
    };
    for (const auto& [type, text] : toText)
        EXPECT_EQ(ImageTypeToStr(static_cast<ImageTypes>(type)), text) << type;
}

TEST(AUILibUtils, NormalizeQtEnumShortensAndDropsRepeats)
{
    const std::pair<QString, QString> table[] = {
        {"", ""},
        {"Qt::AlignLeft | Qt::AlignmentFlag::AlignLeft | Qt::AlignTop", "Qt::AlignLeft|Qt::AlignTop"},
        {"QSizePolicy::Policy::Expanding", "QSizePolicy::Expanding"},
        {"a||b| |a", "a|b"},
        {"A::B::C::D", "A::D"},
        {"Qt::AlignLeft", "Qt::AlignLeft"},
        {"x|X", "x|X"},
    };
    for (const auto& [text, expected] : table)
        EXPECT_EQ(NormalizeQtEnum(text), expected) << text.toStdString();
}

TEST(AUILibUtils, TextCleaning)
{
    const std::pair<std::wstring, std::wstring> trims[] = {
        {L"", L""}, {L" \t\r\n", L""}, {L"\n a b \t", L"a b"}, {L"x", L"x"}, {L"\u00a0x\u00a0", L"\u00a0x\u00a0"},
    };
    for (auto [text, expected] : trims) {
        Trim(text);
        EXPECT_EQ(text, expected);
    }

    const std::pair<std::wstring, std::wstring> cleaned[] = {
        {L"a\r\n\r\nb\n", L"a b "}, {L"\rx", L" x"}, {L"no breaks", L"no breaks"}, {L"a\n\tb", L"a \tb"},
    };
    for (auto [text, expected] : cleaned) {
        CleanCRLFInside(text);
        EXPECT_EQ(text, expected);
    }

    EXPECT_EQ(SplitWString(L"a,,b,", L','), (std::vector<std::wstring>{L"a", L"", L"b"}));
    EXPECT_EQ(SplitWString(L"", L','), std::vector<std::wstring>{});
    EXPECT_EQ(SplitWString(L",", L','), std::vector<std::wstring>{L""});
    EXPECT_EQ(SplitWString(L"one", L';'), std::vector<std::wstring>{L"one"});
}

TEST(AUILibUtils, CursorShapes)
{
    const std::pair<int, Qt::CursorShape> table[] = {
        {1, Qt::ArrowCursor}, {2, Qt::WaitCursor}, {3, Qt::IBeamCursor}, {4, Qt::CrossCursor},
        {5, Qt::UpArrowCursor}, {6, Qt::SizeAllCursor}, {7, Qt::ArrowCursor}, {8, Qt::SizeFDiagCursor},
        {9, Qt::SizeBDiagCursor}, {10, Qt::SizeHorCursor}, {11, Qt::SizeVerCursor}, {12, Qt::SizeAllCursor},
        {13, Qt::ForbiddenCursor}, {14, Qt::OpenHandCursor}, {15, Qt::ArrowCursor}, {-2, Qt::ArrowCursor},
    };
    for (const auto& [type, shape] : table)
        EXPECT_EQ(GetPlattformCursorType(static_cast<CursorTypes>(type)), shape) << type;
}

TEST(AUILibUtils, ScaleBitmap)
{
    QPixmap picture(40, 20);
    picture.fill(Qt::red);
    EXPECT_TRUE(ScaleBitmap(QPixmap(), ScalePicture::Stretch, {10, 10}).isNull());
    EXPECT_EQ(ScaleBitmap(picture, ScalePicture::Keep, {10, 10}).size(), QSize(40, 20));
    EXPECT_EQ(ScaleBitmap(picture, static_cast<ScalePicture>(0), {10, 10}).size(), QSize(40, 20));
    EXPECT_EQ(ScaleBitmap(picture, ScalePicture::FitWidth, {10, 99}).size(), QSize(10, 5));
    EXPECT_EQ(ScaleBitmap(picture, ScalePicture::FitHeight, {99, 10}).size(), QSize(20, 10));
    EXPECT_EQ(ScaleBitmap(picture, ScalePicture::Stretch, {7, 9}).size(), QSize(7, 9));
}

TEST(AUILibUtils, SelectIconPicksTheWantedOrNextSmallerWidth)
{
    QIcon icon;
    for (int width : {16, 32, 48}) {
        QPixmap pixmap(width, width);
        pixmap.fill(Qt::blue);
        icon.addPixmap(pixmap);
    }
    const std::pair<int, int> table[] = {{40, 32}, {8, 16}, {32, 32}, {100, 48}, {16, 16}};
    for (const auto& [wanted, width] : table)
        EXPECT_EQ(SelectIcon(icon, wanted).width(), width) << wanted;
    EXPECT_TRUE(SelectIcon(QIcon(), 16).isNull());
}

TEST(AUILibUtils, SystemAnswers)
{
    const QStringList version = QSysInfo::productVersion().split('.');
    const OsInfo info = GetOsInfo();
    EXPECT_EQ(info.platform, 0);
    EXPECT_EQ(info.buildNumber, 0);
    EXPECT_EQ(info.majorVersion, version.value(0).toInt());
    EXPECT_EQ(info.minorVersion, version.value(1).toInt());
    EXPECT_FALSE(IsWindows11(info));
    EXPECT_TRUE(IsWindows11({1, 10, 0, 22000}));
    EXPECT_FALSE(IsWindows11({1, 10, 0, 21999}));
    EXPECT_FALSE(IsWindows11({0, 10, 0, 22000}));

    EXPECT_FALSE(IsSystemHighContrastMode());
    EXPECT_EQ(GetScaleFactor(), QGuiApplication::primaryScreen()->devicePixelRatio());
    QWidget widget;
    EXPECT_EQ(GetWndPtrFromHandle(GetHandleFromWndPtr(&widget)), &widget);
    EXPECT_EQ(GetCursorPosition(), QCursor::pos());
}

TEST(AUILibUtils, FontsListedWithSpecialOnesMarked)
{
    std::vector<FontData> all{FontData{L"kept", 1, 0, 0, 0, 0}};
    ASSERT_TRUE(GetSystemFonts(all, false));
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), compareFontData));
    const auto dejaVu = std::find_if(all.begin(), all.end(), [](const FontData& font) {
        return font.faceName == L"DejaVu Sans";
    });
    ASSERT_NE(dejaVu, all.end()) << "fonts-dejavu-core is installed by scripts/setup";
    EXPECT_EQ(dejaVu->specialFont, 1);
    EXPECT_EQ(dejaVu->underline, 0);
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const FontData& font) { return font.faceName == L"kept"; }))
        << "the list is appended to";

    std::vector<FontData> plain;
    ASSERT_TRUE(EnumFonts(plain, true));
    for (const FontData& font : plain)
        EXPECT_EQ(font.specialFont, 0) << QString::fromStdWString(font.faceName).toStdString();

    EXPECT_TRUE(compareFontData(FontData{L"Ab"}, FontData{L"Abc"}));
    EXPECT_TRUE(compareFontData(FontData{L"B"}, FontData{L"a"}));
    EXPECT_FALSE(compareFontData(FontData{L"a"}, FontData{L"a"}));
}
