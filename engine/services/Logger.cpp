// Logger: one line per removed item in the day's log file. The file is opened and
// closed for every line, so its size on disk is always current for the main program's
// before-and-after comparison.

#include "engine/services/Logger.h"

#include <memory>

#include "engine/api/EngineError.h"
#include "platform/Codepage.h"
#include "platform/Platform.h"

namespace pgv::engine {
namespace {

constexpr const char* kErrorSource = "PGVX.Logger";

// The error the file statement would have raised for a platform failure.
EngineError fileError(platform::Status status, const std::string& path) {
  switch (status) {
    case platform::status::PathNotFound:
      return EngineError(76, kErrorSource, "Path not found: " + path);
    case platform::status::AccessDenied:
    case platform::status::SharingViolation:
      return EngineError(70, kErrorSource, "Permission denied: " + path);
    case platform::status::DiskFull:
    case platform::status::HandleDiskFull:
      return EngineError(61, kErrorSource, "Disk full: " + path);
    default:
      return EngineError(75, kErrorSource, "Path/File access error: " + path);
  }
}

std::string logFileIn(const std::string& programFolder, const platform::LocalTime& day) {
  return programFolder + "\\Logs\\" + Logger::dayLogFileName(day);
}

// "<date>     <time>"<TAB><Section><Txt><CR><LF>
std::string logLine(platform::Clock& clock, const platform::LocalTime& when, const std::string& Section,
                    const std::string& Txt) {
  return "\"" + clock.shortDate(when) + "     " + clock.timeText(when) + "\"\t" + Section + Txt + "\r\n";
}

void appendToFile(platform::Files& files, const std::string& path, const std::string& bytes) {
  std::unique_ptr<platform::FileHandle> file;
  platform::Status status = files.open(path, platform::OpenMode::Append, file);
  if (status != platform::status::Success) throw fileError(status, path);
  std::uint32_t written = 0;
  status = file->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
  if (status == platform::status::Success && written != bytes.size()) status = platform::status::DiskFull;
  if (status != platform::status::Success) throw fileError(status, path);
}

}  // namespace

Variant Logger::AddToLog(const std::string& Section, const std::string& Txt) {
  platform::Platform& machine = platform::current();
  // One reading of the clock, so a line always lands in the file of the date it carries.
  const platform::LocalTime now = machine.clock().now();
  const std::string path = logFileIn(machine.system().programFolder(), now);
  appendToFile(machine.files(), path, platform::utf8ToAnsi(logLine(machine.clock(), now, Section, Txt)));
  return {};
}

std::string Logger::getLogPath() { return platform::current().system().programFolder(); }

std::string Logger::dayLogFileName(const platform::LocalTime& day) {
  return std::to_string(day.day) + "-" + std::to_string(day.month) + "-" + std::to_string(day.year) + "_Log.txt";
}

std::string Logger::todaysLogFile() {
  platform::Platform& machine = platform::current();
  return logFileIn(machine.system().programFolder(), machine.clock().now());
}

}  // namespace pgv::engine
