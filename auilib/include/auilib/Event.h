#pragma once

#include "ControlTypes.h"

#include <QRect>

#include <cstdint>
#include <string>
#include <vector>

namespace AUILib {

// What a control's event procedure receives in place of a Qt event. The type values below 1000 are
// Qt's event numbers; each kind starts with its type.
struct Event
{
    enum Type : std::int32_t {
        Timer = 1,
        MouseButtonPress = 2,
        MouseButtonRelease = 3,
        MouseButtonDblClick = 4,
        MouseMove = 5,
        KeyPress = 6,
        KeyRelease = 7,
        FocusIn = 8,
        FocusOut = 9,
        MouseLeave = 11,
        Paint = 12,
        Resize = 14,
        Show = 17,
        Hide = 18,
        WindowActivate = 24,
        WindowDeactivate = 25,
        Wheel = 31,
        ApplicationPaletteChange = 38,
        ShortcutOverride = 51,
        DropFiles = 63,
        ContextMenu = 82,
        HoverEnter = 127,
        DpiChange = 1001,
        Moving = 1002,
    };

    // The library's key codes; SysKeyToAUIKey maps Qt's keys onto them.
    enum Key : std::int32_t {
        KeyNone = 0,
        KeyBackspace = 1,
        KeyTab = 2,
        KeyClear = 3,
        KeyReturn = 4,
        KeyShift = 5,
        KeyControl = 6,
        KeyAlt = 7,
        KeyPause = 8,
        KeyCapsLock = 9,
        KeyKanaLock = 10,
        KeyKanji = 15,
        KeyEscape = 17,
        KeyModeSwitch = 21,
        KeySpace = 22,
        KeyPageUp = 23,
        KeyPageDown = 24,
        KeyEnd = 25,
        KeyHome = 26,
        KeyLeft = 27,
        KeyUp = 28,
        KeyRight = 29,
        KeyDown = 30,
        KeySelect = 31,
        KeyPrinter = 32,
        KeyExecute = 33,
        KeyPrint = 34,
        KeyInsert = 35,
        KeyDelete = 36,
        KeyHelp = 37,
        KeyA = 48, // through KeyA + 25 for Z
        KeyMeta = 74,
        KeyMenu = 75,
        KeySleep = 76,
        Key0 = 77, // through Key0 + 9 for 9
        KeyMultiply = 87,
        KeyAdd = 88,
        KeyDecimal = 91,
        KeySubtract = 90,
        KeyDivide = 92,
        KeyF1 = 93, // through KeyF1 + 23 for F24
        KeyF10 = 102,
        KeyF24 = 116,
        KeyNumLock = 117,
        KeyScrollLock = 118,
        KeyMassyo = 119,
        KeyTouroku = 120,
        KeyBack = 127,
        KeyForward = 128,
        KeyRefresh = 129,
        KeyStop = 130,
        KeySearch = 131,
        KeyFavorites = 132,
        KeyHomePage = 133,
        KeyVolumeMute = 134,
        KeyVolumeDown = 135,
        KeyVolumeUp = 136,
        KeyMediaNext = 137,
        KeyMediaPrevious = 138,
        KeyMediaStop = 139,
        KeyMediaPlay = 140,
        KeyLaunchMail = 141,
        KeyLaunchMedia = 142,
        KeyLaunch0 = 143,
        KeyLaunch1 = 144,
        KeyComma = 147,
        KeyPeriod = 149,
    };

    // Qt's modifier bits, restricted to these three.
    enum Modifier : std::uint32_t {
        NoModifier = 0,
        ShiftModifier = 0x02000000,
        ControlModifier = 0x04000000,
        AltModifier = 0x08000000,
    };

    explicit Event(Type type)
        : type(type)
    {
    }

    Type type;
};

struct TimerEvent : Event
{
    explicit TimerEvent(int timerId)
        : Event(Timer)
        , timerId(timerId)
    {
    }
    int timerId;
};

struct MouseEvent : Event
{
    MouseEvent(Type type, Point position, std::uint32_t buttons, std::uint32_t modifiers)
        : Event(type)
        , position(position)
        , buttons(buttons)
        , modifiers(modifiers)
    {
    }
    Point position; // in the widget's coordinates
    std::uint32_t buttons;
    std::uint32_t modifiers;
};

struct KeyEvent : Event
{
    KeyEvent(Type type, Key key, std::uint32_t modifiers, const std::wstring& text, int qtKey);

    // Keys that never produce text of their own.
    bool IsSpecialKey() const;
    // Empty for a special key, a single U+0008 for Backspace, else the text unchanged.
    std::wstring CorrectedText(const std::wstring& text) const;

    Key key;
    Modifier modifier;
    int qtKey;
    std::wstring text;
};

struct FocusEvent : Event
{
    explicit FocusEvent(Type type)
        : Event(type)
    {
    }
};

struct MouseLeaveEvent : Event
{
    MouseLeaveEvent()
        : Event(MouseLeave)
    {
    }
};

struct PaintEvent : Event
{
    PaintEvent()
        : Event(Paint)
    {
    }
};

struct ResizeEvent : Event
{
    ResizeEvent(Size oldSize, Size newSize)
        : Event(Resize)
        , oldSize(oldSize)
        , newSize(newSize)
    {
    }
    Size oldSize;
    Size newSize;
};

struct ShowEvent : Event
{
    ShowEvent()
        : Event(Show)
    {
    }
};

struct HideEvent : Event
{
    HideEvent()
        : Event(Hide)
    {
    }
};

struct WindowActivateEvent : Event
{
    WindowActivateEvent()
        : Event(WindowActivate)
    {
    }
};

struct WindowDeactivateEvent : Event
{
    WindowDeactivateEvent()
        : Event(WindowDeactivate)
    {
    }
};

struct MouseWheelEvent : Event
{
    MouseWheelEvent(std::int16_t delta, Point position, std::uint32_t buttons, std::uint32_t modifiers)
        : Event(Wheel)
        , delta(delta)
        , position(position)
        , buttons(buttons)
        , modifiers(modifiers)
    {
    }
    std::int16_t delta;
    Point position; // in screen coordinates
    std::uint32_t buttons;
    std::uint32_t modifiers;
};

struct ApplicationPaletteChangeEvent : Event
{
    ApplicationPaletteChangeEvent()
        : Event(ApplicationPaletteChange)
    {
    }
};

struct DropFilesEvent : Event
{
    DropFilesEvent(Point position, std::vector<std::wstring> paths)
        : Event(DropFiles)
        , position(position)
        , paths(std::move(paths))
    {
    }
    Point position;
    std::vector<std::wstring> paths;
};

struct ContextMenuEvent : Event
{
    ContextMenuEvent()
        : Event(ContextMenu)
    {
    }
};

struct DpiChangeEvent : Event
{
    explicit DpiChangeEvent(int value)
        : Event(DpiChange)
        , value(value)
    {
    }
    int value;
};

// A window about to move: the procedure may change the proposed rectangle.
struct MovingEvent : Event
{
    explicit MovingEvent(QRect* rect)
        : Event(Moving)
        , rect(rect)
    {
    }
    Rect GetRect() const;
    void SetRect(Rect value);

    QRect* rect;
};

// Qt's key code as the library's; keys without a library code give KeyNone. Comma and period
// depend on the decimal point of the input method's locale.
Event::Key SysKeyToAUIKey(int qtKey);

} // namespace AUILib
