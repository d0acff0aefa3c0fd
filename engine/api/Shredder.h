#pragma once
// The Shredder class of the engine library: destroys single files, the files of a folder
// tree, and the free space of a drive.
//
// - FileShred overwrites the whole file (a fixed 210-byte head pattern first, then the
//   rest), puts the data on the disk and deletes the file. Shortcuts (names ending in
//   "lnk") and symbolic links are only deleted; a link is never followed.
// - FolderShred shreds the files of a folder that a name filter and a size window select,
//   sub-folders first when asked, and removes the folders. It never leaves the folder it
//   was given: links inside are removed as links. A drive root is never shredded.
// - ShredFreeSpace fills the free space of a drive with filler files TmpShred.1, .2, ...
//   and TmpShred.x in its root, puts them on the disk and deletes them all.
//
// Every call runs on the caller's thread. At its yield points the shredder lets pending
// window messages be processed through the yield hook, so that a stop request
// (StopShred(true)) sent meanwhile ends the running operation at its next check.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"
#include "engine/api/LogListener.h"
#include "engine/api/Variant.h"

namespace pgv {

// The events of a Shredder. ShowLog(Msg) carries the name (without folders) of each file
// that was overwritten and deleted.
class ShredderListener : public LogListener {
 public:
  // Progress of a free-space wipe in percent, after each filler file and 100 at the end.
  virtual void Progress(double Percent) { (void)Percent; }
  // Part of the event set; the shredder never raises it.
  virtual void FolderShredCompleted(std::int32_t Total) { (void)Total; }
};

class Shredder : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::Shredder;

  // The events; null stops them.
  virtual void setListener(ShredderListener* listener) = 0;
  // Called at every yield point to let pending window messages be processed (DoEvents);
  // nothing happens there without one.
  virtual void setYieldHook(std::function<void()> hook) = 0;
  // Called with true when an operation starts (the busy pointer) and false when it returns.
  virtual void setCursorHook(std::function<void(bool busy)> hook) = 0;

  // Always 0.
  virtual Variant TotalBytes() = 0;

  // Overwrites and deletes file. The result is the file's length read before anything
  // was done (0 when it could not be read, at most 2^31 - 1); it says nothing about
  // success, and failures are silent. A set stop flag leaves the file in place, possibly
  // partly overwritten.
  virtual std::int32_t FileShred(const std::string& file) = 0;

  // Shreds the files of folder fname that the filter selects, and removes the folder
  // (with whatever is still inside, unshredded) unless DeleteContentsOnly. A file is
  // selected when its name has no "." and equals File_Extension without regard to case,
  // or when File_Extension is "*" or equals the lower-cased part after the name's last
  // "." and, with a size window (Max_fsize or Min_fsize not 0, in kilobytes), its length
  // lies inside the window. With SubDirectoriesIncluded every sub-folder is handled the
  // same way first, without size window. Failures are skipped; the result is always 0.
  virtual std::int32_t FolderShred(const std::string& fname, bool DeleteContentsOnly = false,
                                   const std::string& File_Extension = "", bool SubDirectoriesIncluded = false,
                                   double Max_fsize = 0, double Min_fsize = 0) = 0;

  // Wipes the free space of the drive named by the first two characters of drive ("D:").
  // Raises EngineError when the free space cannot be measured or a filler file cannot be
  // written or deleted; a full drive is the normal end, not a failure. A stop request
  // ends the wipe early; the filler files are deleted either way.
  virtual Variant ShredFreeSpace(const std::string& drive) = 0;

  // m x 1024.
  virtual double toByte(double m) = 0;
  // Stores bSet in the stop flag, which no operation clears.
  virtual Variant StopShred(bool bSet) = 0;
};

}  // namespace pgv
