// Helpers for tests against real files: a folder of their own on the test
// drive T:, file set-up, and a look into the Recycle Bin (Wine's XDG trash,
// shown to Windows as drive X:).
#pragma once

#include <string>

namespace scourly::support {

// T:\<name>-<run id>-<n>, created empty and removed with everything in it.
class TestFolder {
 public:
  explicit TestFolder(const std::string& name);
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& path() const { return path_; }  // no trailing backslash
  std::string operator/(const std::string& child) const { return path_ + "\\" + child; }

 private:
  std::string path_;
};

void MakeFolder(const std::string& path);
void MakeFile(const std::string& path, const std::string& bytes = "data");
bool Exists(const std::string& path);
std::string ReadAll(const std::string& path);  // empty when missing
void SetAttributes(const std::string& path, unsigned attributes);

// Makes `link` (a path on T:) a Unix symbolic link to `target` (a path on T:,
// or relative to the link's folder), through the link maker the test script
// runs; Wine shows such a link as a plain file or folder. False when no
// link appeared within five seconds.
bool MakeUnixLink(const std::string& link, const std::string& target);

// Makes a file (with `bytes`) or a folder at `path` on T: as a Unix program
// would, under any name: "zero " and "dot." keep their last space and dot,
// which Wine's file functions would drop. False when it did not appear
// within five seconds.
bool MakeUnixFile(const std::string& path, const std::string& bytes);
bool MakeUnixFolder(const std::string& path);

// Whether exactly `path` names something ("\\?\" form: "zero " is not
// "zero").
bool ExistsExactly(const std::string& path);

// Removes a file or folder tree under T:\ (anything else is refused), by
// exact paths.
void RemoveTree(const std::string& path);
// Removes a file or folder tree strictly below `root` (a folder path ending
// in "\\"); anything else is refused. Links are removed, never followed.
void RemoveTreeBelow(const std::string& path, const std::string& root);

// The trash entry holding the item that was at `path`, as a Windows
// path under X:\Trash\files\, or "" when the trash does not hold it.
std::string TrashedAs(const std::string& path);
// The same for an item that was on C: (the prefix's own drive).
std::string TrashedFromDriveC(const std::string& path);
// The trash entry whose recorded Unix path ends in `tail` ("\\" read as "/").
std::string TrashedWithTail(std::string tail);

// The exe's folder with a trailing backslash.
std::string ExeFolder();

// Puts a file where the Recycle Bin keeps its files, so that it can take
// nothing, and restores it when done.
class RecycleBinRefusing {
 public:
  RecycleBinRefusing();
  ~RecycleBinRefusing();
  RecycleBinRefusing(const RecycleBinRefusing&) = delete;
  RecycleBinRefusing& operator=(const RecycleBinRefusing&) = delete;

 private:
  bool aside_ = false;
};

}  // namespace scourly::support

namespace scourly::support {

// Removes a file the program keeps beside itself ("settings.ini",
// "FList.txt", "deleted.log" or "deleted.log.1"); nothing else in that
// folder is ever removed.
void RemoveProgramFile(const std::string& name);

}  // namespace scourly::support
