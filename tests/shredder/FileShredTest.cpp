// FileShred: what it writes, what it deletes, what it reports.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "engine/shredder/OverwritePattern.h"
#include "tests/shredder/ShredderFixture.h"

namespace pgv::test {
namespace {

using engine::OverwritePattern;

// True when no byte of text outside the head still holds the original filler byte.
bool noOriginalByteLeft(const std::string& text, char original) {
  return std::find(text.begin() + std::min<std::size_t>(text.size(), OverwritePattern::kHeadSize), text.end(),
                   original) == text.end();
}

TEST_F(ShredderTest, OverwritesTheWholeFileWithTheHeadFirstThenDeletesIt) {
  struct Case {
    std::size_t size;
    std::size_t sizeAfter;
  };
  const std::size_t block = OverwritePattern::kBlockSize;
  for (const Case& c : {Case{0, 210}, Case{5, 210}, Case{209, 210}, Case{210, 210}, Case{211, 211},
                        Case{1'000'000, 1'000'000}, Case{block + 3, block + 3}, Case{2 * block, 2 * block}}) {
    SCOPED_TRACE(c.size);
    // 'Z' never occurs in the head, and random fill keeps it out of any long run.
    const std::string path = put("docs/secret.txt", std::string(c.size, 'Z'));
    const std::string kept = keepContent("docs/secret.txt");

    EXPECT_EQ(shredder.FileShred(path), static_cast<std::int32_t>(c.size));

    EXPECT_FALSE(existsC("docs/secret.txt"));
    const std::string after = readHostFile(kept);
    ASSERT_EQ(after.size(), c.sizeAfter);
    EXPECT_EQ(after.substr(0, OverwritePattern::kHeadSize), headPattern());
    if (c.size > 1000) {
      const auto zs = std::count(after.begin(), after.end(), 'Z');
      EXPECT_LT(zs, static_cast<long>(c.size / 100)) << "the rest of the file still looks like the original";
    } else {
      EXPECT_TRUE(noOriginalByteLeft(after, 'Z'));
    }
  }
}

TEST_F(ShredderTest, ReportsTheShreddedFileInTheLogAndByEvent) {
  const std::string path = put("Documents and Settings/u/letter.doc", "dear");

  shredder.FileShred(path);

  EXPECT_EQ(events.shown, std::vector<std::string>{"letter.doc"});
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(std::string("\t") + kLogText + " C:\\Documents and Settings\\u\\letter.doc\r"),
            std::string::npos)
      << lines[0];
}

TEST_F(ShredderTest, PutsTheDataOnTheDiskBeforeDeletingTheFile) {
  const std::string path = put("a.txt", std::string(5000, 'x'));

  shredder.FileShred(path);

  const std::vector<std::string> expected = {"write C:\\a.txt 5000", "flush C:\\a.txt", "delete C:\\a.txt"};
  std::vector<std::string> shredCalls;
  for (const std::string& call : files.calls) {
    if (call.find("C:\\a.txt") != std::string::npos) shredCalls.push_back(call);
  }
  EXPECT_EQ(shredCalls, expected);
}

TEST_F(ShredderTest, ShortcutsAreOnlyDeleted) {
  for (const char* name : {"a.LNK", "b.lnk", "clnk"}) {
    SCOPED_TRACE(name);
    const std::string path = put(name, "shortcut data");
    const std::string kept = keepContent(name);
    ::chmod(hostC(name).c_str(), 0444);
    shredder.StopShred(true);  // not consulted for a shortcut

    EXPECT_EQ(shredder.FileShred(path), 13);

    EXPECT_FALSE(existsC(name));
    EXPECT_EQ(readHostFile(kept), "shortcut data");
    shredder.StopShred(false);
  }
  EXPECT_TRUE(events.shown.empty());
  EXPECT_TRUE(logLines().empty());
}

TEST_F(ShredderTest, MissingFilesAndFoldersGiveZeroAndNoReport) {
  put("folder/inside.txt", "x");
  for (const char* path : {"C:\\nothing.txt", "C:\\no\\such\\path.txt", "C:\\folder", "Q:\\x.txt", ""}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(shredder.FileShred(path), 0);
  }
  EXPECT_TRUE(existsC("folder/inside.txt"));
  EXPECT_TRUE(events.shown.empty());
}

TEST_F(ShredderTest, ASetStopFlagLeavesTheFileAsItWas) {
  const std::string path = put("keep.txt", "precious");
  ::chmod(hostC("keep.txt").c_str(), 0444);
  shredder.StopShred(true);

  EXPECT_EQ(shredder.FileShred(path), 8);

  EXPECT_EQ(readHostFile(hostC("keep.txt")), "precious");
  EXPECT_TRUE(events.shown.empty());
  struct stat st{};
  ASSERT_EQ(::stat(hostC("keep.txt").c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IWUSR) << "attributes are reset to normal before the first write";

  shredder.StopShred(false);
  shredder.FileShred(path);
  EXPECT_FALSE(existsC("keep.txt"));
}

TEST_F(ShredderTest, AStopDuringALargeFileLeavesItPartlyOverwritten) {
  const std::size_t size = 3 * OverwritePattern::kBlockSize;
  const std::string path = put("big.bin", std::string(size, 'Z'));
  int yields = 0;
  shredder.setYieldHook([&] {
    if (++yields == 2) shredder.StopShred(true);  // arrives after the first block
  });

  EXPECT_EQ(shredder.FileShred(path), static_cast<std::int32_t>(size));

  const std::string after = readHostFile(hostC("big.bin"));
  ASSERT_EQ(after.size(), size);
  EXPECT_EQ(after.substr(0, OverwritePattern::kHeadSize), headPattern());
  EXPECT_EQ(after.substr(OverwritePattern::kBlockSize), std::string(size - OverwritePattern::kBlockSize, 'Z'));
  EXPECT_TRUE(events.shown.empty());
}

TEST_F(ShredderTest, ReadOnlyAndHiddenFilesAreShreddedToo) {
  const std::string path = put(".hidden", "secret");
  ::chmod(hostC(".hidden").c_str(), 0444);

  shredder.FileShred(path);

  EXPECT_FALSE(existsC(".hidden"));
  EXPECT_EQ(events.shown, std::vector<std::string>{".hidden"});
}

TEST_F(ShredderTest, ALinkIsRemovedAsALinkAndItsTargetIsUntouched) {
  TempDir elsewhere;
  writeHostFile(elsewhere / "target.txt", "not mine");
  ::mkdir(hostC("links").c_str(), 0755);
  ASSERT_EQ(::symlink((elsewhere / "target.txt").c_str(), hostC("links/file.txt").c_str()), 0);
  ASSERT_EQ(::symlink((elsewhere / "gone").c_str(), hostC("links/dangling.txt").c_str()), 0);

  shredder.FileShred("C:\\links\\file.txt");
  shredder.FileShred("C:\\links\\dangling.txt");

  EXPECT_FALSE(existsC("links/file.txt"));
  EXPECT_FALSE(existsC("links/dangling.txt"));
  EXPECT_EQ(readHostFile(elsewhere / "target.txt"), "not mine");
  EXPECT_TRUE(events.shown.empty());
}

TEST_F(ShredderTest, AFifoIsNeitherOpenedForGoodNorWaitedOn) {
  ::mkdir(hostC("pipes").c_str(), 0755);
  ASSERT_EQ(::mkfifo(hostC("pipes/queue").c_str(), 0644), 0);

  shredder.FileShred("C:\\pipes\\queue");  // would block forever if the open waited for a reader

  EXPECT_TRUE(existsC("pipes/queue"));
  EXPECT_TRUE(events.shown.empty());
  EXPECT_TRUE(logLines().empty());
}

TEST_F(ShredderTest, SmallFixedMembersBehaveAsDocumented) {
  EXPECT_EQ(shredder.TotalBytes(), Variant(std::int32_t{0}));
  EXPECT_EQ(shredder.toByte(1.5), 1536.0);
  EXPECT_TRUE(shredder.StopShred(true).isEmpty());
}

TEST_F(ShredderTest, BusyPointerWhileAnOperationRunsNestedOnesIncluded) {
  std::vector<bool> pointer;
  shredder.setCursorHook([&](bool busy) { pointer.push_back(busy); });
  const std::string inner = put("inner.txt", "i");
  bool nested = false;
  shredder.setYieldHook([&] {
    if (!nested) {
      nested = true;
      shredder.FileShred(inner);  // a command delivered at the yield point
    }
  });

  shredder.FileShred(put("outer.txt", "o"));

  EXPECT_EQ(pointer, (std::vector<bool>{true, false}));
  EXPECT_EQ(events.shown, (std::vector<std::string>{"inner.txt", "outer.txt"}));
}

}  // namespace
}  // namespace pgv::test
