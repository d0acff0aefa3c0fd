#pragma once
// The library's INI class: the INI service behind its public interface.

#include "engine/api/INI.h"
#include "engine/services/INI.h"

namespace pgv::engine {

class INIComponent : public pgv::INI {
 public:
  std::string GetFromINI(const std::string& File_Path, const std::string& Section, const std::string& key) override {
    return ini_.GetFromINI(File_Path, Section, key);
  }
  Variant WriteToINI(const std::string& File_Path, const std::string& Section, const std::string& key,
                     const std::string& Value) override {
    return ini_.WriteToINI(File_Path, Section, key, Value);
  }
  std::string EnumerateSections(const std::string& File_Path) override { return ini_.EnumerateSections(File_Path); }
  std::string Enumeratekeys(const std::string& File_Path, const std::string& Section) override {
    return ini_.Enumeratekeys(File_Path, Section);
  }

 private:
  engine::INI ini_;
};

}  // namespace pgv::engine
