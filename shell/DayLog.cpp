// The day's log file as the main program reads it.

#include "shell/DayLog.h"

#include <memory>

namespace pgv::shell {

std::string dayLogFile(platform::Platform& platform) {
  const platform::LocalTime today = platform.clock().now();
  return platform.system().programFolder() + "\\Logs\\" + std::to_string(today.day) + "-" +
         std::to_string(today.month) + "-" + std::to_string(today.year) + "_Log.txt";
}

std::uint64_t dayLogSize(platform::Platform& platform) {
  std::unique_ptr<platform::FileHandle> file;
  if (platform.files().open(dayLogFile(platform), platform::OpenMode::Read, file) != platform::status::Success) {
    return 0;
  }
  std::uint64_t size = 0;
  if (file->size(size) != platform::status::Success) return 0;
  return size;
}

}  // namespace pgv::shell
