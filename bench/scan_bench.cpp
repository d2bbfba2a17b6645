// Measures the unneeded-file scan against a bare enumeration of the same
// tree, and the single traversal against one walk per mask, side by side in
// one run. Prints ratios; absolute times are shown only for reference.
//   scourly_bench [folders] [files per folder]
// "scourly_bench sort ..." runs the sort benchmark instead (sort_bench.cpp).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/fake/fake_windows.h"
#include "scan/unneeded_scan.h"
#include "scan/scan_progress.h"

using namespace scourly;

namespace {

double Seconds(const std::function<void()>& run, int repeats = 3) {
  double best = 1e9;
  for (int i = 0; i < repeats; ++i) {
    auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// Lists every folder once and touches every entry: the floor for any walk.
size_t BareEnumeration(FileSystem& fs, const std::string& folder) {
  size_t entries = 0;
  auto listing = fs.ListFolder(folder);
  if (!listing) return 0;
  FindEntry e;
  std::vector<std::string> subfolders;
  while (listing->Next(e)) {
    ++entries;
    if ((e.attributes & kAttrDirectory) && e.name != "." && e.name != "..")
      subfolders.push_back(folder + "\\" + e.name);
  }
  listing.reset();
  for (const std::string& sub : subfolders) entries += BareEnumeration(fs, sub);
  return entries;
}

}  // namespace

int SortBenchMain(int argc, char** argv);

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "sort") return SortBenchMain(argc - 1, argv + 1);
  int folders = argc > 1 ? std::atoi(argv[1]) : 4000;
  int perFolder = argc > 2 ? std::atoi(argv[2]) : 50;
  fake::FakeWindows win;
  win.fs.AddDrive('T');
  const char* kinds[] = {".txt", ".doc", ".tmp", ".bak", ".dll", ".exe", ".old", ".jpg"};
  for (int f = 0; f < folders; ++f) {
    std::string folder = "T:\\d" + std::to_string(f % 40) + "\\sub" + std::to_string(f);
    win.fs.AddFolder(folder);
    for (int i = 0; i < perFolder; ++i)
      win.fs.AddFile(folder + "\\file" + std::to_string(i) + kinds[(f + i) % 8], (i % 17) * 100);
  }
  ScanOptions options;
  for (const char* mask : {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"})
    options.OptionBox.Add(mask, true);
  options.DrivesBox.Add("T:\\", true);

  auto scan = [&](WalkStrategy strategy) {
    StatusBar bar;
    bool stop = false;
    DateTexts dates(win.locale);
    ScanProgress progress(bar, win.ui, stop, 30);
    WalkContext ctx{win.fs, dates, progress};
    ScanState state;
    WalkCheckedDrives(ctx, options, state, strategy);
    return state.rows.size();
  };

  size_t entries = 0, rows = 0;
  double bare = Seconds([&] { entries = BareEnumeration(win.fs, "T:"); });
  int listingsBefore = win.fs.listings;
  double single = Seconds([&] { rows = scan(WalkStrategy::kSinglePass); }, 3);
  int singleListings = (win.fs.listings - listingsBefore) / 3;
  listingsBefore = win.fs.listings;
  double perMask = Seconds([&] { scan(WalkStrategy::kPerMask); }, 3);
  int perMaskListings = (win.fs.listings - listingsBefore) / 3;

  std::printf("tree: %d folders, %zu entries; scan rows: %zu (6 masks + empty files)\n",
              folders, entries, rows);
  std::printf("bare enumeration      %8.3f s\n", bare);
  std::printf("single traversal      %8.3f s   %.2fx bare, %d folder listings\n", single,
              single / bare, singleListings);
  std::printf("one walk per mask     %8.3f s   %.2fx bare, %d folder listings\n", perMask,
              perMask / bare, perMaskListings);
  std::printf("single traversal is %.1fx faster than the per-mask walks\n", perMask / single);
  return 0;
}
