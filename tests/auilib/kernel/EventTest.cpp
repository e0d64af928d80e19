#include "Event.h"
#include "FocusWatcher.h"
#include "KeyMapping.h"

#include <QFocusEvent>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <set>

using namespace AUILib;

TEST(KeyMapping, QtKeysMapToLibraryKeys)
{
    const std::pair<int, int> table[] = {
        {Qt::Key_Backspace, 1}, {Qt::Key_Tab, 2}, {Qt::Key_Clear, 3}, {Qt::Key_Return, 4}, {Qt::Key_Enter, 4},
        {Qt::Key_Shift, 5}, {Qt::Key_Control, 6}, {Qt::Key_Alt, 7}, {Qt::Key_Pause, 8}, {Qt::Key_CapsLock, 9},
        {Qt::Key_Kana_Lock, 10}, {Qt::Key_Kanji, 15}, {Qt::Key_Escape, 17}, {Qt::Key_Mode_switch, 21},
        {Qt::Key_Space, 22}, {Qt::Key_PageUp, 23}, {Qt::Key_PageDown, 24}, {Qt::Key_End, 25}, {Qt::Key_Home, 26},
        {Qt::Key_Left, 27}, {Qt::Key_Up, 28}, {Qt::Key_Right, 29}, {Qt::Key_Down, 30}, {Qt::Key_Select, 31},
        {Qt::Key_Printer, 32}, {Qt::Key_Execute, 33}, {Qt::Key_Print, 34}, {Qt::Key_Insert, 35},
        {Qt::Key_Delete, 36}, {Qt::Key_Help, 37}, {Qt::Key_A, 48}, {Qt::Key_M, 60}, {Qt::Key_Z, 73},
        {Qt::Key_Meta, 74}, {Qt::Key_Menu, 75}, {Qt::Key_Sleep, 76}, {Qt::Key_0, 77}, {Qt::Key_9, 86},
        {Qt::Key_Asterisk, 87}, {Qt::Key_Plus, 88}, {Qt::Key_Minus, 90}, {Qt::Key_Slash, 92}, {Qt::Key_F1, 93},
        {Qt::Key_F10, 102}, {Qt::Key_F24, 116}, {Qt::Key_NumLock, 117}, {Qt::Key_ScrollLock, 118},
        {Qt::Key_Massyo, 119}, {Qt::Key_Touroku, 120}, {Qt::Key_Back, 127}, {Qt::Key_Forward, 128},
        {Qt::Key_Refresh, 129}, {Qt::Key_Stop, 130}, {Qt::Key_Search, 131}, {Qt::Key_Favorites, 132},
        {Qt::Key_HomePage, 133}, {Qt::Key_VolumeMute, 134}, {Qt::Key_VolumeDown, 135}, {Qt::Key_VolumeUp, 136},
        {Qt::Key_MediaNext, 137}, {Qt::Key_MediaPrevious, 138}, {Qt::Key_MediaStop, 139},
        {Qt::Key_MediaPlay, 140}, {Qt::Key_LaunchMail, 141}, {Qt::Key_LaunchMedia, 142}, {Qt::Key_Launch0, 143},
        {Qt::Key_Launch1, 144},
        // Keys the library has no code for.
        {Qt::Key_F25, 0}, {Qt::Key_Exclam, 0}, {Qt::Key_Launch2, 0}, {Qt::Key_unknown, 0}, {0, 0},
    };
    for (const auto& [qtKey, libraryKey] : table)
        EXPECT_EQ(SysKeyToAUIKey(qtKey), libraryKey) << std::hex << qtKey;
}

TEST(KeyMapping, CommaAndPeriodFollowTheDecimalPoint)
{
    EXPECT_EQ(KeyMapping::ToLibraryKey(Qt::Key_Period, QLatin1Char('.')), Event::KeyDecimal);
    EXPECT_EQ(KeyMapping::ToLibraryKey(Qt::Key_Comma, QLatin1Char('.')), Event::KeyComma);
    EXPECT_EQ(KeyMapping::ToLibraryKey(Qt::Key_Comma, QLatin1Char(',')), Event::KeyDecimal);
    EXPECT_EQ(KeyMapping::ToLibraryKey(Qt::Key_Period, QLatin1Char(',')), Event::KeyPeriod);
    // A decimal point outside Latin-1 (Arabic) makes neither key the decimal one.
    EXPECT_EQ(KeyMapping::ToLibraryKey(Qt::Key_Comma, QChar(0x066B)), Event::KeyComma);
    EXPECT_EQ(KeyMapping::ToLibraryKey(Qt::Key_Period, QChar(0x066B)), Event::KeyPeriod);

    // The input method's locale is "C" here.
    EXPECT_EQ(SysKeyToAUIKey(Qt::Key_Period), Event::KeyDecimal);
}

TEST(KeyEvent, SpecialKeysAndTheirText)
{
    std::set<int> special = {2, 4, 5, 6, 9, 17, 34, 35, 36, 125, 126};
    for (int key = 23; key <= 30; ++key)
        special.insert(key);
    for (int key = 93; key <= 118; ++key) {
        if (key != 102)
            special.insert(key);
    }
    for (int key = 0; key <= 200; ++key) {
        const KeyEvent event(Event::KeyPress, static_cast<Event::Key>(key), 0, L"t", 0);
        EXPECT_EQ(event.IsSpecialKey(), special.count(key) == 1) << key;
        const std::wstring expected = special.count(key) ? L"" : key == 1 ? L"\b" : L"t";
        EXPECT_EQ(event.text, expected) << key;
    }
}

TEST(KeyEvent, KeepsOnlyShiftControlAndAlt)
{
    const KeyEvent event(Event::KeyRelease, Event::KeyA, Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier
                             | Qt::KeypadModifier, L"a", Qt::Key_A);
    EXPECT_EQ(event.modifier, Event::ShiftModifier | Event::AltModifier);
    EXPECT_EQ(event.type, Event::KeyRelease);
    EXPECT_EQ(event.qtKey, Qt::Key_A);
}

TEST(MovingEvent, ReadsAndWritesTheProposedRectangle)
{
    QRect proposed(QPoint(10, 20), QPoint(110, 220));
    MovingEvent event(&proposed);
    const Rect rect = event.GetRect();
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.bottom, 220);
    event.SetRect({5, 6, 7, 8});
    EXPECT_EQ(proposed, QRect(QPoint(5, 6), QPoint(7, 8)));
    EXPECT_EQ(event.type, 1002);
}

TEST(FocusWatcher, ReportsFocusChangesOfItsWidget)
{
    QPointer<FocusWatcher> watcher;
    {
        QWidget widget;
        watcher = new FocusWatcher(&widget);
        EXPECT_EQ(watcher->parent(), &widget);
        QSignalSpy spy(watcher.data(), &FocusWatcher::focusChanged);
        QFocusEvent in(QEvent::FocusIn);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(&widget, &in);
        QCoreApplication::sendEvent(&widget, &out);
        ASSERT_EQ(spy.count(), 2);
        EXPECT_TRUE(spy.at(0).at(0).toBool());
        EXPECT_FALSE(spy.at(1).at(0).toBool());
    }
    EXPECT_TRUE(watcher.isNull());
}
