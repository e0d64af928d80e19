#include "SkinManager.h"

#include "TestControl.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace AUILib;

namespace {

// The first role table as rows of eight slotSet, written out from the design independently of the
// library's own list; "-" marks a slot without a role.
const char* const kFirstTableRows[] = {
    "Primary_text,Disabled_text,Input_BG,Hover_button_border,Button_border,Disable_Button_border,Accent_color,Placeholder_text",
    "Primary_text,Disabled_text,Frame_border,Content_BG,Primary_text,Disabled_text,Content_BG,Content_BG",
    "Hover_BG,Frame_border,Accent_color,Placeholder_text,Button_text,Disable_button_text,Button_text,Input_BG",
    "Primary_BG,Disable_Button_border,Button_text,Input_BG,Hover_button_border,Check_or_Radio_border,Disable_Button_border,Button_border",
    "Disable_Button_border,Accent_color,Primary_text,Disabled_text,Primary_text,Content_BG,Primary_BG,Frame_border",
    "Hover_BG,Primary_text,Frame_border,Frame_border,Accent_color,ScrollbarThumb_color,Scrollbar_BG,Primary_text",
    "ScrollbarThumb_color,Hover_scrollbarThumb_color,Frame_border,Accent_button_text,Accent_button_text,Accent_color,Accent_color,Accent_color",
    "Content_BG,Press_accent_color,Accent_button_text,Hover_accent_color,Press_accent_color,Accent_color,Accent_color,Disable_accent_color",
    "Accent_button_text,Disable_accent_color,Press_accent_color,Press_accent_color,Accent_color,Accent_button_text,-,-",
    "Primary_text,Frame_border,Primary_text,Disabled_text,Primary_text,Active_BG,Frame_border,Frame_border",
    "Primary_text,White_BG,Hover_accent_color,Frame_border,Primary_text,Primary_text,Primary_text,Disabled_text",
    "Disabled_text,Content_BG,Spacing_line,Primary_text,Primary_text,Disabled_text,Frame_border,Content_BG",
    "Primary_text,White_BG,Active_BG,Accent_color,Second_BG,Accent_color,Secondary_text,Link_rest",
    "Link_pressed,Link_hover,Link_disabled,Secondary_text,Primary_text,Primary_text,Second_BG,Active_BG",
    "Second_BG,Light_spacing_line,Primary_text,Primary_text,Second_BG,Primary_text,ScrollbarThumb_color,Primary_text",
    "Disabled_text,White_BG,Primary_text,Content_BG,Content_BG,Primary_text,Frame_border,Primary_text",
};

std::map<QString, std::set<std::size_t>> SlotsByRole(bool second)
{
    QStringList roles;
    for (const char* row : kFirstTableRows)
        roles += QString::fromLatin1(row).split(',');
    if (second) {
        const std::pair<int, const char*> changes[] = {
            {3, "Hover_input_border"}, {4, "Input_border"}, {5, "Disable_input_border"},
            {6, "Selected_input_border"}, {29, "Button_text"}, {30, "Hover_button_BG"}, {81, "Content_BG"},
            {97, "Content_BG"}, {100, "Hover_BG"}, {121, "Content_BG"},
        };
        for (const auto& [slot, role] : changes)
            roles[slot] = role;
    }
    std::map<QString, std::set<std::size_t>> slotSet;
    for (int slot = 0; slot < roles.size(); ++slot) {
        if (roles[slot] != "-")
            slotSet[roles[slot]].insert(static_cast<std::size_t>(slot));
    }
    return slotSet;
}

std::set<std::size_t> WrittenSlots(const SkinManager& manager)
{
    std::set<std::size_t> written;
    for (std::size_t slot = 0; slot < SkinManager::SlotCount; ++slot) {
        if (manager.colors[slot] != SkinManager::NoColor)
            written.insert(slot);
    }
    return written;
}

class NotifiedImpl : public TestControl<QWidget>::Impl
{
public:
    void OnSkinColorChanged() override { ++notifications; }
    int notifications = 0;
};

} // namespace

TEST(SkinManager, BothRoleTablesMatchTheirTranscription)
{
    for (const bool second : {false, true}) {
        const auto expected = SlotsByRole(second);
        ASSERT_EQ(expected.size(), second ? 35u : 32u);
        ASSERT_EQ(expected.at("Primary_text").size(), 26u);
        for (const auto& [role, slotSet] : expected) {
            SkinManager manager(SkinMode::Default);
            manager.AssignColor(second ? SkinMap::Second : SkinMap::First, role.toLower().toStdWString(), 0x11223344);
            EXPECT_EQ(WrittenSlots(manager), slotSet) << role.toStdString() << (second ? " (second)" : " (first)");
        }
    }
}

TEST(SkinManager, RolesOfTheOtherTableOrUnknownChangeNothing)
{
    SkinManager manager(SkinMode::Default);
    manager.AssignColor(SkinMap::First, L"Input_border", 1);
    manager.AssignColor(SkinMap::Second, L"No_such_role", 1);
    EXPECT_TRUE(WrittenSlots(manager).empty());
    manager.AssignColor(static_cast<SkinMap>(7), L"INPUT_BORDER", 5);
    EXPECT_EQ(WrittenSlots(manager), (std::set<std::size_t>{4})) << "any map but 1 is the second table";

    SkinManager mapped(SkinMode::Default);
    mapped.InitSkinColorByMap(SkinMap::First, {});
    EXPECT_TRUE(mapped.colorsFromMap);
    EXPECT_TRUE(WrittenSlots(mapped).empty());
    mapped.InitSkinColorByMap(SkinMap::First, {{L"Link_rest", 7}, {L"Link_hover", 8}});
    EXPECT_EQ(mapped.colors[103], 7u);
    EXPECT_EQ(mapped.colors[105], 8u);
}

TEST(SkinManager, ModesResolveAndUnknownOnesAreRefused)
{
    for (const int mode : {0, 3, 4, 7, -1})
        EXPECT_EQ(SkinManager(static_cast<SkinMode>(mode)).skinMode, SkinMode::Default) << mode;
    EXPECT_EQ(SkinManager(SkinMode::XML).skinMode, SkinMode::XML);

    SkinManager manager(SkinMode::Dark);
    EXPECT_FALSE(manager.LoadSkin(static_cast<SkinMode>(5), true, false));
    EXPECT_EQ(manager.skinMode, SkinMode::Dark);
    EXPECT_TRUE(manager.loadSkinFlag);
    EXPECT_TRUE(manager.SetSkinMode(SkinMode::HCMDark));
    EXPECT_EQ(manager.skinMode, SkinMode::Default) << "high contrast is off here";
    EXPECT_FALSE(manager.loadSkinFlag);
    manager.LoadHCMDarkSkin(false);
    EXPECT_EQ(manager.skinMode, SkinMode::HCMDark);

    SkinManager fresh(SkinMode::Default);
    EXPECT_TRUE(fresh.InitSkinManager(&fresh, SkinMode::Dark));
    EXPECT_EQ(fresh.skinMode, SkinMode::Dark);
    EXPECT_TRUE(fresh.InitSkinManager(&fresh, SkinMode::XML));
    EXPECT_EQ(fresh.skinMode, SkinMode::Dark);

    SkinManager child(SkinMode::Default);
    EXPECT_FALSE(child.InitSkinManager(&fresh, static_cast<SkinMode>(9)));
    EXPECT_EQ(child.parent, &fresh);
    EXPECT_TRUE(child.initialized);
}

TEST(SkinManager, ACopyWritesOnlyItsOwnColours)
{
    NotifiedImpl firstOwner;
    NotifiedImpl secondOwner;
    SkinManager original(&firstOwner, SkinMode::Default);
    original.AssignColor(SkinMap::First, L"Accent_color", 0xFF0000FF);

    SkinManager custom(&secondOwner, SkinMode::Dark);
    EXPECT_TRUE(custom.SetCustomSkin(original));
    EXPECT_EQ(custom.skinMode, SkinMode::Custom);
    EXPECT_EQ(custom.colors, original.colors);
    EXPECT_EQ(custom.owner, &secondOwner);
    custom.AssignColor(SkinMap::First, L"Primary_text", 0x00FF00FF);
    EXPECT_EQ(original.colors[0], SkinManager::NoColor);
    EXPECT_EQ(custom.colors[0], 0x00FF00FFu);
    custom.SetColorChangeFlag(true);
    EXPECT_EQ(secondOwner.notifications, 1);
    EXPECT_EQ(firstOwner.notifications, 0);

    SkinManager copy = original;
    copy.AssignColor(SkinMap::First, L"Primary_text", 1);
    EXPECT_EQ(original.colors[0], SkinManager::NoColor);
    EXPECT_EQ(copy.colors[0], 1u);

    EXPECT_TRUE(original.SetCustomSkin(original));
    EXPECT_EQ(original.skinMode, SkinMode::Custom);
    EXPECT_EQ(original.colors[6], 0xFF0000FFu);
}

TEST(SkinManager, ColourChangeFlag)
{
    NotifiedImpl owner;
    SkinManager manager(&owner, SkinMode::Default);
    manager.SetColorChangeFlag(false);
    EXPECT_EQ(owner.notifications, 0);
    manager.SetColorChangeFlag(true);
    EXPECT_EQ(owner.notifications, 1);
    EXPECT_TRUE(manager.GetColorChangeFlag());
    manager.UpdateCustomColors();
    EXPECT_FALSE(manager.GetColorChangeFlag());
}
