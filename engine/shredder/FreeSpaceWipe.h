#pragma once
// The free-space wipe of one drive: measures the space free to the caller F, writes
// filler files TmpShred.1, TmpShred.2, ... of 10,000,000 "0" characters each into the
// drive's root until F is covered (or the drive is full, which ends the filling early
// and is no failure), then TmpShred.x with the rest of F. The fillers stay until all of
// them are written and on the disk, so together they occupy the free space; then all are
// deleted. Fillers that an interrupted wipe left behind are deleted first.
//
// Sizes are 64-bit throughout. Failures raise EngineError after the fillers written so
// far are deleted; a stop request deletes them too and ends the wipe without its final
// progress.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace pgv::engine {

class FreeSpaceWipe {
 public:
  static constexpr std::uint64_t kChunkSize = 10'000'000;
  static constexpr char kFillCharacter = '0';

  struct Hooks {
    // Lets pending messages be processed; true when the wipe must stop.
    std::function<bool()> yieldStopped;
    // Progress in percent.
    std::function<void(double)> progress;
  };

  // root is the drive's root folder with its backslash ("D:\").
  FreeSpaceWipe(platform::Files& files, std::string root, Hooks hooks);
  ~FreeSpaceWipe();
  FreeSpaceWipe(const FreeSpaceWipe&) = delete;
  FreeSpaceWipe& operator=(const FreeSpaceWipe&) = delete;

  void run();

  // The free space measured at the start, in bytes.
  std::uint64_t measuredFree() const { return measuredFree_; }

  // True for the names of filler files: "TmpShred." followed by a number or "x", in any
  // letter case.
  static bool isFillerName(const std::string& name);

 private:
  enum class Outcome { Written, DriveFull };

  void removeLeftovers();
  std::uint64_t measureFreeSpace();
  bool fillChunks(std::uint64_t chunkCount, double chunkFraction);
  Outcome writeFiller(const std::string& name, std::uint64_t size);
  // Puts the unflushed fillers on the disk and closes them.
  void flushPending();
  void deleteFillers();
  [[noreturn]] void fail(platform::Status status, const std::string& path);

  platform::Files& files_;
  std::string root_;
  Hooks hooks_;
  std::uint64_t measuredFree_ = 0;
  std::string chunk_;                 // kChunkSize fill characters, made for the first filler
  std::vector<std::string> fillers_;  // every filler created, in order
  std::vector<std::unique_ptr<platform::FileHandle>> unflushed_;  // fillers whose flush is still to come
};

}  // namespace pgv::engine
