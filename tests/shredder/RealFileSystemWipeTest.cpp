// The free-space wipe on a small real file system: a loop-mounted ext2 image, mounted by
// the test (root only; skipped where mounting is impossible).

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "tests/shredder/ShredderFixture.h"

namespace pgv::test {
namespace {

constexpr const char* kMarker = "PGV-DELETED-SECRET-7f3a9c";

// A 32 MiB ext2 image without blocks reserved for root, mounted on a folder, unmounted
// and removed again afterwards. Not ext4: ext4 withholds a small share of its free blocks
// from every file (a reserve for its extent trees), so no filler can reach them there.
class MountedImage {
 public:
  MountedImage() : image_(dir_ / "disk.img"), mountPoint_(dir_ / "mnt") {}
  ~MountedImage() { unmount(); }
  MountedImage(const MountedImage&) = delete;
  MountedImage& operator=(const MountedImage&) = delete;

  // "" when mounted, else why not.
  std::string mount() {
    if (::geteuid() != 0) return "mounting a file system needs root";
    const std::string make =
        "truncate -s 32M '" + image_ + "' && mkfs.ext2 -q -F -m 0 '" + image_ + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) return "cannot make an ext2 image (mkfs.ext2 missing?)";
    ::mkdir(mountPoint_.c_str(), 0755);
    const std::string attach = "mount -o loop '" + image_ + "' '" + mountPoint_ + "' >/dev/null 2>&1";
    if (std::system(attach.c_str()) != 0) return "cannot loop-mount an image here (no loop devices?)";
    mounted_ = true;
    return {};
  }
  void unmount() {
    if (mounted_ && ::umount(mountPoint_.c_str()) == 0) mounted_ = false;
  }
  const std::string& mountPoint() const { return mountPoint_; }
  const std::string& image() const { return image_; }

 private:
  TempDir dir_;
  std::string image_;
  std::string mountPoint_;
  bool mounted_ = false;
};

std::uint64_t freeBytes(const std::string& folder) {
  struct statvfs vfs{};
  if (::statvfs(folder.c_str(), &vfs) != 0) return 0;
  return static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

bool fileContains(const std::string& path, const std::string& needle) {
  return readHostFile(path).find(needle) != std::string::npos;
}

class RealFileSystemWipeTest : public ShredderTest {
 protected:
  void SetUp() override {
    if (const std::string why = image.mount(); !why.empty()) {
      GTEST_SKIP() << "free-space wipe on a real file system: " << why;
    }
    ASSERT_EQ(::symlink(image.mountPoint().c_str(), (machine.folder() + "/dosdevices/d:").c_str()), 0);
    files.realFreeSpace = true;  // the image's own, a few MB
  }

  // A file whose blocks are free again but still hold its bytes.
  void leaveDeletedSecret() {
    std::string secret;
    while (secret.size() < (1u << 20)) secret += kMarker;
    writeHostFile(image.mountPoint() + "/secret.txt", secret);
    ::sync();
    ::unlink((image.mountPoint() + "/secret.txt").c_str());
    ::sync();
  }

  MountedImage image;
};

TEST_F(RealFileSystemWipeTest, TheBytesOfDeletedFilesAreGoneAndTheSpaceIsBack) {
  leaveDeletedSecret();
  ASSERT_TRUE(fileContains(image.image(), kMarker)) << "the fixture should leave the secret in free blocks";
  const std::uint64_t before = freeBytes(image.mountPoint());

  shredder.ShredFreeSpace("D:\\");

  EXPECT_TRUE(hostFileExists(image.mountPoint() + "/lost+found"));
  for (const char* name : {"TmpShred.1", "TmpShred.2", "TmpShred.x"}) {
    EXPECT_FALSE(hostFileExists(image.mountPoint() + "/" + name)) << name;
  }
  const std::uint64_t after = freeBytes(image.mountPoint());
  EXPECT_GE(after + 64 * 1024, before) << "the free space is back";
  ASSERT_FALSE(events.progress.empty());
  EXPECT_EQ(events.progress.back(), 100);
  EXPECT_EQ(events.progress.size(), before / 10'000'000 + 1);

  image.unmount();
  EXPECT_FALSE(fileContains(image.image(), kMarker)) << "the deleted file's bytes are still on the disk";
}

TEST_F(RealFileSystemWipeTest, ADriveThatRunsFullEarlyEndsTheWipeWithoutAnError) {
  files.fakeFreeSpace["D:\\"] = 200'000'000;  // far more than the 32 MiB the image holds
  const std::uint64_t before = freeBytes(image.mountPoint());

  EXPECT_NO_THROW(shredder.ShredFreeSpace("D:"));

  EXPECT_EQ(events.progress.back(), 100);
  EXPECT_LT(events.progress.size(), 5u);
  EXPECT_GE(freeBytes(image.mountPoint()) + 64 * 1024, before);
  EXPECT_FALSE(hostFileExists(image.mountPoint() + "/TmpShred.1"));
  EXPECT_FALSE(hostFileExists(image.mountPoint() + "/TmpShred.x"));
}

}  // namespace
}  // namespace pgv::test
