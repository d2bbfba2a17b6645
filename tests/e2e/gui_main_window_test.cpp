// The main window inside one process, under Wine: it copies what changed in
// TMainForm's models onto its controls, lets only enabled buttons through,
// and shows an error escaping a handler in the standard error box and goes on.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "app/main_form.h"
#include "lists/app_error.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "tests/support/box_answerer.h"
#include "ui/controls/probe.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"

namespace scourly::gui {
namespace {

using support::BoxAnswerer;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : options_(platform_), form_(platform_, options_), window_(form_, ui_) {}
  void SetUp() override {
    // The window of the test before posted its quit message; a message box
    // would end at once on it.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    window_.Create();
    ASSERT_TRUE(window_.hwnd());
  }
  HWND Control(int id) const { return GetDlgItem(window_.hwnd(), id); }
  std::wstring Panel(int i) const {
    wchar_t text[256] = {};
    SendMessageW(Control(kIdStatusBar1), SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::wstring Hint(int cmd) const {
    HWND tip = reinterpret_cast<HWND>(SendMessageW(Control(kIdToolBar1), TB_GETTOOLTIPS, 0, 0));
    wchar_t text[512] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = Control(kIdToolBar1);
    ti.uId = cmd;
    ti.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&ti));
    return text;
  }
  void ClickButton(int cmd) {
    SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(cmd, 0),
                 reinterpret_cast<LPARAM>(Control(kIdToolBar1)));
  }

  Win32Windows windows_;
  Win32Ui& ui_ = windows_.ui;
  Platform& platform_ = windows_.platform;
  TUOptionsDialog options_;
  TMainForm form_;
  MainWindow window_;
};

TEST_F(MainWindowTest, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
  BoxAnswerer answerer(IDOK);
  bool after = false;
  window_.Run([] { throw AppError("Unable to write to C:\\x\\settings.ini"); });
  window_.Run([&] { after = true; });
  EXPECT_TRUE(answerer.answered);
  EXPECT_EQ(answerer.text, L"Unable to write to C:\\x\\settings.ini");
  EXPECT_EQ(answerer.caption, L"Scourly");
  EXPECT_TRUE(after) << "the next handler did not run";
  EXPECT_TRUE(IsWindow(window_.hwnd()));
}

TEST_F(MainWindowTest, AnyStandardExceptionIsShownToo) {
  BoxAnswerer answerer(IDOK);
  window_.Run([] { throw std::out_of_range("index 7 out of range"); });
  EXPECT_EQ(answerer.text, L"index 7 out of range");
}

TEST_F(MainWindowTest, StatusBarIsRewrittenOnlyWhenItsModelChanged) {
  form_.StatusBar1.Set(0, "Selected Size: 5 kB");
  window_.Sync();
  EXPECT_EQ(Panel(0), L"Selected Size: 5 kB");
  // Nothing changed in the model: the bar is left alone.
  SendMessageW(Control(kIdStatusBar1), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"untouched"));
  window_.Sync();
  EXPECT_EQ(Panel(0), L"untouched");
  form_.StatusBar1.Set(3, "7 kB");
  window_.Sync();
  EXPECT_EQ(Panel(0), L"Selected Size: 5 kB");
  EXPECT_EQ(Panel(3), L"7 kB");
}

TEST_F(MainWindowTest, ListRowsAndSelectionFollowTheModel) {
  form_.ListBox1.Assign({{"a.tmp", "C:\\", 1, "d"}, {"b.tmp", "C:\\", 2, "d"},
                         {"c.tmp", "C:\\", 3, "d"}});
  form_.ListBox1.SetSelected(1, true);
  window_.Sync();
  HWND list = GetDlgItem(Control(kIdListBox1), kIdListInner);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
  EXPECT_GT(SendMessageW(list, LB_GETSEL, 1, 0), 0);

  form_.ListBox1.RemoveSelected();
  window_.Sync();
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 0);
  ASSERT_GE(SendMessageW(Control(kIdListBox1), kMsgGetRowText, 1, 0), 0);
  EXPECT_STREQ(ProbeBuffer(), L"c.tmp;C:\\;3;d");
}

TEST_F(MainWindowTest, ButtonsHintsCaptionsAndTabsFollowTheModel) {
  form_.DeleteAllTB.enabled = true;
  form_.DeleteAllTB.hint = "Delete All files Permanently";
  form_.DeletePermanently1.caption = "Delete Selected file Permanently";
  form_.Open1.enabled = false;
  form_.PageControl1.activeIndex = kTabBrowserCache;
  form_.PageControl2.activeIndex = kSubTabMore;
  window_.Sync();
  EXPECT_TRUE(SendMessageW(Control(kIdToolBar1), TB_ISBUTTONENABLED, kCmdDeleteAllTB, 0));
  EXPECT_EQ(Hint(kCmdDeleteAllTB), L"Delete All files Permanently");
  ASSERT_GE(SendMessageW(window_.hwnd(), kMsgGetMenuCaption, kCmdDeletePermanently1, 0), 0);
  EXPECT_STREQ(ProbeBuffer(), L"Delete Selected file Permanently");
  EXPECT_EQ(SendMessageW(window_.hwnd(), kMsgGetMenuEnabled, kCmdOpen1, 0), 0);
  EXPECT_EQ(SendMessageW(Control(kIdPageControl1), TCM_GETCURSEL, 0, 0), kTabBrowserCache);
  EXPECT_EQ(SendMessageW(Control(kIdPageControl2), TCM_GETCURSEL, 0, 0), kSubTabMore);
  EXPECT_TRUE(GetWindowLongW(Control(kIdMoreSheet), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongW(Control(kIdCacheSheet), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongW(Control(kIdListBox1), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(MainWindowTest, AClickReachesOnlyAnEnabledButtonOrMenuItem) {
  form_.StopTB.enabled = false;
  window_.Sync();
  ClickButton(kCmdStopTB);
  EXPECT_FALSE(form_.StopFlag) << "a disabled Stop button stopped";
  form_.StopTB.enabled = true;
  window_.Sync();
  ClickButton(kCmdStopTB);
  EXPECT_TRUE(form_.StopFlag);

  BoxAnswerer answerer(IDOK, 500);  // a wrongly run deletion would ask first
  form_.Delete1.enabled = false;
  form_.ListBox1.Assign({{"a.tmp", "C:\\nowhere\\", 1, "d"}});
  form_.ListBox1.SetSelected(0, true);
  window_.Sync();
  SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(kCmdDelete1, 0), 0);
  EXPECT_EQ(form_.ListBox1.Count(), 1) << "a disabled menu item ran its command";
  EXPECT_FALSE(answerer.answered);
}

TEST_F(MainWindowTest, TheHourglassShowsOverEveryPartOfTheWindow) {
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  HWND list = GetDlgItem(Control(kIdListBox1), kIdListInner);
  ui_.SetHourglass(true);
  for (HWND over : {window_.hwnd(), list, Control(kIdToolBar1), Control(kIdStatusBar1)}) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), wait) << "no hourglass over a child window";
  }
  ui_.SetHourglass(false);
  SendMessageW(list, WM_SETCURSOR, reinterpret_cast<WPARAM>(list), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), wait);
}

TEST_F(MainWindowTest, ResizingRunsTheLayoutRuleWithTheSheetWidth) {
  form_.PageControl1.activeIndex = kTabBrowserCache;
  form_.PageControl2.activeIndex = kSubTabMore;
  window_.Sync();
  SetWindowPos(window_.hwnd(), nullptr, 0, 0, Dpi(Dpi::OfWindow(window_.hwnd()))(700), 400,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT sheet;
  GetClientRect(Control(kIdMoreSheet), &sheet);
  Dpi dpi(Dpi::OfWindow(window_.hwnd()));
  EXPECT_EQ(form_.MoreSheetWidth, dpi.unscale(sheet.right));
  EXPECT_EQ(form_.GroupBox3.left, form_.MoreSheetWidth / 2);
  RECT group;
  GetWindowRect(GetDlgItem(Control(kIdMoreSheet), kIdGroupBox3), &group);
  MapWindowPoints(nullptr, Control(kIdMoreSheet), reinterpret_cast<POINT*>(&group), 2);
  EXPECT_EQ(group.left, dpi(form_.GroupBox3.left));
  EXPECT_EQ(group.right - group.left, dpi(form_.GroupBox3.width));
}

// A menu item whose caption is empty used to hand out whatever the stack
// held; the probe answers an empty text.
TEST_F(MainWindowTest, AnEmptyMenuCaptionIsAnsweredEmpty) {
  ProbeAnswer(L"left over");
  form_.AboutDlg.caption = "";
  window_.Sync();
  EXPECT_EQ(SendMessageW(window_.hwnd(), kMsgGetMenuCaption, kCmdAboutDlg, 0), 0);
  EXPECT_STREQ(ProbeBuffer(), L"");
  EXPECT_EQ(SendMessageW(window_.hwnd(), kMsgGetMenuCaption, 9999, 0), -1);
}

// A change of DPI used to free the old fonts while the controls still drew
// with them: at every WM_SETFONT a control gets, the font it had must still
// be alive.
int g_fontsReplaced = 0, g_deadFontsInUse = 0;
LRESULT CALLBACK WatchFonts(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_SETFONT) {
    HFONT current = reinterpret_cast<HFONT>(DefSubclassProc(hwnd, WM_GETFONT, 0, 0));
    if (current && GetObjectType(current) == 0) ++g_deadFontsInUse;
    ++g_fontsReplaced;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

TEST_F(MainWindowTest, ADpiChangeFreesOldFontsOnlyAfterTheControlsLetGo) {
  HWND watched[] = {Control(kIdStatusBar1), Control(kIdPageControl1), Control(kIdToolBar1)};
  for (HWND h : watched) SetWindowSubclass(h, WatchFonts, 1, 0);
  g_fontsReplaced = g_deadFontsInUse = 0;
  RECT rc;
  GetWindowRect(window_.hwnd(), &rc);
  SendMessageW(window_.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&rc));
  for (HWND h : watched) RemoveWindowSubclass(h, WatchFonts, 1);
  EXPECT_GE(g_fontsReplaced, 3);
  EXPECT_EQ(g_deadFontsInUse, 0);
  for (HWND h : watched) {
    HFONT now = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    EXPECT_NE(GetObjectType(now), 0u) << "a control draws with a freed font";
  }
}

// An error thrown while a message is handled stops at the window procedure:
// it is shown, and nothing unwinds through the system's code.
TEST_F(MainWindowTest, AnErrorInAMessageIsShownAtTheWindowProcedure) {
  BoxAnswerer answerer(IDOK);
  struct Thrower : Window {
    Thrower() {
      Register(L"ScourlyThrower", nullptr);
      Create(0, L"ScourlyThrower", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == WM_APP) throw std::runtime_error("thrown in a window procedure");
      return Window::HandleMessage(msg, wp, lp);
    }
  } thrower;
  Window::SetErrorReporter([this](const std::string& text) { ui_.ShowError(text); });
  EXPECT_EQ(SendMessageW(thrower.hwnd(), WM_APP, 0, 0), 0);
  Window::SetErrorReporter(nullptr);
  EXPECT_TRUE(answerer.answered);
  EXPECT_EQ(answerer.text, L"thrown in a window procedure");
}

// The "IE Cache" page: the filter's buttons and the labels follow the view's
// models, and a click on another filter item runs the scan.
TEST_F(MainWindowTest, TheIECachePageFollowsItsModels) {
  TIECacheView& view = form_.IECacheView();
  form_.PageControl1.activeIndex = kTabBrowserCache;
  view.Label2.caption = "File Size: 1536 B";
  window_.Sync();
  HWND sheet = Control(kIdCacheSheet);
  EXPECT_TRUE(GetWindowLongW(sheet, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(sheet, kIdListBox4), GWL_STYLE) & WS_VISIBLE);
  wchar_t text[128] = {};
  GetWindowTextW(GetDlgItem(sheet, kIdLabel1 + 1), text, 128);
  EXPECT_STREQ(text, L"File Size: 1536 B");
  GetWindowTextW(GetDlgItem(sheet, kIdRadioGroup1), text, 128);
  EXPECT_STREQ(text, L"Filter");
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(SendMessageW(GetDlgItem(sheet, kIdFilterAll + i), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(GetDlgItem(sheet, kIdFilterAll + 1), BM_CLICK, 0, 0);
  EXPECT_EQ(view.RadioGroup1.itemIndex, 1);
  EXPECT_EQ(SendMessageW(GetDlgItem(sheet, kIdFilterAll + 1), BM_GETCHECK, 0, 0), BST_CHECKED);
}

// Keyboard users reach every part of the window: Tab walks the toolbar, the
// tabs and the active page and goes round; Ctrl+Tab turns the tabs and the
// focus follows onto the new page.
TEST_F(MainWindowTest, TabWalksToolbarTabsAndPageAndCtrlTabTurnsThePage) {
  ShowWindow(window_.hwnd(), SW_SHOW);
  SetForegroundWindow(window_.hwnd());
  SetActiveWindow(window_.hwnd());
  auto listBoxOf = [this](int id) { return GetDlgItem(Control(id), kIdListInner); };
  // A key as pressed with Shift and Ctrl held or not.
  auto key = [](bool shift, bool control) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  };
  EXPECT_EQ(GetFocus(), listBoxOf(kIdListBox1)) << "the window starts with the focus on its list";
  key(false, false);
  EXPECT_EQ(GetFocus(), Control(kIdToolBar1));
  key(false, false);
  EXPECT_EQ(GetFocus(), Control(kIdPageControl1));
  key(false, false);
  EXPECT_EQ(GetFocus(), listBoxOf(kIdListBox1));
  key(true, false);
  EXPECT_EQ(GetFocus(), Control(kIdPageControl1));

  // Ctrl+Tab from the list: the next tab, and the focus on its list.
  SetFocus(listBoxOf(kIdListBox1));
  key(false, true);
  EXPECT_EQ(form_.PageControl1.activeIndex, 1);
  EXPECT_EQ(SendMessageW(Control(kIdPageControl1), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetFocus(), listBoxOf(kIdListBox2));
  key(true, true);
  key(true, true);
  EXPECT_EQ(form_.PageControl1.activeIndex, 4) << "Ctrl+Shift+Tab goes round backwards";
  EXPECT_EQ(GetFocus(), listBoxOf(kIdListBox5));

  // The IE Cache page: its sub-tabs, its list, then the filter's options.
  key(true, true);
  ASSERT_EQ(form_.PageControl1.activeIndex, kTabBrowserCache);
  HWND sheet = Control(kIdCacheSheet);
  EXPECT_EQ(GetFocus(), GetDlgItem(GetDlgItem(sheet, kIdListBox4), kIdListInner));
  key(false, false);
  EXPECT_EQ(GetFocus(), GetDlgItem(sheet, kIdFilterAll));
  SetFocus(GetDlgItem(sheet, kIdFilterAll + 3));
  key(false, false);
  EXPECT_EQ(GetFocus(), Control(kIdToolBar1));
  key(false, false);
  key(false, false);
  EXPECT_EQ(GetFocus(), Control(kIdPageControl2));
}

}  // namespace
}  // namespace scourly::gui
