// The "More" page of the main window inside one process, under Wine, with
// the real services: clicks and typing reach the cleaner's models, the
// models reach the controls without undoing the user's typing, Tab walks the
// page and round the window, and the captions fit their controls at 96 and 144 DPI. What the
// buttons do to the disk and the registry is tested end to end
// (e2e_more_driver.cpp).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "cache/more_cleaner.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "tests/support/box_answerer.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

using support::BoxAnswerer;

std::wstring Text(HWND hwnd) { return WindowText(hwnd); }

class MoreSheetTest : public ::testing::Test {
 protected:
  MoreSheetTest()
      : options_(platform_), form_(platform_, options_), window_(form_, ui_),
        more_(form_.MoreCleaner()) {}
  void SetUp() override {
    // The window of the test before posted its quit message; a message box
    // would end at once on it.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    window_.Create();
    ASSERT_TRUE(window_.hwnd());
    form_.PageControl1.activeIndex = kTabBrowserCache;
    form_.PageControl2.activeIndex = kSubTabMore;
    window_.Sync();
    ASSERT_TRUE(GetWindowLongW(Sheet(), GWL_STYLE) & WS_VISIBLE);
  }
  HWND Sheet() const { return GetDlgItem(window_.hwnd(), kIdMoreSheet); }
  HWND Control(int id) const { return GetDlgItem(Sheet(), id); }
  bool Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Type(int id, const std::wstring& keys) const {
    for (wchar_t c : keys) SendMessageW(Control(id), WM_CHAR, c, 1);
  }

  Win32Windows windows_;
  Win32Ui& ui_ = windows_.ui;
  Platform& platform_ = windows_.platform;
  TUOptionsDialog options_;
  TMainForm form_;
  MainWindow window_;
  TNetscapeOperaCleaner& more_;
};

TEST_F(MoreSheetTest, ClicksAndTypingReachTheModelsAndTheModelsReachTheControls) {
  EXPECT_EQ(Text(Control(kIdLabel13)),
            L"Note: Netscape and Opera must be closed\r\nto successfully clean files.");
  const wchar_t* captions[6] = {L"Cache", L"Cookies", L"URL History",
                                L"Cache", L"Cookies", L"URL History"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Text(Control(kIdNCache + i)), captions[i]) << i;
  EXPECT_EQ(Text(Control(kIdClearBtn)), L"Clear Now");
  EXPECT_EQ(Text(Control(kIdSaveBtn)), L"Save Directory Paths");

  // Clicks tick and untick the models' boxes, and only the one clicked.
  SendMessageW(Control(kIdNCookies), BM_CLICK, 0, 0);
  SendMessageW(Control(kIdOHistory), BM_CLICK, 0, 0);
  EXPECT_TRUE(more_.NCookies.checked);
  EXPECT_TRUE(more_.OHistory.checked);
  EXPECT_FALSE(more_.NCache.checked || more_.NHistory.checked || more_.OCache.checked ||
               more_.OCookies.checked);
  EXPECT_TRUE(Checked(kIdNCookies));
  SendMessageW(Control(kIdNCookies), BM_CLICK, 0, 0);
  EXPECT_FALSE(more_.NCookies.checked);
  EXPECT_FALSE(Checked(kIdNCookies));
  EXPECT_TRUE(Checked(kIdOHistory));

  // Typing: every key reaches the model.
  Type(kIdOCacheDir, L"D:\\Opera\\Cache4");
  EXPECT_EQ(more_.OCacheDir.text, "D:\\Opera\\Cache4");

  // The models, changed by a handler, reach the controls.
  window_.Run([&] {
    more_.NProfile.text = "C:\\Netscape\\Users\\J\u00fcrgen";
    more_.OCache.checked = true;
  });
  EXPECT_EQ(Text(Control(kIdNProfile)), L"C:\\Netscape\\Users\\J\u00fcrgen");
  EXPECT_TRUE(Checked(kIdOCache));

  // A copy that would change nothing is not made: the caret the user put in
  // the middle of the text stays there.
  SendMessageW(Control(kIdOCacheDir), EM_SETSEL, 3, 3);
  window_.Run([&] { more_.OCacheDir.text = "D:\\Opera\\Cache4"; });
  DWORD start = 0, end = 0;
  SendMessageW(Control(kIdOCacheDir), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
  // A browse button opens the folder dialog; cancelled, the path stays.
  {
    BoxAnswerer answerer(IDCANCEL);
    SendMessageW(Control(kIdSpeedButton1 + 3), BM_CLICK, 0, 0);
    answerer.Wait();
    EXPECT_TRUE(answerer.answered) << "no folder dialog appeared";
  }
  EXPECT_EQ(more_.OCacheDir.text, "D:\\Opera\\Cache4");
  EXPECT_EQ(Text(Control(kIdOCacheDir)), L"D:\\Opera\\Cache4");
}

TEST_F(MoreSheetTest, TabWalksThePageInReadingOrder) {
  const std::vector<int> order = {
      kIdNCache,   kIdNCookies,         kIdNHistory,   kIdNProfile,         kIdSpeedButton1,
      kIdNCacheDir, kIdSpeedButton1 + 1, kIdOCache,     kIdOCookies,         kIdOHistory,
      kIdOProgramDir, kIdSpeedButton1 + 2, kIdOCacheDir, kIdSpeedButton1 + 3, kIdClearBtn,
      kIdSaveBtn,
      // and round the window: its toolbar, the tabs and the sub-tabs.
      kIdToolBar1, kIdPageControl1, kIdPageControl2, kIdNCache};
  ShowWindow(window_.hwnd(), SW_SHOW);
  SetForegroundWindow(window_.hwnd());
  SetFocus(Control(kIdNCache));
  ASSERT_EQ(GetFocus(), Control(kIdNCache));
  for (size_t i = 1; i < order.size(); ++i) {
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_EQ(GetDlgCtrlID(GetFocus()), order[i]) << "after " << order[i - 1];
  }
  // Shift+Tab goes back; an edit reached so has its text selected.
  window_.Run([&] { more_.OCacheDir.text = "T:\\Cache4"; });
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SetFocus(Control(kIdSpeedButton1 + 3));
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), Control(kIdOCacheDir));
  DWORD start = 0, end = 0;
  SendMessageW(Control(kIdOCacheDir), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 9u);
}

// Each caption is drawn whole: its text, beside the check mark for a check
// box, fits the control, in the font the window gave it, at both DPIs.
TEST_F(MoreSheetTest, CaptionsFitTheirControlsAtBothDpis) {
  for (int dpi : {96, 144}) {
    RECT rc;
    GetWindowRect(window_.hwnd(), &rc);
    rc.right = rc.left + MulDiv(578, dpi, 96);
    rc.bottom = rc.top + MulDiv(393, dpi, 96);
    SendMessageW(window_.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&rc));
    const int checkMark = MulDiv(13 + 6, dpi, 96);  // the mark and the gap after it
    for (int id : {int{kIdNCache}, int{kIdNCookies}, int{kIdNHistory}, int{kIdOCache},
                   int{kIdOCookies}, int{kIdOHistory}, int{kIdClearBtn}, int{kIdSaveBtn},
                   int{kIdLabel13}, int{kIdNProfileLabel}, kIdNProfileLabel + 2}) {
      HWND control = Control(id);
      HDC dc = GetDC(control);
      HGDIOBJ old =
          SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
      std::wstring text = Text(control);
      RECT need{0, 0, 0, 0};
      DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_NOPREFIX);
      SelectObject(dc, old);
      ReleaseDC(control, dc);
      RECT have;
      GetClientRect(control, &have);
      const bool isCheck = id >= kIdNCache && id <= kIdOHistory;
      const bool isPush = id == kIdClearBtn || id == kIdSaveBtn;
      const int extra = isCheck ? checkMark : isPush ? MulDiv(8, dpi, 96) : 0;
      EXPECT_LE(need.right + extra, have.right) << "control " << id << " at " << dpi << " DPI";
      EXPECT_LE(need.bottom, have.bottom) << "control " << id << " at " << dpi << " DPI";
    }
  }
}

}  // namespace
}  // namespace scourly::gui
