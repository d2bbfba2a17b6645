// Today's browsers: where each keeps its profiles, which files of a profile
// are cache, cookies or history, and the "Web Browsers" scan that lists them
// into a result list, one row per file, as the file tabs do.
//
// Everything is found from the user's known application data folders; only
// the folders named here are ever looked at, links are never followed, and
// nothing of a browser that is running is listed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "scan/file_tab_scan.h"
#include "scan/walkers.h"

namespace scourly {

// The three kinds of files the sub-tab offers, and which of them a scan
// lists (the check boxes "Cache", "Cookies" and "History").
struct BrowserCategories {
  bool cache = true;
  bool cookies = false;
  bool history = false;
};

enum class BrowserFamily { kChromium, kFirefox };

struct BrowserProfile {
  std::string name;       // the profile folder's own name: what orders profiles
  std::string folder;     // the profile folder, no trailing backslash
  std::string cacheRoot;  // where its cache folders are; empty when nowhere
};

struct FoundBrowser {
  std::string name;  // as the user knows it: "Google Chrome", "Mozilla Firefox"
  BrowserFamily family = BrowserFamily::kChromium;
  bool running = false;
  std::vector<BrowserProfile> profiles;  // "Default" first, then by name
};

// The user's local and roaming application data folders, without a trailing
// backslash; each is missing when the system cannot name it.
struct AppDataFolders {
  std::optional<std::string> local;
  std::optional<std::string> roaming;
};

AppDataFolders KnownAppDataFolders(Shell& shell);

// The browsers that have at least one profile, in the order the sub-tab
// lists them: Chrome, Edge, Brave, Vivaldi, Chromium, Opera, then Firefox.
// `opener` looks at folders (never entered through a link) and lock files.
std::vector<FoundBrowser> FindBrowsers(FileSystem& fs, ItemOpener& opener,
                                       const AppDataFolders& folders);

// The Firefox profiles that "profiles.ini" names, as (path, relative) pairs
// in file order; the path has backslashes and is relative to the Firefox
// folder when `relative`. Unsafe relative paths (".." and the like) are left
// out, and so are absolute paths that are not fully qualified.
struct FirefoxProfileEntry {
  std::string path;
  bool relative = false;
};
std::vector<FirefoxProfileEntry> ParseFirefoxProfiles(const std::string& text);

// Adds the rows of one profile's checked categories to `state`, in category
// order (cache, cookies, history) and walk order within each.
void ListProfileFiles(WalkContext& ctx, ItemOpener& opener, BrowserFamily family,
                      const BrowserProfile& profile, const BrowserCategories& categories,
                      ScanState& state);

// Find Files on the "Web Browsers" sub-tab: the rows of every profile of
// every browser that is not running, into the tab's list. Returns the names
// of the browsers found running (nothing of theirs is listed), empty when
// the scan was stopped.
std::vector<std::string> WebBrowsersFindFiles(FileTabScan& tab, Platform& platform,
                                              const BrowserCategories& categories);

// The one message after a scan that found browsers running; empty for none.
std::string RunningBrowsersMessage(const std::vector<std::string>& names);

}  // namespace scourly
