#include "tests/shredder/ShredderFixture.h"

#include <unistd.h>

#include <sstream>

#include "engine/shredder/OverwritePattern.h"

namespace pgv::test {

ShredderTest::ShredderTest() {
  writeHostFile(hostC("Program Files/Purgavia/skin/msgsg.ini"), std::string("[QMR]\r\nmsg16=") + kLogText + "\r\n");
  writeHostFile(hostC("Program Files/Purgavia/Logs/.keep"), "");
  shredder.setListener(&events);
}

std::string ShredderTest::put(const std::string& relative, const std::string& content) {
  writeHostFile(hostC(relative), content);
  std::string path = "C:\\" + relative;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool ShredderTest::existsC(const std::string& relative) const { return hostFileExists(hostC(relative)); }

std::string ShredderTest::keepContent(const std::string& relative) {
  const std::string second = outside_ / ("kept" + std::to_string(kept_++));
  if (::link(hostC(relative).c_str(), second.c_str()) != 0) ADD_FAILURE() << "cannot link " << relative;
  return second;
}

std::vector<std::string> ShredderTest::logLines() const {
  std::istringstream in(readHostFile(hostC("Program Files/Purgavia/Logs/1-1-2006_Log.txt")));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string headPattern() {
  std::string head;
  for (std::uint8_t step : engine::OverwritePattern::kSteps) {
    head.append(engine::OverwritePattern::kStepRepeat, static_cast<char>(step));
  }
  return head;
}

}  // namespace pgv::test
