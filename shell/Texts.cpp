// Message lookup and the choice of the message file.

#include "shell/Texts.h"

#include "shell/Arguments.h"
#include "shell/Program.h"

namespace pgv::shell {

Texts::Texts(Program& program) : program_(program) {}
Texts::~Texts() = default;

std::string Texts::lookup(std::string_view key) {
  if (!ini_) ini_ = program_.engine.create<pgv::INI>();
  const std::string file = program_.platform.system().programFolder() + "\\skin\\" + program_.state.MessageFile;
  return ini_->GetFromINI(file, "PGVX", std::string(key));
}

std::string Texts::mainWindowFile(std::string_view language) {
  return upperText(language) == "ENGLISH" ? "msgs.ini" : "msgsg.ini";
}

std::string Texts::otherWindowsFile(std::string_view language) {
  const std::string upper = upperText(language);
  return upper == "DEUTSCH" || upper == "DUETSCH" ? "msgsg.ini" : "msgs.ini";
}

void Texts::chooseByMainWindowRule(const std::string& language) {
  program_.state.CurrentLanguage = language;
  program_.state.MessageFile = mainWindowFile(language);
}

void Texts::chooseByOtherWindowsRule(const std::string& language) {
  program_.state.CurrentLanguage = language;
  program_.state.MessageFile = otherWindowsFile(language);
}

}  // namespace pgv::shell
