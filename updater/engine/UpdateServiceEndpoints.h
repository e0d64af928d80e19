#pragma once

// The public addresses of the update service. They are deployment values and live here only.
namespace UpdateServiceEndpoints {

// Asked by the China package type ("zh-CN").
inline constexpr const char* kUpdateCheck = "https://update.kelvrin.cn/check";
// Asked by every other package type.
inline constexpr const char* kAddonList = "https://addons.kelvrin.com/addons/list.php";

} // namespace UpdateServiceEndpoints
