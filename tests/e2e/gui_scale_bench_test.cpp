// Benchmarks of the real main window, not run with the tests (scripts/bench.sh
// runs them): a million rows shown at once, and the unneeded-file scan of the
// deep benchmark tree on T: from the click to the last row, against a bare
// FindFirstFileExW walk of the same drive. Each figure is printed with its
// target (bench/targets.h).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench/deep_tree.h"
#include "bench/win/bare_walk.h"
#include "bench/targets.h"
#include "options/uoptions.h"
#include "platform/win32/win32_paths.h"
#include "platform/win32/win32_windows.h"
#include "scan/folder_prefetch.h"
#include "scan/unneeded_scan.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

using bench::BareWalk;
using bench::Seconds;

class NoProgress : public WalkObserver {
 public:
  bool Stopped() const override { return false; }
  void Found(int64_t, int64_t, bool) override {}
  void Pump(const std::string&) override {}
};

class ScaleBench : public ::testing::Test {
 protected:
  ScaleBench() : options_(platform_), form_(platform_, options_), window_(form_, ui_) {}
  void SetUp() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    options_.FormCreate();  // settings.ini beside the program, the defaults at first
    for (CheckItem& drive : options_.options.DrivesBox.items) drive.checked = drive.text == "T:\\";
    window_.Create();
    window_.ShowFirst();
  }
  HWND ListBox1() const { return GetDlgItem(GetDlgItem(window_.hwnd(), kIdListBox1), kIdListInner); }
  int ShownRows() const {
    return static_cast<int>(SendMessageW(ListBox1(), LB_GETCOUNT, 0, 0));
  }
  // Everything on screen is drawn now.
  void Paint() {
    RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
  }

  Win32Windows windows_;
  Win32Ui& ui_ = windows_.ui;
  Platform& platform_ = windows_.platform;
  TUOptionsDialog options_;
  TMainForm form_;
  MainWindow window_;
};

TEST_F(ScaleBench, DISABLED_AMillionRowsAreAssignedAndTheirFirstPagePainted) {
  std::vector<ResultRow> rows;
  rows.reserve(1000000);
  SharedText folder;
  SharedDay day = SharedDay::Make(DayText{153000, "15.03.2024"});
  bench::DeepTreeShape shape;
  shape.files = 1000000;
  shape.folders = 100000;
  bench::DeepTree(shape, {[&](const std::string& p) { folder = SharedText::Make("T:\\" + p + "\\"); },
                          [&](const std::string& p, uint64_t size) {
                            rows.emplace_back(p.substr(p.rfind('\\') + 1), folder, size,
                                              133549776000000000ULL, day);
                          }});
  Paint();
  double took = Seconds([&] {
    form_.ListBox1.Assign(std::move(rows));
    window_.Sync();
    Paint();
  });
  EXPECT_EQ(ShownRows(), 1000000);
  bench::Target("1,000,000 rows assigned and first page painted", took, "<", 1.0, "s");
}

TEST_F(ScaleBench, DISABLED_TheDeepTreeScanFromTheClickToTheLastRow) {
  std::wstring drive = L"T:";
  size_t entries = BareWalk(drive);  // warms the caches alike for every contender
  ASSERT_GT(entries, 200000u) << "the deep tree is not on T: (scourly_win_bench deep T:\\deep)";
  // The contenders in turns, three rounds; each ratio is taken within a
  // round and the median round's is reported.
  std::vector<double> bare, click, quiet;
  std::vector<ResultRow> clickRows, quietRows;
  for (int round = 0; round < 3; ++round) {
    bare.push_back(Seconds([&] { entries = BareWalk(drive); }));
    click.push_back(Seconds([&] {
      SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(kCmdFindFilesTB, 0),
                   reinterpret_cast<LPARAM>(GetDlgItem(window_.hwnd(), kIdToolBar1)));
      Paint();
    }));
    ASSERT_EQ(ShownRows(), form_.ListBox1.Count());
    clickRows = form_.ListBox1.Rows();
    // The same walks with no progress shown and no message pumped.
    quiet.push_back(Seconds([&] {
      NoProgress none;
      DateTexts dates(platform_.locale);
      WalkContext ctx{platform_.fs, dates, none, KeepFilter::None()};
      ScanState state;
      WalkCheckedDrives(ctx, options_.options, state);
      quietRows = state.rows;
      form_.ListBox1.Assign(std::move(state.rows));
      window_.Sync();
      Paint();
    }));
    std::printf("round %d: bare walk %.2f s, click to last row %.2f s, without progress %.2f s\n",
                round + 1, bare.back(), click.back(), quiet.back());
  }
  auto median = [](const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> r;
    for (size_t i = 0; i < a.size(); ++i) r.push_back(a[i] / b[i]);
    std::sort(r.begin(), r.end());
    return r[r.size() / 2];
  };
  // The walk on one thread, whose rows scourly_win_bench deep checks
  // against the per-mask walks on this tree (too slow to run twice here).
  NoProgress none;
  DateTexts dates(platform_.locale);
  WalkContext ctx{platform_.fs, dates, none, KeepFilter::None()};
  ScanState alone;
  double oneThread = Seconds([&] {
    WalkCheckedDrives(ctx, options_.options, alone, WalkStrategy::kSinglePass, 1);
  });
  const bool same = clickRows == alone.rows && quietRows == alone.rows;
  std::printf("T: holds %zu entries; %d rows; %u listing threads; the walk on one thread %.2f s\n",
              entries, static_cast<int>(clickRows.size()), ListingWorkers(), oneThread);
  EXPECT_TRUE(same) << "the window's rows differ from the walk's on one thread";
  bench::Target("scan in the window, click to last row / bare walk", median(click, bare), "<=", 1.0,
                "x");
  bench::Target("scan in the window with " + std::to_string(ListingWorkers()) +
                    " listing threads / bare walk",
                median(click, bare), "<=", 0.6, "x");
  bench::Target("scan in the window, progress and pumping on / off", median(click, quiet), "<=",
                1.10, "x");
  bench::Target("scan rows in the window identical to the one-thread walk's", same ? 1 : 0, ">=",
                1, "yes");
}

}  // namespace
}  // namespace scourly::gui
