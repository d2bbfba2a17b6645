#include "cache/web_browsers.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>

#include "lists/column_sort.h"
#include "lists/status_panels.h"
#include "scan/folder_scans.h"
#include "scan/scan_progress.h"

namespace scourly {
namespace {

struct ChromiumBrowser {
  const char* name;
  const char* userData;  // below the local application data folder
};

constexpr ChromiumBrowser kChromiumBrowsers[] = {
    {"Google Chrome", "Google\\Chrome\\User Data"},
    {"Microsoft Edge", "Microsoft\\Edge\\User Data"},
    {"Brave", "BraveSoftware\\Brave-Browser\\User Data"},
    {"Vivaldi", "Vivaldi\\User Data"},
    {"Chromium", "Chromium\\User Data"},
};

// Opera keeps its one profile in the roaming folder and its cache in the
// same place below the local one.
constexpr const char* kOperaName = "Opera";
constexpr const char* kOperaProfile = "Opera Software\\Opera Stable";

constexpr const char* kFirefoxName = "Mozilla Firefox";
constexpr const char* kFirefoxFolder = "Mozilla\\Firefox";  // below both folders

constexpr const char* kChromiumLock = "lockfile";    // in "User Data"
constexpr const char* kFirefoxLock = "parent.lock";  // in each profile
constexpr const char* kPreferences = "Preferences";
constexpr const char* kDefaultProfile = "Default";

using Names = std::initializer_list<const char*>;
constexpr Names kChromiumCache = {"Cache", "Code Cache", "GPUCache"};
constexpr Names kChromiumCookies = {"Cookies", "Cookies-journal"};  // in "Network", then beside
constexpr Names kChromiumHistory = {"History", "History-journal", "Visited Links", "Top Sites",
                                    "Top Sites-journal"};
constexpr Names kFirefoxCache = {"cache2", "startupCache", "thumbnails"};
constexpr Names kFirefoxCookies = {"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-shm"};

bool IsFolder(const FindEntry& e) { return (e.attributes & kAttrDirectory) != 0; }
bool IsLink(const FindEntry& e) { return (e.attributes & kAttrReparsePoint) != 0; }
bool IsDots(const std::string& name) { return name == "." || name == ".."; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// File names match as the file system matches them; the names looked for
// are all ASCII.
bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string Trim(const std::string& s) {
  size_t begin = s.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return {};
  size_t end = s.find_last_not_of(" \t\r");
  return s.substr(begin, end - begin + 1);
}

std::string LastPart(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A folder reached by its own path: there, a folder, and no link on the way.
bool RealFolder(ItemOpener& opener, const std::string& path) {
  uint32_t error = 0;
  std::unique_ptr<OpenedItem> item = opener.Open(path, false, error);
  ItemStat stat;
  return item && item->Stat(stat) && (stat.attributes & kAttrDirectory) && !stat.link;
}

// A lock file that another program holds open: asking for the right to
// delete it fails with a sharing violation. A lock file left behind by a
// browser that crashed is not held, and says nothing.
bool HeldOpen(ItemOpener& opener, const std::string& path) {
  uint32_t error = 0;
  return !opener.Open(path, true, error) && error == kErrorSharingViolation;
}

bool HoldsFile(FileSystem& fs, const std::string& folder, const char* name) {
  auto listing = fs.ListFolder(folder);
  if (!listing) return false;
  FindEntry e;
  while (listing->Next(e)) {
    if (!IsFolder(e) && !IsLink(e) && SameName(e.name, name)) return true;
  }
  return false;
}

// "Default" first, then the folders' names in code-point order (UTF-8 bytes
// compared unsigned give that order).
void SortProfiles(std::vector<BrowserProfile>& profiles) {
  std::stable_sort(profiles.begin(), profiles.end(),
                   [](const BrowserProfile& a, const BrowserProfile& b) {
                     const bool aDefault = a.name == kDefaultProfile;
                     const bool bDefault = b.name == kDefaultProfile;
                     if (aDefault != bDefault) return aDefault;
                     return a.name < b.name;
                   });
}

// The profiles of a Chromium "User Data" folder: its subfolders that hold a
// "Preferences" file.
std::vector<BrowserProfile> ChromiumProfiles(FileSystem& fs, ItemOpener& opener,
                                             const std::string& userData) {
  std::vector<BrowserProfile> profiles;
  if (!RealFolder(opener, userData)) return profiles;
  std::vector<std::string> folders;
  if (auto listing = fs.ListFolder(userData)) {
    FindEntry e;
    while (listing->Next(e)) {
      if (IsFolder(e) && !IsLink(e) && !IsDots(e.name)) folders.push_back(e.name);
    }
  }
  for (const std::string& name : folders) {
    const std::string folder = userData + "\\" + name;
    if (HoldsFile(fs, folder, kPreferences) && RealFolder(opener, folder))
      profiles.push_back({name, folder, folder});
  }
  SortProfiles(profiles);
  return profiles;
}

// A relative profile path as Firefox writes it ("Profiles/abc.default"):
// plain names only, so it can never lead out of the Firefox folder.
bool SafeRelative(const std::string& path) {
  if (path.empty()) return false;
  size_t start = 0;
  for (;;) {
    size_t end = path.find('\\', start);
    std::string part = path.substr(start, end == std::string::npos ? end : end - start);
    if (part.empty() || IsDots(part)) return false;
    for (char c : part) {
      if (static_cast<unsigned char>(c) < 32 ||
          std::string_view(":*?\"<>|").find(c) != std::string_view::npos)
        return false;
    }
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

// "X:\folder..." or "\\server\share\folder...": a fully qualified path that
// names a folder below a root, never a root itself.
bool FullyQualifiedBelowRoot(const std::string& path) {
  if (path.size() > 3 && path[1] == ':' && path[2] == '\\' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
    return SafeRelative(path.substr(3));
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    std::string rest = path.substr(2);
    size_t share = rest.find('\\');
    if (share == std::string::npos) return false;
    size_t below = rest.find('\\', share + 1);
    return below != std::string::npos && SafeRelative(rest);
  }
  return false;
}

std::vector<BrowserProfile> FirefoxProfiles(FileSystem& fs, ItemOpener& opener,
                                            const std::string& roaming,
                                            const std::optional<std::string>& local) {
  std::vector<BrowserProfile> profiles;
  const std::string root = roaming + "\\" + kFirefoxFolder;
  std::string text;
  if (!fs.ReadFile(root + "\\profiles.ini", text)) return profiles;
  for (const FirefoxProfileEntry& entry : ParseFirefoxProfiles(text)) {
    BrowserProfile profile;
    if (entry.relative) {
      profile.folder = root + "\\" + entry.path;
      if (local) profile.cacheRoot = *local + "\\" + kFirefoxFolder + "\\" + entry.path;
    } else {
      // A profile outside Firefox's own folder keeps its cache in itself.
      profile.folder = entry.path;
      profile.cacheRoot = entry.path;
    }
    profile.name = LastPart(profile.folder);
    const bool twice = std::any_of(profiles.begin(), profiles.end(), [&](const BrowserProfile& p) {
      return SameName(p.folder, profile.folder);
    });
    if (!twice && RealFolder(opener, profile.folder)) profiles.push_back(std::move(profile));
  }
  SortProfiles(profiles);
  return profiles;
}

// Lists the files of a profile's folders into a scan's rows. Every folder a
// profile scan looks at is listed here, and every row is made in Add: what
// decides whether a found file is listed belongs there.
class ProfileFileLister {
 public:
  ProfileFileLister(WalkContext& ctx, ItemOpener& opener, ScanState& state)
      : ctx_(ctx), opener_(opener), state_(state) {}

  // Every file below `folder`, subfolders walked where the listing names
  // them; links (and folders reached through one) are never entered.
  void Tree(const std::string& folder) {
    WalkObserver& progress = ctx_.progress;
    const std::string location = folder + "\\";
    const KeepFilter::Names* kept = nullptr;
    auto listing = List(folder, location, kept);
    if (!listing) return;
    FolderText shared(location);
    FindEntry e;
    while (!progress.Stopped() && listing->Next(e)) {
      if (IsDots(e.name) || IsLink(e)) continue;
      if (IsFolder(e)) {
        if (!kept || !kept->Folder(e.name)) Tree(location + e.name);
      } else if (!kept || !kept->File(e.name)) {
        Add(shared, e);
      }
      progress.Pump(location);
    }
  }

  // The files of `folder` that have one of `names`, in the order of `names`.
  void Named(const std::string& folder, Names names) {
    WalkObserver& progress = ctx_.progress;
    const std::string location = folder + "\\";
    const KeepFilter::Names* kept = nullptr;
    auto listing = List(folder, location, kept);
    if (!listing) return;
    std::vector<std::pair<size_t, FindEntry>> found;
    FindEntry e;
    while (listing->Next(e)) {
      if (IsFolder(e) || IsLink(e) || (kept && kept->File(e.name))) continue;
      size_t rank = 0;
      for (const char* name : names) {
        if (SameName(e.name, name)) {
          found.emplace_back(rank, e);
          break;
        }
        ++rank;
      }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    FolderText shared(location);
    for (const auto& [rank, entry] : found) Add(shared, entry);
    progress.Pump(location);
  }

 private:
  // The listing of `folder` (its path ending in "\\" is `location`), with
  // what is kept in it; null when the scan was stopped, or the folder is
  // kept (never opened then), reached through a link, or cannot be listed.
  std::unique_ptr<FolderListing> List(const std::string& folder, const std::string& location,
                                      const KeepFilter::Names*& kept) {
    if (ctx_.progress.Stopped() || ctx_.keep.Keeps(location, true) ||
        !RealFolder(opener_, folder))
      return nullptr;
    kept = ctx_.keep.In(location);
    return ctx_.fs.ListFolder(folder);
  }

  void Add(FolderText& location, const FindEntry& e) {
    state_.rows.emplace_back(e.name, location.Get(), e.size, e.lastWrite,
                             ctx_.dates.Of(e.lastWrite));
    state_.bytes += static_cast<int64_t>(e.size);
    ++state_.count;
    ctx_.progress.Found(state_.count, state_.bytes, true);
  }

  WalkContext& ctx_;
  ItemOpener& opener_;
  ScanState& state_;
};

}  // namespace

AppDataFolders KnownAppDataFolders(Shell& shell) {
  return {GetSpecialFolderPath(shell, kCsidlLocalAppData),
          GetSpecialFolderPath(shell, kCsidlAppData)};
}

std::vector<FirefoxProfileEntry> ParseFirefoxProfiles(const std::string& text) {
  std::vector<FirefoxProfileEntry> entries;
  bool inProfile = false;
  std::optional<std::string> path;
  std::optional<bool> relative;
  auto endSection = [&] {
    if (inProfile && path) {
      std::string p = *path;
      std::replace(p.begin(), p.end(), '/', '\\');
      while (!p.empty() && p.back() == '\\') p.pop_back();
      const bool rel = relative.value_or(false);
      if (rel ? SafeRelative(p) : FullyQualifiedBelowRoot(p)) entries.push_back({p, rel});
    }
    inProfile = false;
    path.reset();
    relative.reset();
  };
  size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    const std::string line = Trim(text.substr(start, end == std::string::npos ? end : end - start));
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      endSection();
      const std::string name = line.substr(1, line.size() - 2);
      inProfile =
          name.size() > 7 && SameName(name.substr(0, 7), "profile") &&
          std::all_of(name.begin() + 7, name.end(), [](char c) { return c >= '0' && c <= '9'; });
    } else if (inProfile) {
      size_t eq = line.find('=');
      if (eq != std::string::npos) {
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (SameName(key, "Path") && !path) path = value;
        if (SameName(key, "IsRelative") && !relative) relative = value == "1";
      }
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  endSection();
  return entries;
}

std::vector<FoundBrowser> FindBrowsers(FileSystem& fs, ItemOpener& opener,
                                       const AppDataFolders& folders) {
  std::vector<FoundBrowser> browsers;
  auto add = [&](FoundBrowser browser) {
    if (!browser.profiles.empty()) browsers.push_back(std::move(browser));
  };
  if (folders.local) {
    for (const ChromiumBrowser& chromium : kChromiumBrowsers) {
      const std::string userData = *folders.local + "\\" + chromium.userData;
      FoundBrowser browser{chromium.name, BrowserFamily::kChromium, false,
                           ChromiumProfiles(fs, opener, userData)};
      if (!browser.profiles.empty())
        browser.running = HeldOpen(opener, userData + "\\" + kChromiumLock);
      add(std::move(browser));
    }
  }
  if (folders.roaming) {
    const std::string folder = *folders.roaming + "\\" + kOperaProfile;
    FoundBrowser opera{kOperaName, BrowserFamily::kChromium, false, {}};
    if (RealFolder(opener, folder) && HoldsFile(fs, folder, kPreferences)) {
      opera.profiles.push_back(
          {LastPart(folder), folder, folders.local ? *folders.local + "\\" + kOperaProfile : ""});
      opera.running = HeldOpen(opener, folder + "\\" + kChromiumLock);
    }
    add(std::move(opera));

    FoundBrowser firefox{kFirefoxName, BrowserFamily::kFirefox, false,
                         FirefoxProfiles(fs, opener, *folders.roaming, folders.local)};
    for (const BrowserProfile& profile : firefox.profiles)
      firefox.running = firefox.running || HeldOpen(opener, profile.folder + "\\" + kFirefoxLock);
    add(std::move(firefox));
  }
  return browsers;
}

void ListProfileFiles(WalkContext& ctx, ItemOpener& opener, BrowserFamily family,
                      const BrowserProfile& profile, const BrowserCategories& categories,
                      ScanState& state) {
  ProfileFileLister lister(ctx, opener, state);
  const bool chromium = family == BrowserFamily::kChromium;
  if (categories.cache && !profile.cacheRoot.empty()) {
    for (const char* folder : chromium ? kChromiumCache : kFirefoxCache)
      lister.Tree(profile.cacheRoot + "\\" + folder);
  }
  if (categories.cookies) {
    if (chromium) {
      lister.Named(profile.folder + "\\Network", kChromiumCookies);
      lister.Named(profile.folder, kChromiumCookies);
    } else {
      lister.Named(profile.folder, kFirefoxCookies);
    }
  }
  // Firefox keeps its history in places.sqlite together with the bookmarks:
  // it has no history files of its own to offer.
  if (categories.history && chromium) lister.Named(profile.folder, kChromiumHistory);
}

std::vector<std::string> WebBrowsersFindFiles(FileTabScan& tab, Platform& platform,
                                              const BrowserCategories& categories) {
  if (tab.stopFlag) return {};
  tab.findFilesTB.enabled = false;
  tab.list.Clear();
  tab.bar.Set(kPanelSelFiles, "");

  ScanState state;
  ScanProgress progress(tab.bar, platform.ui, tab.stopFlag, tab.pumpBudgetMs);
  DateTexts dates(platform.locale);
  const KeepFilter keep = MakeKeepFilter(tab.keep, platform.fs);
  WalkContext ctx{platform.fs, dates, progress, keep};
  std::unique_ptr<ItemOpener> opener = platform.fs.NewItemOpener();
  std::vector<std::string> running;
  for (const FoundBrowser& browser :
       FindBrowsers(platform.fs, *opener, KnownAppDataFolders(platform.shell))) {
    if (browser.running) {
      running.push_back(browser.name);
      continue;
    }
    for (const BrowserProfile& profile : browser.profiles)
      ListProfileFiles(ctx, *opener, browser.family, profile, categories, state);
  }
  progress.Finish();
  if (tab.stopFlag) return {};

  AssignRows(tab.list, std::move(state.rows), platform.locale);
  tab.totalSizeText = SizeText(state.bytes);
  ResetSelectionPanels(tab.bar);
  tab.bar.Set(kPanelTotalFiles, TotalFilesText(state.count));
  tab.bar.Set(kPanelTotalSize, SizeText(state.bytes));
  return running;
}

std::string RunningBrowsersMessage(const std::vector<std::string>& names) {
  if (names.empty()) return {};
  std::string list;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
    list += names[i];
  }
  const bool one = names.size() == 1;
  return list + (one ? " is" : " are") + " running, so none of " + (one ? "its" : "their") +
         " files were listed.\r\nPlease close " + (one ? "it" : "them") + " and scan again.";
}

}  // namespace scourly
