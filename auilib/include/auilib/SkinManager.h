#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace AUILib {

class BaseImpl;

enum class SkinMode : std::int32_t {
    Default = 0,
    Dark = 1,
    XML = 2,
    HCMDark = 3,
    Custom = 4, // set only by SetCustomSkin
};

// Selects a role table: 1 the first, any other value the second.
enum class SkinMap : std::int32_t {
    First = 1,
    Second = 2,
};

// The colour scheme: a skin mode and 128 colour slots filled by role name. Controls read `colors`
// and `skinMode` directly.
class SkinManager
{
public:
    static constexpr std::size_t SlotCount = 128;
    static constexpr std::uint32_t NoColor = 0xFFFFFFFF;
    // A role name and the slot it colours.
    using RoleTable = std::vector<std::pair<std::wstring, std::size_t>>;

    SkinManager(BaseImpl* owner, SkinMode mode);
    explicit SkinManager(SkinMode mode);

    bool LoadSkin(SkinMode mode, bool flag, bool second);
    bool SetSkinMode(SkinMode mode);
    bool InitSkinManager(const SkinManager* parent, SkinMode mode);
    void LoadDefaultSkin(bool);
    void LoadDarkSkin(bool);
    void LoadXMLSkin(bool);
    void LoadHCMDarkSkin(bool);
    void UpdateColorObjects() {}
    // Writes `color` into every slot of the chosen table whose role matches, ignoring case.
    void AssignColor(SkinMap map, const std::wstring& role, unsigned int color);
    void InitSkinColorByMap(SkinMap map, const std::map<std::wstring, unsigned int>& colors);
    // Takes the other manager's colours and flags; this manager keeps its own owner.
    bool SetCustomSkin(const SkinManager& other);
    void SetColorChangeFlag(bool changed);
    bool GetColorChangeFlag() const { return colorChangeFlag; }
    void UpdateCustomColors();

    const RoleTable& SkinMap1() const { return skinMap1; }
    const RoleTable& SkinMap2() const { return skinMap2; }

    std::array<std::uint32_t, SlotCount> colors;
    const SkinManager* parent = nullptr;
    bool colorsFromMap = false;
    SkinMode skinMode = SkinMode::Default;
    BaseImpl* owner = nullptr;
    bool loadSkinFlag = false;
    bool initialized = false;
    bool colorChangeFlag = false;

private:
    // The mode to store for a requested one; false when the mode is refused.
    static bool ResolveMode(SkinMode requested, SkinMode& resolved);
    bool StoreMode(SkinMode mode);

    RoleTable skinMap1;
    RoleTable skinMap2;
};

} // namespace AUILib
