#include "ChildDialog.h"

#include "AUILibConfig.h"

#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

using namespace AUILib;

TEST(ChildDialog, IsAPlainPanelUnderItsParent)
{
    QWidget window;
    ChildDialog panel;
    EXPECT_EQ(panel.GetControlType(), ControlType::ChildDialog);
    EXPECT_EQ(panel.BackgroundColor(), -1);
    EXPECT_EQ(panel.GetSkinManager(), GetGlobalSkinManager());

    EXPECT_TRUE(panel.Create(&window));
    EXPECT_EQ(panel.GetParentWindow(), &window);
    EXPECT_EQ(panel.GetPlatformHandle()->parentWidget(), &window);
    EXPECT_TRUE(panel.GetPlatformHandle()->inherits("AUILib::ChildDialogQt"));

    window.show();
    panel.SetVisible(false);
    EXPECT_FALSE(panel.IsVisible());
    panel.SetVisible(true);
    EXPECT_TRUE(panel.IsVisible());
}

TEST(ChildDialog, BackgroundColourFillsThePanel)
{
    ChildDialog panel;
    panel.MoveWindow(0, 0, 20, 20, false);
    panel.SetBackgroundColor(0x7F336699);
    EXPECT_EQ(panel.BackgroundColor(), 0x7F336699);
    QWidget* widget = panel.GetPlatformHandle();
    EXPECT_TRUE(widget->autoFillBackground());
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        EXPECT_EQ(widget->palette().color(group, QPalette::Window), QColor(0x33, 0x66, 0x99)) << group;
    EXPECT_EQ(widget->grab().toImage().pixelColor(10, 10), QColor(0x33, 0x66, 0x99));
}
