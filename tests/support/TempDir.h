#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards.

#include <string>

namespace pgv::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes text to a host file, creating its folders.
void writeHostFile(const std::string& path, const std::string& content);
// The whole content of a host file ("" when missing).
std::string readHostFile(const std::string& path);
bool hostFileExists(const std::string& path);

}  // namespace pgv::test
