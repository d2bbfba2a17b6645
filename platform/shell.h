// Shell services: special folders, opening a file or web address with its
// associated program, the folder-browse dialog and reading shell links.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scourly {

// Special folder numbers (CSIDL) the program asks for.
inline constexpr int kCsidlFavorites = 6;
inline constexpr int kCsidlRecent = 8;
// The user's roaming and local application data folders.
inline constexpr int kCsidlAppData = 26;
inline constexpr int kCsidlLocalAppData = 28;

// Folders the system keeps at places of its choosing; their paths are always
// asked for, never assumed.
enum class KnownFolder {
  kWindows,
  kProgramFiles,
  kProgramFilesX86,
  kProgramFilesX64,
  kUserProfiles,  // the folder that holds the users' profiles
  kProfile,       // a user's own profile folder
  kPublic,        // the profile folder every user shares
  kDesktop,
  kDocuments,
  kDownloads,
  kPictures,
  kMusic,
  kVideos,
  kFavorites,
  kRoamingAppData,
  kLocalAppData,
};

// Whose known folder: the user running the program, or the profile new
// users are made from (the layout every other profile started with).
enum class FolderOwner { kCurrentUser, kDefaultUser };

// The show command handed to the program that opens a file or address.
enum class ShowCommand { kShowNormal = 1, kShow = 5 };

// What a shell link records. Texts are UTF-8, read whole.
struct ShortcutFields {
  std::string path;  // target, with UNC priority
  std::string workingDirectory;
  std::string arguments;
  std::string description;
  std::string iconLocation;
  int32_t iconIndex = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;

  // The file-system path of special folder `csidl`, without a trailing
  // backslash; nothing when the shell cannot resolve it to a path.
  virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;

  // Where the system keeps `folder` for `owner`, without a trailing
  // backslash; nothing when it has no such folder.
  virtual std::optional<std::string> KnownFolderPath(KnownFolder folder, FolderOwner owner) = 0;

  // Every profile folder the system lists for the machine's users, the
  // default and the shared one included, environment variables expanded.
  virtual std::vector<std::string> ProfileFolders() = 0;

  // Hands `target` (a path or a web address) to the shell's "open" verb,
  // owned by the active window. Whatever the shell does on failure is all the
  // user sees; nothing is reported back.
  virtual void Open(const std::string& target, ShowCommand show) = 0;

  // The folder-browse dialog owned by the active window: file-system folders
  // only, rooted at the desktop, no title, `preselect` selected when it names
  // a folder. The chosen folder's full path, or nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder(const std::string& preselect) = 0;

  // The file-open dialog owned by the active window, for one existing file
  // of any type. Its full path, or nothing when cancelled.
  virtual std::optional<std::string> BrowseForFile() = 0;

  // Reads the shell link at `linkPath` without resolving it and without ever
  // showing a window. False when the file cannot be loaded as a link.
  virtual bool ReadShortcut(const std::string& linkPath, ShortcutFields& fields) = 0;
};

}  // namespace scourly
