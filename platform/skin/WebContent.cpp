// The files of the web skin host.

#include "platform/skin/WebContent.h"

#include <array>
#include <cstdint>
#include <cctype>
#include <random>

namespace pgv::platform::skin {
namespace {

// Keeps the part of a file name that is safe in a URL path and a header.
std::string urlSafeName(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    out += (std::isalnum(u) || c == '.' || c == '-' || c == '_') ? c : '_';
  }
  return out.empty() ? std::string("document") : out;
}

std::string lowerExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  std::string ext(name.substr(dot + 1));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace

void WebContent::putPage(const std::string& path, WebFile file) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_[path] = std::make_shared<const WebFile>(std::move(file));
}

std::string WebContent::putDocument(WebFile file) {
  const std::string path = "doc/" + randomToken() + "/" + urlSafeName(file.fileName);
  std::lock_guard<std::mutex> lock(mutex_);
  files_[path] = std::make_shared<const WebFile>(std::move(file));
  documents_.push_back(path);
  while (documents_.size() > kMaxDocuments) {
    files_.erase(documents_.front());
    documents_.pop_front();
  }
  return path;
}

std::shared_ptr<const WebFile> WebContent::find(std::string_view path) const {
  const std::string_view key = path.empty() ? std::string_view("index.html") : path;
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = files_.find(key);
  return it == files_.end() ? nullptr : it->second;
}

std::string WebContent::typeOf(std::string_view name) {
  static const std::array<std::pair<const char*, const char*>, 10> kTypes{{
      {"html", "text/html; charset=utf-8"},
      {"css", "text/css; charset=utf-8"},
      {"js", "text/javascript; charset=utf-8"},
      {"mjs", "text/javascript; charset=utf-8"},
      {"json", "application/json"},
      {"svg", "image/svg+xml"},
      {"png", "image/png"},
      {"ico", "image/x-icon"},
      // The program's own text files (the log, the message files) are code page 1252.
      {"txt", "text/plain; charset=windows-1252"},
      {"ini", "text/plain; charset=windows-1252"},
  }};
  const std::string ext = lowerExtension(name);
  for (const auto& [extension, type] : kTypes) {
    if (ext == extension) return type;
  }
  return "application/octet-stream";
}

std::string randomToken() {
  std::random_device device;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (int word = 0; word < 4; ++word) {
    std::uint32_t bits = device();
    for (int nibble = 0; nibble < 8; ++nibble) {
      token += kHex[bits & 0xF];
      bits >>= 4;
    }
  }
  return token;
}

}  // namespace pgv::platform::skin
