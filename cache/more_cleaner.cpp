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

// Why a chosen target was left on disk.
enum class LeftReason {
  kNotFullPath,  // not a full path of one item, so it was not looked for
  kLink,         // a link, or reached through one
  kNotChecked,   // there, but it could not be opened to be checked
  kInUse,        // the library left it: another program holds it
  kNotRecycled,  // the library left it for another reason
  kKept,         // the user keeps it, or something in it
};

struct LeftItem {
  std::string path;
  LeftReason reason;
  std::optional<uint64_t> size = std::nullopt;  // for the deletion log; none: unknown or a folder
};

const char* ReasonText(LeftReason reason) {
  switch (reason) {
    case LeftReason::kNotFullPath:
      return "not the full path of one file or folder, so it was not looked for";
    case LeftReason::kLink:
      return "a link, which Scourly does not follow";
    case LeftReason::kNotChecked:
      return "could not be checked";
    case LeftReason::kInUse:
      return "in use";
    case LeftReason::kNotRecycled:
      return "could not be moved to the Recycle Bin";
    case LeftReason::kKept:
      return "kept";
  }
  return "";
}

std::string LeftMessage(const std::vector<LeftItem>& left, bool cleaned) {
  std::string text = cleaned ? "Files have been cleaned, except these, which were left on disk:"
                             : "No file has been cleaned. These were left on disk:";
  text += "\r\n";
  bool inUse = false;
  for (const LeftItem& item : left) {
    text += "\r\n" + item.path + " (" + ReasonText(item.reason) + ")";
    inUse = inUse || item.reason == LeftReason::kInUse;
  }
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

// What a target path of a ticked box turned out to be.
struct Probe {
  enum State { kAbsent, kNotFullPath, kPresent } state = kAbsent;
  std::string path;      // the exact path (the raw text when not a full path)
  bool checked = false;  // present: it could be opened and looked at
  bool link = false;     // present and checked: a link, or reached through one
  bool folder = false;   // present and checked: a folder
  uint64_t size = 0;     // present and checked: a file's size

  // The size the deletion log gives it: none for a folder or when unknown.
  std::optional<uint64_t> LoggedSize() const {
    return checked && !folder ? std::optional<uint64_t>(size) : std::nullopt;
  }
};

// The presence test: the platform's find-first search for the exact path
// finds it; a cache folder must in addition be neither hidden nor system (it
// is found, as the search would, also when it is a plain file).
Probe Look(FileSystem& fs, ItemOpener& opener, const std::string& text, bool cacheFolder) {
  Probe probe;
  std::optional<std::string> path = ExactItemPath(text);
  if (!path) {
    probe.state = Probe::kNotFullPath;
    probe.path = text;
    return probe;
  }
  probe.path = *path;
  if (!fs.FindFirstFinds(probe.path)) return probe;
  uint32_t error = 0;
  ItemStat stat;
  std::unique_ptr<OpenedItem> item = opener.Open(probe.path, false, error);
  probe.checked = item && item->Stat(stat);
  if (probe.checked && cacheFolder && (stat.attributes & (kAttrHidden | kAttrSystem))) return probe;
  probe.state = Probe::kPresent;
  probe.link = probe.checked && stat.link;
  probe.folder = (stat.attributes & kAttrDirectory) != 0;
  probe.size = stat.size;
  return probe;
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
  std::unique_ptr<ItemOpener> opener = fs.NewItemOpener();

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

  const KeepFilter kept = MakeKeepFilter(keep, fs);
  HandOffList handOff;
  std::vector<Probe> handed;
  std::vector<LeftItem> left;
  bool stopped = false;
  for (const Box& b : boxes) {
    if (!b.box.checked || b.edit.text.empty()) continue;
    // A Stop still in force hands nothing over. The history box asks once
    // for its three files, the others before each present target.
    const bool perTarget = b.suffixes.size() == 1;
    if (!perTarget && StopFlag_) {
      stopped = true;
      break;
    }
    for (const char* suffix : b.suffixes) {
      Probe probe = Look(fs, *opener, b.edit.text + suffix, b.cacheFolder);
      if (probe.state == Probe::kAbsent) continue;
      if (probe.state == Probe::kNotFullPath) {
        left.push_back({probe.path, LeftReason::kNotFullPath});
        continue;
      }
      if (perTarget && StopFlag_) {
        stopped = true;
        break;
      }
      if (!probe.checked) {
        left.push_back({probe.path, LeftReason::kNotChecked});
      } else if (probe.link) {
        left.push_back({probe.path, LeftReason::kLink, probe.LoggedSize()});
      } else if (kept.Reaches(probe.path, probe.folder)) {
        left.push_back({probe.path, LeftReason::kKept, probe.LoggedSize()});
      } else {
        handOff.Add(probe.path);
        handed.push_back(probe);
      }
    }
    if (stopped) break;
  }

  if (uint32_t error = handOff.Write(fs)) throw AppError(InOutErrorText(error));
  if (stopped) return;  // nothing deleted, nothing said

  bool cleaned = false;
  if (!handed.empty()) {
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
    for (const Probe& item : handed) {
      std::optional<StayReason> stayed = StayedAfterHandOff(fs, *opener, item.path);
      if (!stayed) {
        cleaned = true;
        if (log) log->Deleted(DeletionWay::kRecycle, item.LoggedSize(), item.path);
        continue;
      }
      left.push_back({item.path,
                      *stayed == StayReason::kInUse ? LeftReason::kInUse : LeftReason::kNotRecycled,
                      item.LoggedSize()});
    }
  }
  if (log) {
    for (const LeftItem& item : left)
      log->Stayed(DeletionWay::kRecycle, item.size, item.path, ReasonText(item.reason));
  }
  if (!left.empty()) {
    Tell(LeftMessage(left, cleaned), MsgIcon::kNone);
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
