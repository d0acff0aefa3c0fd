// FolderShred: selection, order, removal, stop, and never leaving the folder.

#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "tests/shredder/ShredderFixture.h"

namespace pgv::test {
namespace {

std::set<std::string> asSet(const std::vector<std::string>& names) { return {names.begin(), names.end()}; }

TEST_F(ShredderTest, SubFoldersAreFinishedAndRemovedBeforeTheFilesOfTheirParent) {
  put("d/e/f.txt", "f");
  put("d/g.txt", "g");

  EXPECT_EQ(shredder.FolderShred("C:\\d", false, "*", true), 0);

  std::vector<std::string> changes;
  for (const std::string& call : files.calls) {
    if (call.rfind("delete C:\\d", 0) == 0 || call.rfind("rmdir ", 0) == 0) changes.push_back(call);
  }
  EXPECT_EQ(changes, (std::vector<std::string>{"delete C:\\d\\e\\f.txt", "rmdir C:\\d\\e", "delete C:\\d\\g.txt",
                                               "rmdir C:\\d"}));
  EXPECT_EQ(events.shown, (std::vector<std::string>{"f.txt", "g.txt"}));
  EXPECT_FALSE(existsC("d"));
}

TEST_F(ShredderTest, FilesAreSelectedByNameRules) {
  struct Case {
    const char* filter;
    std::set<std::string> shredded;
  };
  const std::vector<std::string> names = {"a.txt", "b.TXT", "txt", "TXT", "c.doc", "d.txt.bak", "e.tx", "f"};
  for (const Case& c : {Case{"txt", {"a.txt", "b.TXT", "txt", "TXT"}}, Case{"TXT", {"txt", "TXT"}},
                        Case{"*", {"a.txt", "b.TXT", "txt", "TXT", "c.doc", "d.txt.bak", "e.tx", "f"}},
                        Case{"bak", {"d.txt.bak"}}, Case{"F", {"f"}}, Case{"", {}}}) {
    SCOPED_TRACE(c.filter);
    for (const std::string& name : names) put("sel/" + name, "content");
    events.shown.clear();

    shredder.FolderShred("C:\\sel", true, c.filter);

    EXPECT_EQ(asSet(events.shown), c.shredded);
    EXPECT_TRUE(existsC("sel")) << "only the contents go";
    for (const std::string& name : names) EXPECT_EQ(existsC("sel/" + name), c.shredded.count(name) == 0) << name;
  }
}

TEST_F(ShredderTest, TheSizeWindowAppliesToTheTopFolderOnly) {
  struct Case {
    double maxKb, minKb;
    std::set<std::string> shredded;
  };
  for (const Case& c : {Case{2, 1, {"mid.log", "big_below.log", "tiny_below.log"}},
                        Case{0, 1, {"big_below.log", "tiny_below.log"}},
                        Case{2, 0, {"tiny.log", "mid.log", "big_below.log", "tiny_below.log"}},
                        Case{3, 0, {"tiny.log", "mid.log", "big.log", "big_below.log", "tiny_below.log"}},
                        Case{0, 0, {"tiny.log", "mid.log", "big.log", "big_below.log", "tiny_below.log"}}}) {
    SCOPED_TRACE(testing::Message() << c.minKb << "-" << c.maxKb);
    put("w/tiny.log", std::string(100, 'x'));
    put("w/mid.log", std::string(1500, 'x'));
    put("w/big.log", std::string(3000, 'x'));
    put("w/sub/big_below.log", std::string(3000, 'x'));
    put("w/sub/tiny_below.log", std::string(100, 'x'));
    events.shown.clear();

    shredder.FolderShred("C:\\w\\", true, "log", true, c.maxKb, c.minKb);

    EXPECT_EQ(asSet(events.shown), c.shredded);
  }
}

TEST_F(ShredderTest, RemovingTheFolderTakesUnselectedFilesWithItUnshredded) {
  put("mixed/a.txt", "a");
  put("mixed/b.doc", "b");
  put("mixed/deeper/c.doc", "c");

  shredder.FolderShred("C:\\mixed", false, "txt", false);

  EXPECT_EQ(events.shown, std::vector<std::string>{"a.txt"});
  EXPECT_FALSE(existsC("mixed"));
  EXPECT_EQ(files.callsStartingWith("write C:\\mixed\\b.doc").size(), 0u);
}

TEST_F(ShredderTest, AReadOnlyFileLeftUnselectedKeepsTheFolder) {
  put("ro/a.txt", "a");
  put("ro/keep.doc", "k");
  ::chmod(hostC("ro/keep.doc").c_str(), 0444);

  shredder.FolderShred("C:\\ro", false, "txt", false);

  EXPECT_FALSE(existsC("ro/a.txt"));
  EXPECT_TRUE(existsC("ro/keep.doc"));
}

TEST_F(ShredderTest, EveryFilesDataIsOnTheDiskBeforeItsNameGoes) {
  for (int i = 0; i < 300; ++i) put("many/f" + std::to_string(i) + ".dat", std::string(1000 + i, 'q'));

  shredder.FolderShred("C:\\many", false, "*", false);

  std::set<std::string> flushed;
  int deletions = 0;
  for (const std::string& call : files.calls) {
    if (call.rfind("flush ", 0) == 0) flushed.insert(call.substr(6));
    if (call.rfind("delete C:\\many\\", 0) == 0) {
      ++deletions;
      EXPECT_EQ(flushed.count(call.substr(7)), 1u) << call << " before its flush";
    }
  }
  EXPECT_EQ(deletions, 300);
  EXPECT_EQ(events.shown.size(), 300u);
  EXPECT_FALSE(existsC("many"));
}

TEST_F(ShredderTest, AFileWhoseDataDidNotReachTheDiskIsNotDeleted) {
  for (const char* name : {"f/a.txt", "f/b.txt", "f/c.txt"}) put(name, "data");
  files.flushHook = [](std::string_view path) {
    return path == "C:\\f\\b.txt" ? platform::status::WriteFault : platform::status::Success;
  };

  shredder.FolderShred("C:\\f", true, "*", false);

  EXPECT_EQ(events.shown, (std::vector<std::string>{"a.txt", "c.txt"}));
  EXPECT_TRUE(existsC("f/b.txt"));
  EXPECT_EQ(logLines().size(), 2u);
}

TEST_F(ShredderTest, AStopRequestEndsTheWalkAndKeepsWhatIsLeft) {
  for (const char* name : {"s/a/1.txt", "s/b/2.txt", "s/c/3.txt", "s/4.txt"}) put(name, "data");
  shredder.setYieldHook([&] {
    if (events.shown.size() == 1) shredder.StopShred(true);  // cancel after the first file
  });

  shredder.FolderShred("C:\\s", false, "*", true);

  EXPECT_EQ(events.shown, std::vector<std::string>{"1.txt"});
  EXPECT_FALSE(existsC("s/a/1.txt"));
  EXPECT_TRUE(existsC("s/a")) << "the stop arrived before the emptied folder was removed";
  for (const char* left : {"s/b/2.txt", "s/c/3.txt", "s/4.txt"}) EXPECT_TRUE(existsC(left)) << left;

  events.shown.clear();
  shredder.FolderShred("C:\\s", false, "*", true);
  EXPECT_TRUE(events.shown.empty()) << "the stop flag stays set until the caller clears it";
  EXPECT_TRUE(existsC("s/4.txt"));
}

TEST_F(ShredderTest, LinksInsideTheTreeAreRemovedAsLinksAndTheirTargetsStay) {
  TempDir elsewhere;
  writeHostFile(elsewhere / "outside/precious.txt", "outside data");
  writeHostFile(elsewhere / "single.txt", "single");
  put("tree/own.txt", "mine");
  ::mkdir(hostC("tree/sub").c_str(), 0755);
  ASSERT_EQ(::symlink((elsewhere / "outside").c_str(), hostC("tree/sub/dirlink").c_str()), 0);
  ASSERT_EQ(::symlink((elsewhere / "single.txt").c_str(), hostC("tree/filelink.txt").c_str()), 0);
  ASSERT_EQ(::symlink((elsewhere / "outside").c_str(), hostC("toplink").c_str()), 0);

  shredder.FolderShred("C:\\tree", false, "*", true);
  shredder.FolderShred("C:\\toplink", false, "*", true);

  EXPECT_FALSE(existsC("tree"));
  EXPECT_FALSE(existsC("toplink"));
  EXPECT_EQ(readHostFile(elsewhere / "outside/precious.txt"), "outside data");
  EXPECT_EQ(readHostFile(elsewhere / "single.txt"), "single");
  EXPECT_EQ(events.shown, std::vector<std::string>{"own.txt"});
}

TEST_F(ShredderTest, LinksStayWhenOnlyTheContentsGo) {
  TempDir elsewhere;
  writeHostFile(elsewhere / "outside/precious.txt", "outside data");
  ::mkdir(hostC("keepdirs").c_str(), 0755);
  ASSERT_EQ(::symlink((elsewhere / "outside").c_str(), hostC("keepdirs/dirlink").c_str()), 0);

  shredder.FolderShred("C:\\keepdirs", true, "*", true);

  EXPECT_TRUE(existsC("keepdirs/dirlink"));
  EXPECT_EQ(readHostFile(elsewhere / "outside/precious.txt"), "outside data");
}

TEST_F(ShredderTest, DriveRootsAndTheHostRootAreNeverShredded) {
  put("top.txt", "t");
  put("x/inner.txt", "i");
  ASSERT_EQ(::symlink("/", (machine.folder() + "/dosdevices/z:").c_str()) == 0 || errno == EEXIST, true);
  for (const char* root : {"C:\\", "C:", "c:/", "C:\\x\\..", "C:\\.\\", "C:\\x\\.. .", "Z:\\", "Z:\\tmp"}) {
    SCOPED_TRACE(root);
    shredder.FolderShred(root, false, "*", true);
  }
  EXPECT_TRUE(existsC("top.txt"));
  EXPECT_TRUE(existsC("x/inner.txt"));
  EXPECT_TRUE(events.shown.empty());
}

TEST_F(ShredderTest, MissingFoldersAndFilesGivenAsFoldersAreLeftAlone) {
  put("plain.txt", "p");
  EXPECT_EQ(shredder.FolderShred("C:\\does\\not\\exist", false, "*", true), 0);
  EXPECT_EQ(shredder.FolderShred("C:\\plain.txt", false, "*", true), 0);
  EXPECT_TRUE(existsC("plain.txt"));
}

}  // namespace
}  // namespace pgv::test
