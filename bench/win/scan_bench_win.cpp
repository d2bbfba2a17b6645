// The benchmarks on real files under Windows (or Wine), contenders side by
// side in one run, each figure printed with its target (bench/targets.h):
//   scourly_win_bench shallow ROOT [folders] [files]  the scan on today's tree
//   scourly_win_bench deep ROOT [quick]               the scan on the deep tree:
//       a bare FindFirstFileExW walk on one thread and on the program's
//       listing threads (WaitingWorkers), the sweep on one thread and on the
//       program's listing threads, with and without progress, and the literal
//       per-mask walks as the oracle of the rows (not with "quick")
//   scourly_win_bench delete ROOT [files]             deleting selected rows'
//       files: to the Recycle Bin in batches against one shell call per file,
//       for good against a bare DeleteFile loop; the longest gap between two
//       messages the window answered
//   scourly_win_bench rows [count]                    a million rows
//   scourly_win_bench one ROOT WHAT [times]           one contender of "deep"
//       alone, for a profiler (see main)
// Trees are built on first use and kept.
#include <windows.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench/deep_tree.h"
#include "bench/win/bare_walk.h"
#include "bench/win/responsiveness.h"
#include "bench/row_bench.h"
#include "bench/targets.h"
#include "delete/deletion.h"
#include "platform/win32/win32_answering.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_windows.h"
#include "platform/workers.h"
#include "purgix/recycle_listed.h"
#include "scan/folder_prefetch.h"
#include "scan/scan_progress.h"
#include "scan/unneeded_scan.h"

// Heap bytes in use, as the heap counts them (its rounding included).
static std::atomic<size_t> g_heapInUse{0};

void* operator new(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  g_heapInUse += _msize(p);
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  g_heapInUse -= _msize(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

using namespace scourly;
using bench::Figure;
using bench::Target;

namespace {

using bench::BareWalk;
using bench::BareWalkParallel;
using bench::ResponsivenessProbe;
using bench::Seconds;

std::wstring Api(const std::string& path) { return win32::ApiPath(Widen(path)); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void MakeFolder(const std::string& path) { CreateDirectoryW(Api(path).c_str(), nullptr); }

// A file of `size` bytes; the bytes themselves are not written (the scans
// see only the size, and deletion frees them either way).
void MakeFile(const std::string& path, uint64_t size) {
  HANDLE h = CreateFileW(Api(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  if (size > 0) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
  }
  CloseHandle(h);
}

bench::TreeSink BuildUnder(const std::string& root) {
  return {[root](const std::string& p) { MakeFolder(root + "\\" + p); },
          [root](const std::string& p, uint64_t size) { MakeFile(root + "\\" + p, size); }};
}

// Builds a tree once; a marker file says it is complete.
void EnsureTree(const std::string& root, const std::function<void(const bench::TreeSink&)>& build) {
  const std::string marker = root + "\\.complete";
  if (GetFileAttributesW(Api(marker).c_str()) != INVALID_FILE_ATTRIBUTES) return;
  MakeFolder(root);
  double took = Seconds([&] { build(BuildUnder(root)); });
  MakeFile(marker, 0);
  std::printf("built the tree under %s in %.0f s\n", root.c_str(), took);
}

size_t BareWalk(const std::string& root) {
  std::wstring path = Widen(root);
  return BareWalk(path);
}

class NoProgress : public WalkObserver {
 public:
  bool Stopped() const override { return false; }
  void Found(int64_t, int64_t, bool) override {}
  void Pump(const std::string&) override {}
};

// The scan's walks of `root` as if it were a drive.
struct ScanRun {
  Win32FileSystem fs;
  Win32Locale locale;
  Win32Ui ui;

  ScanState Sweep(const std::string& root, unsigned workers, bool progress) {
    StatusBar bar;
    bool stop = false;
    DateTexts dates(locale);
    ScanProgress shown(bar, ui, stop, 30);
    NoProgress none;
    WalkContext ctx{fs, dates, progress ? static_cast<WalkObserver&>(shown) : none,
                    KeepFilter::None()};
    ScanState state;
    std::vector<FileMask> masks;
    for (const std::string& mask : bench::BenchMasks()) masks.emplace_back(mask);
    SweepDrive(ctx, root, masks, state, workers);
    return state;
  }

  ScanState PerMask(const std::string& root) {
    StatusBar bar;
    bool stop = false;
    DateTexts dates(locale);
    ScanProgress progress(bar, ui, stop, 30);
    WalkContext ctx{fs, dates, progress, KeepFilter::None()};
    ScanState state;
    for (const std::string& mask : bench::BenchMasks())
      FindMaskedFiles(ctx, root, FileMask(mask), state, true);
    FindEmptyFiles(ctx, root + "\\*.*", state);
    return state;
  }
};

int ShallowMain(const std::string& root, int folders, int perFolder) {
  EnsureTree(root, [&](const bench::TreeSink& sink) { bench::ShallowTree(folders, perFolder, sink); });
  ScanRun run;
  BareWalk(root);  // warm the caches alike for every contender
  size_t entries = 0;
  double bare = Seconds([&] { entries = BareWalk(root); });
  ScanState single, perMask;
  double sweep = Seconds([&] { single = run.Sweep(root, 1, true); });
  double literal = Seconds([&] { perMask = run.PerMask(root); });
  std::printf("tree: %zu entries; rows: %zu single, %zu per mask\n", entries, single.rows.size(),
              perMask.rows.size());
  std::printf("bare enumeration   %8.3f s\n", bare);
  std::printf("single traversal   %8.3f s   %.2fx bare\n", sweep, sweep / bare);
  std::printf("one walk per mask  %8.3f s   %.2fx bare\n", literal, literal / bare);
  return single.rows == perMask.rows ? 0 : 1;
}

// `oracle`: also run the per-mask walks and compare the rows (two minutes).
int DeepMain(const std::string& root, bool oracle) {
  bench::DeepTreeFacts facts;
  EnsureTree(root, [&](const bench::TreeSink& sink) { facts = bench::DeepTree({}, sink); });
  ScanRun run;
  const unsigned workers = WaitingWorkers();
  size_t entries = BareWalk(root);  // warm the caches alike for every contender
  // The contenders in turns, three rounds; each ratio is taken within a
  // round (contenders run minutes apart see another load on a shared
  // machine) and the median round's is reported.
  constexpr int kRounds = 3;
  std::vector<double> bare, bareMany, one, many, quiet;
  ScanState oneRows, manyRows;
  for (int round = 0; round < kRounds; ++round) {
    bare.push_back(Seconds([&] { entries = BareWalk(root); }));
    bareMany.push_back(Seconds([&] { BareWalkParallel(Widen(root), workers); }));
    one.push_back(Seconds([&] { oneRows = run.Sweep(root, 1, true); }));
    quiet.push_back(Seconds([&] { run.Sweep(root, workers, false); }));
    many.push_back(Seconds([&] { manyRows = run.Sweep(root, workers, true); }));
    std::printf("round %d: bare %.2f s, bare on %u threads %.2f s, sweep on one thread %.2f s, "
                "on %u %.2f s, without progress %.2f s\n",
                round + 1, bare.back(), workers, bareMany.back(), one.back(), workers, many.back(),
                quiet.back());
  }
  auto ratio = [&](const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> r;
    for (int i = 0; i < kRounds; ++i) r.push_back(a[i] / b[i]);
    return Median(r);
  };
  ScanState literal;
  double perMask = oracle ? Seconds([&] { literal = run.PerMask(root); }) : 0;
  if (!oracle) literal = oneRows;
  const bool same = oneRows.rows == literal.rows && manyRows.rows == literal.rows;
  std::printf("deep tree under %s: %zu entries, %zu rows; medians of %d rounds:\n", root.c_str(),
              entries, literal.rows.size(), kRounds);
  std::printf("bare FindFirstFileExW walk, one thread   %7.2f s\n", Median(bare));
  std::printf("bare walk, %u threads sharing a stack     %7.2f s   %.2fx bare\n", workers,
              Median(bareMany), ratio(bareMany, bare));
  std::printf("sweep, one thread, progress on           %7.2f s   %.2fx bare\n", Median(one),
              ratio(one, bare));
  std::printf("sweep, %u listing threads, progress on    %7.2f s   %.2fx bare (the program's)\n",
              workers, Median(many), ratio(many, bare));
  std::printf("sweep, %u listing threads, progress off   %7.2f s\n", workers, Median(quiet));
  if (oracle)
    std::printf("one walk per mask (the oracle)           %7.2f s   %.2fx bare\n", perMask,
                perMask / Median(bare));
  std::printf("rows identical to the per-mask walks: %s\n", oracle ? (same ? "yes" : "NO") : "not compared");
  Figure("bare walk with " + std::to_string(workers) + " threads / bare walk", ratio(bareMany, bare), "x");
  Figure("sweep on one thread / bare walk", ratio(one, bare), "x");
  Target("scan (sweep, " + std::to_string(workers) + " listing threads) / bare walk",
         ratio(many, bare), "<=", 1.0, "x");
  Target("scan (sweep, " + std::to_string(workers) + " listing threads) / bare walk",
         ratio(many, bare), "<=", 0.6, "x");
  Target("scan with progress / without", ratio(many, quiet), "<=", 1.10, "x");
  if (oracle) Target("scan rows identical to the per-mask walks", same ? 1 : 0, ">=", 1, "yes");
  return same ? 0 : 1;
}

// ---- Deletion ----

// One shell call per file: the library's own code with batches of one path.
class OnePathPerCall : public Purgix {
 public:
  explicit OnePathPerCall(FileSystem& fs) : fs_(fs) {}
  bool Available() override { return true; }
  void DoDelete() override {
    std::string text;
    if (!fs_.ReadFile(fs_.ProgramFolder() + kHandOffFileName, text)) return;
    RunAnswering([&] { purgix::RecycleListed(text, 1); }, true);
  }

 private:
  FileSystem& fs_;
};

// The test prefix's Recycle Bin (the XDG trash, drive X:), emptied so that
// every contender starts alike.
size_t EmptyRecycleBin() {
  size_t removed = 0;
  for (const wchar_t* folder : {L"X:\\Trash\\files", L"X:\\Trash\\info"}) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    std::vector<std::wstring> names;
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& name : names) removed += DeleteFileW((std::wstring(folder) + L"\\" + name).c_str());
  }
  return removed;
}

size_t CountIn(const wchar_t* folder) {
  size_t n = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") ++n;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return n;
}

// `files` files of 100 bytes in folders of 100 under `root`.
std::vector<std::string> MakeFiles(const std::string& root, int files) {
  std::vector<std::string> paths;
  MakeFolder(root);
  for (int i = 0; i < files; ++i) {
    std::string folder = root + "\\d" + std::to_string(i / 100);
    if (i % 100 == 0) MakeFolder(folder);
    paths.push_back(folder + "\\file" + std::to_string(i % 100) + ".tmp");
    HANDLE h = CreateFileW(Api(paths.back()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    std::string bytes(100, 'x');
    WriteFile(h, bytes.data(), 100, &written, nullptr);
    CloseHandle(h);
  }
  return paths;
}

void RemoveFolders(const std::string& root, int files) {
  for (int i = 0; i < files; i += 100) RemoveDirectoryW(Api(root + "\\d" + std::to_string(i / 100)).c_str());
  RemoveDirectoryW(Api(root).c_str());
}

struct DeletionResult {
  double seconds = 0;
  double longestGap = 0;
  int rowsLeft = 0;
};

// Lists the files as the program would (a folder walk), selects every row,
// and runs the delete command's work: the checks of each path, the hand-off
// and the removal of the rows.
DeletionResult DeleteSelected(Win32Windows& win, Purgix& purgix, HWND window,
                              const std::string& root, bool toRecycleBin) {
  StatusBar bar;
  bool stop = false;
  std::string totalSizeText;
  NoProgress none;
  DateTexts dates(win.locale);
  WalkContext walk{win.fs, dates, none, KeepFilter::None()};
  ScanState state;
  FindFolderFiles(walk, root + "\\*.*", state, true);
  ResultList list;
  list.Assign(std::move(state.rows));
  std::vector<int> all(list.Count());
  for (int i = 0; i < list.Count(); ++i) all[i] = i;
  list.SetSelection(all);

  Platform platform{win.fs, win.ui, win.locale, purgix, win.shell, win.urlCache,
                    win.registry, win.dateFormat, win.version};
  DeletionContext ctx{platform, bar, stop, totalSizeText, {}};
  DeletionResult result;
  ResponsivenessProbe probe(window);
  result.seconds = Seconds([&] { DeleteSel(ctx, list, toRecycleBin); });
  result.longestGap = probe.Stop(true);
  result.rowsLeft = list.Count();
  return result;
}

LRESULT CALLBACK PlainWindow(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

int DeleteMain(const std::string& root, int files) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlainWindow;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ScourlyBenchWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Scourly benchmark", WS_OVERLAPPEDWINDOW,
                                0, 0, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  Win32Windows win;
  if (!win.purgix.Available()) {
    std::printf("Purgix.dll is not beside the benchmark\n");
    return 2;
  }
  OnePathPerCall perFile(win.fs);
  MakeFolder(root);

  // Every contender's files are made first, so that none deletes files the
  // disk is still writing and the others do not. Then two rounds of half the
  // files each, the second in the opposite order, so that a load that
  // drifts during the run weighs on every contender alike.
  const int half = files / 2;
  const char* kNames[] = {"batched", "perfile", "permanent", "shell", "bare"};
  std::printf("%d files of 100 bytes in folders of 100 for each contender, every row selected; "
              "two rounds of %d; the Recycle Bin emptied before each recycling\n", files, half);
  for (int round = 0; round < 2; ++round) {
    for (const char* name : kNames)
      MakeFiles(root + "\\" + name + std::to_string(round), half);
  }
  DeletionResult batched, single, permanent;
  double bare = 0, shell = 0;
  size_t recycled = 0, recycledSingly = 0, recycledByShell = 0;
  auto add = [](DeletionResult& total, const DeletionResult& part) {
    total.seconds += part.seconds;
    total.longestGap = std::max(total.longestGap, part.longestGap);
    total.rowsLeft += part.rowsLeft;
  };
  for (int round = 0; round < 2; ++round) {
    for (int k = 0; k < 5; ++k) {
      const std::string name = kNames[round == 0 ? k : 4 - k];
      const std::string folder = root + "\\" + name + std::to_string(round);
      if (name == "batched" || name == "perfile" || name == "shell") EmptyRecycleBin();
      std::vector<std::wstring> wide;
      for (int i = 0; i < half; ++i)
        wide.push_back(Api(folder + "\\d" + std::to_string(i / 100) + "\\file" +
                           std::to_string(i % 100) + ".tmp"));
      if (name == "batched") {
        add(batched, DeleteSelected(win, win.purgix, window, folder, true));
        recycled += CountIn(L"X:\\Trash\\files");
      } else if (name == "perfile") {
        add(single, DeleteSelected(win, perFile, window, folder, true));
        recycledSingly += CountIn(L"X:\\Trash\\files");
      } else if (name == "permanent") {
        add(permanent, DeleteSelected(win, win.purgix, window, folder, false));
      } else if (name == "shell") {
        // The shell alone, all files in one call and nothing checked: the
        // floor of any recycling through it.
        std::wstring from;
        for (const std::wstring& p : wide) from.append(p).push_back(L'\0');
        from.push_back(L'\0');
        SHFILEOPSTRUCTW op = {};
        op.hwnd = window;
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = purgix::kRecycleFlags;
        shell += Seconds([&] { SHFileOperationW(&op); });
        recycledByShell += CountIn(L"X:\\Trash\\files");
      } else {
        bare += Seconds([&] {
          for (const std::wstring& p : wide) DeleteFileW(p.c_str());
        });
      }
      RemoveFolders(folder, half);
    }
  }
  EmptyRecycleBin();

  std::printf("to the Recycle Bin, batched:       %7.2f s, %zu recycled, %d rows left, longest "
              "gap %.2f s\n", batched.seconds, recycled, batched.rowsLeft, batched.longestGap);
  std::printf("to the Recycle Bin, one per call:  %7.2f s, %zu recycled, %d rows left, longest "
              "gap %.2f s\n", single.seconds, recycledSingly, single.rowsLeft, single.longestGap);
  std::printf("permanently:                       %7.2f s, %d rows left, longest gap %.2f s\n",
              permanent.seconds, permanent.rowsLeft, permanent.longestGap);
  std::printf("the shell alone, one call:         %7.2f s, %zu recycled\n", shell,
              recycledByShell);
  std::printf("bare DeleteFile loop:              %7.2f s\n", bare);
  Target("Recycle Bin: one shell call per file / batched", single.seconds / batched.seconds, ">=",
         5, "x");
  Figure("Recycle Bin, batched: longest gap between answered messages", batched.longestGap, "s");
  Target("permanent deletion / bare DeleteFile loop", permanent.seconds / bare, "<=", 1.5, "x");
  Figure("permanent deletion: longest gap between answered messages", permanent.longestGap, "s");
  Figure("Recycle Bin, batched / the shell alone in one call", batched.seconds / shell, "x");
  DestroyWindow(window);
  const bool complete = batched.rowsLeft == 0 && single.rowsLeft == 0 && permanent.rowsLeft == 0 &&
                        recycled == static_cast<size_t>(2 * half) &&
                        recycledSingly == static_cast<size_t>(2 * half) &&
                        recycledByShell == static_cast<size_t>(2 * half);
  if (!complete) std::printf("ERROR: not every file went\n");
  return complete ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "rows") {
    bench::RunRowBench(argc > 2 ? std::atoi(argv[2]) : 1000000, [] { return g_heapInUse.load(); });
    return 0;
  }
  if (argc < 3) {
    std::printf("usage: scourly_win_bench shallow|deep|delete ROOT [...] | rows [count]\n");
    return 2;
  }
  const std::string root = argv[2];
  if (mode == "deep") return DeepMain(root, !(argc > 3 && std::string(argv[3]) == "quick"));
  if (mode == "one") {
    // One contender alone, for a profiler: bare (one thread), bareN (N
    // threads), sweep (the program's listing threads), sweepN (N listing
    // threads), quiet and quietN (progress off).
    const std::string what = argc > 3 ? argv[3] : "bare";
    const int times = argc > 4 ? std::atoi(argv[4]) : 1;
    ScanRun run;
    for (int i = 0; i < times; ++i) {
      double took = Seconds([&] {
        if (what == "bare") BareWalk(root);
        else if (what.rfind("bare", 0) == 0) BareWalkParallel(Widen(root), std::atoi(what.c_str() + 4));
        else if (what.rfind("sweep", 0) == 0 && what.size() > 5) run.Sweep(root, std::atoi(what.c_str() + 5), true);
        else if (what.rfind("quiet", 0) == 0 && what.size() > 5) run.Sweep(root, std::atoi(what.c_str() + 5), false);
        else if (what == "quiet") run.Sweep(root, WaitingWorkers(), false);
        else run.Sweep(root, WaitingWorkers(), true);
      });
      std::printf("%s: %.2f s\n", what.c_str(), took);
    }
    return 0;
  }
  if (mode == "delete") return DeleteMain(root, argc > 3 ? std::atoi(argv[3]) : 20000);
  if (mode == "shallow")
    return ShallowMain(root, argc > 3 ? std::atoi(argv[3]) : 1000, argc > 4 ? std::atoi(argv[4]) : 20);
  std::printf("unknown mode %s\n", mode.c_str());
  return 2;
}
