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

// Removes a file or folder tree under T:\ (anything else is refused).
void RemoveTree(const std::string& path);

// The trash entry holding the item that was at `path`, as a Windows
// path under X:\Trash\files\, or "" when the trash does not hold it.
std::string TrashedAs(const std::string& path);

// The exe's folder with a trailing backslash.
std::string ExeFolder();

}  // namespace scourly::support

namespace scourly::support {

// Removes a file the program keeps beside itself ("settings.ini",
// "FList.txt", "deleted.log" or "deleted.log.1"); nothing else in that
// folder is ever removed.
void RemoveProgramFile(const std::string& name);

}  // namespace scourly::support
