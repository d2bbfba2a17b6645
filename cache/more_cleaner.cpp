#include "cache/more_cleaner.h"

#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "delete/deletion.h"
#include "lists/app_error.h"
#include "lists/app_title.h"

namespace scourly {
namespace {

constexpr RegistryRoot kHklm = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kHkcu = RegistryRoot::kCurrentUser;

// The reason a chosen target was left on disk, as this sheet words it.
std::string LeftText(const StayedItem& item) {
  switch (item.reason) {
    case StayReason::kLink: return "a link, which Scourly does not follow";
    case StayReason::kNotDeleted: return "could not be checked";
    case StayReason::kProtected: return item.detail + ", which cannot be a browser's cache";
    default: return ReasonText(item);
  }
}

constexpr const char* kNotFullPathText =
    "not the full path of one file or folder, so it was not looked for";

std::string LeftMessage(const std::vector<std::string>& left, bool inUse, bool cleaned) {
  std::string text = cleaned ? "Files have been cleaned, except these, which were left on disk:"
                             : "No file has been cleaned. These were left on disk:";
  text += "\r\n";
  for (const std::string& line : left) text += "\r\n" + line;
  if (inUse) text += "\r\n\r\nClose Netscape and Opera, then press \"Clear Now\" again.";
  return text;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// `text` as a full path naming exactly one item ("X:\..." or
// "\\server\share\..."), "/" read as "\", repeated separators and a trailing
// one dropped (a drive root keeps its "\"); nothing when it is relative or
// holds a wildcard or a "." or ".." part. The platform would resolve a
// relative path against the current folder, expand a wildcard and fold the
// dots away, and any of these could name an item the user never chose.
std::optional<std::string> ExactItemPath(std::string text) {
  for (char& c : text) {
    if (c == '/') c = '\\';
    if (c == '*' || c == '?') return std::nullopt;
  }
  std::string root;
  size_t at = 0;
  if (text.size() >= 3 && IsLetter(text[0]) && text[1] == ':' && text[2] == '\\') {
    root = text.substr(0, 3);
    at = 3;
  } else if (text.size() > 2 && text[0] == '\\' && text[1] == '\\' && text[2] != '\\') {
    size_t server = text.find('\\', 2);
    if (server == std::string::npos) return std::nullopt;
    size_t share = text.find('\\', server + 1);
    if (share == std::string::npos) share = text.size();
    std::string serverName = text.substr(2, server - 2);
    if (serverName == "." || share == server + 1) return std::nullopt;  // device path, no share
    root = text.substr(0, share);
    at = share;
  } else {
    return std::nullopt;
  }
  std::string path = root;
  while (at < text.size()) {
    size_t end = text.find('\\', at);
    if (end == std::string::npos) end = text.size();
    std::string part = text.substr(at, end - at);
    at = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == "..") return std::nullopt;
    if (path.back() != '\\') path += '\\';
    path += part;
  }
  return path;
}

}  // namespace

const char* const kPathsNotSavedText =
    "The directory paths could not be saved: the registry key "
    "HKEY_LOCAL_MACHINE\\Software\\SW1\\Caches could not be created or changed. Saving them "
    "needs the right to change HKEY_LOCAL_MACHINE, which usually means running Scourly as an "
    "administrator.";

TNetscapeOperaCleaner::TNetscapeOperaCleaner(Platform& platform, const bool& StopFlag,
                                             ToolButton& FindFilesTB)
    : platform_(platform), StopFlag_(StopFlag), FindFilesTB_(FindFilesTB) {
  Label13.caption = "Note: Netscape and Opera must be closed\r\nto successfully clean files.";
  NCache.caption = "Cache";
  NCookies.caption = "Cookies";
  NHistory.caption = "URL History";
  OCache.caption = "Cache";
  OCookies.caption = "Cookies";
  OHistory.caption = "URL History";
  ClearBtn.caption = "Clear Now";
  SaveBtn.caption = "Save Directory Paths";
  SaveBtn.hint = "Click to save the directory paths you have modified";
}

void TNetscapeOperaCleaner::TabSheet7Show() {
  FindFilesTB_.enabled = false;
  Registry& registry = platform_.registry;
  // Saved paths win, even empty ones: once saved, the browsers' own settings
  // are no longer consulted.
  if (auto saved = registry.OpenKey(kHklm, kSavedPathsKey, KeyAccess::kRead)) {
    NProfile.text = saved->ReadString("NProfile").value_or("");
    NCacheDir.text = saved->ReadString("NCacheDir").value_or("");
    OProgramDir.text = saved->ReadString("OProgramDir").value_or("");
    OCacheDir.text = saved->ReadString("OCacheDir").value_or("");
    return;
  }
  if (auto biff = registry.OpenKey(kHkcu, kNetscapeBiffKey, KeyAccess::kRead)) {
    const std::string user = biff->ReadString("CurrentUser").value_or("");
    if (auto main = registry.OpenKey(kHkcu, kNetscapeMainKey, KeyAccess::kRead)) {
      std::string rest = main->ReadString("Install Directory").value_or("");
      // The profiles sit in "Users" beside the installation folder: the
      // install directory up to and including its last backslash (moved over
      // part by part while two or more characters remain, so a lone "\"
      // left at the very end, as in "C:\a\\", stays out).
      std::string parent;
      while (rest.size() >= 2) {
        size_t k = rest.find('\\');
        if (k == std::string::npos) break;
        parent.append(rest, 0, k + 1);
        rest.erase(0, k + 1);
      }
      NProfile.text = parent + "Users\\" + user;
      NCacheDir.text = NProfile.text + "\\Cache";
    }
  }
  if (auto opera = registry.OpenKey(kHkcu, kOperaKey, KeyAccess::kRead)) {
    const std::string folder = opera->ReadString("Last Directory").value_or("");
    OProgramDir.text = folder;
    if (!folder.empty()) OCacheDir.text = folder + "\\Cache4";
  }
}

void TNetscapeOperaCleaner::ClearBtnClick() {
  ScopedHourglass hourglass(platform_.ui);
  FileSystem& fs = platform_.fs;
  if (StopFlag_) {
    // A Stop still in force hands nothing over and says nothing.
    if (uint32_t error = HandOffList().Write(fs)) throw AppError(InOutErrorText(error));
    return;
  }

  struct Box {
    const CheckBox& box;
    const Edit& edit;
    std::vector<const char*> suffixes;
    bool cacheFolder;
  };
  const Box boxes[] = {
      {NCache, NCacheDir, {""}, true},
      {NCookies, NProfile, {"\\cookies.txt"}, false},
      {NHistory, NProfile, {"\\netscape.hst"}, false},
      {OCache, OCacheDir, {""}, true},
      {OCookies, OProgramDir, {"\\cookies4.dat"}, false},
      {OHistory, OProgramDir, {"\\opera.win", "\\autopera.win", "\\global.dat"}, false},
  };

  // Every target in the order of the boxes: its number in the run, or the
  // text that is no full path.
  struct Target {
    std::optional<size_t> taken;
    std::string text;
  };
  std::vector<Target> targets;
  const KeepFilter kept = MakeKeepFilter(keep, fs);
  DeletionRun run(platform_, false, &kept, log);
  for (const Box& b : boxes) {
    if (!b.box.checked || b.edit.text.empty()) continue;
    for (const char* suffix : b.suffixes) {
      const std::string text = b.edit.text + suffix;
      std::optional<std::string> path = ExactItemPath(text);
      if (!path) {
        targets.push_back({std::nullopt, text});
        continue;
      }
      // A cache folder is present when it is visible; a cookie or history
      // file whatever its attributes.
      Expected expected;
      expected.visibleOnly = b.cacheFolder;
      targets.push_back({run.Take(*path, expected), *path});
    }
  }

  if (uint32_t error = run.HandOff().Write(fs)) throw AppError(InOutErrorText(error));
  if (!run.HandOff().Empty()) {
    if (!platform_.purgix.Available()) {
      Tell(kPurgixMissingText, MsgIcon::kError);
      return;
    }
    try {
      platform_.purgix.DoDelete();
    } catch (const std::exception&) {
      // The library's fault is not reported as such: what it left is found
      // and named below.
    }
    run.Settle();
  }

  std::vector<std::string> left;
  bool cleaned = false, inUse = false;
  for (const Target& target : targets) {
    if (!target.taken) {
      left.push_back(target.text + " (" + kNotFullPathText + ")");
      continue;
    }
    cleaned = cleaned || run.Outcome(*target.taken) == DeletionRun::Fate::kGone;
    if (std::optional<StayedItem> stayed = run.StayedOf(*target.taken)) {
      left.push_back(stayed->path + " (" + LeftText(*stayed) + ")");
      inUse = inUse || stayed->reason == StayReason::kInUse;
    }
  }
  if (!left.empty()) {
    Tell(LeftMessage(left, inUse, cleaned), MsgIcon::kNone);
  } else if (cleaned) {
    Tell(kCleanedText, MsgIcon::kNone);
  }
}

void TNetscapeOperaCleaner::SaveBtnClick() {
  std::unique_ptr<RegistryKey> key = platform_.registry.CreateKey(kHklm, kSavedPathsKey);
  if (!key) {
    Tell(kPathsNotSavedText, MsgIcon::kError);
    return;
  }
  key->WriteString("NProfile", NProfile.text);
  key->WriteString("NCacheDir", NCacheDir.text);
  key->WriteString("OProgramDir", OProgramDir.text);
  key->WriteString("OCacheDir", OCacheDir.text);
  Tell(kPathsSavedText, MsgIcon::kNone);
}

void TNetscapeOperaCleaner::SpeedButton1Click() { Browse(NProfile); }
void TNetscapeOperaCleaner::SpeedButton2Click() { Browse(NCacheDir); }
void TNetscapeOperaCleaner::SpeedButton3Click() { Browse(OProgramDir); }
void TNetscapeOperaCleaner::SpeedButton4Click() { Browse(OCacheDir); }

void TNetscapeOperaCleaner::Browse(Edit& edit) {
  std::optional<std::string> folder = platform_.shell.BrowseForFolder(lastBrowsed_);
  if (!folder) return;  // cancelled: the edit keeps its text
  edit.text = *folder;
  lastBrowsed_ = *folder;
}

void TNetscapeOperaCleaner::Tell(const std::string& text, MsgIcon icon) {
  platform_.ui.ShowMessage(text, kAppTitle, MsgButtons::kOk, icon);
}

}  // namespace scourly
