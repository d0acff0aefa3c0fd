// Misc_Functions: the shell services. The Windows cleaners and tweaks are still to come;
// until then the tweaks change nothing.

#include "engine/cleaners/Misc_Functions.h"

#include "platform/Platform.h"

namespace pgv::engine {
namespace {

platform::Shell* shell() { return platform::current().shell(); }

// The first zero character ends the path, as SHGetPathFromIDList's buffer does; a path
// longer than MAX_PATH - 1 does not fit that buffer at all.
std::string asPickedPath(const std::string& answer) {
  constexpr std::size_t kMaxPath = 260;
  std::string path = answer.substr(0, answer.find('\0'));
  if (path.size() >= kMaxPath) return {};
  return path;
}

}  // namespace

std::string Misc_Functions::BrowseForFolder(std::int32_t /*hwnd*/) {
  platform::Shell* s = shell();
  if (!s) return {};
  const auto answer = s->browseForFolder();
  return answer ? asPickedPath(*answer) : std::string();
}

Variant Misc_Functions::OpenWeb(const std::string& site) {
  if (platform::Shell* s = shell()) s->shellExecute("Open", site, platform::showcmd::Hide);
  return {};
}

Variant Misc_Functions::RunProgram(const std::string& ProgramName) {
  if (platform::Shell* s = shell()) s->shellExecute("Open", ProgramName, platform::showcmd::Hide);
  return {};
}

Variant Misc_Functions::AddExploreFromHere(bool /*Flag*/) { return {}; }
Variant Misc_Functions::EnableBalloons(bool /*Flag*/) { return {}; }
Variant Misc_Functions::FlatWindows(bool /*Flag*/) { return {}; }
Variant Misc_Functions::BootFaster(bool /*Flag*/) { return {}; }
Variant Misc_Functions::EnableAutomaticSharing(bool /*Flag*/) { return {}; }
Variant Misc_Functions::Optimize_HardDisk_when_idle(bool /*Flag*/) { return {}; }
Variant Misc_Functions::LoadOnStartUp(bool /*Flag*/, const std::string& /*key*/, const std::string& /*program_name*/) {
  return {};
}

}  // namespace pgv::engine
