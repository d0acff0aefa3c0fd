#pragma once
// The program's language texts: message lookup in section "PGVX" of the message file of
// the chosen language, and the two rules by which the windows choose that file.

#include <memory>
#include <string>
#include <string_view>

#include "engine/api/INI.h"

namespace pgv::shell {

class Program;

class Texts {
 public:
  explicit Texts(Program& program);
  ~Texts();

  // The text of key in section "PGVX" of <program folder>\skin\<MessageFile>; read anew
  // at every lookup. A missing key or file gives what the INI class gives: "".
  std::string lookup(std::string_view key);
  std::string operator()(std::string_view key) { return lookup(key); }

  // The main window's rule: English (any letter case) reads "msgs.ini", anything else "msgsg.ini".
  static std::string mainWindowFile(std::string_view language);
  // The profile window's and log view's rule: "Deutsch" or "Duetsch" (any letter case)
  // reads "msgsg.ini", anything else "msgs.ini".
  static std::string otherWindowsFile(std::string_view language);

  // Sets CurrentLanguage and MessageFile by one of the rules.
  void chooseByMainWindowRule(const std::string& language);
  void chooseByOtherWindowsRule(const std::string& language);

 private:
  Program& program_;
  std::unique_ptr<pgv::INI> ini_;
};

}  // namespace pgv::shell
