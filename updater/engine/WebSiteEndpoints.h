#pragma once

// The maker's web-site addresses that the dialogs open. They are deployment values and live here only.
namespace WebSiteEndpoints {

// Redirect services; a redirect page path and query are appended to them.
inline constexpr const char* kRedirectService = "https://redirect.kelvrin.com";
// Taken by the China package type ("zh-CN").
inline constexpr const char* kRedirectServiceChina = "https://redirect.kelvrin.cn";
// The Japanese web site's own redirect page, for a Japanese reader.
inline constexpr const char* kJapaneseRedirectPage = "https://jp.kelvrin.com/redirect.php";
// Where the add-ons can be downloaded by hand.
inline constexpr const char* kAddonsPage = "https://www.kelvrin.com/products/addons/";

} // namespace WebSiteEndpoints
