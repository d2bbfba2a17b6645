// The host benchmarks, in-memory Windows, no system calls, side by side in
// one run, printing ratios (absolute times only for reference):
//   scourly_bench [folders] [files per folder]   the scan on the shallow tree
//   scourly_bench deep                           the scan on the deep tree, one
//                                                and several listing threads
//   scourly_bench rows [count]                   a million rows: bytes, removal
//   scourly_bench sort ...                       the sort benchmark (sort_bench.cpp)
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "bench/deep_tree.h"
#include "bench/row_bench.h"
#include "bench/targets.h"
#include "platform/fake/fake_windows.h"
#include "platform/workers.h"
#include "scan/folder_prefetch.h"
#include "scan/scan_progress.h"
#include "scan/unneeded_scan.h"

// Heap bytes in use, as the allocator counts them (its rounding included).
static std::atomic<size_t> g_heapInUse{0};

void* operator new(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  g_heapInUse += malloc_usable_size(p);
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  g_heapInUse -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

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

ScanOptions BenchOptions() {
  ScanOptions options;
  for (const std::string& mask : bench::BenchMasks()) options.OptionBox.Add(mask, true);
  options.DrivesBox.Add("T:\\", true);
  return options;
}

size_t Scan(fake::FakeWindows& win, const ScanOptions& options, WalkStrategy strategy,
            unsigned workers, ScanState* keep = nullptr) {
  StatusBar bar;
  bool stop = false;
  DateTexts dates(win.locale);
  ScanProgress progress(bar, win.ui, stop, 30);
  WalkContext ctx{win.fs, dates, progress, KeepFilter::None()};
  ScanState state;
  WalkCheckedDrives(ctx, options, state, strategy, workers);
  if (keep) *keep = std::move(state);
  return keep ? keep->rows.size() : state.rows.size();
}

int ShallowMain(int folders, int perFolder) {
  fake::FakeWindows win;
  win.fs.AddDrive('T');
  bench::ShallowTree(folders, perFolder,
                     {[&](const std::string& p) { win.fs.AddFolder("T:\\" + p); },
                      [&](const std::string& p, uint64_t size) { win.fs.AddFile("T:\\" + p, size); }});
  const ScanOptions options = BenchOptions();
  size_t entries = 0, rows = 0;
  double bare = Seconds([&] { entries = BareEnumeration(win.fs, "T:"); });
  int listingsBefore = win.fs.listings;
  double single = Seconds([&] { rows = Scan(win, options, WalkStrategy::kSinglePass, 1); }, 3);
  int singleListings = (win.fs.listings - listingsBefore) / 3;
  listingsBefore = win.fs.listings;
  double perMask = Seconds([&] { Scan(win, options, WalkStrategy::kPerMask, 1); }, 3);
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

// In memory a listing costs next to nothing, so this shows what the walk
// itself adds (matching, rows, handing listings between threads), not what
// threads gain on a disk.
int DeepMain() {
  fake::FakeWindows win;
  win.fs.AddDrive('T');
  bench::DeepTreeFacts facts = bench::DeepTree(
      {}, {[&](const std::string& p) { win.fs.AddFolder("T:\\" + p); },
           [&](const std::string& p, uint64_t size) { win.fs.AddFile("T:\\" + p, size); }});
  const ScanOptions options = BenchOptions();
  size_t entries = 0;
  double bare = Seconds([&] { entries = BareEnumeration(win.fs, "T:"); });
  ScanState one, many, literal;
  double single = Seconds([&] { Scan(win, options, WalkStrategy::kSinglePass, 1, &one); });
  const unsigned workers = WaitingWorkers();
  double parallel = Seconds([&] { Scan(win, options, WalkStrategy::kSinglePass, workers, &many); });
  double perMask = Seconds([&] { Scan(win, options, WalkStrategy::kPerMask, 1, &literal); }, 1);
  const bool same = one.rows == literal.rows && many.rows == literal.rows;
  std::printf("deep tree: %zu entries, depth %d, longest path %zu characters, %d empty files; "
              "%zu rows\n",
              entries, facts.maxDepth, facts.longestPath + 3, facts.emptyFiles, one.rows.size());
  std::printf("bare enumeration      %8.3f s\n", bare);
  std::printf("sweep, one thread     %8.3f s   %.2fx bare\n", single, single / bare);
  std::printf("sweep, %u workers      %8.3f s   %.2fx bare\n", workers, parallel, parallel / bare);
  std::printf("one walk per mask     %8.3f s   %.2fx bare\n", perMask, perMask / bare);
  std::printf("rows identical to the per-mask walks: %s\n", same ? "yes" : "NO");
  return same ? 0 : 1;
}

}  // namespace

int SortBenchMain(int argc, char** argv);

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "sort") return SortBenchMain(argc - 1, argv + 1);
  if (mode == "deep") return DeepMain();
  if (mode == "rows") {
    bench::RunRowBench(argc > 2 ? std::atoi(argv[2]) : 1000000, [] { return g_heapInUse.load(); });
    return 0;
  }
  return ShallowMain(argc > 1 ? std::atoi(argv[1]) : 4000, argc > 2 ? std::atoi(argv[2]) : 50);
}
