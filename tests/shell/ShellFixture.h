#pragma once
// A fresh machine folder for each end-to-end test, the program started on it through
// the stdio skin host, and reading its registry back after the program has ended.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "platform/Platform.h"
#include "tests/support/SkinSession.h"
#include "tests/support/TempDir.h"

namespace pgv::test {

inline const std::string kBinaryDir = PGV_BINARY_DIR;

// The texts of the English message file that the tests press and expect.
namespace en {
inline const std::string kDone = "Operation completed";
inline const std::string kYes = "Yes";
inline const std::string kNo = "No";
inline const std::string kCancel = "Cancel";
inline const std::string kOk = "OK";
inline const std::string kExit = "Exit";
inline const std::string kExitTitle = "Exit Purgavia";
inline const std::string kProfilesTitle = "Profiles";
inline const std::string kNamePrompt = "Please enter a name for the profile:";
}  // namespace en

class ShellTest : public ::testing::Test {
 public:
  static constexpr const char* kSettings = "Software\\vuzaz2\\Settings";
  static constexpr const char* kPerUser = "Software\\VB and VBA Program Settings\\PGVX";

 protected:
  ShellTest() : machine_(dir_ / "machine") {
    const std::string command = kBinaryDir + "/purgavia init-machine '" + machine_ + "' >/dev/null";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("init-machine failed");
  }

  const std::string& machine() const { return machine_; }

  std::unique_ptr<SkinSession> start(std::vector<std::string> extra = {}) {
    return std::make_unique<SkinSession>(kBinaryDir, machine_, std::move(extra));
  }

  // Starts the program and reads its start-up up to the first idle.
  std::unique_ptr<SkinSession> startAndWait(Events* startup = nullptr, std::vector<std::string> extra = {}) {
    auto session = start(std::move(extra));
    Events events = session->untilIdle();
    if (startup) *startup = std::move(events);
    return session;
  }

  // The host path of a file of drive C: of the machine.
  std::string hostC(const std::string& relative) const { return machine_ + "/drive_c/" + relative; }
  std::string programFolderHost() const { return hostC("Program Files/Purgavia"); }

  // A string value of HKEY_CURRENT_USER as the machine's registry holds it now (opened
  // anew, so it sees what the program saved); nullopt when absent.
  std::optional<std::string> userValue(const std::string& key, const std::string& name) {
    return withRegistry<std::optional<std::string>>([&](platform::Registry& registry) -> std::optional<std::string> {
      platform::HKEY handle = 0;
      if (registry.openKey(platform::HKEY_CURRENT_USER, platform::utf8ToAnsi(key), platform::regaccess::QueryValue,
                           handle) != platform::status::Success) {
        return std::nullopt;
      }
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      std::optional<std::string> result;
      const std::string ansiName = platform::utf8ToAnsi(name);
      if (registry.queryValue(handle, ansiName, &type, nullptr, &size) == platform::status::Success) {
        std::string data(size, '\0');
        if (registry.queryValue(handle, ansiName, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size) ==
            platform::status::Success) {
          data.resize(data.find('\0') == std::string::npos ? data.size() : data.find('\0'));
          result = platform::ansiToUtf8(data);
        }
      }
      registry.closeKey(handle);
      return result;
    });
  }

  // The subkey names of an HKEY_CURRENT_USER key, in registry order.
  std::vector<std::string> userSubkeys(const std::string& key) {
    return withRegistry<std::vector<std::string>>([&](platform::Registry& registry) {
      std::vector<std::string> names;
      platform::HKEY handle = 0;
      if (registry.openKey(platform::HKEY_CURRENT_USER, platform::utf8ToAnsi(key),
                           platform::regaccess::EnumerateSubKeys, handle) != platform::status::Success) {
        return names;
      }
      char name[256];
      for (std::uint32_t i = 0; registry.enumKey(handle, i, name, sizeof name) == platform::status::Success; ++i) {
        names.push_back(platform::ansiToUtf8(name));
      }
      registry.closeKey(handle);
      return names;
    });
  }

  // Writes a string value of HKEY_CURRENT_USER into the machine (before the program starts).
  void setUserValue(const std::string& key, const std::string& name, const std::string& value) {
    setValue(platform::HKEY_CURRENT_USER, key, name, value);
  }
  void setValue(platform::HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    withRegistry<int>([&](platform::Registry& registry) {
      platform::HKEY handle = 0;
      if (registry.createKey(root, platform::utf8ToAnsi(key), platform::regaccess::AllAccess, handle, nullptr) !=
          platform::status::Success) {
        ADD_FAILURE() << "cannot create " << key;
        return 0;
      }
      const std::string data = platform::utf8ToAnsi(value);
      EXPECT_EQ(registry.setValue(handle, platform::utf8ToAnsi(name), platform::regtype::Sz,
                                  reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                  static_cast<std::uint32_t>(data.size() + 1)),
                platform::status::Success);
      registry.closeKey(handle);
      EXPECT_EQ(registry.flush(), platform::status::Success);
      return 0;
    });
  }


  // The whole message exchange that exits with "Yes" and names the profile when asked.
  static void exitSavingAs(SkinSession& session, const std::optional<std::string>& name, Events& events) {
    session.command("mainfrm", "IDC_FS_CLOSE");
    session.untilIdle();
    session.command("msgboxWindow", en::kExitTitle, en::kYes);
    if (name) {
      session.untilIdle();
      session.answer(*name);
    }
    EXPECT_EQ(session.untilExit(events), 0);
  }

 private:
  template <class T, class F>
  T withRegistry(F&& use) {
    platform::PlatformOptions options;
    options.machineFolder = machine_;
    std::string error;
    auto opened = platform::openPlatform(options, error);
    if (!opened) {
      ADD_FAILURE() << error;
      return T{};
    }
    return use(opened->registry());
  }

  TempDir dir_;
  std::string machine_;
};

}  // namespace pgv::test
