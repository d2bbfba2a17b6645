// The "Web Browsers" listing on real files under Windows (or Wine), against
// a bare listing of the same folders, side by side in one run:
//   scourly_browser_bench ROOT [files]
// ROOT gets a browser profile ("User Data\Default") whose cache folders
// hold `files` files in all (50,000 by default): most in "Cache\Cache_Data",
// as a browser keeps them, the rest in "Code Cache\js", "Code Cache\wasm"
// and "GPUCache". The tree is built on first use and kept.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/targets.h"
#include "bench/win/bare_walk.h"
#include "cache/web_browsers.h"
#include "platform/win32/win32_windows.h"
#include "scan/scan_progress.h"

using namespace scourly;
using namespace scourly::bench;

namespace {

struct CacheFolder {
  const char* path;  // below the profile
  double share;      // of all files
};
constexpr CacheFolder kFolders[] = {{"Cache\\Cache_Data", 0.90},
                                    {"Code Cache\\js", 0.08},
                                    {"Code Cache\\wasm", 0.01},
                                    {"GPUCache", 0.01}};

void MakeFolders(const std::string& path) {
  for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
    CreateDirectoryW(Widen(path.substr(0, at)).c_str(), nullptr);
    if (at == std::string::npos) break;
  }
}

// Builds the profile's cache once; false when it cannot.
bool EnsureProfile(const std::string& profile, size_t files) {
  const std::string done = profile + "\\.built-" + std::to_string(files);
  if (GetFileAttributesW(Widen(done).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  std::printf("building %zu cache files under %s...\n", files, profile.c_str());
  std::string data(2000, 'c');
  for (const CacheFolder& folder : kFolders) {
    const std::string path = profile + "\\" + folder.path;
    MakeFolders(path);
    const size_t count = static_cast<size_t>(static_cast<double>(files) * folder.share);
    for (size_t i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "\\f_%06zx", i);
      HANDLE h = CreateFileW(Widen(path + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) return false;
      DWORD written = 0;
      WriteFile(h, data.data(), static_cast<DWORD>(1 + i % data.size()), &written, nullptr);
      CloseHandle(h);
    }
  }
  HANDLE h = CreateFileW(Widen(done).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: scourly_browser_bench ROOT [files]\n");
    return 2;
  }
  const std::string root = argv[1];
  const size_t files = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 50000;
  const std::string profile = root + "\\User Data\\Default";
  if (!EnsureProfile(profile, files)) {
    std::printf("cannot build the tree under %s\n", root.c_str());
    return 1;
  }

  Win32Windows windows;
  BrowserProfile browserProfile{"Default", profile, profile};
  const BrowserCategories cacheOnly{true, false, false};
  size_t rows = 0, entries = 0;
  auto listing = [&] {
    StatusBar bar;
    bool stop = false;
    ScanProgress progress(bar, windows.ui, stop, 30);
    DateTexts dates(windows.locale);
    WalkContext ctx{windows.fs, dates, progress, KeepFilter::None()};
    std::unique_ptr<ItemOpener> opener = windows.fs.NewItemOpener();
    ScanState state;
    ListProfileFiles(ctx, *opener, BrowserFamily::kChromium, browserProfile, cacheOnly, state);
    rows = state.rows.size();
  };
  // The same three cache folders, listed bare.
  auto bare = [&] {
    entries = 0;
    for (const char* folder : {"Cache", "Code Cache", "GPUCache"}) {
      std::wstring path = Widen(profile + "\\" + folder);
      entries += BareWalk(path);
    }
  };
  bare();
  listing();  // warm the caches alike for both
  // Turns of both, the ratio taken within each turn, the median reported.
  constexpr int kRounds = 5;
  std::vector<double> ratios, bareTimes, listTimes;
  for (int round = 0; round < kRounds; ++round) {
    bareTimes.push_back(Seconds(bare));
    listTimes.push_back(Seconds(listing));
    ratios.push_back(listTimes.back() / bareTimes.back());
    std::printf("round %d: bare %.3f s, web browsers listing %.3f s\n", round + 1,
                bareTimes.back(), listTimes.back());
  }
  std::printf("%zu cache files (%zu entries bare), %zu rows; medians of %d rounds:\n", files,
              entries, rows, kRounds);
  std::printf("bare FindFirstFileExW walk   %7.3f s\n", Median(bareTimes));
  std::printf("web browsers listing         %7.3f s   %.2fx bare\n", Median(listTimes),
              Median(ratios));
  Target("web browsers listing of " + std::to_string(files) + " cache files / bare walk",
         Median(ratios), "<=", 1.5, "x");
  return 0;
}
