// The skin host's message loop in process: pending-message processing, modal waits,
// questions and the order in which held input is delivered.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <memory>

#include "tests/shell/RecordingHost.h"

namespace pgv::test {
namespace {

using nlohmann::json;

// A window's command handler that runs a test's function.
struct Handler : platform::SkinCommandListener {
  std::function<void(const std::string&, const std::string&)> onCommand;
  std::vector<std::string> seen;
  void FSCommand(const std::string& command, const std::string& args) override {
    seen.push_back(command + ":" + args);
    if (onCommand) onCommand(command, args);
  }
};

json cmd(const std::string& win, const std::string& command, const std::string& args = "") {
  return json{{"win", win}, {"cmd", command}, {"args", args}};
}

class SkinHostTest : public ::testing::Test {
 protected:
  // Runs the loop until the program ends; the tests end it with an end of input.
  void runToEnd() {
    host.postEndOfInput();
    EXPECT_THROW(host.run(), Ended);
  }
  RecordingHost host;
};

TEST_F(SkinHostTest, PumpDeliversWaitingInputNestedInsideTheCaller) {
  Handler main;
  auto window = host.createWindow("mainfrm", main);
  window->show(true);
  main.onCommand = [&](const std::string& command, const std::string&) {
    if (command != "OUTER") return;
    main.seen.push_back("outer pumps");
    host.pump();
    main.seen.push_back("outer done");
  };
  host.post({cmd("mainfrm", "OUTER"), cmd("mainfrm", "INNER", "x")});
  host.pump();
  EXPECT_EQ(main.seen, (std::vector<std::string>{"OUTER:", "outer pumps", "INNER:x", "outer done"}));
}

TEST_F(SkinHostTest, ModalWaitHoldsOtherWindowsUntilItEnds) {
  Handler main;
  Handler box;
  auto mainWindow = host.createWindow("mainfrm", main);
  mainWindow->show(true);
  std::unique_ptr<platform::SkinControl> boxWindow;
  main.onCommand = [&](const std::string& command, const std::string&) {
    if (command != "ASK") return;
    boxWindow = host.createWindow("msgboxWindow", box);
    boxWindow->showModal();
    main.seen.push_back("box closed");
  };
  box.onCommand = [&](const std::string& command, const std::string&) {
    if (command == "OK") boxWindow->hide();
  };
  host.post({cmd("mainfrm", "ASK"), cmd("mainfrm", "LATER"), json{{"win", "mainfrm"}, {"var", "v"}, {"value", "1"}},
             cmd("msgboxWindow", "NOPE"), cmd("msgboxWindow", "OK")});
  runToEnd();
  EXPECT_EQ(main.seen, (std::vector<std::string>{"ASK:", "box closed", "LATER:"}));
  EXPECT_EQ(box.seen, (std::vector<std::string>{"NOPE:", "OK:"}));
  EXPECT_EQ(mainWindow->GetVariable("v"), "1");
}

TEST_F(SkinHostTest, AQuestionWaitsForItsAnswerAndHoldsEverythingElse) {
  Handler main;
  auto window = host.createWindow("mainfrm", main);
  window->show(true);
  std::optional<std::string> answer = "unset";
  main.onCommand = [&](const std::string& command, const std::string&) {
    if (command == "PICK") answer = host.shell().browseForFolder();
  };
  host.post({cmd("mainfrm", "PICK"), cmd("mainfrm", "NEXT"), json{{"answer", nullptr}}});
  runToEnd();
  EXPECT_EQ(answer, std::nullopt);
  EXPECT_EQ(main.seen, (std::vector<std::string>{"PICK:", "NEXT:"}));
  const auto events = host.take();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[1], (json{{"ev", "ask"}, {"kind", "folder"}}));
}

TEST_F(SkinHostTest, InputGoesToTheNewestShownWindowOfItsName) {
  Handler first;
  Handler second;
  auto a = host.createWindow("msgboxWindow", first);
  auto b = host.createWindow("msgboxWindow", second);
  a->show(true);
  b->show(true);
  host.post({cmd("msgboxWindow", "ONE")});
  host.pump();
  b->hide();
  host.post({cmd("msgboxWindow", "TWO")});
  host.pump();
  b.reset();
  a->hide();
  host.post({cmd("msgboxWindow", "THREE")});
  host.pump();
  EXPECT_EQ(first.seen, std::vector<std::string>{"TWO:"});
  EXPECT_EQ(second.seen, std::vector<std::string>{"ONE:"});
  ASSERT_EQ(host.diagnostics().size(), 1u);
  EXPECT_NE(host.diagnostics()[0].find("not shown"), std::string::npos);
}

TEST_F(SkinHostTest, IdleComesOnlyWhenTheLoopWaitsAndNamesWhatItWaitsFor) {
  Handler main;
  auto window = host.createWindow("mainfrm", main);
  window->show(true);
  int saves = 0;
  host.setIdleHook([&] { ++saves; });
  host.setEndHook([&] { saves += 100; });
  // Three messages that arrive together cause one idle when all are done.
  host.post({cmd("mainfrm", "A"), cmd("mainfrm", "B"), cmd("mainfrm", "C")});
  std::thread skin([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    host.postEndOfInput();
  });
  EXPECT_THROW(host.run(), Ended);
  skin.join();
  const auto events = host.take();
  EXPECT_EQ(events, (std::vector<json>{json{{"ev", "show"}, {"win", "mainfrm"}, {"modal", false}, {"activate", true}},
                                       json{{"ev", "idle"}}, json{{"ev", "exit"}, {"code", 0}}}));
  EXPECT_EQ(saves, 101);  // the registry is saved before the idle and at the end
}

}  // namespace
}  // namespace pgv::test
