// The real Scourly.exe timed from another process, as a user waits for it,
// against the floors measured in the same run (bench/targets.h prints each
// figure):
//   scourly_window_bench DIR scan [rounds]
//       Find Files on the deep tree (T:\ alone checked), from the click to
//       the last row, in turns with bare FindFirstFileExW walks of T: on one
//       thread, on two and on as many as the program lists with
//       (WaitingWorkers); every scan in one process, so the last round shows
//       what repeated scans cost, and then the first scan of a fresh process.
//       Its second scan, probed, gives the longest time the window went
//       without answering a message sent from here.
//   scourly_window_bench DIR delete [files] [rounds]
//       `files` one-byte files in one folder of U:\ (U:\ alone checked),
//       listed by Find Files, then Delete All to the Recycle Bin, and Select
//       All + Delete Permanently, each from the OK on the notice to the
//       panels showing 0; against one SHFileOperationW call on as many other
//       files of the same shape (also after one check of each file on two
//       threads, and the checked hand-off: each file checked on the program's
//       threads, then Purgix.dll's own checks and batches) and a bare
//       DeleteFileW loop (also each file checked and deleted through its
//       handle on the program's threads, as Delete Permanently does). The
//       window is not probed here.
//   scourly_window_bench DIR gaps [files]
//       Find Files and the same two deletions of `files` files (50,000 by
//       default), for the longest time the window went without answering.
// DIR is the Windows folder holding Scourly.exe and Purgix.dll; settings.ini
// is written there for each part. scripts/bench.sh sets up the drives.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/targets.h"
#include "bench/win/bare_walk.h"
#include "bench/win/responsiveness.h"
#include "platform/win32/win32_platform.h"
#include "platform/workers.h"
#include "purgix/recycle_listed.h"
#include "tests/e2e/scourly_process.h"
#include "ui/main/gui_ids.h"

using namespace scourly;
using namespace scourly::gui;
using bench::Figure;
using bench::ResponsivenessProbe;
using bench::Seconds;
using bench::Target;
using e2e::NamesIn;
using e2e::ScourlyProcess;

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Waits, polling every few milliseconds, until `done()`; false after
// `seconds`.
template <class F>
bool Poll(F done, double seconds) {
  auto start = Clock::now();
  while (!done()) {
    if (Since(start) > seconds) return false;
    Sleep(5);
  }
  return true;
}

// settings.ini beside Scourly.exe: the program's default masks, only `drive`
// checked.
void WriteSettings(const std::wstring& dir, const char* drive) {
  std::ofstream ini(std::filesystem::path(dir + L"\\settings.ini"), std::ios::binary);
  const char* masks[] = {"*.tmp", "*.---", "*.??~", "*.bak", "*.old", "*.~*"};
  ini << "[options]\r\n";
  for (int i = 0; i < 6; ++i) ini << "extn" << i << "=" << masks[i] << "\r\nextn_chkd" << i << "=1\r\n";
  ini << "TempFiles=0\r\ntotal_extn=5\r\ntotal_chkd=6\r\n";
  ini << "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=" << drive
      << "\r\nchkd1=1\r\ntotal_drives=1\r\ndrives_chkd=1\r\n";
}

// U:\stock holds the files of every contender, made beforehand by
// scripts/bench.sh (much faster than through Wine), one folder each; it
// carries the system attribute, so the program's scans of U: never enter
// it. A contender's folder moves out to U:\ right before its turn. A folder
// missing from the stock is made here, through Wine. Each contender's names
// are its own ("NAME_000000.tmp"), so the Recycle Bin never holds two of one
// name.
constexpr wchar_t kStock[] = L"U:\\stock";

std::vector<std::wstring> TakeFiles(const std::wstring& name, int count) {
  const std::wstring stocked = std::wstring(kStock) + L"\\" + name;
  const std::wstring folder = L"U:\\" + name;
  SetFileAttributesW(kStock, FILE_ATTRIBUTE_SYSTEM);
  const bool made = NamesIn(stocked).size() == static_cast<size_t>(count) &&
                    MoveFileW(stocked.c_str(), folder.c_str());
  if (!made) CreateDirectoryW(folder.c_str(), nullptr);
  std::vector<std::wstring> paths;
  paths.reserve(count);
  for (int i = 0; i < count; ++i) {
    wchar_t file[32];
    swprintf(file, 32, L"_%06d.tmp", i);
    paths.push_back(folder + L"\\" + name + file);
    if (made) continue;
    HANDLE h = CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
  }
  return paths;
}

size_t InRecycleBin() { return NamesIn(L"X:\\Trash\\files").size(); }

// Scourly.exe, started with the settings for `drive`.
class Program {
 public:
  Program(const std::wstring& dir, const char* drive) {
    WriteSettings(dir, drive);
    DeleteFileW((dir + L"\\deleted.log").c_str());
    started_ = app_.Start(dir + L"\\Scourly.exe");
  }
  ~Program() { app_.Close(); }
  bool started() const { return started_; }
  ScourlyProcess& app() { return app_; }

  // Find Files on the first tab; seconds from the click until the list is
  // filled. `longestGap`, when given, gets the longest gap between answers
  // meanwhile; otherwise the window is not probed, so its time is the
  // scan's alone, as the bare walks' is.
  double Scan(double* longestGap = nullptr) {
    std::optional<ResponsivenessProbe> probe;
    if (longestGap) probe.emplace(app_.main());
    auto start = Clock::now();
    app_.Click(kCmdFindFilesTB);
    app_.Settle();  // the command has begun: the button is off until the end
    Poll([&] { return app_.ButtonEnabled(kCmdFindFilesTB); }, 600);
    lastScan_ = Since(start);
    if (probe) {
      *longestGap = probe->Stop();
      lastScanGapAt_ = probe->longestEndedAt();
    }
    return lastScan_;
  }

  // The last scan's seconds, and when the last probed scan's longest gap
  // ended (seconds from the click).
  double lastScan() const { return lastScan_; }
  double lastScanGapAt() const { return lastScanGapAt_; }

  // Gives the delete command `cmd`, answers its notice and waits for the
  // panels to show no file; seconds from the OK. `longestGap`, when given,
  // gets the longest gap between answers; otherwise the window is not
  // probed, so its time is the deletion's alone, as the contenders' is.
  double Delete(int cmd, double* longestGap, std::wstring& problem) {
    app_.Click(cmd);
    HWND box = app_.WaitForMessageBox();
    if (!box) {
      problem = L"no notice";
      return 0;
    }
    std::optional<ResponsivenessProbe> probe;
    if (longestGap) probe.emplace(app_.main());
    auto start = Clock::now();
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    const bool done = Poll([&] { return app_.Panel(2) == L"Total Files: 0"; }, 900);
    const double took = Since(start);
    if (probe) *longestGap = probe->Stop();
    if (!done) problem = L"the panels never showed 0: " + app_.Panel(2);
    // A message after the deletion (what stayed, a log that could not be
    // written) would mean the run was not clean.
    if (HWND told = app_.WaitForMessageBox(300)) {
      problem = ScourlyProcess::ReadMessageBox(told).text;
      ScourlyProcess::AnswerMessageBox(told, IDOK);
    }
    return took;
  }

 private:
  ScourlyProcess app_;
  bool started_ = false;
  double lastScan_ = 0;
  double lastScanGapAt_ = 0;
};

int ScanMain(const std::wstring& dir, int rounds) {
  std::wstring drive = L"T:";
  const size_t entries = bench::BareWalk(drive);  // warms the caches alike for every contender
  if (entries < 200000) {
    std::printf("the deep tree is not on T: (scourly_win_bench deep T:\\deep)\n");
    return 2;
  }
  std::optional<Program> program(std::in_place, dir, "T:\\");
  if (!program->started()) {
    std::printf("Scourly.exe did not start\n");
    return 2;
  }
  const unsigned workers = scourly::WaitingWorkers();
  std::vector<double> bare, bare2, bareMany, scan;
  int rows = -1;
  bool sameRows = true;
  auto sameAsBefore = [&] {
    const int shown = program->app().RowCount(1);
    if (rows >= 0 && shown != rows) sameRows = false;
    rows = shown;
  };
  for (int round = 0; round < rounds; ++round) {
    bare.push_back(Seconds([&] { bench::BareWalk(drive); }));
    bare2.push_back(Seconds([&] { bench::BareWalkParallel(L"T:", 2); }));
    bareMany.push_back(Seconds([&] { bench::BareWalkParallel(L"T:", workers); }));
    scan.push_back(program->Scan());
    sameAsBefore();
    std::printf("round %d: bare walk %.2f s, on 2 threads %.2f s, on %u %.2f s, scan in the window "
                "%.2f s (%d rows)\n",
                round + 1, bare.back(), bare2.back(), workers, bareMany.back(), scan.back(), rows);
    std::fflush(stdout);
  }
  // Right after the last scan, the first of a fresh process: what the
  // earlier scans left behind shows against a machine that drifts.
  program.reset();
  program.emplace(dir, "T:\\");
  if (!program->started()) {
    std::printf("Scourly.exe did not start again\n");
    return 2;
  }
  const double fresh = program->Scan();
  sameAsBefore();
  // The window probed in one more scan: the probe's messages cost the scan
  // time the bare walks do not pay.
  double gap = 0;
  const double probed = program->Scan(&gap);
  sameAsBefore();
  std::printf("a fresh process's first scan %.2f s; its second, probed: %.2f s, longest gap %.3f s, "
              "ending %.2f s after the click\n",
              fresh, probed, gap, program->lastScanGapAt());
  std::vector<double> ratio, ratio2, ratioMany, overFloor;
  for (int i = 0; i < rounds; ++i) {
    ratio.push_back(scan[i] / bare[i]);
    ratio2.push_back(bare2[i] / bare[i]);
    ratioMany.push_back(bareMany[i] / bare[i]);
    overFloor.push_back(scan[i] / bareMany[i]);
  }
  std::printf("T: holds %zu entries; medians of %d rounds: bare walk %.2f s, scan %.2f s\n",
              entries, rounds, Median(bare), Median(scan));
  const std::string many = std::to_string(workers) + " threads";
  Figure("bare walk on 2 threads / on one (window bench)", Median(ratio2), "x");
  Figure("bare walk on " + many + " / on one (window bench)", Median(ratioMany), "x");
  Figure("scan in the window / bare walk on " + many, Median(overFloor), "x");
  Target("scan in the window, click to last row / bare walk", Median(ratio), "<=", 0.6, "x");
  const std::string last = "scan " + std::to_string(rounds) + " in one process";
  Target(last + " / scan 1", scan.back() / scan.front(), "<=", 1.10, "x");
  Target(last + " / a fresh process's first scan right after it", scan.back() / fresh, "<=", 1.10,
         "x");
  // Each scan against the bare walk of its own round: a machine that speeds
  // up or slows down between rounds moves these.
  Figure(last + " / scan 1, each over its round's bare walk", ratio.back() / ratio.front(), "x");
  Figure(last + " / scan 1, each over its round's bare walk on " + many,
         overFloor.back() / overFloor.front(), "x");
  Target("scan in the window: longest gap between answers", gap, "<=", 0.25, "s");
  Target("scan rows the same in every round", sameRows && rows > 0 ? 1 : 0, ">=", 1, "yes");
  return sameRows ? 0 : 1;
}

// The check every item gets before it goes, once, on `threads` threads,
// each with an opener of its own, through the program's own opener: opened
// by its exact path for deletion, its facts and final path read. With
// `deleteIt`, then deleted through that handle, as a permanent deletion does.
void CheckEach(const std::vector<std::wstring>& paths, unsigned threads, bool deleteIt) {
  auto check = [&](size_t from) {
    std::unique_ptr<scourly::ItemOpener> opener = scourly::Win32FileSystem().NewItemOpener();
    for (size_t i = from; i < paths.size(); i += threads) {
      uint32_t error = 0;
      std::unique_ptr<scourly::OpenedItem> item =
          opener->Open(scourly::Narrow(paths[i]), deleteIt, error);
      scourly::ItemStat stat;
      if (item && item->Stat(stat) && deleteIt) item->Delete();
    }
  };
  std::vector<std::thread> others;
  for (unsigned t = 1; t < threads; ++t) others.emplace_back(check, t);
  check(0);
  for (std::thread& other : others) other.join();
}

// The shell alone, all of `paths` in one call, nothing checked.
void RecycleInOneCall(const std::vector<std::wstring>& paths) {
  std::wstring from;
  for (const std::wstring& p : paths) from.append(p).push_back(L'\0');
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = purgix::kRecycleFlags;
  SHFileOperationW(&op);
}

// What Delete All cannot do without: each item checked on the program's
// threads, then the hand-off's own checks and batches (Purgix.dll's code, in
// this process), as one text of all the paths.
void CheckedHandOff(const std::vector<std::wstring>& paths) {
  CheckEach(paths, scourly::WaitingWorkers(), false);
  std::string text;
  for (const std::wstring& p : paths) text.append(scourly::Narrow(p)).append("\r\n");
  purgix::RecycleListed(std::move(text), purgix::kBatchChars);
}

struct DeleteFigures {
  std::vector<double> recycle, permanent, shell, checkedShell, handOff, checkedDelete, bare;
  bool clean = true;
};

// One contender's turn on the files of stock folder `name`: 'r' Delete All
// in the window, 's' the shell alone, 'c' one check of each item on two
// threads and then the shell alone, 'h' the checked hand-off, 'p' Select
// All + Delete Permanently in the window, 'k' each item checked and deleted
// through its handle on the program's threads (WaitingWorkers), 'b' a bare
// DeleteFileW loop. Its seconds; `gap`, when given, the longest gap between
// answers of a deletion in the window, and `scanGap` that of the scan before
// it.
double Contender(Program& program, char kind, const std::wstring& name, int files, bool& clean,
                 double* gap = nullptr, double* scanGap = nullptr) {
  std::vector<std::wstring> paths = TakeFiles(name, files);
  const std::wstring folder = L"U:\\" + name;
  const size_t binBefore = InRecycleBin();
  std::wstring problem;
  double took = 0;
  if (gap) *gap = 0;
  if (kind == 'r' || kind == 'p') {
    program.Scan(scanGap);
    if (program.app().RowCount(1) != files) {
      problem = L"the scan listed " + std::to_wstring(program.app().RowCount(1)) + L" rows";
    } else if (kind == 'r') {
      took = program.Delete(kCmdDeleteAllTB, gap, problem);
    } else {
      program.app().Click(kCmdSelectAllTB);
      program.app().Settle();
      took = program.Delete(kCmdDeletePerTB, gap, problem);
    }
  } else if (kind == 's') {
    took = Seconds([&] { RecycleInOneCall(paths); });
  } else if (kind == 'c') {
    took = Seconds([&] {
      CheckEach(paths, 2, false);
      RecycleInOneCall(paths);
    });
  } else if (kind == 'h') {
    took = Seconds([&] { CheckedHandOff(paths); });
  } else if (kind == 'k') {
    took = Seconds([&] { CheckEach(paths, scourly::WaitingWorkers(), true); });
  } else {
    took = Seconds([&] {
      for (const std::wstring& p : paths) DeleteFileW(p.c_str());
    });
  }
  const size_t left = NamesIn(folder).size();
  const size_t recycled = InRecycleBin() - binBefore;
  const bool recycles = kind == 'r' || kind == 's' || kind == 'c' || kind == 'h';
  if (left != 0 || recycled != (recycles ? static_cast<size_t>(files) : 0) || !problem.empty()) {
    std::printf("ERROR: %ls: %zu files left, %zu recycled%s%ls\n", name.c_str(), left, recycled,
                problem.empty() ? "" : ": ", problem.c_str());
    clean = false;
  }
  for (const std::wstring& file : NamesIn(folder)) DeleteFileW((folder + L"\\" + file).c_str());
  RemoveDirectoryW(folder.c_str());
  return took;
}

int DeleteMain(const std::wstring& dir, int files, int rounds) {
  Program program(dir, "U:\\");
  if (!program.started()) {
    std::printf("Scourly.exe did not start\n");
    return 2;
  }
  DeleteFigures f;
  // The contenders in turns, every other round in the opposite order, so a
  // load or a Recycle Bin that grows weighs on each alike.
  const char kinds[] = {'r', 's', 'c', 'h', 'p', 'k', 'b'};
  constexpr int kKinds = sizeof kinds;
  for (int round = 0; round < rounds; ++round) {
    for (int k = 0; k < kKinds; ++k) {
      const char kind = kinds[round % 2 ? kKinds - 1 - k : k];
      std::wstring name(1, kind);
      name += std::to_wstring(round);
      const double took = Contender(program, kind, name, files, f.clean);
      switch (kind) {
        case 'r': f.recycle.push_back(took); break;
        case 's': f.shell.push_back(took); break;
        case 'c': f.checkedShell.push_back(took); break;
        case 'h': f.handOff.push_back(took); break;
        case 'p': f.permanent.push_back(took); break;
        case 'k': f.checkedDelete.push_back(took); break;
        default: f.bare.push_back(took);
      }
    }
    std::printf("round %d, %d files: Delete All to the Recycle Bin %.2f s, the shell alone %.2f s, "
                "one check and the shell %.2f s, the checked hand-off %.2f s; Delete Permanently "
                "%.2f s, each checked and deleted through its handle %.2f s, bare DeleteFileW loop "
                "%.2f s\n",
                round + 1, files, f.recycle.back(), f.shell.back(), f.checkedShell.back(),
                f.handOff.back(), f.permanent.back(), f.checkedDelete.back(), f.bare.back());
    std::fflush(stdout);
  }
  std::vector<double> recycleRatio, permanentRatio, checkedRatio, overChecked, handOffRatio,
      overHandOff, checkedDeleteRatio, overCheckedDelete;
  for (int i = 0; i < rounds; ++i) {
    recycleRatio.push_back(f.recycle[i] / f.shell[i]);
    checkedRatio.push_back(f.checkedShell[i] / f.shell[i]);
    overChecked.push_back(f.recycle[i] / f.checkedShell[i]);
    handOffRatio.push_back(f.handOff[i] / f.shell[i]);
    overHandOff.push_back(f.recycle[i] / f.handOff[i]);
    permanentRatio.push_back(f.permanent[i] / f.bare[i]);
    checkedDeleteRatio.push_back(f.checkedDelete[i] / f.bare[i]);
    overCheckedDelete.push_back(f.permanent[i] / f.checkedDelete[i]);
  }
  const std::string n = std::to_string(files);
  Target("Delete All of " + n + " to the Recycle Bin, OK to panels at 0 / the shell alone",
         Median(recycleRatio), "<=", 1.3, "x");
  Target("Delete Permanently of " + n + ", OK to panels at 0 / bare DeleteFileW loop",
         Median(permanentRatio), "<=", 1.3, "x");
  Figure("one check of each of " + n + " on 2 threads, then the shell alone / the shell alone",
         Median(checkedRatio), "x");
  Figure("Delete All of " + n + " / one check on 2 threads and the shell alone", Median(overChecked),
         "x");
  const std::string threads = std::to_string(scourly::WaitingWorkers()) + " threads";
  Figure("each of " + n + " checked on " + threads + ", then the hand-off's checked batches / the "
             "shell alone",
         Median(handOffRatio), "x");
  Figure("Delete All of " + n + " / that checked hand-off", Median(overHandOff), "x");
  Figure("each of " + n + " checked and deleted through its handle on " + threads +
             " / bare DeleteFileW loop",
         Median(checkedDeleteRatio), "x");
  Figure("Delete Permanently of " + n + " / each checked and deleted through its handle on " +
             threads,
         Median(overCheckedDelete), "x");
  if (!f.clean) std::printf("ERROR: not every deletion was complete\n");
  return f.clean ? 0 : 1;
}

int GapsMain(const std::wstring& dir, int files) {
  Program program(dir, "U:\\");
  if (!program.started()) {
    std::printf("Scourly.exe did not start\n");
    return 2;
  }
  bool clean = true;
  double recycleGap = 0, permanentGap = 0, scanGap = 0;
  const double recycle = Contender(program, 'r', L"gr", files, clean, &recycleGap, &scanGap);
  const double scan = program.lastScan(), scanGapAt = program.lastScanGapAt();
  const double permanent = Contender(program, 'p', L"gp", files, clean, &permanentGap);
  const std::string n = std::to_string(files);
  std::printf("%d files in one folder: Find Files %.2f s (longest gap %.3f s, ending %.2f s after "
              "the click); Delete All to the Recycle Bin %.2f s (longest gap %.3f s), Delete "
              "Permanently %.2f s (longest gap %.3f s)\n",
              files, scan, scanGap, scanGapAt, recycle, recycleGap, permanent, permanentGap);
  Target("Find Files of " + n + " files in one folder: longest gap between answers", scanGap, "<=",
         0.25, "s");
  Target("Delete All of " + n + ": longest gap between answers", recycleGap, "<=", 0.25, "s");
  Target("Delete Permanently of " + n + ": longest gap between answers", permanentGap, "<=", 0.25,
         "s");
  Figure("Delete All of " + n + " to the Recycle Bin, OK to panels at 0", recycle, "s");
  Figure("Delete Permanently of " + n + ", OK to panels at 0", permanent, "s");
  return clean ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::printf("usage: scourly_window_bench DIR scan [rounds] | delete [files] [rounds] | gaps [files]\n");
    return 2;
  }
  const std::wstring dir = argv[1];
  const std::wstring mode = argv[2];
  if (mode == L"scan") return ScanMain(dir, argc > 3 ? _wtoi(argv[3]) : 3);
  if (mode == L"delete")
    return DeleteMain(dir, argc > 3 ? _wtoi(argv[3]) : 20000, argc > 4 ? _wtoi(argv[4]) : 3);
  if (mode == L"gaps") return GapsMain(dir, argc > 3 ? _wtoi(argv[3]) : 50000);
  std::printf("unknown mode\n");
  return 2;
}
