// Shell services: special folders, opening a file or web address with its
// associated program, the folder-browse dialog and reading shell links.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace scourly {

// Special folder numbers (CSIDL) the program asks for.
inline constexpr int kCsidlFavorites = 6;
inline constexpr int kCsidlRecent = 8;

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
