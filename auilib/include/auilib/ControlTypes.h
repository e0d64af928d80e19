#pragma once

#include <QRegion>

#include <cstdint>

namespace AUILib {

// Kept in every control; each control's constructor replaces the base value.
enum class ControlType : std::int32_t {
    Dialog = 0,
    Button = 1,
    Edit = 2,
    ListBox = 3,
    CheckBox = 4,
    RadioButton = 5,
    GroupBox = 6,
    ComboBox = 7,
    Label = 8,
    TabView = 9,
    ChildDialog = 10,
    Slider = 11,
    SpinEdit = 13,
    DoubleSpinEdit = 14,
    StackedDialog = 15,
    ButtonBox = 17,
    TreeView = 18,
    MultiLineEdit = 19,
    RichEdit = 20,
    Splitter = 21,
    DrawElement = 22,
    ScrollBar = 23,
    ProgressBar = 24,
    Line = 26,
    ScrollArea = 27,
    HyperLinkElement = 28,
    DateEdit = 29,
    ComboBoxFS = 30,
    Base = 31,
};

struct Point
{
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Size
{
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Right and bottom are inclusive, as in QRect.
struct Rect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct Region
{
    QRegion region;
};

// Bits 0-7 horizontal stretch, 8-15 vertical stretch, 16-19 horizontal policy, 20-23 vertical
// policy, 24-28 a one-bit control-type flag, 29 height for width, 30 width for height, 31 retain
// size when hidden.
struct SizePolicy
{
    std::uint32_t value = 0;
};

struct FontData;

} // namespace AUILib
