#include <gtest/gtest.h>

#include "app/main_form.h"
#include "delete/deletion.h"
#include "lists/app_error.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using fake::FakeWindows;

constexpr const char* kHandOff = "C:\\Program Files\\Scourly\\FList.txt";

struct Deletion : ::testing::Test {
  FakeWindows win;
  StatusBar bar;
  bool stopFlag = false;
  DeletionContext ctx{win.platform, bar, stopFlag};
  ResultList list;

  // Six files in T:\d\ named f0..f5 of 100 bytes each, listed in that order.
  void SixFiles() {
    std::vector<ResultRow> rows;
    for (int i = 0; i < 6; ++i) {
      std::string name = "f" + std::to_string(i);
      win.fs.AddFile("T:\\d\\" + name, 100);
      rows.push_back({name, "T:\\d\\", 100, "x"});
    }
    list.Assign(std::move(rows));
    bar.Set(2, "Total Files: 6");
    bar.Set(3, "600 B");
  }
  std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    for (const ResultRow& row : list.Rows()) names.push_back(row.Name());
    return names;
  }
};

using Strings = std::vector<std::string>;

TEST_F(Deletion, SelectedToRecycleBinLastToFirst) {
  SixFiles();
  list.SetSelection({2, 5});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.purgix.lastHandOff, "T:\\d\\f5\r\nT:\\d\\f2\r\n");
  EXPECT_EQ(win.fs.Content(kHandOff), "T:\\d\\f5\r\nT:\\d\\f2\r\n");  // left on disk
  EXPECT_EQ(win.purgix.recycleBin, (Strings{"T:\\d\\f5", "T:\\d\\f2"}));
  EXPECT_EQ(ListedNames(), (Strings{"f0", "f1", "f3", "f4"}));
  EXPECT_EQ(bar.panels, (std::array<std::string, 4>{"Selected Size: 0 B", "Selected Files: 0",
                                                    "Total Files: 4", "400 B"}));
}

TEST_F(Deletion, TotalsComeBackFromThePanels) {
  list.Assign({{"a", "T:\\", 1000, "x"}, {"b", "T:\\", 300, "x"}});
  bar.Set(2, "Total Files: 2");
  bar.Set(3, "3 kB");
  list.SetSelection({0});
  DeleteSel(ctx, list, false);
  EXPECT_EQ(bar.Get(3), "2 kB");  // 3 * 1024 - 1000 = 2072
  EXPECT_EQ(bar.Get(2), "Total Files: 1");

  list.Assign({{"a", "T:\\", 300, "x"}});
  bar.Set(3, "800 B");
  list.SetSelection({0});
  DeleteSel(ctx, list, false);
  EXPECT_EQ(bar.Get(3), "500 B");
}

TEST_F(Deletion, PermanentDeletionRemovesEntriesEvenWhenFilesStay) {
  SixFiles();
  win.fs.Find("T:\\d\\f1")->attributes |= kAttrReadOnly;
  win.fs.Find("T:\\d\\f3")->locked = true;
  list.SetSelection({0, 1, 3});
  DeleteSel(ctx, list, false);
  EXPECT_FALSE(win.fs.Exists("T:\\d\\f0"));
  EXPECT_TRUE(win.fs.Exists("T:\\d\\f1"));  // read-only stays
  EXPECT_TRUE(win.fs.Exists("T:\\d\\f3"));  // in use stays
  EXPECT_EQ(ListedNames(), (Strings{"f2", "f4", "f5"}));
  EXPECT_EQ(bar.Get(2), "Total Files: 3");
  EXPECT_EQ(win.purgix.calls, 0);
}

TEST_F(Deletion, NothingSelectedChangesNothing) {
  SixFiles();
  bar.Set(0, "keep");
  DeleteSel(ctx, list, true);
  DeleteSel(ctx, list, false);
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(bar.Get(0), "keep");
  EXPECT_EQ(win.purgix.calls, 0);
}

TEST_F(Deletion, StopFlagStopsEveryCommand) {
  SixFiles();
  win.fs.WriteFile(kHandOff, "old\r\n");
  stopFlag = true;
  list.SetSelection({0});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.fs.Content(kHandOff), "");  // emptied, library not called
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_EQ(list.Count(), 6);

  bar.Set(0, "Selected Size: 100 B");
  DeleteSel(ctx, list, false);
  EXPECT_TRUE(win.fs.Exists("T:\\d\\f0"));
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(bar.Get(0), "Selected Size: 0 B");  // panels set from the unchanged totals
  EXPECT_EQ(bar.Get(2), "Total Files: 6");

  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_EQ(list.Count(), 6);
}

TEST_F(Deletion, DeleteAllHandsOverEveryEntryFirstToLast) {
  SixFiles();
  list.SetSelection({4});
  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.recycleBin.size(), 6u);
  EXPECT_EQ(win.purgix.lastHandOff.substr(0, 18), "T:\\d\\f0\r\nT:\\d\\f1\r\n");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(bar.panels, (std::array<std::string, 4>{"Selected Size: 0 B", "Selected Files: 0",
                                                    "Total Files: 0", "0 B"}));
  // On an empty list the file is emptied and the library still called.
  DeleteAll(ctx, list);
  EXPECT_EQ(win.purgix.calls, 2);
  EXPECT_EQ(win.fs.Content(kHandOff), "");
}

TEST_F(Deletion, HandOffFileThatCannotBeWritten) {
  SixFiles();
  win.fs.WriteFile(kHandOff, "");
  win.fs.Find(kHandOff)->attributes |= kAttrReadOnly;
  list.SetSelection({1});
  DeleteSel(ctx, list, true);  // quietly nothing
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(win.purgix.calls, 0);
  try {
    DeleteAll(ctx, list);
    FAIL() << "delete all must report the write error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "File access denied");
  }
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(InOutErrorText(112), "Disk full");
  EXPECT_EQ(InOutErrorText(3), "I/O error 3");
}

TEST_F(Deletion, ExactPathsForNamesWithDelimitersAndNoSeparatorAdded) {
  win.fs.AddFile("C:\\WINDOWS\\TEMP\\~DF12.tmp", 5);
  win.fs.AddFile("T:\\a;b.tmp", 5);
  win.fs.AddFile("T:\\a", 5);  // what a split row would have named
  list.Assign({{"~DF12.tmp", "C:\\WINDOWS\\TEMP\\", 5, "x"}, {"a;b.tmp", "T:\\", 5, "x"}});
  bar.Set(2, "Total Files: 2");
  bar.Set(3, "10 B");
  list.SetSelection({0, 1});
  DeleteSel(ctx, list, true);
  EXPECT_EQ(win.purgix.lastHandOff, "T:\\a;b.tmp\r\nC:\\WINDOWS\\TEMP\\~DF12.tmp\r\n");
  EXPECT_TRUE(win.fs.Exists("T:\\a"));
  EXPECT_FALSE(win.fs.Exists("T:\\a;b.tmp"));
}

TEST_F(Deletion, MissingLibrarySaysSoAndKeepsTheList) {
  SixFiles();
  win.purgix.available = false;
  list.SetSelection({0});
  DeleteSel(ctx, list, true);
  DeleteAll(ctx, list);
  EXPECT_EQ(list.Count(), 6);
  ASSERT_EQ(win.ui.messages.size(), 2u);
  EXPECT_EQ(win.ui.messages[0].text, kPurgixMissingText);
  EXPECT_TRUE(win.fs.Exists("T:\\d\\f0"));
}

// The commands of the main window around the two routines.
struct DeleteCommands : ::testing::Test {
  FakeWindows win;
  TUOptionsDialog optionsDialog{win.platform};
  TMainForm form{win.platform, optionsDialog};

  DeleteCommands() {
    win.fs.AddDrive('T');
    win.fs.AddFile("T:\\a.tmp", 10);
    win.fs.AddFile("T:\\b.tmp", 20);
    win.fs.WriteFile("C:\\Program Files\\Scourly\\settings.ini",
                     "[options]\r\nextn0=*.tmp\r\ntotal_extn=0\r\ntotal_chkd=1\r\n"
                     "[drives]\r\ndrive0=T:\\\r\ntotal_drives=0\r\n");
    form.pumpBudgetMs = 0;
    form.FormCreate();
    optionsDialog.FormCreate();
    form.FormShow();
    form.FindFilesTBClick();
  }
};

TEST_F(DeleteCommands, NoticeFirstThenButtonsOff) {
  form.ListBox1.SetSelection({1});
  form.ListBox1Click();
  ASSERT_TRUE(form.DeleteSelTB.enabled);
  form.Delete1Click();
  ASSERT_EQ(win.ui.messages.size(), 1u);
  EXPECT_EQ(win.ui.messages[0].text, "Some files may not be deleted if in use");
  EXPECT_EQ(win.ui.messages[0].icon, MsgIcon::kNone);
  EXPECT_FALSE(form.DeleteSelTB.enabled);
  EXPECT_EQ(win.purgix.recycleBin, (std::vector<std::string>{"T:\\b.tmp"}));
  EXPECT_EQ(form.StatusBar1.Get(2), "Total Files: 1");
  EXPECT_EQ(form.StatusBar1.Get(3), "10 B");
  EXPECT_EQ(form.TotalSizeText[0], "30 B");  // deletion leaves the scan's total

  form.DeletePerTBClick();  // nothing selected: notice, nothing deleted
  EXPECT_EQ(win.ui.messages.size(), 2u);
  EXPECT_TRUE(win.fs.Exists("T:\\a.tmp"));

  form.DeleteAllTBClick();
  EXPECT_EQ(win.ui.messages.back().text, "Some files may not be deleted if in use!");
  EXPECT_FALSE(form.DeleteAllTB.enabled);
  EXPECT_FALSE(win.fs.Exists("T:\\a.tmp"));
  EXPECT_EQ(form.ListBox1.Count(), 0);
}

TEST_F(DeleteCommands, BrowserCacheTabDeletesNoFile) {
  form.ListBox1.SetSelection({0, 1});
  form.UserSelectsTab(kTabBrowserCache);
  form.Delete1Click();
  form.DeleteAllTBClick();
  EXPECT_EQ(win.purgix.calls, 0);
  EXPECT_EQ(form.ListBox1.Count(), 2);
}

}  // namespace
}  // namespace scourly
