// The virtual result list inside one process, under Wine: a million rows at
// once, selection both ways, the text hook the driver reads, and each field
// drawn inside its own column.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "lists/result_row.h"
#include "ui/controls/probe.h"
#include "ui/controls/virtual_list.h"
#include "ui/main/gui_ids.h"

namespace scourly::gui {
namespace {

// A plain top-level window to hold the list.
class Host : public Window {
 public:
  Host() {
    Register(L"ScourlyTestHost", GetSysColorBrush(COLOR_BTNFACE));
    Create(0, L"ScourlyTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 700, 400,
           nullptr, nullptr);
  }
  ~Host() override {
    if (hwnd()) DestroyWindow(hwnd());
  }
};

class VirtualListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = MakeFont(L"Arial", -11);
    VirtualList::Events events;
    events.rowCount = [this] { return static_cast<int>(rows_.size()); };
    events.rowText = [this](int row) {
      if (row < 0 || row >= static_cast<int>(rows_.size())) ++beyondModel_;
      return row < static_cast<int>(rows_.size()) ? rows_[row] : std::string();
    };
    events.cellText = [this](int row, int column) {
      if (row < 0 || row >= static_cast<int>(rows_.size())) {
        ++beyondModel_;
        return std::string();
      }
      return std::string(TextField(rows_[row], column));
    };
    events.selectionChanged = [this](std::vector<int> rows, int caret) {
      reported_ = std::move(rows);
      caret_ = caret;
      ++reports_;
    };
    list_.Create(host_.hwnd(), kIdListBox1,
                 {{L"File Name", 175}, {L"Location", 200}, {L"Size (B)", 60}, {L"Time Stamp", 75}},
                 std::move(events));
    list_.SetMetrics(font_.get(), Dpi(96));
    list_.Move(0, 0, 650, 300);
    list_.Show(true);
  }

  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  int Count() const { return static_cast<int>(SendMessageW(list_.listBox(), LB_GETCOUNT, 0, 0)); }
  int SelCount() const {
    return static_cast<int>(SendMessageW(list_.listBox(), LB_GETSELCOUNT, 0, 0));
  }

  Host host_;
  Font font_;
  VirtualList list_;
  std::vector<std::string> rows_;
  std::vector<int> reported_;
  int caret_ = -2;
  int reports_ = 0;
  int beyondModel_ = 0;  // rows asked for that the model does not have
};

TEST_F(VirtualListTest, AMillionRowsAreCountedAndSelectedAtOnce) {
  rows_.assign(1000000, "a.tmp;C:\\;1;1/2/2020");
  auto start = std::chrono::steady_clock::now();
  list_.SetCount(static_cast<int>(rows_.size()));
  list_.ApplySelection(static_cast<int>(rows_.size()), [](int) { return true; }, 0);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(Count(), 1000000);
  EXPECT_EQ(SelCount(), 1000000);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000)
      << "filling and selecting a million rows is not one step";

  // Scrolling to the end draws only the rows in view.
  SendMessageW(list_.listBox(), LB_SETTOPINDEX, 999990, 0);
  UpdateWindow(list_.listBox());
  EXPECT_GE(SendMessageW(list_.listBox(), LB_GETTOPINDEX, 0, 0), 999000);
}

TEST_F(VirtualListTest, SelectionFromTheModelReplacesTheOldOne) {
  rows_.assign(10, "x;C:\\;1;d");
  list_.SetCount(10);
  list_.ApplySelection(10, [](int i) { return i < 5; }, 0);
  EXPECT_EQ(SelCount(), 5);
  list_.ApplySelection(10, [](int i) { return i == 2 || i == 7 || i == 8; }, 7);
  EXPECT_EQ(SelCount(), 3);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(SendMessageW(list_.listBox(), LB_GETSEL, i, 0) > 0, i == 2 || i == 7 || i == 8) << i;
  }
  EXPECT_EQ(SendMessageW(list_.listBox(), LB_GETCARETINDEX, 0, 0), 7);

  // New rows come without a selection.
  list_.SetCount(4);
  EXPECT_EQ(Count(), 4);
  EXPECT_EQ(SelCount(), 0);
}

TEST_F(VirtualListTest, ClicksReportTheWholeSelectionAndTheCaret) {
  rows_.assign(6, "x;C:\\;1;d");
  list_.SetCount(6);
  const int h = static_cast<int>(SendMessageW(list_.listBox(), LB_GETITEMHEIGHT, 0, 0));
  auto click = [&](int row, WPARAM keys) {
    LPARAM at = MAKELPARAM(30, row * h + h / 2);
    SendMessageW(list_.listBox(), WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    SendMessageW(list_.listBox(), WM_LBUTTONUP, keys, at);
    Pump();
  };
  click(1, 0);
  EXPECT_EQ(reported_, std::vector<int>{1});
  EXPECT_EQ(caret_, 1);
  click(4, MK_CONTROL);
  EXPECT_EQ(reported_, (std::vector<int>{1, 4}));
  EXPECT_EQ(caret_, 4);
  click(2, MK_SHIFT);  // a range from the anchor
  EXPECT_EQ(SelCount(), static_cast<int>(reported_.size()));
  EXPECT_GT(reports_, 2);
}

TEST_F(VirtualListTest, RowTextProbeAnswersInTheProgramsOwnBuffer) {
  rows_ = {"first;C:\\;10;d", "second;D:\\x\\;20;d"};
  list_.SetCount(2);
  EXPECT_EQ(SendMessageW(list_.hwnd(), kMsgProbeBuffer, 0, 0),
            reinterpret_cast<LRESULT>(ProbeBuffer()));
  // Whatever lParam says, the answer goes to the probe buffer only.
  std::vector<wchar_t> elsewhere(64, L'#');
  EXPECT_EQ(SendMessageW(list_.hwnd(), kMsgGetRowText, 1, reinterpret_cast<LPARAM>(elsewhere.data())),
            17);
  EXPECT_STREQ(ProbeBuffer(), L"second;D:\\x\\;20;d");
  EXPECT_EQ(elsewhere[0], L'#');
  EXPECT_EQ(SendMessageW(list_.hwnd(), kMsgGetRowText, 2, 0), -1);
  EXPECT_EQ(SendMessageW(list_.hwnd(), kMsgGetRowText, -1, 0), -1);
  // A row longer than the buffer is cut, never overrun.
  rows_[0] = std::string(kProbeCapacity + 100, 'n');
  EXPECT_EQ(SendMessageW(list_.hwnd(), kMsgGetRowText, 0, 0), kProbeCapacity - 1);
  EXPECT_EQ(ProbeBuffer()[kProbeCapacity - 1], L'\0');
}

// The model may drop rows before the window copies it (a message box or the
// shell's dialog runs a loop of its own in between): a repaint then must not
// ask for rows the model no longer has.
TEST_F(VirtualListTest, RepaintsNeverReadRowsTheModelDropped) {
  rows_ = {"a;C:\\;1;d", "b;C:\\;2;d", "c;C:\\;3;d"};
  list_.SetCount(3);
  UpdateWindow(list_.listBox());
  rows_.clear();  // the list box still counts three rows
  RedrawWindow(list_.listBox(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(beyondModel_, 0);
  EXPECT_EQ(SendMessageW(list_.hwnd(), kMsgGetRowText, 0, 0), -1);
}

// Draws row 0 into a bitmap and tells which pixel columns hold ink.
std::vector<bool> InkColumns(HWND list, HWND owner, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = kIdListInner;
  item.itemID = 0;
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = list;
  item.hDC = dc;
  item.rcItem = {0, 0, width, height};
  SendMessageW(owner, WM_DRAWITEM, kIdListInner, reinterpret_cast<LPARAM>(&item));
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  std::vector<bool> ink(width, false);
  for (int x = 0; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      if (GetPixel(dc, x, y) != background) {
        ink[x] = true;
        break;
      }
    }
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return ink;
}

TEST_F(VirtualListTest, EachFieldIsDrawnInsideItsColumn) {
  // A name far wider than its 175-pixel column, then an empty location.
  rows_ = {std::string(200, 'W') + ";;12345;d"};
  list_.SetCount(1);
  const int h = static_cast<int>(SendMessageW(list_.listBox(), LB_GETITEMHEIGHT, 0, 0));
  std::vector<bool> ink = InkColumns(list_.listBox(), list_.hwnd(), 640, h);
  EXPECT_FALSE(ink[0] || ink[1]) << "text starts less than 2 pixels in";
  EXPECT_TRUE(ink[2] || ink[3]) << "the name is not drawn from 2 pixels in";
  bool ellipsis = false;  // the cut name ends in "..." near the column's edge
  for (int x = 160; x < 175; ++x) ellipsis = ellipsis || ink[x];
  EXPECT_TRUE(ellipsis) << "the long name does not fill its column";
  for (int x = 175; x < 375; ++x) EXPECT_FALSE(ink[x]) << "ink at x=" << x << " outside column 0";
  bool sizeDrawn = false;
  for (int x = 377; x < 435; ++x) sizeDrawn = sizeDrawn || ink[x];
  EXPECT_TRUE(sizeDrawn) << "field 2 is not in the Size column";
  for (int x = 435; x < 437; ++x) EXPECT_FALSE(ink[x]);
}

}  // namespace
}  // namespace scourly::gui

int main(int argc, char** argv) {
  InitCommonControls();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
