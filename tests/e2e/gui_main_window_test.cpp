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
#include "ui/controls/probe.h"
#include "ui/main/gui_ids.h"
#include "ui/main/main_window.h"
#include "platform/win32/win32_windows.h"

namespace scourly::gui {
namespace {

// Closes the next message box of this process and keeps its caption and text.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    thread_ = CreateThread(
        nullptr, 0, [](void* self) -> DWORD { static_cast<BoxAnswerer*>(self)->Run(); return 0; },
        this, 0, nullptr);
  }
  ~BoxAnswerer() {
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  std::wstring caption, text;
  std::atomic<bool> answered{false};

 private:
  void Run() {
    const DWORD pid = GetCurrentProcessId();
    while (!stop_ && !answered) {
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner != pid || !IsWindowVisible(box)) continue;
        wchar_t buffer[512] = {};
        GetWindowTextW(box, buffer, 512);
        caption = buffer;
        GetDlgItemTextW(box, 0xFFFF, buffer, 512);  // the message's static text
        text = buffer;
        answered = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        break;
      }
      Sleep(30);
    }
  }
  std::atomic<bool> stop_{false};
  HANDLE thread_ = nullptr;
};

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
  BoxAnswerer answerer;
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
  BoxAnswerer answerer;
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

  BoxAnswerer answerer;  // a wrongly run deletion would ask first
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

}  // namespace
}  // namespace scourly::gui
