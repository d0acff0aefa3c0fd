// The skin message box and the matching of its buttons.

#include "shell/MessageBox.h"

#include <memory>

#include "shell/Arguments.h"
#include "shell/Program.h"
#include "shell/Texts.h"

namespace pgv::shell {
namespace {

enum class Effect { Nothing, Yes, No, Cancel, EndProgram };

// The buttons a box can be answered with: title key, label key, what the answer does.
// The first row whose title and label texts match the pressed button applies.
struct AnswerRow {
  const char* title;
  const char* label;
  Effect effect;
};

constexpr AnswerRow kAnswerRows[] = {
    {"msg4", "msg18", Effect::Nothing},  {"msg31", "msg18", Effect::Nothing}, {"msg29", "msg18", Effect::Nothing},
    {"msg30", "msg20", Effect::Yes},     {"msg30", "msg21", Effect::No},      {"msg33", "msg20", Effect::Yes},
    {"msg33", "msg21", Effect::No},      {"msg32", "msg20", Effect::Yes},     {"msg32", "msg21", Effect::No},
    {"msg27", "msg20", Effect::Yes},     {"msg27", "msg21", Effect::No},      {"msg28", "msg20", Effect::Yes},
    {"msg28", "msg21", Effect::No},      {"msg29", "msg20", Effect::Yes},     {"msg29", "msg21", Effect::No},
    {"msg26", "msg20", Effect::Yes},     {"msg26", "msg21", Effect::No},      {"msg26", "msg19", Effect::Cancel},
    {"msg26", "msg14", Effect::EndProgram}, {"msg36", "msg20", Effect::Yes},  {"msg36", "msg21", Effect::No},
    {"msg36", "msg18", Effect::Nothing}, {"msg38", "msg21", Effect::No},      {"msg38", "msg20", Effect::Yes},
};

constexpr int kWidth = 335;
constexpr int kHeight = 140;

}  // namespace

// One shown box: its window, whose commands are the pressed buttons.
class MessageBox::Box : public platform::SkinCommandListener {
 public:
  Box(MessageBox& owner, platform::SkinHost& host) : owner_(owner), window_(host.createWindow("msgboxWindow", *this)) {}
  void FSCommand(const std::string& command, const std::string& args) override { owner_.onCommand(*this, command, args); }
  platform::SkinControl& window() { return *window_; }

 private:
  MessageBox& owner_;
  std::unique_ptr<platform::SkinControl> window_;
};

MessageBox::MessageBox(Program& program) : program_(program) {}

void MessageBox::ShowMsg(const std::string& message_, const std::string& title_, int Icons_, int buttons_) {
  Texts& texts = *program_.texts;
  Box box(*this, program_.host);
  platform::SkinControl& fl1 = box.window();
  fl1.setSize(kWidth, kHeight);
  fl1.LoadMovie(0, "\\skin\\ExternalMsg.swf");

  fl1.TGotoFrame("sign", Icons_);
  switch (buttons_) {
    case 1:
      fl1.TGotoFrame("NumberOfButtons", 0);
      fl1.SetVariable("_root.Middle", texts("msg18"));
      break;
    case 2:
      fl1.TGotoFrame("NumberOfButtons", 1);
      fl1.SetVariable("_root.Left", texts("msg20"));
      fl1.SetVariable("_root.Right", texts("msg21"));
      break;
    case 3:
    case 7:
      fl1.TGotoFrame("NumberOfButtons", 2);
      fl1.SetVariable("_root.Left", texts("msg20"));
      fl1.SetVariable("_root.Middle", texts("msg21"));
      fl1.SetVariable("_root.Right", texts("msg19"));
      break;
    default:
      break;
  }
  fl1.SetVariable("_root.title1", title_);
  fl1.SetVariable("_root.message", message_);
  fl1.showModal();
}

void MessageBox::showCompletion() {
  const std::string done = program_.texts->lookup("msg4");
  ShowMsg(done, done, 2, 1);
}

bool MessageBox::answer(std::string_view titleKey) const {
  const auto it = answers_.find(titleKey);
  return it != answers_.end() && it->second;
}

void MessageBox::onCommand(Box& box, const std::string& command, const std::string& args) {
  Texts& texts = *program_.texts;
  const std::string pressed = upperText(command + args);
  for (const AnswerRow& row : kAnswerRows) {
    if (pressed != upperText(texts(row.title) + texts(row.label))) continue;
    switch (row.effect) {
      case Effect::Nothing:
        break;
      case Effect::Yes:
        answers_[row.title] = true;
        break;
      case Effect::No:
        answers_[row.title] = false;
        break;
      case Effect::Cancel:
        ExitCancelled = true;
        break;
      case Effect::EndProgram:
        program_.end();
    }
    box.window().hide();
    return;
  }
  // No row matches: the box stays open and its caller keeps waiting.
}

}  // namespace pgv::shell
