#include "platform/portable/PortableFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace pgv::platform::portable {
namespace {

class PortableFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(MachineFolder::createLayout(dir.path(), error), status::Success) << error;
    machine = std::make_unique<MachineFolder>(dir.path());
    files = std::make_unique<PortableFiles>(*machine, nullptr);
  }
  void touch(const std::string& relative) { test::writeHostFile(dir / ("drive_c/" + relative), "data"); }
  std::vector<std::string> names(const std::string& pattern) {
    std::vector<FindEntry> entries;
    std::vector<std::string> result;
    if (files->find(pattern, entries) == status::Success) {
      for (const auto& e : entries) result.push_back(e.name);
    }
    return result;
  }

  test::TempDir dir;
  std::unique_ptr<MachineFolder> machine;
  std::unique_ptr<PortableFiles> files;
};

TEST_F(PortableFilesTest, FindMatchesLikeWindowsIncludingShortNames) {
  for (const char* name : {"zeta.dll", "A.DLL", "b.dllx", "x.dll.bak", "c.dl", "e.dl_", "noext", "mixed.Dll",
                           "verylongname_abc.dllfoo", "y.dll", "longfilename.dll", ".dll"}) {
    touch(std::string("sem/") + name);
  }
  ::mkdir((dir / "drive_c/sem/subdir.dll").c_str(), 0755);
  EXPECT_EQ(names("C:\\sem\\*.dll"),
            (std::vector<std::string>{".dll", "A.DLL", "b.dllx", "longfilename.dll", "mixed.Dll", "subdir.dll",
                                      "verylongname_abc.dllfoo", "y.dll", "zeta.dll"}));
  EXPECT_EQ(names("C:\\sem\\?.dll"), (std::vector<std::string>{"A.DLL", "y.dll"}));
  EXPECT_EQ(names("C:\\sem\\*.dl?"),
            (std::vector<std::string>{".dll", "A.DLL", "b.dllx", "e.dl_", "longfilename.dll", "mixed.Dll",
                                      "subdir.dll", "verylongname_abc.dllfoo", "y.dll", "zeta.dll"}));
  EXPECT_TRUE(names("C:\\sem\\*.tx").empty());
  EXPECT_EQ(names("C:\\sem\\*").front(), ".");
  EXPECT_EQ(names("C:\\sem\\*.").size(), names("C:\\sem\\*").size());
}

TEST_F(PortableFilesTest, ShortNamesFollowWinesHash) {
  EXPECT_EQ(PortableFiles::shortName("b.dllx"), "B~~~~Q0J.DLL");
  EXPECT_EQ(PortableFiles::shortName("d.dlll"), "D~~~~YX5.DLL");
  EXPECT_EQ(PortableFiles::shortName("verylongname_abc.dllfoo"), "VERY~FOA.DLL");
  EXPECT_EQ(PortableFiles::shortName("longfilename.dll"), "LONG~0OJ.DLL");
  EXPECT_EQ(PortableFiles::shortName("x.dll.bak"), "X_DL~W4W.BAK");
  EXPECT_EQ(PortableFiles::shortName("mixed.Dll"), "");
}

TEST_F(PortableFilesTest, FindOrdersByUpperCaseAndReportsErrors) {
  for (const char* name : {"zed.txt", "Zed2.txt", "a.txt", "B.txt", "_under.txt", "10.txt", "9.txt", "~t.txt"}) {
    touch(std::string("order/") + name);
  }
  EXPECT_EQ(names("C:\\order\\*.txt"), (std::vector<std::string>{"10.txt", "9.txt", "a.txt", "B.txt", "zed.txt",
                                                                  "Zed2.txt", "_under.txt", "~t.txt"}));
  std::vector<FindEntry> entries;
  EXPECT_EQ(files->find("C:\\order\\*.none", entries), status::FileNotFound);
  EXPECT_EQ(files->find("C:\\nowhere\\*", entries), status::PathNotFound);
}

TEST_F(PortableFilesTest, DeleteFollowsWindowsRules) {
  touch("del/plain.txt");
  touch("del/readonly.txt");
  touch("del/sub/inner.txt");
  ASSERT_EQ(files->setAttributes("C:\\del\\readonly.txt", attr::ReadOnly), status::Success);
  EXPECT_EQ(files->attributes("C:\\del\\readonly.txt"), attr::ReadOnly | attr::Archive);
  EXPECT_EQ(files->attributes("C:\\del\\sub"), attr::Directory);
  EXPECT_EQ(files->deleteFile("C:\\del\\readonly.txt"), status::AccessDenied);
  EXPECT_EQ(files->deleteFile("C:\\del\\sub"), status::AccessDenied);
  EXPECT_EQ(files->deleteFile("C:\\del\\missing.txt"), status::FileNotFound);
  EXPECT_EQ(files->deleteFile("C:\\nofolder\\missing.txt"), status::PathNotFound);
  EXPECT_EQ(files->removeDirectory("C:\\del\\sub"), status::DirNotEmpty);
  EXPECT_EQ(files->removeDirectory("C:\\del\\plain.txt"), status::Directory);
  EXPECT_EQ(files->deleteFile("C:\\DEL\\PLAIN.TXT"), status::Success);
  EXPECT_FALSE(test::hostFileExists(dir / "drive_c/del/plain.txt"));
  ASSERT_EQ(files->setAttributes("C:\\del\\readonly.txt", 0), status::Success);
  EXPECT_EQ(files->deleteFile("C:\\del\\readonly.txt"), status::Success);
}

TEST_F(PortableFilesTest, LinksAreRemovedAsLinksNeverTheirTargets) {
  test::TempDir outside;
  test::writeHostFile(outside / "precious.txt", "keep me");
  touch("links/placeholder");
  ASSERT_EQ(::symlink((outside / "precious.txt").c_str(), (dir / "drive_c/links/file-link").c_str()), 0);
  ASSERT_EQ(::symlink(outside.path().c_str(), (dir / "drive_c/links/folder-link").c_str()), 0);
  EXPECT_TRUE(files->attributes("C:\\links\\folder-link") & attr::ReparsePoint);
  EXPECT_EQ(files->deleteFile("C:\\links\\file-link"), status::Success);
  EXPECT_EQ(files->removeDirectory("C:\\links\\folder-link"), status::Success);
  EXPECT_EQ(test::readHostFile(outside / "precious.txt"), "keep me");
}

TEST_F(PortableFilesTest, WritesReadsAndMeasuresFiles) {
  std::unique_ptr<FileHandle> file;
  ASSERT_EQ(files->open("C:\\io.bin", OpenMode::CreateNew, file), status::Success);
  std::uint32_t written = 0;
  ASSERT_EQ(file->write("hello", 5, written), status::Success);
  EXPECT_EQ(file->flush(), status::Success);
  file.reset();
  EXPECT_EQ(files->open("C:\\io.bin", OpenMode::CreateNew, file), status::FileExists);
  ASSERT_EQ(files->open("C:\\io.bin", OpenMode::Append, file), status::Success);
  ASSERT_EQ(file->write(" world", 6, written), status::Success);
  file.reset();
  EXPECT_EQ(test::readHostFile(dir / "drive_c/io.bin"), "hello world");
  EXPECT_EQ(files->copyFile("C:\\io.bin", "C:\\copy.bin", true), status::Success);
  EXPECT_EQ(files->copyFile("C:\\io.bin", "C:\\copy.bin", true), status::FileExists);
  EXPECT_EQ(files->moveFile("C:\\copy.bin", "C:\\io.bin", false), status::AlreadyExists);
  EXPECT_EQ(files->moveFile("C:\\copy.bin", "C:\\io.bin", true), status::Success);
  DiskSpace space;
  ASSERT_EQ(files->diskFreeSpace("C:\\", space), status::Success);
  EXPECT_GT(space.total, 0u);
  EXPECT_EQ(files->logicalDrives(), (std::vector<std::string>{"C:\\"}));
  EXPECT_EQ(files->driveType("C:\\"), drivetype::Fixed);
  EXPECT_EQ(files->driveType("Z:\\"), drivetype::NoRootDir);
}

}  // namespace
}  // namespace pgv::platform::portable
