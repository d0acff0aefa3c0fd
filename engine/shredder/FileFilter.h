#pragma once
// Which files of a folder a folder shred takes, by name and size.
//
// A file with name N and length L is selected when
//  - rule A: N has no "." and equals the extension without regard to case, or
//  - rule B: the extension is "*", or equals exactly the lower-cased part of N after its
//    last "." (all of N when it has none) - the extension itself is not lower-cased, so
//    an upper-case extension never matches this way - and, when a size window is set
//    (either bound not 0), minBytes <= L <= maxBytes. With only a lower bound set
//    (maxBytes 0) no file passes rule B.

#include <cstdint>
#include <string>

namespace pgv::engine {

class FileFilter {
 public:
  FileFilter(std::string extension, double minBytes, double maxBytes);

  bool selects(const std::string& name, std::uint64_t length) const;
  // The same filter by name, without a size window (what sub-folders get).
  FileFilter withoutSizeWindow() const;

 private:
  bool ruleA(const std::u16string& name) const;
  bool ruleB(const std::u16string& name, std::uint64_t length) const;

  std::u16string extension_;
  double minBytes_;
  double maxBytes_;
};

}  // namespace pgv::engine
