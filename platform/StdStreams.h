#pragma once
// The process's standard input and output as raw byte streams (no text-mode newline
// translation), for hosts that speak a line protocol over them.

#include <cstddef>
#include <memory>

namespace pgv::platform {

// Standard input, read by one reader thread.
class StandardInput {
 public:
  virtual ~StandardInput() = default;
  // Blocks until bytes arrive: their count, 0 at the end of input (or when it cannot be
  // read any more), -1 after interrupt().
  virtual long read(char* buffer, std::size_t size) = 0;
  // Makes a read that blocks (now or later) return -1. False when the backend cannot
  // wake a blocked reader; the caller then leaves the reader thread to end with the process.
  virtual bool interrupt() = 0;
};

// The process's standard input.
std::unique_ptr<StandardInput> openStandardInput();

// Writes all of data to standard output; false once the reader of it has gone away.
bool writeStandardOutput(const char* data, std::size_t size);

// A reader that went away must not kill the program in the middle of a write.
void ignoreBrokenPipe();

}  // namespace pgv::platform
