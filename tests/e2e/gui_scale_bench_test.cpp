// A benchmark of the real main window, not run with the tests (scripts/bench.sh
// runs it): a million rows shown at once, printed with its target
// (bench/targets.h). The scan and the deletions in the window are timed from
// another process (bench/win/window_bench.cpp).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench/deep_tree.h"
#include "bench/win/bare_walk.h"
#include "bench/targets.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

using bench::Seconds;

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

}  // namespace
}  // namespace scourly::gui
