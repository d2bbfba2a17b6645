// Folders that are never handed to the Recycle Bin as a whole: a drive root,
// the Windows and Program Files folders, the Users folder, every user's
// profile and each profile's known folders (Desktop, Documents, ...), and any
// folder that holds one of them. Where they are is asked of the system (its
// known folders and its list of profiles); nothing here assumes a path.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "platform/shell.h"

namespace scourly {

struct SystemFolder {
  std::string path;  // as the system names it
  std::string what;  // "the Windows folder", "a profile's Documents folder", ...
};

// The system's folders as the shell names them. Other users' known folders
// are placed in each profile the way the current user's and the default
// user's lie in theirs, and the current user's also where they really are.
std::vector<SystemFolder> SystemFolders(Shell& shell);

// Judges folders about to be handed over whole. The system's folders are
// opened once, on first need, and compared by what they really are, so a
// short 8.3 form, another case or a trailing backslash changes nothing.
class FolderGuard {
 public:
  FolderGuard(Shell& shell, ItemOpener& opener) : shell_(shell), opener_(opener) {}

  // Why the folder at `path`, opened with the facts `stat`, must not be
  // handed over whole ("a drive root", "a user's profile folder", "holds
  // C:\Users\me, a user's profile folder"); nothing when it may go.
  std::optional<std::string> Refusal(const std::string& path, const ItemStat& stat);

 private:
  struct Known {
    std::string finalPath;
    std::string path;
    std::string what;
  };
  void Load();
  // The final path of the root of the drive or share `path` lies on.
  std::string RootOf(const std::string& path);

  Shell& shell_;
  ItemOpener& opener_;
  bool loaded_ = false;
  std::vector<Known> known_;
  std::vector<std::pair<std::string, std::string>> roots_;  // root text, its final path
};

}  // namespace scourly
