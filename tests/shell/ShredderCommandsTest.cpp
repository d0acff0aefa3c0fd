// The shredder commands end to end through the stdio skin host: the pending lists, the
// confirmations, cancelling a running shred, the drive shred, delete-by-type and the
// drive list.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/shell/ShellFixture.h"

namespace pgv::test {
namespace {

// The English texts the shredder's boxes and progress display use.
namespace shred {
inline const std::string kFilesTitle = "Shred files";
inline const std::string kFoldersTitle = "Shred folders";
inline const std::string kDriveTitle = "Shred free space";
inline const std::string kChooseDrive = "Please choose a drive first.";
inline const std::string kInProgress = "Shredding in progress, please wait...";
inline const std::string kShreddingFiles = "Shredding files";
}  // namespace shred

class ShredderCommandsTest : public ShellTest {
 protected:
  void put(const std::string& relative, const std::string& content = "secret") {
    writeHostFile(hostC(relative), content);
  }
  bool existsC(const std::string& relative) const { return hostFileExists(hostC(relative)); }
  // The text of the day's log files (whatever day the program's clock says).
  std::string dayLog() const {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(programFolderHost() + "/Logs")) {
      if (entry.path().string().ends_with("_Log.txt")) text += readHostFile(entry.path().string());
    }
    return text;
  }

  // Sends an add command and answers its dialog; the events of both.
  Events add(SkinSession& session, const std::string& command, const std::optional<std::string>& answer) {
    session.command("mainfrm", command);
    Events asked = session.untilIdle();
    EXPECT_EQ(lastEvent(asked), Json({{"ev", "idle"}, {"waiting", "ask"}}));
    session.answer(answer);
    return session.untilIdle();
  }
  // Sends a confirmed command; the events up to the box, and after the answer.
  Events confirmed(SkinSession& session, const std::string& command, const std::string& args, const std::string& title,
                   const std::string& button, Events* box = nullptr) {
    session.command("mainfrm", command, args);
    Events shown = session.untilIdle();
    EXPECT_EQ(lastEvent(shown), Json({{"ev", "idle"}, {"waiting", "msgboxWindow"}}));
    EXPECT_EQ(lastSet(shown, "msgboxWindow", "_root.title1"), title);
    if (box) *box = shown;
    session.command("msgboxWindow", title, button);
    return session.untilIdle();
  }
};

TEST_F(ShredderCommandsTest, ThePendingFileListRefusesWhatItAlreadyHolds) {
  auto session = startAndWait();
  struct Step {
    const char* command;  // an add command, or the drop command with its argument
    std::optional<std::string> answer;
    bool added;
  };
  const Step steps[] = {
      {"add", "C:\\a.txt.bak", true},
      {"add", "C:\\a.txt", false},  // occurs inside the first
      {"add", "C:\\b.txt", true},
      {"add", "C:\\b.txt", false},
      {"add", std::nullopt, false},  // cancelled dialog
      {"add", "   ", false},
      {"drop", "C:\\a.txt.bak", false},
      {"add", "C:\\a.txt", true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << step.command << " " << step.answer.value_or("(cancel)"));
    if (std::string(step.command) == "drop") {
      session->command("mainfrm", "IDC_FS_SHREDFILESDEL", *step.answer);
      session->untilIdle();
      continue;
    }
    const Events events = add(*session, "IDC_FS_ADDFILETOSHRED", step.answer);
    EXPECT_EQ(lastSet(events, "mainfrm", "_root.DoAdd_SFI"),
              step.added ? std::optional<std::string>("true") : std::nullopt);
    if (step.added) {
      EXPECT_EQ(lastSet(events, "mainfrm", "_root.CurrentItem_SFI"), step.answer);
    }
  }
}

TEST_F(ShredderCommandsTest, ThePendingFolderListRefusesDriveRootsAndDuplicates) {
  auto session = startAndWait();
  struct Step {
    std::optional<std::string> answer;
    bool added;
  };
  for (const Step& step : {Step{"C:\\", false}, Step{"C:\\Temp", true}, Step{"C:\\Temp", false},
                           Step{std::nullopt, false}, Step{"D:\\Data", true}}) {
    SCOPED_TRACE(step.answer.value_or("(cancel)"));
    const Events events = add(*session, "IDC_FS_ADDFOLDERSTOSHRED", step.answer);
    EXPECT_EQ(lastSet(events, "mainfrm", "_root.DoAdd_SFO"),
              step.added ? std::optional<std::string>("true") : std::nullopt);
    if (step.added) {
      EXPECT_EQ(lastSet(events, "mainfrm", "_root.CurrentItem_SFO"), step.answer);
    }
  }
  session->command("mainfrm", "IDC_FS_SHREDFOLDERSDEL", "C:\\Temp");
  session->untilIdle();
  EXPECT_EQ(lastSet(add(*session, "IDC_FS_ADDFOLDERSTOSHRED", "C:\\Temp"), "mainfrm", "_root.DoAdd_SFO"), "true");
}

TEST_F(ShredderCommandsTest, FilesAreShreddedOnlyWhenTheUserSaysYes) {
  put("docs/a.txt");
  put("docs/b.txt");
  auto session = startAndWait();
  add(*session, "IDC_FS_ADDFILETOSHRED", "C:\\docs\\a.txt");

  Events box;
  const Events no =
      confirmed(*session, "IDC_FS_SHREDFILES", "|C:\\docs\\a.txt|C:\\docs\\b.txt|", shred::kFilesTitle, en::kNo, &box);
  EXPECT_GE(
      indexOf(box, {{"ev", "set"},
                    {"win", "msgboxWindow"},
                    {"name", "_root.message"},
                    {"value", "Do you really want to shred the selected files? Shredded files cannot be recovered."}}),
      0);
  EXPECT_TRUE(existsC("docs/a.txt"));
  EXPECT_TRUE(existsC("docs/b.txt"));
  EXPECT_EQ(lastSet(no, "mainfrm", "shred_SFI_Now"), std::nullopt);
  EXPECT_EQ(lastSet(add(*session, "IDC_FS_ADDFILETOSHRED", "C:\\docs\\a.txt"), "mainfrm", "_root.DoAdd_SFI"),
            std::nullopt)
      << "the pending list is kept after a no";

  const Events yes =
      confirmed(*session, "IDC_FS_SHREDFILES", "|C:\\docs\\a.txt|C:\\docs\\b.txt|", shred::kFilesTitle, en::kYes);
  EXPECT_FALSE(existsC("docs/a.txt"));
  EXPECT_FALSE(existsC("docs/b.txt"));
  const int start = indexOf(yes, {{"ev", "set"}, {"name", "_root.resultmsg"}, {"value", "1"}});
  const int first = indexOf(yes, {{"ev", "set"}, {"win", "LogForm"}, {"name", "_root.LogFile"}, {"value", "a.txt"}});
  const int second = indexOf(yes, {{"ev", "set"}, {"win", "LogForm"}, {"name", "_root.LogFile"}, {"value", "b.txt"}});
  const int end = indexOf(yes, {{"ev", "set"}, {"name", "_root.resultmsg"}, {"value", "0"}});
  EXPECT_LT(start, first);
  EXPECT_LT(first, second);
  EXPECT_LT(second, end);
  EXPECT_EQ(lastSet(yes, "mainfrm", "_root.shredder"), shred::kInProgress);
  EXPECT_EQ(lastSet(yes, "mainfrm", "_root.shredTitle"), shred::kShreddingFiles);
  EXPECT_EQ(lastSet(yes, "mainfrm", "_root.shredMsg"), "1");
  EXPECT_EQ(lastSet(yes, "mainfrm", "shred_SFI_Now"), "1");
  EXPECT_EQ(lastSet(yes, "LogForm", "_root.ViewLogBtn"), "1") << "the day's log grew";
  EXPECT_NE(dayLog().find("C:\\docs\\b.txt"), std::string::npos);
  EXPECT_EQ(lastSet(add(*session, "IDC_FS_ADDFILETOSHRED", "C:\\docs\\a.txt"), "mainfrm", "_root.DoAdd_SFI"), "true")
      << "the pending list is cleared after a shred";
}

TEST_F(ShredderCommandsTest, FoldersAreShreddedWithEverythingInThem) {
  put("old/sub/deep.txt");
  put("old/top.doc");
  auto session = startAndWait();

  const Events no = confirmed(*session, "IDC_FS_SHREDFOLDERS", "C:\\old", shred::kFoldersTitle, en::kNo);
  EXPECT_TRUE(existsC("old/sub/deep.txt"));

  const Events yes = confirmed(*session, "IDC_FS_SHREDFOLDERS", "|C:\\old|", shred::kFoldersTitle, en::kYes);
  EXPECT_FALSE(existsC("old"));
  EXPECT_EQ(lastSet(yes, "mainfrm", "_root.shredTitle"), "Shredding folders");
  EXPECT_EQ(lastSet(yes, "mainfrm", "shred_SFO_Now"), "1");
  EXPECT_GE(indexOf(yes, {{"ev", "set"}, {"win", "LogForm"}, {"name", "_root.LogFile"}, {"value", "deep.txt"}}), 0);
}

TEST_F(ShredderCommandsTest, CancelArrivingDuringAShredStopsIt) {
  for (const char* name : {"c/1.txt", "c/2.txt", "c/3.txt"}) put(name);
  auto session = startAndWait();

  // A cancel sent before the command does not count: the flag is cleared before the box.
  session->command("mainfrm", "ID_FS_CANCELSHREDDER");
  session->untilIdle();
  confirmed(*session, "IDC_FS_SHREDFILES", "C:\\c\\1.txt", shred::kFilesTitle, en::kYes);
  EXPECT_FALSE(existsC("c/1.txt"));

  // The cancel queued right behind the "yes" reaches the program while the shred runs:
  // the shred's first yield delivers it, nested, and the shred stops.
  session->command("mainfrm", "IDC_FS_SHREDFILES", "C:\\c\\2.txt|C:\\c\\3.txt");
  session->untilIdle();
  session->sendLines({Json({{"win", "msgboxWindow"}, {"cmd", shred::kFilesTitle}, {"args", en::kYes}}).dump(),
                      Json({{"win", "mainfrm"}, {"cmd", "ID_FS_CANCELSHREDDER"}, {"args", ""}}).dump()});
  const Events events = session->untilIdle();
  EXPECT_TRUE(existsC("c/2.txt"));
  EXPECT_TRUE(existsC("c/3.txt"));
  EXPECT_EQ(readHostFile(hostC("c/2.txt")), "secret");
  EXPECT_EQ(lastSet(events, "mainfrm", "shred_SFI_Now"), "1") << "the command itself runs to its end";
  EXPECT_EQ(lastEvent(events), Json({{"ev", "idle"}}));
}

TEST_F(ShredderCommandsTest, TheDriveShredAsksForADriveFirst) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_SHREDDRIVE");
  const Events box = session->untilIdle();
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.message"), shred::kChooseDrive);
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.Middle"), en::kOk);
  session->command("msgboxWindow", shred::kDriveTitle, en::kOk);
  EXPECT_EQ(lastEvent(session->untilIdle()), Json({{"ev", "idle"}}));
}

// D: is a small tmpfs, so that wiping its free space costs little.
class DriveShredTest : public ShredderCommandsTest {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small drive for the drive shred needs root";
    ::mkdir(drive_.path().c_str(), 0755);
    if (::mount("tmpfs", drive_.path().c_str(), "tmpfs", 0, "size=24m") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    mounted_ = true;
    ASSERT_EQ(::symlink(drive_.path().c_str(), (machine() + "/dosdevices/d:").c_str()), 0);
    writeHostFile(drive_ / "keep.txt", "stays");
    writeHostFile(drive_ / "TmpShred.7", "left by a wipe that was killed");
  }
  void TearDown() override {
    if (mounted_) ::umount(drive_.path().c_str());
  }
  bool onDrive(const std::string& name) const { return hostFileExists(drive_ / name); }

  // Chooses D:, sets the free-space flag with each argument in turn, and shreds.
  Events shredDrive(SkinSession& session, const std::vector<std::string>& flags) {
    session.command("mainfrm", "IDC_FS_HD_SHRED", "D:\\");
    session.untilIdle();
    for (const std::string& flag : flags) {
      session.command("mainfrm", "IDC_FS_SH_SFSO", flag);
      session.untilIdle();
    }
    return confirmed(session, "IDC_FS_SHREDDRIVE", "", shred::kDriveTitle, en::kYes);
  }

 private:
  TempDir drive_;
  bool mounted_ = false;
};

TEST_F(DriveShredTest, WithTheFreeSpaceFlagTheDriveShredWipesTheFreeSpace) {
  auto session = startAndWait();
  const Events events = shredDrive(*session, {"true", "TRUE"});  // upper case changes nothing

  EXPECT_FALSE(onDrive("TmpShred.7")) << "the wipe ran: it removed an earlier wipe's filler";
  EXPECT_FALSE(onDrive("TmpShred.1"));
  EXPECT_TRUE(onDrive("keep.txt"));
  const int on = indexOf(events, {{"ev", "set"}, {"name", "_root.ProgressBarState"}, {"value", "1"}});
  const int off = indexOf(events, {{"ev", "set"}, {"name", "_root.ProgressBarState"}, {"value", "0"}});
  EXPECT_GE(on, 0);
  EXPECT_LT(on, off);
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.shredTitle"), "Shredding free space");
  EXPECT_LT(indexOf(events, {{"ev", "cursor"}, {"value", "busy"}}), on);
  EXPECT_GT(indexOf(events, {{"ev", "cursor"}, {"value", "arrow"}}, off), off);
}

TEST_F(DriveShredTest, WithoutTheFlagTheDriveRootIsNeverShredded) {
  auto session = startAndWait();
  const Events events = shredDrive(*session, {"TRUE"});  // not "true": the flag stays false

  EXPECT_TRUE(onDrive("keep.txt"));
  EXPECT_TRUE(onDrive("TmpShred.7"));
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.ProgressBarState"), "0");
}

TEST_F(ShredderCommandsTest, DeleteByTypeShredsOneTypeInOneFolderWithinTheSizeWindow) {
  put("t/small.tmp", std::string(500, 'x'));
  put("t/mid.tmp", std::string(1500, 'x'));
  put("t/big.tmp", std::string(3000, 'x'));
  put("t/mid.doc", std::string(1500, 'x'));
  put("t/sub/mid.tmp", std::string(1500, 'x'));
  auto session = startAndWait();
  session->setVariable("mainfrm", "_root.PathValue", "C:\\t");
  session->setVariable("mainfrm", "_root.FileTypeValue", "tmp");

  for (const char* ignored : {"undefined,b,2,1", "a,undefined,2,1", "a,b,two,1", "a,b,2"}) {
    session->command("mainfrm", "IDC_FS_DELETE", ignored);
    session->untilIdle();
  }
  EXPECT_TRUE(existsC("t/mid.tmp"));

  session->command("mainfrm", "IDC_FS_DELETE", "a,b,2,1");
  session->untilIdle();
  EXPECT_FALSE(existsC("t/mid.tmp"));
  for (const char* kept : {"t/small.tmp", "t/big.tmp", "t/mid.doc", "t/sub/mid.tmp"})
    EXPECT_TRUE(existsC(kept)) << kept;
}

TEST_F(ShredderCommandsTest, TheDriveListHoldsRemovableAndFixedDrives) {
  TempDir floppy, cdrom;
  ASSERT_EQ(::symlink(floppy.path().c_str(), (machine() + "/dosdevices/a:").c_str()), 0);
  ASSERT_EQ(::symlink(cdrom.path().c_str(), (machine() + "/dosdevices/d:").c_str()), 0);
  setValue(platform::HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", "a:", "floppy");
  setValue(platform::HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", "d:", "cdrom");

  Events startup;
  auto session = startAndWait(&startup);

  EXPECT_EQ(lastSet(startup, "mainfrm", "_root.NumberOfDrives"), "2");
  EXPECT_EQ(lastSet(startup, "mainfrm", "_root.NamesOfDrives"), "A:\\|C:\\");
  EXPECT_EQ(lastSet(startup, "mainfrm", "_root.NumberOfDrives2"), "2");
  EXPECT_EQ(lastSet(startup, "mainfrm", "_root.NamesOfDrives2"), "A:\\|C:\\");
}

}  // namespace
}  // namespace pgv::test
