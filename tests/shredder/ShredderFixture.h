#pragma once
// A fresh machine with the shredder's message text and log folder, a Shredder listening
// to it, and the machine's Files recorded (see RecordingFiles.h).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/shredder/Shredder.h"
#include "tests/shredder/RecordingFiles.h"
#include "tests/support/TestMachine.h"

namespace pgv::test {

// What the shredder raised.
struct ShredderEvents : ShredderListener {
  std::vector<std::string> shown;
  std::vector<double> progress;
  void ShowLog(const std::string& Msg) override { shown.push_back(Msg); }
  void Progress(double Percent) override { progress.push_back(Percent); }
};

class ShredderTest : public ::testing::Test {
 protected:
  static constexpr const char* kLogText = "Shredded:";

  ShredderTest();

  // Writes a file below drive C: ("d/a.txt") and returns its Windows path ("C:\d\a.txt").
  std::string put(const std::string& relative, const std::string& content);
  std::string hostC(const std::string& relative) const { return machine.hostC(relative); }
  bool existsC(const std::string& relative) const;
  // A second name for the file, outside drive C:, that keeps its content after the
  // shred has deleted the first.
  std::string keepContent(const std::string& relative);
  // The lines of the day's log file.
  std::vector<std::string> logLines() const;

  TestMachine machine;
  RecordingPlatform recording{machine.platform()};
  RecordingFiles& files = recording.recorder;
  engine::Shredder shredder;
  ShredderEvents events;

 private:
  TempDir outside_;
  int kept_ = 0;
};

// The bytes a complete shred leaves at the start of a file.
std::string headPattern();

}  // namespace pgv::test
