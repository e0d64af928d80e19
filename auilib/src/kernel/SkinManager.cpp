#include "SkinManager.h"

#include "AUILibUtils.h"
#include "BaseImpl.h"

#include <cwctype>

namespace AUILib {

namespace {

// The first table's role of every slot; slots 70 and 71 carry none.
const wchar_t* const kFirstTableRoles[SkinManager::SlotCount] = {
    L"Primary_text", L"Disabled_text", L"Input_BG", L"Hover_button_border", L"Button_border",
    L"Disable_Button_border", L"Accent_color", L"Placeholder_text",
    L"Primary_text", L"Disabled_text", L"Frame_border", L"Content_BG", L"Primary_text", L"Disabled_text",
    L"Content_BG", L"Content_BG",
    L"Hover_BG", L"Frame_border", L"Accent_color", L"Placeholder_text", L"Button_text", L"Disable_button_text",
    L"Button_text", L"Input_BG",
    L"Primary_BG", L"Disable_Button_border", L"Button_text", L"Input_BG", L"Hover_button_border",
    L"Check_or_Radio_border", L"Disable_Button_border", L"Button_border",
    L"Disable_Button_border", L"Accent_color", L"Primary_text", L"Disabled_text", L"Primary_text", L"Content_BG",
    L"Primary_BG", L"Frame_border",
    L"Hover_BG", L"Primary_text", L"Frame_border", L"Frame_border", L"Accent_color", L"ScrollbarThumb_color",
    L"Scrollbar_BG", L"Primary_text",
    L"ScrollbarThumb_color", L"Hover_scrollbarThumb_color", L"Frame_border", L"Accent_button_text",
    L"Accent_button_text", L"Accent_color", L"Accent_color", L"Accent_color",
    L"Content_BG", L"Press_accent_color", L"Accent_button_text", L"Hover_accent_color", L"Press_accent_color",
    L"Accent_color", L"Accent_color", L"Disable_accent_color",
    L"Accent_button_text", L"Disable_accent_color", L"Press_accent_color", L"Press_accent_color", L"Accent_color",
    L"Accent_button_text", nullptr, nullptr,
    L"Primary_text", L"Frame_border", L"Primary_text", L"Disabled_text", L"Primary_text", L"Active_BG",
    L"Frame_border", L"Frame_border",
    L"Primary_text", L"White_BG", L"Hover_accent_color", L"Frame_border", L"Primary_text", L"Primary_text",
    L"Primary_text", L"Disabled_text",
    L"Disabled_text", L"Content_BG", L"Spacing_line", L"Primary_text", L"Primary_text", L"Disabled_text",
    L"Frame_border", L"Content_BG",
    L"Primary_text", L"White_BG", L"Active_BG", L"Accent_color", L"Second_BG", L"Accent_color", L"Secondary_text",
    L"Link_rest",
    L"Link_pressed", L"Link_hover", L"Link_disabled", L"Secondary_text", L"Primary_text", L"Primary_text",
    L"Second_BG", L"Active_BG",
    L"Second_BG", L"Light_spacing_line", L"Primary_text", L"Primary_text", L"Second_BG", L"Primary_text",
    L"ScrollbarThumb_color", L"Primary_text",
    L"Disabled_text", L"White_BG", L"Primary_text", L"Content_BG", L"Content_BG", L"Primary_text", L"Frame_border",
    L"Primary_text",
};

// Where the second table differs from the first.
const std::pair<std::size_t, const wchar_t*> kSecondTableChanges[] = {
    {3, L"Hover_input_border"}, {4, L"Input_border"}, {5, L"Disable_input_border"}, {6, L"Selected_input_border"},
    {29, L"Button_text"}, {30, L"Hover_button_BG"}, {81, L"Content_BG"}, {97, L"Content_BG"}, {100, L"Hover_BG"},
    {121, L"Content_BG"},
};

SkinManager::RoleTable BuildTable(bool second)
{
    const wchar_t* roles[SkinManager::SlotCount];
    std::copy(std::begin(kFirstTableRoles), std::end(kFirstTableRoles), roles);
    if (second) {
        for (const auto& change : kSecondTableChanges)
            roles[change.first] = change.second;
    }
    SkinManager::RoleTable table;
    for (std::size_t slot = 0; slot < SkinManager::SlotCount; ++slot) {
        if (roles[slot])
            table.emplace_back(roles[slot], slot);
    }
    return table;
}

std::wstring UpperCase(const std::wstring& text)
{
    std::wstring upper = text;
    for (wchar_t& character : upper)
        character = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(character)));
    return upper;
}

} // namespace

SkinManager::SkinManager(BaseImpl* owner, SkinMode mode)
    : owner(owner)
    , skinMap1(BuildTable(false))
    , skinMap2(BuildTable(true))
{
    colors.fill(NoColor);
    StoreMode(mode);
}

SkinManager::SkinManager(SkinMode mode)
    : SkinManager(nullptr, mode)
{
}

bool SkinManager::ResolveMode(SkinMode requested, SkinMode& resolved)
{
    const auto value = static_cast<std::int32_t>(requested);
    if (value < 0 || value > static_cast<std::int32_t>(SkinMode::HCMDark))
        return false;
    if (AUILibUtils::IsSystemHighContrastMode())
        resolved = SkinMode::HCMDark;
    else
        resolved = requested == SkinMode::HCMDark ? SkinMode::Default : requested;
    return true;
}

bool SkinManager::StoreMode(SkinMode mode)
{
    return ResolveMode(mode, skinMode);
}

bool SkinManager::LoadSkin(SkinMode mode, bool flag, bool)
{
    loadSkinFlag = flag;
    return StoreMode(mode);
}

bool SkinManager::SetSkinMode(SkinMode mode)
{
    loadSkinFlag = false;
    return StoreMode(mode);
}

bool SkinManager::InitSkinManager(const SkinManager* newParent, SkinMode mode)
{
    if (newParent == this) {
        parent = nullptr;
        if (initialized)
            return true;
    } else {
        parent = newParent;
    }
    loadSkinFlag = false;
    const bool stored = StoreMode(mode);
    initialized = true;
    return stored;
}

void SkinManager::LoadDefaultSkin(bool)
{
    skinMode = SkinMode::Default;
}

void SkinManager::LoadDarkSkin(bool)
{
    skinMode = SkinMode::Dark;
}

void SkinManager::LoadXMLSkin(bool)
{
    skinMode = SkinMode::XML;
}

void SkinManager::LoadHCMDarkSkin(bool)
{
    skinMode = SkinMode::HCMDark;
}

void SkinManager::AssignColor(SkinMap map, const std::wstring& role, unsigned int color)
{
    const RoleTable& table = map == SkinMap::First ? skinMap1 : skinMap2;
    const std::wstring wanted = UpperCase(role);
    for (const auto& entry : table) {
        if (UpperCase(entry.first) == wanted)
            colors[entry.second] = color;
    }
}

void SkinManager::InitSkinColorByMap(SkinMap map, const std::map<std::wstring, unsigned int>& newColors)
{
    for (const auto& entry : newColors)
        AssignColor(map, entry.first, entry.second);
    colorsFromMap = true;
}

bool SkinManager::SetCustomSkin(const SkinManager& other)
{
    colors = other.colors;
    parent = other.parent;
    colorsFromMap = other.colorsFromMap;
    loadSkinFlag = other.loadSkinFlag;
    initialized = other.initialized;
    colorChangeFlag = other.colorChangeFlag;
    skinMode = SkinMode::Custom;
    return true;
}

void SkinManager::SetColorChangeFlag(bool changed)
{
    if (changed && owner)
        owner->OnSkinColorChanged();
    colorChangeFlag = changed;
}

void SkinManager::UpdateCustomColors()
{
    colorChangeFlag = false;
}

} // namespace AUILib
