#pragma once
// Settings of the build that the program's behaviour names but leaves open.

namespace pgv::shell {

// The product's web site, opened by the web-site command.
inline constexpr const char* kWebSite = "https://www.example.com/purgavia/";
// The ping panel's target when none is stored.
inline constexpr const char* kDefaultPingHost = "www.example.com";

}  // namespace pgv::shell
