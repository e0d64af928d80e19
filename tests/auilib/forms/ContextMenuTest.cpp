#include "ContextMenu.h"

#include "AUILibLogger.h"
#include "ContextMenuImpl.h"
#include "PictureBytes.h"
#include "PopupDriver.h"
#include "WaitBound.h"

#include <QImage>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace AUILib;

namespace {

class ContextMenuTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(menu->Create(window.get())); }

    std::function<void()> nothing = [] {};
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::shared_ptr<ContextMenu> menu = std::make_shared<ContextMenu>();
};

QRgb IconColour(const QAction* action)
{
    return action->icon().pixmap(8, 8).toImage().pixel(4, 4);
}

} // namespace

TEST_F(ContextMenuTest, IDsRunAcrossSeparatorsAndSubmenus)
{
    EXPECT_EQ(menu->AddItem(L"Open", nothing, 0), 0);
    EXPECT_EQ(menu->AddSeparator(), 1);
    EXPECT_EQ(menu->AddItem(L"Save", [](int) {}, ItemData::DisabledIfReadOnly), 2);
    const std::shared_ptr<ContextMenu> sub = menu->AddSubmenu(L"More", L"more things");
    ASSERT_TRUE(sub);
    EXPECT_EQ(menu->GetMenuItemID(3), 3) << "the submenu entry takes an ID of its own";
    EXPECT_EQ(sub->AddItem(L"Deep", nothing, ItemData::DisabledIfReadOnly | ItemData::Checkable), 4);
    EXPECT_EQ(sub->AddItem(L"Open", nothing, 0), 5) << "the same text is accepted in another menu";
    EXPECT_EQ(menu->InsertItem(1, L"Close", nothing, ItemData::DisabledIfEmptyClipBoard), 6);

    EXPECT_EQ(menu->Count(), 5);
    EXPECT_EQ(menu->GetMenuItemIndex(6), 1);
    EXPECT_EQ(menu->GetMenuItemIndex(2), 3);
    EXPECT_EQ(menu->GetMenuItemIndex(4), -1) << "this menu's entries only";
    EXPECT_EQ(menu->GetItemFlags(4), 0);
    EXPECT_EQ(sub->GetItemFlags(4), 5);
    EXPECT_EQ(menu->ItemsDisabledIfReadOnly(), (std::list<int>{2, 4}));
    EXPECT_EQ(menu->ItemsDisabledIfEmptyClipBoard(), (std::list<int>{6}));
    EXPECT_EQ(menu->ItemsCheckable(), (std::list<int>{4}));

    EXPECT_TRUE(menu->EnableItem(4, false)) << "found in the submenu";
    EXPECT_FALSE(menu->IsEnabledItem(4));
    EXPECT_FALSE(menu->EnableItem(99, false));
    EXPECT_TRUE(menu->CheckItem(4, true));
    EXPECT_EQ(menu->ItemsChecked(), (std::list<int>{4}));

    EXPECT_TRUE(menu->RemoveItem(5));
    EXPECT_EQ(sub->Count(), 1);
    EXPECT_TRUE(menu->RemoveItem(0));
    EXPECT_EQ(menu->GetMenuItemIndex(0), -1);
    EXPECT_FALSE(menu->RemoveItem(0));
    EXPECT_EQ(menu->AddItem(L"Open", nothing, 0), 7) << "IDs are never given out again";
}

TEST_F(ContextMenuTest, RefusedEntries)
{
    EXPECT_EQ(menu->AddItem(L"Open", std::function<void()>(), 0), -1);
    EXPECT_EQ(menu->Count(), 0);
    EXPECT_EQ(menu->AddItem(L"Open", nothing, 0), 0);
    EXPECT_EQ(menu->AddItem(L"Open", [](int) {}, 0), -1) << "duplicate text";
    EXPECT_EQ(menu->AddItem(L"", nothing, 0), 1) << "no separator yet";
    EXPECT_EQ(menu->AddSeparator(), 2);
    EXPECT_EQ(menu->InsertItem(-1, L"Negative", nothing, 0), -1);
    EXPECT_EQ(menu->InsertSeparator(-1), -1);
    EXPECT_FALSE(menu->InsertSubmenu(-1, L"Sub", L""));
    EXPECT_FALSE(menu->InsertSubmenu(3, L"Sub", L"")) << "past the end";
    EXPECT_EQ(menu->InsertItem(10, L"Last", nothing, 0), 3) << "past the end appends";
    EXPECT_EQ(menu->GetMenuItemIndex(3), 3);
    ASSERT_TRUE(menu->InsertSubmenu(0, L"First", L""));
    EXPECT_EQ(menu->GetMenuItemID(0), 4);
    EXPECT_EQ(menu->AddItem(L"First", nothing, 0), -1) << "a submenu entry's text counts";
    EXPECT_EQ(menu->GetMenuItemID(5), -1);
    EXPECT_EQ(menu->GetMenuItemID(-1), -1);

    const std::pair<int, bool> flagCases[] = {{12, true}, {8, false}};
    for (const auto& [flags, checked] : flagCases) {
        const int id = menu->AddItem(L"Flags " + std::to_wstring(flags), nothing, flags);
        EXPECT_EQ(menu->IsCheckedItem(id), checked) << flags;
        EXPECT_EQ(menu->CheckItem(id, true), checked) << flags << ": only checkable entries take a check";
        EXPECT_EQ(menu->GetItemFlags(id), flags);
    }
}

TEST_F(ContextMenuTest, WithoutAWidgetNothingWorks)
{
    ContextMenu empty;
    EXPECT_FALSE(empty.Create(nullptr));
    EXPECT_EQ(empty.AddItem(L"x", nothing, 0), -1);
    EXPECT_EQ(empty.Count(), -1);
    EXPECT_FALSE(empty.AddSubmenu(L"x", L""));
    empty.Show(true);

    menu->AddItem(L"Open", nothing, 0);
    window.reset();
    EXPECT_EQ(menu->Count(), -1);
    EXPECT_EQ(menu->AddItem(L"Other", nothing, 0), -1);
    EXPECT_EQ(menu->AddSeparator(), -1);
    EXPECT_FALSE(menu->RemoveItem(0));
    EXPECT_FALSE(menu->EnableItem(0, true));
    EXPECT_FALSE(menu->AddSubmenu(L"x", L""));
    menu->Show(10, 10);
}

TEST_F(ContextMenuTest, ToolTipsWrapOnlyWithinTheirWidths)
{
    QToolTip::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    EXPECT_EQ(FormatToolTipText(L"plain", 0), QStringLiteral("plain"));
    EXPECT_EQ(FormatToolTipText(L"a<b>", 1), QStringLiteral("<div style='white-space:pre-wrap; max-width:1px;'>a<b></div>"));

    const int id = menu->AddItem(L"Open", nothing, 0);
    menu->SetItemToolTip(id, L"Opens a file");
    menu->SetItemToolTip(id, L"");
    auto* widget = menu->GetImpl()->GetCtrl().data();
    QAction* action = widget->actions().at(0);
    const std::pair<int, QString> cases[] = {
        {50, QStringLiteral("Opens a file")},
        {32767, QStringLiteral("Opens a file")},
        {51, QStringLiteral("<div style='white-space:pre-wrap; max-width:51px;'>Opens a file</div>")},
    };
    for (const auto& [width, shown] : cases) {
        menu->SetToolTipMaxWidth(width);
        widget->onActionHovered(action);
        EXPECT_EQ(QToolTip::text(), shown) << width;
    }
    const int bare = menu->AddItem(L"Bare", nothing, 0);
    widget->onActionHovered(widget->actions().at(menu->GetMenuItemIndex(bare)));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, kWaitBoundMs)) << "an entry without a tip hides the tip";

    EXPECT_TRUE(menu->RemoveItem(id));
    EXPECT_EQ(widget->ToolTips().count(id), 1U) << "a removed entry's tip stays";
}

TEST_F(ContextMenuTest, AChosenEntryRunsItsCallbackAndShowsItsPicture)
{
    int chosen = -1;
    const int id = menu->AddItem(L"Bold", [&](int which) { chosen = which; }, ItemData::Checkable);
    const QByteArray red = PictureBytes::Png(8, 8, Qt::red);
    const QByteArray blue = PictureBytes::Png(8, 8, Qt::blue);
    const auto* redBytes = reinterpret_cast<const unsigned char*>(red.constData());
    menu->AddPictureToItem(id, redBytes, red.size(), ImageTypes::PNG, 0, BitmapType::Default, false);
    menu->AddPictureToItem(id, reinterpret_cast<const unsigned char*>(blue.constData()), blue.size(), ImageTypes::PNG,
                           0, BitmapType::Default, true);
    menu->AddPictureToItem(id, redBytes, -5, ImageTypes::PNG, 0, BitmapType::Default, true);
    menu->AddPictureToItem(id, nullptr, 100, ImageTypes::PNG, 0, BitmapType::Default, true);
    QAction* action = menu->GetImpl()->GetMenuItemAction(id);
    EXPECT_EQ(IconColour(action), qRgb(255, 0, 0));

    chooseFromPopup(QStringLiteral("Bold"));
    menu->Show(20, 20);
    EXPECT_EQ(chosen, id);
    EXPECT_TRUE(menu->IsCheckedItem(id));
    EXPECT_EQ(IconColour(action), qRgb(0, 0, 255)) << "the checked picture after the choice";
    EXPECT_TRUE(menu->CheckItem(id, false));
    EXPECT_EQ(IconColour(action), qRgb(255, 0, 0));
}

TEST_F(ContextMenuTest, WhatACallbackThrowsIsLogged)
{
    AUILibLogger::GetInstance().Clear();
    menu->AddItem(L"Fail", [] { throw std::runtime_error("callback failed"); }, 0);
    chooseFromPopup(QStringLiteral("Fail"));
    menu->Show(20, 20);
    EXPECT_EQ(AUILibLogger::GetInstance().GetLogCount(), 1U);
    AUILibLogger::GetInstance().Clear();
}

TEST_F(ContextMenuTest, ACallbackMayDiscardTheMenuItIsChosenFrom)
{
    ContextMenu* shown = menu.get();
    menu->AddItem(L"Drop", [&] { menu.reset(); }, 0);
    chooseFromPopup(QStringLiteral("Drop"));
    shown->Show(20, 20);
    EXPECT_FALSE(menu);

    menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(window.get()));
    menu->AddItem(L"Rebuild", [&] { menu->Create(window.get()); }, ItemData::Checkable);
    chooseFromPopup(QStringLiteral("Rebuild"));
    menu->Show(20, 20);
    EXPECT_EQ(menu->Count(), 0) << "the new menu is empty";
}
