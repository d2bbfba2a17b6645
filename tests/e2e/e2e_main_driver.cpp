// End-to-end tests: start the real Scourly.exe, drive it from this process as
// a user would, and check what the user would see.
//   e2e_driver.exe SCOURLY.EXE DPI SHOT_FOLDER [gtest flags]
// The test drive T:\ must be empty; the driver fills it and writes a
// settings.ini beside SCOURLY.EXE that checks only T:\. SHOT_FOLDER receives
// NAME.req files; the script that runs the driver takes a screenshot for each
// and deletes the request.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/main/gui_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/scourly_process.h"

namespace scourly::e2e {
namespace {

using namespace scourly::gui;


// ---- The test drive ----

struct TestFile {
  const wchar_t* folder;  // below T:\, ending in "\" (or empty)
  const wchar_t* name;
  DWORD size;
  bool listed;  // by the default file types plus the empty-file walk
};
const TestFile kFiles[] = {
    {L"", L"notes.tmp", 1500, true},
    {L"", L"report.bak", 3000, true},
    {L"", L"report.bakup", 400, false},  // its 8.3 alias REPORT~1.BAK must not count
    {L"", L"keep.txt", 700, false},
    {L"", L"empty.log", 0, true},
    {L"docs\\", L"draft.old", 2048, true},
    {L"docs\\", L"zero.dat", 0, true},
    {L"docs\\deep\\", L"cache.tmp", 5000, true},
    {L"docs\\deep\\", L"readme.txt", 100, false},
};

void MakeTestDrive() {
  CreateDirectoryW(L"T:\\docs", nullptr);
  CreateDirectoryW(L"T:\\docs\\deep", nullptr);
  for (const TestFile& f : kFiles) {
    std::wstring path = std::wstring(L"T:\\") + f.folder + f.name;
    ASSERT_TRUE(CreateTestFile(path, f.size))
        << "cannot create " << std::string(path.begin(), path.end());
  }
}

std::vector<std::wstring> ExpectedRows() {
  std::vector<std::wstring> rows;
  for (const TestFile& f : kFiles) {
    if (f.listed) {
      rows.push_back(std::wstring(f.name) + L";T:\\" + f.folder + L";" + std::to_wstring(f.size) +
                     L";" + StampText());
    }
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void Shot(const std::wstring& name) { scourly::e2e::Shot(g_shots, name); }

// ---- The program under test, shared by the tests in their order ----

constexpr wchar_t kFindHintAtStart[] =
    L"Click to find Unneeded Files.This action will not delete files.\r\n"
    L"You can specify the file types of your choice through the \"Options...\" button.";
constexpr const wchar_t* kFindHintByTab[5] = {
    L"Click to find Unneeded Files.This action will not delete files.\r\n"
    L"You can specify the file types of your choice through the \"Options\" button.",
    L"Click to find the Recent Documents. This action will not delete files.",
    L"Click to find the Favorites and Bookmarks. This action will not delete files.",
    L"Click to find all files in the IE Cache. You can Filter the files to see a particular "
    L"type.\r\nThis action will not delete files.",
    L"Click to find the Dead Shortcuts. This action will not delete files.",
};

class ScourlyE2E : public ScourlySuite {
 protected:
  static void SetUpTestSuite() { StartScourly(g_exe, MakeTestDrive); }
  static void TearDownTestSuite() { CloseScourly(); }

  HWND Tabs() const { return app->Control(kIdPageControl1); }
  HWND SubTabs() const { return app->Control(kIdPageControl2); }
  // Waits for the end of a scan started by Find Files: it re-enables the
  // Find Files button and always enables Delete All.
  bool WaitScanEnd() const {
    return ScourlyProcess::WaitFor([&] {
      app->Settle();
      return app->ButtonEnabled(kCmdFindFilesTB) && app->ButtonEnabled(kCmdDeleteAllTB);
    });
  }
  RECT ChildRect(HWND child) const {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, app->main(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

};

const std::vector<std::wstring> kResetPanels = {L"Selected Size: 0 B", L"Selected Files: 0",
                                                L"Total Files: 0", L"0 B"};

TEST_F(ScourlyE2E, WindowHasTheDesignedSizePlaceAndParts) {
  RECT rc;
  GetWindowRect(app->main(), &rc);
  EXPECT_EQ(rc.right - rc.left, Px(578));
  EXPECT_EQ(rc.bottom - rc.top, Px(393));
  EXPECT_NEAR(rc.left, (GetSystemMetrics(SM_CXSCREEN) - Px(578)) / 2, 1) << "not centred";
  wchar_t caption[64];
  GetWindowTextW(app->main(), caption, 64);
  EXPECT_STREQ(caption, L"Scourly");

  const wchar_t* tabs[] = {L"Unneeded Files", L"Recent Files", L"IE Favorites", L"Browser Cache",
                           L"Dead Shortcuts"};
  const int images[] = {14, 5, 9, 7, 4};
  ASSERT_EQ(app->TabCount(Tabs()), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(app->TabCaption(Tabs(), i), tabs[i]);
    EXPECT_EQ(app->TabImage(Tabs(), i), images[i]) << "tab " << i;
  }
  EXPECT_EQ(SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0), 0);
  // The five tabs fit one row: with Wine's own fonts missing they wrap onto
  // two and "Time Sta..." is cut.
  if (g_dpi == 96) {
    EXPECT_EQ(SendMessageW(Tabs(), TCM_GETROWCOUNT, 0, 0), 1);
  }
  ASSERT_EQ(app->TabCount(SubTabs()), 3);
  EXPECT_EQ(app->TabCaption(SubTabs(), 0), L"IE Cache");
  EXPECT_EQ(app->TabCaption(SubTabs(), 1), L"    More    ");
  EXPECT_EQ(app->TabCaption(SubTabs(), 2), L"Web Browsers");
  EXPECT_EQ(SendMessageW(SubTabs(), TCM_GETCURSEL, 0, 0), 0);

  // Status panels 200, 125, 125 pixels at 96 DPI, the last to the edge.
  EXPECT_EQ(app->PanelEdges(), (std::vector<int>{Px(200), Px(325), Px(450), -1}));

  // Toolbar: 24 pixels high under an 8-pixel strip; the tabs below it.
  RECT bar = ChildRect(app->Control(kIdToolBar1));
  EXPECT_EQ(bar.top, 0);
  EXPECT_EQ(bar.bottom - bar.top, Px(24));
  EXPECT_EQ(ChildRect(Tabs()).top, Px(24) + Px(8));
  EXPECT_EQ(SendMessageW(app->Control(kIdToolBar1), TB_BUTTONCOUNT, 0, 0), 15);

  // The result list's header: four sections of the designed widths, 17 high.
  HWND header = GetDlgItem(app->Control(kIdListBox1), kIdListHeader);
  ASSERT_TRUE(header);
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
  RECT hr;
  GetWindowRect(header, &hr);
  EXPECT_EQ(hr.bottom - hr.top, Px(17));
  Shot(L"01-start");
}

TEST_F(ScourlyE2E, StartsWithEmptyPanelsAndDeleteButtonsDisabled) {
  EXPECT_EQ(Panels(), kResetPanels);
  EXPECT_TRUE(app->ButtonEnabled(kCmdFindFilesTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  for (int cmd : {kCmdStopTB, kCmdClearTB, kCmdDeletePerTB, kCmdOpenTB, kCmdSelectAllTB,
                  kCmdInvertSelTB, kCmdToolButton1, kCmdOptionsTB})
    EXPECT_TRUE(app->ButtonEnabled(cmd)) << cmd;
  EXPECT_EQ(app->RowCount(1), 0);

  // The three dialogs exist, hidden, from the start, owned by the main window.
  for (const wchar_t* caption : {L"Options", L"File Type", L"About Scourly"}) {
    HWND dialog = FindWindowW(kDialogClass, caption);
    ASSERT_TRUE(dialog) << "no dialog window";
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), app->main());
  }
}

TEST_F(ScourlyE2E, OptionsButtonShowsTheOptionsDialogWithoutBlocking) {
  HWND options = FindWindowW(kDialogClass, L"Options");
  ASSERT_TRUE(options);
  app->Click(kCmdOptionsTB);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return IsWindowVisible(options) != FALSE; }, 5000));
  EXPECT_TRUE(IsWindowEnabled(app->main())) << "the options dialog is not modeless";
  PostMessageW(options, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return !IsWindowVisible(options); }, 5000));
  EXPECT_TRUE(app->Running()) << "closing the dialog ended the program";
  app->Click(kCmdOptions1);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return IsWindowVisible(options) != FALSE; }, 5000));
  PostMessageW(options, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return !IsWindowVisible(options); }, 5000));
}

TEST_F(ScourlyE2E, HintsAndPopupCaptionsAreThoseOfTheNewWindow) {
  EXPECT_EQ(app->Hint(kCmdFindFilesTB), kFindHintAtStart);
  EXPECT_EQ(app->Hint(kCmdStopTB), L"Stop");
  EXPECT_EQ(app->Hint(kCmdClearTB), L"Clear");
  EXPECT_EQ(app->Hint(kCmdDeleteAllTB), L"Delete All files to the Reycle Bin");
  EXPECT_EQ(app->Hint(kCmdDeleteSelTB), L"Delete Selected files to the Recycle Bin");
  EXPECT_EQ(app->Hint(kCmdDeletePerTB), L"Delete Selected Files Permanently");
  EXPECT_EQ(app->Hint(kCmdOpenTB), L"Open Selected File");
  EXPECT_EQ(app->Hint(kCmdSelectAllTB), L"Select All");
  EXPECT_EQ(app->Hint(kCmdInvertSelTB), L"Invert Selection");
  EXPECT_EQ(app->Hint(kCmdToolButton1), L"Description of File Types");
  EXPECT_EQ(app->Hint(kCmdOptionsTB),
            L"Click to add/remove Unneeded File types or to change the Drives to be scanned.");
  EXPECT_EQ(app->MenuCaption(kCmdDeletePermanently1), L"Delete Selected files Permanently");
  EXPECT_EQ(app->MenuCaption(kCmdOpen1), L"Open Selected file");
  EXPECT_EQ(app->MenuCaption(kCmdScanforIECahefiles1), L"Scan for IE Cahe Files");
  EXPECT_EQ(app->MenuCaption(kCmdAboutDlg), L"&About Scourly");
}

// The pointer resting on a button shows its hint; Find Files' hint has two
// lines, so its box is much higher than the one-line hint of Stop.
TEST_F(ScourlyE2E, RestingOnAButtonShowsItsHint) {
  HWND bar = app->Control(kIdToolBar1);
  HWND tip = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
  ASSERT_TRUE(tip);
  auto hintBox = [&](int index) {
    SetCursorPos(5, 5);
    ScourlyProcess::WaitFor([&] { return !IsWindowVisible(tip); }, 3000);
    RECT rc = app->ButtonRect(index);
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    SetCursorPos(rc.left + 2, rc.top + 2);
    Sleep(100);
    SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    RECT box{};
    if (ScourlyProcess::WaitFor([&] { return IsWindowVisible(tip) != FALSE; }, 5000))
      GetWindowRect(tip, &box);
    return box;
  };
  RECT stop = hintBox(1);
  ASSERT_GT(stop.bottom - stop.top, 0) << "no hint appeared on Stop";
  RECT find = hintBox(0);
  ASSERT_GT(find.bottom - find.top, 0) << "no hint appeared on Find Files";
  EXPECT_GT((find.bottom - find.top) * 10, (stop.bottom - stop.top) * 16)
      << "the Find Files hint is not on two lines";
  EXPECT_GT(find.right - find.left, 3 * (stop.right - stop.left));
  Shot(L"12-find-files-hint");
  SetCursorPos(5, 5);
  ScourlyProcess::WaitFor([&] { return !IsWindowVisible(tip); }, 3000);
}

// Menus are drawn by the program; here they are opened, pictured and closed.
TEST_F(ScourlyE2E, MenusAndThePopupMenuOpenAndClose) {
  auto menuShown = [] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
  };
  PostMessageW(app->main(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_TRUE(ScourlyProcess::WaitFor(menuShown, 5000)) << "the File menu did not open";
  Shot(L"09-file-menu");
  PostMessageW(app->main(), WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return !menuShown(); }, 5000));

  PostMessageW(app->main(), WM_SYSCOMMAND, SC_KEYMENU, 'h');
  EXPECT_TRUE(ScourlyProcess::WaitFor(menuShown, 5000)) << "the Help menu did not open";
  Shot(L"10-help-menu");
  PostMessageW(app->main(), WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return !menuShown(); }, 5000));

  RECT rc;
  GetWindowRect(app->ListBox(1), &rc);
  PostMessageW(app->Control(kIdListBox1), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app->ListBox(1)),
               MAKELPARAM(rc.left + 40, rc.top + 40));
  EXPECT_TRUE(ScourlyProcess::WaitFor(menuShown, 5000)) << "the popup menu did not open";
  Shot(L"11-popup-menu");
  PostMessageW(app->main(), WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(ScourlyProcess::WaitFor([&] { return !menuShown(); }, 5000));
  EXPECT_TRUE(app->Running());
}

TEST_F(ScourlyE2E, FindFilesListsTheUnneededFilesOfTheTestDrive) {
  app->Click(kCmdFindFilesTB);
  ASSERT_TRUE(WaitScanEnd()) << "the scan did not end";
  std::vector<std::wstring> rows = app->Rows(1);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, ExpectedRows());
  // 1500 + 3000 + 2048 + 5000 bytes in six files.
  EXPECT_EQ(Panels(), (std::vector<std::wstring>{L"Selected Size: 0 B", L"Selected Files: 0",
                                                 L"Total Files: 6", L"11 kB"}));
  EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  Shot(L"02-found");
}

TEST_F(ScourlyE2E, SelectingRowsShowsTheirSizeAndCountAndEnablesDeleteSelected) {
  std::vector<std::wstring> rows = app->Rows(1);
  auto rowOf = [&](const wchar_t* name) {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].rfind(std::wstring(name) + L";", 0) == 0) return static_cast<int>(i);
    return -1;
  };
  int notes = rowOf(L"notes.tmp"), cache = rowOf(L"cache.tmp"), bak = rowOf(L"report.bak");
  ASSERT_GE(notes, 0);
  ASSERT_GE(cache, 0);
  ASSERT_GE(bak, 0);

  app->ClickRow(1, notes, false);
  EXPECT_EQ(app->SelectedRows(1), std::vector<int>{notes});
  EXPECT_EQ(app->Panel(0), L"Selected Size: 1 kB");
  EXPECT_EQ(app->Panel(1), L"Selected Files: 1");
  EXPECT_TRUE(app->ButtonEnabled(kCmdDeleteSelTB));

  app->ClickRow(1, cache, true);  // Ctrl adds a row: 1500 + 5000 bytes
  EXPECT_EQ(app->Panel(0), L"Selected Size: 6 kB");
  EXPECT_EQ(app->Panel(1), L"Selected Files: 2");
  EXPECT_EQ(app->Panel(2), L"Total Files: 6");
  Shot(L"03-selected");

  app->ClickRow(1, bak, false);  // a plain click selects only that row
  EXPECT_EQ(app->SelectedRows(1), std::vector<int>{bak});
  EXPECT_EQ(app->Panel(0), L"Selected Size: 2 kB");
  EXPECT_EQ(app->Panel(1), L"Selected Files: 1");
}

TEST_F(ScourlyE2E, TabsSetHintsCaptionsAndMenuStates) {
  HWND tabs = Tabs();
  for (int tab : {1, 2, 4, 0}) {
    app->ClickTab(tabs, tab);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), tab);
    EXPECT_EQ(app->Hint(kCmdFindFilesTB), kFindHintByTab[tab]) << "tab " << tab;
    EXPECT_TRUE(app->ButtonEnabled(kCmdFindFilesTB)) << "tab " << tab;
    EXPECT_EQ(app->Hint(kCmdDeleteAllTB), L"Delete All files to the Recycle Bin");
    EXPECT_EQ(app->Hint(kCmdDeleteSelTB), L"Delete Selected Files to the Recycle Bin");
    EXPECT_EQ(app->MenuCaption(kCmdDeletePermanently1), L"Delete Selected file Permanently");
    EXPECT_EQ(app->MenuEnabled(kCmdOpen1), 1);
    EXPECT_EQ(app->MenuEnabled(kCmdDelete1), 1);
    EXPECT_TRUE(IsWindowVisible(app->Control(kIdListBox1 + (tab == 4 ? 4 : tab))));
    if (tab != 0) {
      EXPECT_EQ(Panels(), kResetPanels) << "tab " << tab;
      EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
      Shot(tab == 1 ? L"04-recent" : tab == 2 ? L"05-favorites" : L"08-dead-shortcuts");
    }
  }
  // Back on tab 0 its rows and their selection show again.
  EXPECT_EQ(app->Panel(2), L"Total Files: 6");
  EXPECT_EQ(app->Panel(1), L"Selected Files: 1");

  app->ClickTab(tabs, 3);
  EXPECT_EQ(app->Hint(kCmdFindFilesTB), kFindHintByTab[3]);
  EXPECT_EQ(app->Hint(kCmdDeleteAllTB), L"Delete All files Permanently");
  EXPECT_EQ(app->Hint(kCmdDeleteSelTB), L"Delete Selected Files Permanently");
  EXPECT_EQ(app->MenuCaption(kCmdDeletePermanently1), L"Delete Selected files Permanently");
  EXPECT_EQ(app->MenuEnabled(kCmdOpen1), 0);
  EXPECT_EQ(app->MenuEnabled(kCmdDelete1), 0);
  EXPECT_TRUE(IsWindowVisible(SubTabs()));
  EXPECT_TRUE(IsWindowVisible(app->ListView(4)));
  EXPECT_FALSE(IsWindowVisible(app->Control(kIdListBox1)));
  Shot(L"06-ie-cache");

  app->ClickTab(SubTabs(), 1);
  EXPECT_EQ(SendMessageW(SubTabs(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_FALSE(IsWindowVisible(app->ListView(4)));
  for (int id : {int{kIdGroupBox2}, int{kIdGroupBox3}, int{kIdNProfile}, int{kIdNCacheDir},
                 int{kIdOProgramDir}, int{kIdOCacheDir}, int{kIdSpeedButton1},
                 kIdSpeedButton1 + 3})
    EXPECT_TRUE(IsWindowVisible(app->MoreControl(id))) << id;
  wchar_t text[64];
  GetWindowTextW(app->MoreControl(kIdGroupBox2), text, 64);
  EXPECT_STREQ(text, L"Netscape 4.7");
  GetWindowTextW(app->MoreControl(kIdGroupBox3), text, 64);
  EXPECT_STREQ(text, L"Opera");
  Shot(L"07-more");

  // Coming back to "Browser Cache" with "More" active: Find Files is off,
  // and the captions of the tab left behind stay.
  app->ClickTab(tabs, 4);
  app->ClickTab(tabs, 3);
  EXPECT_FALSE(app->ButtonEnabled(kCmdFindFilesTB));
  EXPECT_EQ(app->MenuEnabled(kCmdOpen1), 0);
  EXPECT_EQ(app->MenuEnabled(kCmdDelete1), 0);
  EXPECT_EQ(app->MenuCaption(kCmdDeletePermanently1), L"Delete Selected file Permanently");
  EXPECT_EQ(app->Hint(kCmdDeleteAllTB), L"Delete All files to the Recycle Bin");
}

TEST_F(ScourlyE2E, ResizingLaysOutTheMoreSheetByHalves) {
  ASSERT_EQ(SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0), 3);
  ASSERT_EQ(SendMessageW(SubTabs(), TCM_GETCURSEL, 0, 0), 1);
  RECT rc;
  GetWindowRect(app->main(), &rc);
  for (int extra : {Px(120), 0}) {
    SetWindowPos(app->main(), nullptr, 0, 0, Px(578) + extra, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    app->Settle();
    RECT sheet = app->TabDisplayRect(SubTabs());
    MapWindowPoints(SubTabs(), app->main(), reinterpret_cast<POINT*>(&sheet), 2);
    const int h = MulDiv(sheet.right - sheet.left, 96, g_dpi) / 2;
    RECT g2 = ChildRect(app->MoreControl(kIdGroupBox2));
    RECT g3 = ChildRect(app->MoreControl(kIdGroupBox3));
    EXPECT_EQ(g2.right - g2.left, Px(h + 1)) << "extra " << extra;
    EXPECT_EQ(g3.right - g3.left, Px(h + 1));
    EXPECT_EQ(g3.left - sheet.left, Px(h));
    for (int i = 0; i < 4; ++i) {
      RECT edit = ChildRect(app->MoreControl(kIdNProfile + i));
      RECT button = ChildRect(app->MoreControl(kIdSpeedButton1 + i));
      const RECT& group = i < 2 ? g2 : g3;
      EXPECT_EQ(edit.right - edit.left, Px(h - 41)) << "edit " << i;
      EXPECT_EQ(edit.left - group.left, Px(8)) << "edit " << i << " left the place it was given";
      EXPECT_EQ(button.left - group.left, Px(h - 41 + 10)) << "button " << i;
    }
  }
  Shot(L"07-more-resized");
}

TEST_F(ScourlyE2E, StopKeepsTheRowsAndClearEmptiesTheList) {
  app->ClickTab(Tabs(), 0);
  ASSERT_EQ(app->RowCount(1), 6);
  app->Click(kCmdStopTB);
  app->Settle();
  EXPECT_EQ(app->RowCount(1), 6);
  EXPECT_EQ(app->Panel(2), L"Total Files: 6");

  app->Click(kCmdClearTB);
  app->Settle();
  EXPECT_EQ(app->RowCount(1), 0);
  EXPECT_EQ(Panels(), kResetPanels);
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteAllTB));
  EXPECT_FALSE(app->ButtonEnabled(kCmdDeleteSelTB));
  EXPECT_TRUE(app->ButtonEnabled(kCmdFindFilesTB));
}

TEST_F(ScourlyE2E, FileMenuScanFindsNothingAfterStopUntilFindFiles) {
  app->Click(kCmdStopTB);
  app->Click(kCmdScanUnneededFiles1);
  app->Settle();
  Sleep(300);
  app->Settle();
  EXPECT_EQ(app->RowCount(1), 0) << "a stopped program scanned from the File menu";

  app->Click(kCmdFindFilesTB);
  ASSERT_TRUE(WaitScanEnd());
  EXPECT_EQ(app->RowCount(1), 6);
}

TEST_F(ScourlyE2E, TrayIconDoubleClickBringsTheWindowBack) {
  ShowWindow(app->main(), SW_MINIMIZE);
  app->Settle();
  ASSERT_TRUE(IsIconic(app->main()));
  SendMessageW(app->main(), kMsgTrayIcon, 1, WM_LBUTTONDBLCLK);
  app->Settle();
  EXPECT_FALSE(IsIconic(app->main()));
  EXPECT_TRUE(IsWindowVisible(app->main()));
}

TEST_F(ScourlyE2E, ExitEndsTheProgram) {
  app->Click(kCmdExit1);
  bool ended = ScourlyProcess::WaitFor([&] { return !app->Running(); });
  EXPECT_TRUE(ended) << "Exit did not end the program";
  EXPECT_EQ(app->Close(), 0u);
}

}  // namespace
}  // namespace scourly::e2e
