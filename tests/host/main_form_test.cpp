#include <gtest/gtest.h>

#include "app/main_form.h"
#include "lists/app_error.h"
#include "lists/status_panels.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeView;
using fake::FakeWindows;

// A started program on a fake machine: C: (unchecked in the settings) and
// the test drive T:, masks "*.tmp" and "*.bak".
struct Program : ::testing::Test {
  FakeWindows win;
  TUOptionsDialog optionsDialog{win.platform};
  TMainForm form{win.platform, optionsDialog};
  FakeView mainView, optionsView;

  Program() {
    win.fs.AddDrive('T');
    win.fs.WriteFile("C:\\Program Files\\Scourly\\settings.ini",
                     "[options]\r\nextn0=*.tmp\r\nextn1=*.bak\r\ntotal_extn=1\r\ntotal_chkd=2\r\n"
                     "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\ntotal_drives=1\r\n");
    form.view = &mainView;
    optionsDialog.view = &optionsView;
    form.pumpBudgetMs = 0;
    form.FormCreate();
    optionsDialog.FormCreate();
    form.FormShow();
  }

  void Files() {
    win.fs.AddFile("T:\\a.tmp", 1000);
    win.fs.AddFile("T:\\d\\b.bak", 2500);
    win.fs.AddFile("T:\\e.txt", 0);
  }
  std::vector<std::string> Panels() { return {form.StatusBar1.panels.begin(), form.StatusBar1.panels.end()}; }
  std::vector<std::string> Paths(const ResultList& list) {
    std::vector<std::string> paths;
    for (const ResultRow& row : list.Rows()) paths.push_back(row.FullPath());
    return paths;
  }
};

using Texts = std::vector<std::string>;

TEST_F(Program, StartsWithDeleteButtonsOffAndResetPanels) {
  EXPECT_FALSE(form.DeleteAllTB.enabled);
  EXPECT_FALSE(form.DeleteSelTB.enabled);
  EXPECT_TRUE(form.FindFilesTB.enabled);
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"}));
  EXPECT_EQ(form.DeleteAllTB.hint, "Delete All files to the Reycle Bin");
  EXPECT_EQ(form.DeletePermanently1.caption, "Delete Selected files Permanently");
}

TEST_F(Program, FindFilesListsRowsAndSetsButtonsAndTotals) {
  Files();
  form.FindFilesTBClick();
  EXPECT_EQ(Paths(form.ListBox1), (Texts{"T:\\a.tmp", "T:\\d\\b.bak", "T:\\e.txt"}));
  EXPECT_EQ(form.ListBox1[0].Text(), "a.tmp;T:\\;1000;15.03.2024");
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 3", "3 kB"}));
  EXPECT_EQ(form.TotalSizeText[0], "3 kB");
  EXPECT_TRUE(form.DeleteAllTB.enabled);
  EXPECT_TRUE(form.FindFilesTB.enabled);
  EXPECT_FALSE(form.DeleteSelTB.enabled);
  EXPECT_EQ(win.ui.hourglassChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(win.ui.messages.empty());

  // Selecting rows: the refresh step.
  form.ListBox1.SetSelection({0, 1});
  form.ListBox1Click();
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 3 kB", "Selected Files: 2", "Total Files: 3", "3 kB"}));
  EXPECT_TRUE(form.DeleteSelTB.enabled);
}

TEST_F(Program, FindFilesThatFindsNothingStillShowsExactFigures) {
  Files();
  form.FindFilesTBClick();
  win.fs.Take("T:\\a.tmp");
  win.fs.Take("T:\\d");
  win.fs.Take("T:\\e.txt");
  form.FindFilesTBClick();
  EXPECT_EQ(form.ListBox1.Count(), 0);
  EXPECT_TRUE(form.DeleteAllTB.enabled);
  EXPECT_FALSE(form.DeleteSelTB.enabled);
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"}));
}

TEST_F(Program, ScanIsDisabledWhileItRunsAndListEmpty) {
  Files();
  form.ListBox1.Assign({{"old", "T:\\", 1, "x"}});
  bool checked = false;
  win.ui.onPump = [&] {
    if (checked) return;
    checked = true;
    EXPECT_FALSE(form.FindFilesTB.enabled);
    EXPECT_EQ(form.ListBox1.Count(), 0);
    EXPECT_EQ(form.StatusBar1.Get(1), "");
  };
  form.FindFilesTBClick();
  EXPECT_TRUE(checked);
}

TEST_F(Program, StopDuringTheOnlyDrivePublishesWhatWasFound) {
  Files();
  win.ui.onPump = [&] {
    if (form.StatusBar1.Get(2) == "Total Files: 1") form.StopTBClick();
  };
  form.FindFilesTBClick();
  EXPECT_TRUE(form.StopFlag);
  EXPECT_EQ(Paths(form.ListBox1), (Texts{"T:\\a.tmp"}));
  EXPECT_EQ(form.StatusBar1.Get(2), "Total Files: 1");
}

TEST_F(Program, StopDuringTheFirstOfTwoDrivesPublishesNothing) {
  Files();
  optionsDialog.options.DrivesBox.items[0].checked = true;  // C: first, then T:
  win.fs.AddFile("C:\\c.tmp", 10);
  win.ui.onPump = [&] {
    if (form.StatusBar1.Get(2) == "Total Files: 1") form.StopTBClick();
  };
  form.FindFilesTBClick();
  EXPECT_EQ(form.ListBox1.Count(), 0);
  // Stop on the empty list also cleared the panels.
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 0", "0 B"}));
}

TEST_F(Program, StopOutlivesTheScanUntilFindFiles) {
  Files();
  form.StopTBClick();
  form.ScanUnneededFiles1Click();
  EXPECT_EQ(form.ListBox1.Count(), 0);
  EXPECT_EQ(win.ui.pumps, 0);
  form.FindFilesTBClick();
  EXPECT_EQ(form.ListBox1.Count(), 3);
  EXPECT_FALSE(form.StopFlag);
}

TEST_F(Program, ScanRequestsDuringAScanAreIgnored) {
  Files();
  bool asked = false;
  win.ui.onPump = [&] {
    if (asked) return;
    asked = true;
    form.FindFiles1Click();
    form.ScanUnneededFiles1Click();
    EXPECT_FALSE(form.FindFilesTB.enabled);  // still the first scan's state
  };
  form.FindFilesTBClick();
  EXPECT_TRUE(asked);
  EXPECT_EQ(Paths(form.ListBox1), (Texts{"T:\\a.tmp", "T:\\d\\b.bak", "T:\\e.txt"}));
  EXPECT_EQ(win.ui.hourglassChanges, (std::vector<bool>{true, false}));
  // Once it has ended, scans run again.
  form.ScanUnneededFiles1Click();
  EXPECT_EQ(form.ListBox1.Count(), 3);
  EXPECT_FALSE(form.FindFilesTB.enabled);
}

// Closing the window during a scan used to leave the process walking every
// drive with no window: the scan stops, and the window closes once it ended.
TEST_F(Program, ClosingDuringAScanStopsItThenCloses) {
  Files();
  optionsDialog.options.DrivesBox.items[0].checked = true;  // C: first, then T:
  win.fs.AddFile("C:\\c.tmp", 10);
  bool mayClose = true;
  win.ui.onPump = [&] {
    if (!mayClose) return;
    mayClose = form.FormCloseQuery();
    EXPECT_EQ(mainView.closes, 0) << "not while the scan is on the stack";
  };
  form.FindFilesTBClick();
  EXPECT_FALSE(mayClose);
  EXPECT_TRUE(form.StopFlag);
  EXPECT_EQ(form.ListBox1.Count(), 0) << "stopped before the second drive";
  EXPECT_EQ(mainView.closes, 1);
  EXPECT_TRUE(form.FormCloseQuery()) << "no scan: the window may close";
}

// Clear during a scan used to turn the hourglass off and enable Find Files
// while the scan went on.
TEST_F(Program, ClearDuringAScanKeepsTheScansCursorAndButton) {
  Files();
  bool cleared = false;
  win.ui.onPump = [&] {
    if (cleared) return;
    cleared = true;
    form.ClearTBClick();
    EXPECT_TRUE(win.ui.hourglass);
    EXPECT_FALSE(form.FindFilesTB.enabled);
  };
  form.FindFilesTBClick();
  EXPECT_TRUE(cleared);
  EXPECT_FALSE(win.ui.hourglass);
  EXPECT_TRUE(form.FindFilesTB.enabled);
  EXPECT_EQ(win.ui.hourglassChanges, (std::vector<bool>{true, false}));
}

TEST_F(Program, StopWithRowsOnlySetsTheFlag) {
  Files();
  form.FindFilesTBClick();
  form.StopTBClick();
  EXPECT_TRUE(form.StopFlag);
  EXPECT_EQ(form.ListBox1.Count(), 3);
  EXPECT_TRUE(form.DeleteAllTB.enabled);
}

TEST_F(Program, FileMenuScanLeavesButtonsAndCursorAlone) {
  Files();
  form.UserSelectsTab(kTabRecent);
  form.ScanUnneededFiles1Click();
  EXPECT_EQ(form.ActiveTab(), kTabUnneeded);
  EXPECT_EQ(form.ListBox1.Count(), 3);
  EXPECT_FALSE(form.FindFilesTB.enabled);  // until Clear or a tab change
  EXPECT_TRUE(win.ui.hourglassChanges.empty());
  // The tab change step did not run: the hint is still the Recent Files one.
  EXPECT_EQ(form.FindFilesTB.hint,
            "Click to find the Recent Documents. This action will not delete files.");
  form.ClearTBClick();
  EXPECT_TRUE(form.FindFilesTB.enabled);
  EXPECT_EQ(form.ListBox1.Count(), 0);
  EXPECT_EQ(form.TotalSizeText[0], "3 kB");  // Clear keeps the total text
}

TEST_F(Program, NoCheckedTypesInTheFileAsksFirst) {
  Files();
  win.fs.WriteFile("C:\\Program Files\\Scourly\\settings.ini",
                   "[options]\r\nextn0=*.tmp\r\ntotal_extn=0\r\ntotal_chkd=0\r\n"
                   "[drives]\r\ndrive0=T:\\\r\ntotal_drives=0\r\n");
  form.FindFilesTBClick();  // answered No
  ASSERT_EQ(win.ui.messages.size(), 2u);
  EXPECT_EQ(win.ui.messages[0].text, "No unneeded file types are specified. Do u want to specify now?");
  EXPECT_EQ(win.ui.messages[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(win.ui.messages[0].icon, MsgIcon::kInformation);
  EXPECT_EQ(win.ui.messages[1].text, "Scourly will now proceed to search for files");
  EXPECT_EQ(win.ui.messages[1].caption, "Scourly");
  EXPECT_EQ(optionsView.modalShows, 0);
  EXPECT_EQ(form.ListBox1.Count(), 3);  // the live list still has *.tmp checked

  win.ui.answers.push_back(MsgResult::kYes);
  form.FindFilesTBClick();
  EXPECT_EQ(optionsView.modalShows, 1);
  EXPECT_EQ(win.ui.messages.size(), 4u);
}

TEST_F(Program, TabChangesSetHintsCaptionsAndButtons) {
  form.UserSelectsTab(kTabFavorites);
  EXPECT_EQ(form.DeletePermanently1.caption, "Delete Selected file Permanently");
  EXPECT_EQ(form.DeleteAllTB.hint, "Delete All files to the Recycle Bin");
  EXPECT_EQ(form.DeleteSelTB.hint, "Delete Selected Files to the Recycle Bin");

  form.UserSelectsTab(kTabBrowserCache);
  EXPECT_EQ(form.DeletePermanently1.caption, "Delete Selected files Permanently");
  EXPECT_EQ(form.DeleteAllTB.hint, "Delete All files Permanently");
  EXPECT_FALSE(form.Open1.enabled);
  EXPECT_FALSE(form.Delete1.enabled);
  EXPECT_EQ(form.FindFilesTB.hint,
            "Click to find all files in the IE Cache. You can Filter the files to see a particular "
            "type.\r\nThis action will not delete files.");

  form.UserSelectsTab(kTabDeadShortcuts);
  form.UserSelectsSubTab(kSubTabMore);  // the sub-tab survives the main tab change
  form.UserSelectsTab(kTabBrowserCache);
  EXPECT_FALSE(form.FindFilesTB.enabled);  // "More" has nothing to find
  EXPECT_FALSE(form.Open1.enabled);
  EXPECT_EQ(form.DeletePermanently1.caption, "Delete Selected file Permanently");
  EXPECT_EQ(form.DeleteAllTB.hint, "Delete All files to the Recycle Bin");

  form.UserSelectsTab(kTabUnneeded);
  EXPECT_TRUE(form.FindFilesTB.enabled);
  EXPECT_TRUE(form.Open1.enabled);
}

TEST_F(Program, TabWithRowsButNoSelectionDisablesDeleteSelected) {
  Files();
  form.FindFilesTBClick();
  form.ListBox1.SetSelection({0});
  form.ListBox1Click();
  form.UserSelectsTab(kTabRecent);
  EXPECT_FALSE(form.DeleteAllTB.enabled);
  EXPECT_TRUE(form.DeleteSelTB.enabled);  // an empty list leaves it as it was
  form.ListBox1.SetSelection({});
  form.UserSelectsTab(kTabUnneeded);
  EXPECT_TRUE(form.DeleteAllTB.enabled);
  EXPECT_FALSE(form.DeleteSelTB.enabled);
  EXPECT_EQ(Panels(), (Texts{"Selected Size: 0 B", "Selected Files: 0", "Total Files: 3", "3 kB"}));
}

// Delete All follows the list on view: a file tab's scan turns it on, and
// the Browser Cache tab, whose IE Cache list was never scanned (or whose
// "More" sub-tab has no list), turns it off again. Pressed all the same, it
// deletes no cache entry.
TEST_F(Program, DeleteAllOnTheBrowserCacheTabFollowsItsOwnList) {
  win.urlCache.Add("Cookie:me@a.test/", 0x100000, 10);
  win.urlCache.Add("http://a.test/page.html", 0x1, 20);
  Files();
  form.FindFilesTBClick();
  ASSERT_TRUE(form.DeleteAllTB.enabled);
  form.ListBox1.SetSelection({0});
  form.ListBox1Click();
  ASSERT_TRUE(form.DeleteSelTB.enabled);

  for (int subTab : {kSubTabIECache, kSubTabMore}) {
    SCOPED_TRACE(subTab == kSubTabMore ? "More" : "IE Cache");
    form.UserSelectsTab(kTabUnneeded);
    ASSERT_TRUE(form.DeleteAllTB.enabled);
    form.PageControl2.activeIndex = subTab;
    form.UserSelectsTab(kTabBrowserCache);
    EXPECT_FALSE(form.DeleteAllTB.enabled) << "nothing is listed on this tab";
    if (subTab == kSubTabMore) EXPECT_FALSE(form.DeleteSelTB.enabled);
    form.DeleteAllTBClick();
    form.Delete1Click();  // DeleteSelTB's handler
    EXPECT_EQ(win.urlCache.Urls().size(), 2u) << "an entry went that no row showed";
  }
  EXPECT_EQ(form.ListBox1.Count(), 3) << "the file tab's rows are not this tab's";
  EXPECT_EQ(win.purgix.calls, 0);

  // Scanned, the list turns it on again, and Delete All takes what it shows.
  form.PageControl2.activeIndex = kSubTabIECache;
  form.UserSelectsTab(kTabUnneeded);
  form.UserSelectsTab(kTabBrowserCache);
  form.FindFilesTBClick();
  ASSERT_EQ(form.ListBox4.Count(), 2);
  form.UserSelectsTab(kTabRecent);
  form.UserSelectsTab(kTabBrowserCache);
  EXPECT_TRUE(form.DeleteAllTB.enabled);
  win.urlCache.Add("http://a.test/later.png", 0x1, 30);  // after the scan
  form.DeleteAllTBClick();
  EXPECT_EQ(win.urlCache.Urls(), Texts{"http://a.test/later.png"});
}

// Delete Selected tells the user, as Delete All does, when the hand-off file
// cannot be written; the Delete key too. Nothing changes.
TEST_F(Program, DeleteSelectedReportsAHandOffFileThatCannotBeWritten) {
  Files();
  form.FindFilesTBClick();
  win.fs.Find("C:\\Program Files\\Scourly")->readOnlyFolder = true;
  form.ListBox1.SetSelection({0, 1});
  form.ListBox1Click();
  EXPECT_THROW(form.Delete1Click(), HandOffError);
  EXPECT_THROW(form.ListBox1KeyDown(kVkDelete), HandOffError);
  EXPECT_THROW(form.DeleteAllTBClick(), HandOffError);
  EXPECT_EQ(form.ListBox1.Count(), 3);
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_TRUE(win.fs.Exists("T:\\a.tmp"));
}

TEST_F(Program, ResizeMovesTheMoreSheetOnlyWhenItIsShown) {
  form.MoreSheetWidth = 801;
  form.FormResize();
  EXPECT_EQ(form.GroupBox2.width, 277);  // as designed: not the "More" sheet
  form.UserSelectsTab(kTabBrowserCache);
  form.UserSelectsSubTab(kSubTabMore);
  form.Minimized = true;
  form.FormResize();
  EXPECT_EQ(form.GroupBox2.width, 277);
  form.Minimized = false;
  form.FormResize();
  EXPECT_EQ(form.GroupBox2.width, 401);
  EXPECT_EQ(form.SpeedButton1.left, 369);
  form.MoreSheetWidth = 553;
  form.FormResize();
  EXPECT_EQ(form.GroupBox2.width, 277);
  EXPECT_EQ(form.GroupBox3.width, 277);
  EXPECT_EQ(form.GroupBox3.left, 276);
  for (const Bounds* b : {&form.NProfile, &form.NCacheDir, &form.OProgramDir, &form.OCacheDir})
    EXPECT_EQ(b->width, 235);
  for (const Bounds* b : {&form.SpeedButton1, &form.SpeedButton2, &form.SpeedButton3, &form.SpeedButton4})
    EXPECT_EQ(b->left, 245);
}

TEST_F(Program, ErrorInsideFindFilesRestoresTheCursorAndReachesTheErrorBox) {
  Files();
  win.ui.onPump = [] { throw AppError("boom"); };
  EXPECT_THROW(form.FindFilesTBClick(), AppError);
  EXPECT_FALSE(win.ui.hourglass);
}

TEST_F(Program, ExitAndTrayAndOptions) {
  form.Exit1Click();
  EXPECT_EQ(mainView.closes, 1);
  form.TrayIconDblClick();
  EXPECT_EQ(mainView.shows, 1);
  form.OptionsTBClick();
  EXPECT_EQ(optionsView.shows, 1);
}

}  // namespace
}  // namespace scourly

namespace scourly {
namespace {

using fake::FakeView;
using fake::FakeWindows;

// The commands that reach every tab: Find Files and the File menu on the
// tabs with their own scans, the selection and opening commands, the Delete
// key and the column headers.
struct Tabs : ::testing::Test {
  FakeWindows win;
  TUOptionsDialog optionsDialog{win.platform};
  TMainForm form{win.platform, optionsDialog};
  FakeView mainView, optionsView;

  Tabs() {
    win.fs.AddDrive('T');
    win.fs.WriteFile("C:\\Program Files\\Scourly\\settings.ini",
                     "[options]\r\nextn0=*.tmp\r\ntotal_extn=0\r\ntotal_chkd=1\r\n"
                     "[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\ntotal_drives=1\r\n");
    win.shell.specialFolders[kCsidlRecent] = "C:\\Users\\u\\Recent";
    win.fs.AddFile("C:\\Users\\u\\Recent\\b.lnk", 300);
    win.fs.AddFile("C:\\Users\\u\\Recent\\a.lnk", 200);
    form.view = &mainView;
    optionsDialog.view = &optionsView;
    form.pumpBudgetMs = 0;
    form.FormCreate();
    optionsDialog.FormCreate();
    form.FormShow();
  }
  std::vector<std::string> Names(const ResultList& list) {
    std::vector<std::string> names;
    for (const ResultRow& row : list.Rows()) names.push_back(row.Name());
    return names;
  }
};

TEST_F(Tabs, EachTabsFindFilesAndFileMenuReachItsScan) {
  form.UserSelectsTab(kTabRecent);
  form.FindFilesTBClick();
  EXPECT_EQ(Names(form.ListBox2), (std::vector<std::string>{"b.lnk", "a.lnk"}));
  EXPECT_EQ(form.TotalSizeText[kTabRecent], "500 B");
  EXPECT_TRUE(form.FindFilesTB.enabled);

  win.shell.links["T:\\gone.lnk"] = ShortcutFields{"T:\\missing.exe"};
  win.fs.AddFile("T:\\gone.lnk", 700);
  form.ScanforDeadShortcuts1Click();
  EXPECT_EQ(form.ActiveTab(), kTabDeadShortcuts);
  EXPECT_EQ(Names(form.ListBox5), (std::vector<std::string>{"gone.lnk"}));
  EXPECT_FALSE(form.FindFilesTB.enabled) << "a File menu scan leaves Find Files to the tab change";

  win.urlCache.Add("http://a.example/", 0x1, 1536);
  form.ScanforIECahefiles1Click();
  EXPECT_EQ(form.ActiveTab(), kTabBrowserCache);
  EXPECT_EQ(form.IECacheView().RadioGroup1.itemIndex, kFilterAll);
  ASSERT_EQ(form.ListBox4.Count(), 1);
  EXPECT_EQ(form.StatusBar1.Get(3), "1 kB");
}

TEST_F(Tabs, SelectionOpeningAndTheDeleteKey) {
  form.UserSelectsTab(kTabRecent);
  form.FindFilesTBClick();
  form.SelectAllTBClick();
  EXPECT_EQ(form.ListBox2.SelCount(), 2);
  EXPECT_EQ(form.StatusBar1.Get(1), "Selected Files: 2");
  EXPECT_FALSE(form.DeleteSelTB.enabled) << "Select All leaves the button as Find Files set it";
  form.InvertSelTBClick();
  EXPECT_EQ(form.StatusBar1.Get(0), "Selected Size 0 B");
  EXPECT_EQ(win.ui.hourglassChanges.size() % 2, 0u);

  form.ListBox2.itemIndex = 1;
  form.ListBox2DblClick();
  ASSERT_EQ(win.shell.opened.size(), 1u);
  EXPECT_EQ(win.shell.opened[0].target, "C:\\Users\\u\\Recent\\a.lnk");
  EXPECT_EQ(win.shell.opened[0].show, ShowCommand::kShowNormal);

  form.ListBox2KeyDown(kVkDelete);  // nothing selected: nothing happens
  EXPECT_EQ(win.purgix.calls, 0);
  form.ListBox2.SetSelection({0});
  form.ListBox2KeyDown('A');
  EXPECT_EQ(win.purgix.calls, 0);
  const size_t boxes = win.ui.messages.size();
  form.ListBox2KeyDown(kVkDelete);
  EXPECT_EQ(win.purgix.recycleBin, (std::vector<std::string>{"C:\\Users\\u\\Recent\\b.lnk"}));
  EXPECT_EQ(win.ui.messages.size(), boxes) << "the key shows no notice";

  form.UserSelectsTab(kTabBrowserCache);
  form.OpenTBClick();
  EXPECT_EQ(win.shell.opened.size(), 1u) << "nothing opens on the Browser Cache tab";
}

TEST_F(Tabs, FileNameHeaderKeepsLaterScansSorted) {
  form.UserSelectsTab(kTabRecent);
  form.FindFilesTBClick();
  form.ListBox2.SetSelection({0});
  form.ListBox2HeaderSectionClick(0);
  EXPECT_EQ(form.ListBox2.SelCount(), 0);
  EXPECT_EQ(form.StatusBar1.Get(0), "Selected Size: 0 B");
  win.fs.AddFile("C:\\Users\\u\\Recent\\0.lnk", 5);
  form.FindFilesTBClick();
  EXPECT_EQ(Names(form.ListBox2), (std::vector<std::string>{"0.lnk", "a.lnk", "b.lnk"}));
  form.ListBox2HeaderSectionClick(2);  // "Size (B)": the sorted state ends
  EXPECT_EQ(Names(form.ListBox2), (std::vector<std::string>{"0.lnk", "a.lnk", "b.lnk"}));
  EXPECT_FALSE(form.ListBox2.sorted);
}

}  // namespace
}  // namespace scourly
