// The dispatcher's opening and closing steps with commands nested inside one another,
// in process: the real program, engine library and skin protocol on a fresh machine.

#include <gtest/gtest.h>

#include <functional>

#include "engine/api/ClassIds.h"
#include "engine/api/INI.h"
#include "platform/Codepage.h"
#include "shell/Dispatcher.h"
#include "shell/Engine.h"
#include "shell/Installation.h"
#include "shell/LogView.h"
#include "shell/Program.h"
#include "tests/shell/RecordingHost.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TempDir.h"

namespace pgv::test {
namespace {

using nlohmann::json;
using shell::Flow;
using shell::Program;

// Registers the engine library of this build in the machine, as its installer would,
// so that the test executable finds it (it is not beside the test).
void registerEngineLibrary(platform::Registry& registry) {
  platform::HKEY key = 0;
  ASSERT_EQ(registry.createKey(platform::HKEY_CLASSES_ROOT, shell::Engine::registrationKey(),
                               platform::regaccess::AllAccess, key, nullptr),
            platform::status::Success);
  const std::string path = std::string(PGV_BINARY_DIR) + "/libPGVX.so";
  ASSERT_EQ(registry.setValue(key, "", platform::regtype::Sz, reinterpret_cast<const std::uint8_t*>(path.c_str()),
                              static_cast<std::uint32_t>(path.size() + 1)),
            platform::status::Success);
  registry.closeKey(key);
}

// The day's log file of the test machine's fake clock (1 January 2006).
constexpr const char* kDayLog = "C:\\Program Files\\Purgavia\\Logs\\1-1-2006_Log.txt";

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerEngineLibrary(machine.platform().registry());
    std::string error;
    engine = shell::Engine::load(machine.platform(), error);
    ASSERT_TRUE(engine) << error;
    ASSERT_TRUE(shell::installProgramFiles(machine.platform(), std::string(PGV_BINARY_DIR) + "/skin", error)) << error;
    machine.platform().setShell(&host.shell());
    program = std::make_unique<Program>(machine.platform(), host, *engine);
    // The log view reads the per-user language (German when none is stored).
    machine.platform().settings().save("PGVX", "Lang", "Lang", "English");
  }

  void appendToDayLog(const std::string& line) {
    std::unique_ptr<platform::FileHandle> file;
    ASSERT_EQ(machine.platform().files().open(kDayLog, platform::OpenMode::Append, file), platform::status::Success);
    std::uint32_t written = 0;
    ASSERT_EQ(file->write(line.data(), static_cast<std::uint32_t>(line.size()), written), platform::status::Success);
  }

  TestMachine machine;
  RecordingHost host;
  std::unique_ptr<shell::Engine> engine;
  std::unique_ptr<Program> program;
};

// Commands for a test table: what they do is set by each test.
struct Script {
  std::function<Flow(Program&, const std::string&)> outer;
  std::function<Flow(Program&, const std::string&)> inner;
};
Script* g_script = nullptr;

Flow runOuter(Program& p, const std::string& args) { return g_script->outer(p, args); }
Flow runInner(Program& p, const std::string& args) { return g_script->inner(p, args); }

constexpr shell::Command kTestCommands[] = {{"OUTER", runOuter}, {"INNER", runInner}};

// The main skin, whose commands go through a dispatcher with the test table.
class TestMainSkin : public platform::SkinCommandListener {
 public:
  explicit TestMainSkin(Program& program) : dispatcher_(program, kTestCommands) {}
  void FSCommand(const std::string& command, const std::string& args) override {
    dispatcher_.dispatch(command, args);
  }

 private:
  shell::Dispatcher dispatcher_;
};

int countSets(const std::vector<json>& events, const std::string& name, const std::string& value) {
  int n = 0;
  for (const auto& e : events) {
    if (e.value("ev", "") == "set" && e.value("name", "") == name && e.value("value", "") == value) ++n;
  }
  return n;
}

int firstSet(const std::vector<json>& events, const std::string& name) {
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].value("ev", "") == "set" && events[i].value("name", "") == name) return static_cast<int>(i);
  }
  return -1;
}

TEST_F(DispatcherTest, ANestedCommandKeepsItsOwnLogSizeAndClearsTheSharedFlag) {
  TestMainSkin skin(*program);
  auto fl1 = host.createWindow("mainfrm", skin);
  fl1->show(true);

  Script script;
  script.outer = [&](Program& p, const std::string&) {
    p.state.CleanRecBen = true;  // as a recycle-bin step does
    appendToDayLog("\"1/1/2006     9:05:07 AM\"\tRemoved registry entry: HKEY_CURRENT_USER\\x\r\n");
    // Delivering a log line lets the waiting INNER run, nested.
    p.logView->deliver("HKEY_CURRENT_USER\\x");
    fl1->SetVariable("_root.outer", "done");
    return Flow::Continue;
  };
  script.inner = [&](Program&, const std::string&) {
    fl1->SetVariable("_root.inner", "ran");
    return Flow::Continue;
  };
  g_script = &script;
  host.post({json{{"win", "mainfrm"}, {"cmd", "outer"}}, json{{"win", "mainfrm"}, {"cmd", "INNER"}}});
  host.pump();
  g_script = nullptr;

  const auto events = host.take();
  // INNER ran inside OUTER, while the log line was being delivered.
  const int line = firstSet(events, "_root.LogFile");
  const int inner = firstSet(events, "_root.inner");
  const int outer = firstSet(events, "_root.outer");
  ASSERT_GE(line, 0);
  ASSERT_GE(inner, 0);
  EXPECT_LT(inner, outer);
  EXPECT_LT(line, outer);
  // INNER's own log size did not change: it revealed nothing. OUTER's did: one reveal
  // with the button. INNER's opening step cleared CleanRecBen, so OUTER does not reveal
  // a second time without the button.
  EXPECT_EQ(countSets(events, "_root.ViewLogBtn", "1"), 1);
  EXPECT_EQ(countSets(events, "_root.LogFile", "Operation completed"), 1);
  EXPECT_GT(firstSet(events, "_root.ViewLogBtn") , inner);
  EXPECT_FALSE(program->state.CleanRecBen);
}

TEST_F(DispatcherTest, ClosingStepRevealsByLogGrowthAndByTheFlag) {
  TestMainSkin skin(*program);
  auto fl1 = host.createWindow("mainfrm", skin);
  fl1->show(true);
  struct Case {
    const char* label;
    bool growLog;
    bool setFlag;
    Flow flow;
    int buttonReveals;  // "_root.ViewLogBtn" = "1"
    int completions;    // "_root.LogFile" = the completion text
  };
  const Case cases[] = {
      {"nothing happened", false, false, Flow::Continue, 0, 0},
      {"log grew", true, false, Flow::Continue, 1, 1},
      {"flag set", false, true, Flow::Continue, 0, 1},
      {"both", true, true, Flow::Continue, 1, 2},
      {"stopped early", true, true, Flow::StopEarly, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Script script;
    script.outer = [&](Program& p, const std::string&) {
      if (c.growLog) appendToDayLog("line\r\n");
      if (c.setFlag) p.state.CleanRecBen = true;
      return c.flow;
    };
    g_script = &script;
    host.post({json{{"win", "mainfrm"}, {"cmd", "OUTER"}}});
    host.pump();
    g_script = nullptr;
    const auto events = host.take();
    EXPECT_EQ(countSets(events, "_root.ViewLogBtn", "1"), c.buttonReveals);
    EXPECT_EQ(countSets(events, "_root.LogFile", "Operation completed"), c.completions);
    program->state.CleanRecBen = false;
  }
}

// An interface whose class the library does not have.
class Unknown : public EngineObject {
 public:
  static constexpr ClassId kId{"PGVX.Unknown", "{00000000-0000-0000-0000-000000000000}"};
  static constexpr const ClassId& kClassId = kId;
};

TEST_F(DispatcherTest, EngineIsFoundThroughItsRegistrationAndCreatesByClassId) {
  EXPECT_EQ(engine->libraryPath(), std::string(PGV_BINARY_DIR) + "/libPGVX.so");
  auto ini = engine->create<pgv::INI>();
  EXPECT_EQ(ini->GetFromINI("C:\\Program Files\\Purgavia\\skin\\msgs.ini", "PGVX", "msg20"), "Yes");
  try {
    engine->create<Unknown>();
    FAIL() << "created an object of a class the library does not have";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.number(), 429);
  }
  // Registration names every class by id and programmatic name.
  ASSERT_TRUE(engine->registerServer());
  platform::Registry& registry = machine.platform().registry();
  platform::HKEY key = 0;
  ASSERT_EQ(registry.openKey(platform::HKEY_CLASSES_ROOT, "PGVX.INI\\CLSID", platform::regaccess::QueryValue, key),
            platform::status::Success);
  char data[64] = {};
  std::uint32_t size = sizeof data;
  ASSERT_EQ(registry.queryValue(key, "", nullptr, reinterpret_cast<std::uint8_t*>(data), &size),
            platform::status::Success);
  registry.closeKey(key);
  EXPECT_STREQ(data, classid::INI.clsid);

  // Unregistering removes the class keys again.
  std::string why;
  auto library = platform::loadLibrary(engine->libraryPath(), why);
  ASSERT_TRUE(library) << why;
  const auto unregister = reinterpret_cast<PGVX_RegisterServerFn>(library->symbol("PGVX_UnregisterServer"));
  ASSERT_NE(unregister, nullptr);
  EXPECT_EQ(unregister(), PGVX_S_OK);
  EXPECT_EQ(registry.openKey(platform::HKEY_CLASSES_ROOT, "PGVX.INI", platform::regaccess::QueryValue, key),
            platform::status::FileNotFound);
  EXPECT_EQ(registry.openKey(platform::HKEY_CLASSES_ROOT, shell::Engine::registrationKey(),
                             platform::regaccess::QueryValue, key),
            platform::status::FileNotFound);
}

}  // namespace
}  // namespace pgv::test
