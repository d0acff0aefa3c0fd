// File selection of a folder shred.

#include "engine/shredder/FileFilter.h"

#include <algorithm>

#include "platform/Codepage.h"

namespace pgv::engine {
namespace {

std::u16string upperCased(std::u16string text) {
  std::transform(text.begin(), text.end(), text.begin(), platform::upperCase);
  return text;
}

std::u16string lowerCased(std::u16string text) {
  std::transform(text.begin(), text.end(), text.begin(), platform::foldCase);
  return text;
}

}  // namespace

FileFilter::FileFilter(std::string extension, double minBytes, double maxBytes)
    : extension_(platform::utf8ToUtf16(extension)), minBytes_(minBytes), maxBytes_(maxBytes) {}

bool FileFilter::selects(const std::string& name, std::uint64_t length) const {
  const std::u16string name16 = platform::utf8ToUtf16(name);
  return ruleA(name16) || ruleB(name16, length);
}

FileFilter FileFilter::withoutSizeWindow() const {
  FileFilter copy = *this;
  copy.minBytes_ = 0;
  copy.maxBytes_ = 0;
  return copy;
}

bool FileFilter::ruleA(const std::u16string& name) const {
  return name.find(u'.') == std::u16string::npos && upperCased(name) == upperCased(extension_);
}

bool FileFilter::ruleB(const std::u16string& name, std::uint64_t length) const {
  const auto dot = name.rfind(u'.');
  const std::u16string afterDot = dot == std::u16string::npos ? name : name.substr(dot + 1);
  if (extension_ != u"*" && lowerCased(afterDot) != extension_) return false;
  if (minBytes_ == 0 && maxBytes_ == 0) return true;
  const auto bytes = static_cast<double>(length);
  return minBytes_ <= bytes && bytes <= maxBytes_;
}

}  // namespace pgv::engine
