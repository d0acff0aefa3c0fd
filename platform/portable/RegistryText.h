#pragma once
// Line input and buffered text output for registry files: the parser reads one line at
// a time so a large hive never has to be held in memory twice, and the writer hands
// its output to a sink in large pieces.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pgv::platform {

class LineSource {
 public:
  enum class Result { Line, End, TooLong, ReadError };
  virtual ~LineSource() = default;
  // The next line without its "\n" (a final line without one is still a line).
  virtual Result next(std::string_view& line) = 0;
};

// Lines of a text in memory.
class TextLines : public LineSource {
 public:
  explicit TextLines(std::string_view text, std::size_t maxLine);
  Result next(std::string_view& line) override;

 private:
  std::string_view rest_;
  std::size_t maxLine_;
};

// Lines read from a file descriptor through one growing buffer.
class FileLines : public LineSource {
 public:
  FileLines(int fd, std::size_t maxLine);
  Result next(std::string_view& line) override;
  int error() const { return errno_; }

 private:
  bool fill();
  int fd_;
  std::size_t maxLine_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t scanned_ = 0;  // bytes after begin_ already known to hold no newline
  bool eof_ = false;
  int errno_ = 0;
};

class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual bool write(std::string_view text) = 0;
};

class StringSink : public TextSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  bool write(std::string_view text) override {
    out_.append(text);
    return true;
  }

 private:
  std::string& out_;
};

class FileSink : public TextSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}
  bool write(std::string_view text) override;
  int error() const { return errno_; }

 private:
  int fd_;
  int errno_ = 0;
};

}  // namespace pgv::platform
