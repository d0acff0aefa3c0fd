// The portable backend's calls the shredder relies on: opening for an in-place overwrite
// that never follows a link, file facts without following a link, and flushing several
// files at once.

#include <sys/stat.h>
#include <unistd.h>

#include "platform/portable/PortableFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace pgv::platform::portable {
namespace {

class PortableShredSupportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(MachineFolder::createLayout(dir.path(), error), status::Success) << error;
    machine = std::make_unique<MachineFolder>(dir.path());
    files = std::make_unique<PortableFiles>(*machine, nullptr);
    test::writeHostFile(host("plain.txt"), "0123456789");
    test::writeHostFile(outside / "target.txt", "outside");
    ::symlink((outside / "target.txt").c_str(), host("link.txt").c_str());
    ::mkdir(host("folder").c_str(), 0755);
    ::mkfifo(host("fifo").c_str(), 0644);
  }
  std::string host(const std::string& name) const { return dir / ("drive_c/" + name); }

  test::TempDir dir, outside;
  std::unique_ptr<MachineFolder> machine;
  std::unique_ptr<PortableFiles> files;
};

TEST_F(PortableShredSupportTest, OverwriteOpensOnlyRegularFilesAndKeepsTheirContent) {
  struct Case {
    const char* path;
    Status expected;
  };
  for (const Case& c : {Case{"C:\\plain.txt", status::Success}, Case{"C:\\link.txt", status::AccessDenied},
                        Case{"C:\\folder", status::AccessDenied}, Case{"C:\\fifo", status::AccessDenied},
                        Case{"C:\\missing.txt", status::FileNotFound}}) {
    SCOPED_TRACE(c.path);
    std::unique_ptr<FileHandle> file;
    EXPECT_EQ(files->open(c.path, OpenMode::OverwriteExisting, file), c.expected);
    if (c.expected != status::Success) continue;
    std::uint32_t written = 0;
    ASSERT_EQ(file->write("ab", 2, written), status::Success);
    file->startFlush();
    EXPECT_EQ(file->flush(), status::Success);
  }
  EXPECT_EQ(test::readHostFile(host("plain.txt")), "ab23456789");
  EXPECT_EQ(test::readHostFile(outside / "target.txt"), "outside");
}

TEST_F(PortableShredSupportTest, FileInfoDescribesALinkNotItsTarget) {
  FindEntry info;
  ASSERT_EQ(files->fileInfo("C:\\plain.txt", info), status::Success);
  EXPECT_EQ(info.size, 10u);
  EXPECT_EQ(info.attributes & (attr::Directory | attr::ReparsePoint), 0u);

  ASSERT_EQ(files->fileInfo("C:\\LINK.TXT", info), status::Success);
  EXPECT_TRUE(info.attributes & attr::ReparsePoint);
  EXPECT_EQ(info.size, 0u);

  ASSERT_EQ(files->fileInfo("C:\\folder", info), status::Success);
  EXPECT_TRUE(info.attributes & attr::Directory);

  EXPECT_EQ(files->fileInfo("C:\\missing.txt", info), status::FileNotFound);
  EXPECT_EQ(files->fileInfo("C:\\no\\missing.txt", info), status::PathNotFound);
}

TEST_F(PortableShredSupportTest, SeveralFilesAreFlushedInOneCall) {
  std::vector<std::unique_ptr<FileHandle>> open;
  std::vector<FileHandle*> handles;
  for (const char* name : {"C:\\one.bin", "C:\\two.bin", "C:\\three.bin"}) {
    std::unique_ptr<FileHandle> file;
    ASSERT_EQ(files->open(name, OpenMode::CreateNew, file), status::Success);
    std::uint32_t written = 0;
    ASSERT_EQ(file->write("data", 4, written), status::Success);
    handles.push_back(file.get());
    open.push_back(std::move(file));
  }
  EXPECT_EQ(files->flushFiles(handles), status::Success);
  EXPECT_EQ(files->flushFiles(std::span<FileHandle* const>(handles).first(1)), status::Success);
  EXPECT_EQ(files->flushFiles({}), status::Success);
}

}  // namespace
}  // namespace pgv::platform::portable
