// ShredFreeSpace: filler files, progress, leftovers, stop, failures.

#include <unistd.h>

#include <algorithm>

#include "engine/api/EngineError.h"
#include "tests/shredder/ShredderFixture.h"

namespace pgv::test {
namespace {

bool isFillerCall(const std::string& call, const std::string& verb) {
  return call.rfind(verb + " C:\\TmpShred.", 0) == 0;
}

std::vector<std::string> fillersLeft(const std::string& driveFolder) {
  std::vector<std::string> left;
  for (const char* name : {"TmpShred.1", "TmpShred.2", "TmpShred.3", "TmpShred.x"}) {
    if (hostFileExists(driveFolder + "/" + name)) left.push_back(name);
  }
  return left;
}

TEST_F(ShredderTest, FillersCoverTheMeasuredFreeSpaceAndAreDeletedTogether) {
  files.fakeFreeSpace["C:\\"] = 25'000'000;

  EXPECT_TRUE(shredder.ShredFreeSpace("C:\\anything").isEmpty());

  std::vector<std::string> writes, deletes;
  std::size_t lastWrite = 0, firstDelete = files.calls.size(), lastFlush = 0;
  for (std::size_t i = 0; i < files.calls.size(); ++i) {
    const std::string& call = files.calls[i];
    if (isFillerCall(call, "write")) writes.push_back(call), lastWrite = i;
    if (call.rfind("flush ", 0) == 0) lastFlush = i;
    if (isFillerCall(call, "delete")) deletes.push_back(call), firstDelete = std::min(firstDelete, i);
  }
  EXPECT_EQ(writes, (std::vector<std::string>{"write C:\\TmpShred.1 10000000", "write C:\\TmpShred.2 10000000",
                                              "write C:\\TmpShred.x 5000000"}));
  EXPECT_EQ(deletes,
            (std::vector<std::string>{"delete C:\\TmpShred.1", "delete C:\\TmpShred.2", "delete C:\\TmpShred.x"}));
  EXPECT_LT(lastWrite, firstDelete) << "every filler stays until the free space is covered";
  EXPECT_GT(lastFlush, lastWrite);
  EXPECT_LT(lastFlush, firstDelete) << "the fillers are on the disk before they go";
  EXPECT_EQ(events.progress, (std::vector<double>{40, 80, 100}));
  EXPECT_EQ(shredder.lastFreeSpace(), 25'000'000u);
  EXPECT_TRUE(fillersLeft(hostC("")).empty());
}

TEST_F(ShredderTest, LessThanOneChunkFreeWritesOnlyTheLastFiller) {
  files.fakeFreeSpace["C:\\"] = 3'000'000;

  shredder.ShredFreeSpace("c:");  // the drive letter in any case

  EXPECT_EQ(files.callsStartingWith("write c:\\TmpShred"), std::vector<std::string>{"write c:\\TmpShred.x 3000000"});
  EXPECT_EQ(events.progress, std::vector<double>{100});
}

TEST_F(ShredderTest, FillersOfAnInterruptedWipeAreRemovedFirst) {
  for (const char* name : {"TmpShred.3", "tmpshred.X", "TmpShred.17", "TmpShred.txt", "TmpShred.", "notes.txt"}) {
    writeHostFile(hostC(name), "left over");
  }
  ::mkdir(hostC("TmpShred.5").c_str(), 0755);
  files.fakeFreeSpace["C:\\"] = 0;

  shredder.ShredFreeSpace("C:");

  for (const char* gone : {"TmpShred.3", "tmpshred.X", "TmpShred.17"}) EXPECT_FALSE(existsC(gone)) << gone;
  for (const char* kept : {"TmpShred.txt", "TmpShred.", "notes.txt", "TmpShred.5"}) EXPECT_TRUE(existsC(kept)) << kept;
  EXPECT_EQ(events.progress, std::vector<double>{100});
}

TEST_F(ShredderTest, AStopRequestEndsTheWipeAndDeletesItsFillers) {
  files.fakeFreeSpace["C:\\"] = 35'000'000;
  int yields = 0;
  shredder.setYieldHook([&] {
    if (++yields == 2) shredder.StopShred(true);
  });

  shredder.ShredFreeSpace("C:");

  EXPECT_EQ(files.callsStartingWith("write C:\\TmpShred").size(), 1u);
  EXPECT_EQ(events.progress.size(), 1u) << "no final progress after a stop";
  EXPECT_TRUE(fillersLeft(hostC("")).empty());

  files.calls.clear();
  shredder.ShredFreeSpace("C:");
  EXPECT_TRUE(files.callsStartingWith("write C:\\TmpShred").empty()) << "the stop flag is sticky";
}

TEST_F(ShredderTest, AFailingFillerIsReportedAfterTheFillersAreDeleted) {
  struct Case {
    const char* what;
    bool failOpen;  // else the flush fails
    std::int64_t error;
    std::vector<double> progress;
  };
  for (const Case& c : {Case{"TmpShred.2 cannot be created", true, 70, {40}},
                        Case{"the fillers' data does not reach the disk", false, 75, {40, 80}}}) {
    SCOPED_TRACE(c.what);
    files.fakeFreeSpace["C:\\"] = 25'000'000;
    events.progress.clear();
    files.openHook = [&](std::string_view path, platform::OpenMode) {
      return c.failOpen && path == "C:\\TmpShred.2" ? platform::status::AccessDenied : platform::status::Success;
    };
    files.flushHook = [&](std::string_view) {
      return c.failOpen ? platform::status::Success : platform::status::WriteFault;
    };

    try {
      shredder.ShredFreeSpace("C:");
      ADD_FAILURE() << "no error raised";
    } catch (const EngineError& error) {
      EXPECT_EQ(error.number(), c.error);
      EXPECT_EQ(error.source(), "PGVX.Shredder");
    }
    EXPECT_TRUE(fillersLeft(hostC("")).empty());
    EXPECT_EQ(events.progress, c.progress);
  }
}

TEST_F(ShredderTest, ADriveWhoseFreeSpaceCannotBeMeasuredIsRefused) {
  ASSERT_TRUE(::symlink("/", (machine.folder() + "/dosdevices/z:").c_str()) == 0 || errno == EEXIST);
  for (const char* drive : {"Q:\\", "Z:\\", "", "C"}) {
    SCOPED_TRACE(drive);
    try {
      shredder.ShredFreeSpace(drive);
      ADD_FAILURE() << "no error raised";
    } catch (const EngineError& error) {
      EXPECT_EQ(error.number(), 68);
    }
  }
  EXPECT_TRUE(files.callsStartingWith("write").empty());
  EXPECT_TRUE(events.progress.empty());
}

}  // namespace
}  // namespace pgv::test
