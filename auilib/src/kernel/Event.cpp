#include "Event.h"

#include "KeyMapping.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

#include <unordered_map>

namespace AUILib {

namespace {

const std::unordered_map<int, Event::Key>& FixedKeys()
{
    static const std::unordered_map<int, Event::Key> keys = [] {
        std::unordered_map<int, Event::Key> table = {
            {Qt::Key_Backspace, Event::KeyBackspace},
            {Qt::Key_Tab, Event::KeyTab},
            {Qt::Key_Clear, Event::KeyClear},
            {Qt::Key_Return, Event::KeyReturn},
            {Qt::Key_Enter, Event::KeyReturn},
            {Qt::Key_Shift, Event::KeyShift},
            {Qt::Key_Control, Event::KeyControl},
            {Qt::Key_Alt, Event::KeyAlt},
            {Qt::Key_Pause, Event::KeyPause},
            {Qt::Key_CapsLock, Event::KeyCapsLock},
            {Qt::Key_Kana_Lock, Event::KeyKanaLock},
            {Qt::Key_Kanji, Event::KeyKanji},
            {Qt::Key_Escape, Event::KeyEscape},
            {Qt::Key_Mode_switch, Event::KeyModeSwitch},
            {Qt::Key_Space, Event::KeySpace},
            {Qt::Key_PageUp, Event::KeyPageUp},
            {Qt::Key_PageDown, Event::KeyPageDown},
            {Qt::Key_End, Event::KeyEnd},
            {Qt::Key_Home, Event::KeyHome},
            {Qt::Key_Left, Event::KeyLeft},
            {Qt::Key_Up, Event::KeyUp},
            {Qt::Key_Right, Event::KeyRight},
            {Qt::Key_Down, Event::KeyDown},
            {Qt::Key_Select, Event::KeySelect},
            {Qt::Key_Printer, Event::KeyPrinter},
            {Qt::Key_Execute, Event::KeyExecute},
            {Qt::Key_Print, Event::KeyPrint},
            {Qt::Key_Insert, Event::KeyInsert},
            {Qt::Key_Delete, Event::KeyDelete},
            {Qt::Key_Help, Event::KeyHelp},
            {Qt::Key_Meta, Event::KeyMeta},
            {Qt::Key_Menu, Event::KeyMenu},
            {Qt::Key_Sleep, Event::KeySleep},
            {Qt::Key_Asterisk, Event::KeyMultiply},
            {Qt::Key_Plus, Event::KeyAdd},
            {Qt::Key_Minus, Event::KeySubtract},
            {Qt::Key_Slash, Event::KeyDivide},
            {Qt::Key_NumLock, Event::KeyNumLock},
            {Qt::Key_ScrollLock, Event::KeyScrollLock},
            {Qt::Key_Massyo, Event::KeyMassyo},
            {Qt::Key_Touroku, Event::KeyTouroku},
            {Qt::Key_Back, Event::KeyBack},
            {Qt::Key_Forward, Event::KeyForward},
            {Qt::Key_Refresh, Event::KeyRefresh},
            {Qt::Key_Stop, Event::KeyStop},
            {Qt::Key_Search, Event::KeySearch},
            {Qt::Key_Favorites, Event::KeyFavorites},
            {Qt::Key_HomePage, Event::KeyHomePage},
            {Qt::Key_VolumeMute, Event::KeyVolumeMute},
            {Qt::Key_VolumeDown, Event::KeyVolumeDown},
            {Qt::Key_VolumeUp, Event::KeyVolumeUp},
            {Qt::Key_MediaNext, Event::KeyMediaNext},
            {Qt::Key_MediaPrevious, Event::KeyMediaPrevious},
            {Qt::Key_MediaStop, Event::KeyMediaStop},
            {Qt::Key_MediaPlay, Event::KeyMediaPlay},
            {Qt::Key_LaunchMail, Event::KeyLaunchMail},
            {Qt::Key_LaunchMedia, Event::KeyLaunchMedia},
            {Qt::Key_Launch0, Event::KeyLaunch0},
            {Qt::Key_Launch1, Event::KeyLaunch1},
        };
        for (int i = 0; i < 26; ++i)
            table.emplace(Qt::Key_A + i, static_cast<Event::Key>(Event::KeyA + i));
        for (int i = 0; i < 10; ++i)
            table.emplace(Qt::Key_0 + i, static_cast<Event::Key>(Event::Key0 + i));
        for (int i = 0; i < 24; ++i)
            table.emplace(Qt::Key_F1 + i, static_cast<Event::Key>(Event::KeyF1 + i));
        return table;
    }();
    return keys;
}

Event::Modifier LibraryModifiers(std::uint32_t qtModifiers)
{
    return static_cast<Event::Modifier>(qtModifiers
        & (Event::ShiftModifier | Event::ControlModifier | Event::AltModifier));
}

} // namespace

namespace KeyMapping {

Event::Key ToLibraryKey(int qtKey, QChar decimalPoint)
{
    if (qtKey == Qt::Key_Comma || qtKey == Qt::Key_Period) {
        if (decimalPoint.unicode() <= 0xFF && decimalPoint.unicode() == qtKey)
            return Event::KeyDecimal;
        return qtKey == Qt::Key_Comma ? Event::KeyComma : Event::KeyPeriod;
    }
    const auto found = FixedKeys().find(qtKey);
    return found == FixedKeys().end() ? Event::KeyNone : found->second;
}

QChar InputMethodDecimalPoint()
{
    if (QInputMethod* inputMethod = QGuiApplication::inputMethod())
        return inputMethod->locale().decimalPoint();
    return QLocale::c().decimalPoint();
}

} // namespace KeyMapping

Event::Key SysKeyToAUIKey(int qtKey)
{
    return KeyMapping::ToLibraryKey(qtKey, KeyMapping::InputMethodDecimalPoint());
}

KeyEvent::KeyEvent(Type type, Key key, std::uint32_t modifiers, const std::wstring& text, int qtKey)
    : Event(type)
    , key(key)
    , modifier(LibraryModifiers(modifiers))
    , qtKey(qtKey)
    , text(CorrectedText(text))
{
}

bool KeyEvent::IsSpecialKey() const
{
    switch (key) {
    case KeyTab:
    case KeyReturn:
    case KeyShift:
    case KeyControl:
    case KeyCapsLock:
    case KeyEscape:
    case KeyPrint:
    case KeyInsert:
    case KeyDelete:
        return true;
    default:
        break;
    }
    return (key >= KeyPageUp && key <= KeyDown) || (key >= KeyF1 && key <= KeyScrollLock && key != KeyF10)
        || key == 125 || key == 126;
}

std::wstring KeyEvent::CorrectedText(const std::wstring& text) const
{
    if (IsSpecialKey())
        return {};
    if (key == KeyBackspace)
        return std::wstring(1, L'\b');
    return text;
}

Rect MovingEvent::GetRect() const
{
    return {rect->left(), rect->top(), rect->right(), rect->bottom()};
}

void MovingEvent::SetRect(Rect value)
{
    *rect = QRect(QPoint(value.left, value.top), QPoint(value.right, value.bottom));
}

} // namespace AUILib
