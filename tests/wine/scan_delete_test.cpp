// The unneeded-file scan and the delete commands of the main window, run with
// the real file system, locale and Purgix.dll over a folder tree on T:.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "app/main_form.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "scan/scan_progress.h"
#include "scan/unneeded_scan.h"
#include "tests/support/box_answerer.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::BoxAnswerer;
using support::Exists;
using support::ExistsExactly;
using support::ExeFolder;
using support::MakeFile;
using support::MakeFolder;
using support::ReadAll;
using support::RemoveProgramFile;
using support::ScriptedUi;
using support::SetAttributes;
using support::TestFolder;
using support::TrashedAs;

// The program's settings with only the test drive checked (C: would walk the
// whole prefix).
const char* const kTestDriveOnlySettings =
    "[options]\r\nextn0=*.tmp\r\nextn_chkd0=1\r\nextn1=*.---\r\nextn_chkd1=1\r\n"
    "extn2=*.??~\r\nextn_chkd2=1\r\nextn3=*.bak\r\nextn_chkd3=1\r\nextn4=*.old\r\n"
    "extn_chkd4=1\r\nextn5=*.~*\r\nextn_chkd5=1\r\nTempFiles=0\r\ntotal_extn=5\r\n"
    "total_chkd=6\r\n[drives]\r\ndrive0=C:\\\r\nchkd0=0\r\ndrive1=T:\\\r\nchkd1=1\r\n"
    "total_drives=1\r\ndrives_chkd=1\r\n";

class MainWindowOnTestDrive : public testing::Test {
 protected:
  MainWindowOnTestDrive()
      : options(platform), form(platform, options) {}

  void SetUp() override {
    RemoveProgramFile("settings.ini");
    RemoveProgramFile("FList.txt");
    // The first start writes the defaults; the user then unchecks C: and
    // presses OK.
    options.FormCreate();
    ASSERT_EQ(options.options.DrivesBox.Count(), 2);
    ASSERT_EQ(options.options.DrivesBox.items[0].text, "C:\\");
    options.options.DrivesBox.items[0].checked = false;
    options.OKBtnClick();
    form.FormCreate();
    form.FormShow();
    form.pumpBudgetMs = 0;
  }
  void TearDown() override {
    RemoveProgramFile("settings.ini");
    RemoveProgramFile("FList.txt");
  }

  // The tree every test scans.
  void MakeTree() {
    MakeFile(dir / "a.tmp", "0123456789");
    MakeFile(dir / "empty.txt", "");
    MakeFile(dir / "empty.tmp", "");  // an empty file is the empty walk's, not the mask's
    MakeFile(dir / "hidden.bak", "hhhhh");
    MakeFile(dir / "system.bak", "sssss");
    MakeFile(dir / "system-empty.txt", "");
    MakeFile(dir / "keep.txt", "kkk");
    MakeFile(dir / "report.bakup", "rrrrrr");  // its 8.3 alias REPORT~1.BAK must not count
    MakeFile(dir / "x;y.old", "xyxy");
    MakeFile(dir / "Grüße_日本.tmp", "unicode");
    MakeFile(dir / "b.ba~", "bb");
    MakeFile(dir / "file.~x", "f");
    MakeFolder(dir / "nested");
    MakeFolder(dir / "nested\\deeper");
    MakeFile(dir / "nested\\deeper\\n.bak", "nn");
    MakeFile(dir / "nested\\e.tmp", "");
    MakeFolder(dir / "nested\\sendto");  // only "SendTo" exactly is passed over
    MakeFile(dir / "nested\\sendto\\t.tmp", "ttt");
    MakeFolder(dir / "SendTo");
    MakeFile(dir / "SendTo\\s.tmp", "sss");
    MakeFile(dir / "SendTo\\z.txt", "");
    SetAttributes(dir / "hidden.bak", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(dir / "system.bak", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(dir / "system-empty.txt", FILE_ATTRIBUTE_SYSTEM);
  }

  // The rows of ListBox1 in our folder, as (location, name, size).
  std::multiset<std::tuple<std::string, std::string, uint64_t>> OurRows() {
    std::multiset<std::tuple<std::string, std::string, uint64_t>> rows;
    for (const ResultRow& row : form.ListBox1.Rows()) {
      EXPECT_EQ(row.Location().rfind("T:\\", 0), 0u) << "only T: is checked: " << row.Text();
      if (row.Location().rfind(dir.path() + "\\", 0) == 0)
        rows.insert({row.Location().substr(dir.path().size()), row.Name(), row.Size()});
    }
    return rows;
  }

  // Selects the rows of `names` in `folder`.
  void Select_(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<int> indexes;
    for (int i = 0; i < form.ListBox1.Count(); ++i) {
      if (form.ListBox1[i].Location().rfind(folder + "\\", 0) == 0 &&
          std::find(names.begin(), names.end(), form.ListBox1[i].Name()) != names.end())
        indexes.push_back(i);
    }
    form.ListBox1.SetSelection(indexes);
    form.ListBox1Click();
  }

  void Select(const std::vector<std::string>& names) {
    std::vector<int> indexes;
    for (int i = 0; i < form.ListBox1.Count(); ++i) {
      if (form.ListBox1[i].Location().rfind(dir.path() + "\\", 0) == 0 &&
          std::find(names.begin(), names.end(), form.ListBox1[i].Name()) != names.end())
        indexes.push_back(i);
    }
    ASSERT_EQ(indexes.size(), names.size());
    form.ListBox1.SetSelection(indexes);
    form.ListBox1Click();
  }

  support::ScriptedWindows real;
  ScriptedUi& ui = real.ui;
  Win32FileSystem& fs = real.windows.fs;
  Win32Locale& locale = real.windows.locale;
  Platform& platform = real.platform;
  TUOptionsDialog options;
  TMainForm form;
  TestFolder dir{"scan"};
};

TEST_F(MainWindowOnTestDrive, OptionsOkWritesTheTestDriveOnlySettings) {
  EXPECT_EQ(ReadAll(ExeFolder() + "settings.ini"), kTestDriveOnlySettings);
}

TEST_F(MainWindowOnTestDrive, FindFilesListsTheUnneededFilesOfTheCheckedDrive) {
  MakeTree();
  form.FindFilesTBClick();
  EXPECT_TRUE(ui.boxes.empty()) << "six checked types: no question";
  EXPECT_FALSE(ui.hourglass);

  std::multiset<std::tuple<std::string, std::string, uint64_t>> expected = {
      {"\\", "a.tmp", 10},
      {"\\", "Grüße_日本.tmp", 7},
      {"\\", "b.ba~", 2},
      {"\\", "hidden.bak", 5},
      {"\\nested\\deeper\\", "n.bak", 2},
      {"\\", "x;y.old", 4},
      {"\\", "file.~x", 1},
      {"\\nested\\sendto\\", "t.tmp", 3},
      {"\\", "empty.txt", 0},
      {"\\", "empty.tmp", 0},
      {"\\nested\\", "e.tmp", 0},
  };
  EXPECT_EQ(OurRows(), expected);

  // Every row carries the file's own local date; the totals are exact.
  int64_t bytes = 0;
  for (const ResultRow& row : form.ListBox1.Rows()) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(Widen(row.FullPath()).c_str(), GetFileExInfoStandard, &data))
        << row.FullPath();
    uint64_t ticks = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                     data.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(row.Date(), locale.ShortDate(locale.ToLocalFileTime(ticks)));
    bytes += static_cast<int64_t>(row.Size());
  }
  EXPECT_EQ(form.StatusBar1.Get(2), "Total Files: " + std::to_string(form.ListBox1.Count()));
  EXPECT_EQ(form.StatusBar1.Get(3), SizeText(bytes));
  EXPECT_EQ(form.StatusBar1.Get(0), "Selected Size: 0 B");
  EXPECT_TRUE(form.DeleteAllTB.enabled);
  EXPECT_EQ(ReadAll(ExeFolder() + "settings.ini"), kTestDriveOnlySettings) << "a scan only reads";
}

TEST_F(MainWindowOnTestDrive, SinglePassGivesTheRowsOfThePerMaskWalksInTheirOrder) {
  // Wine lists folders in the host file system's order, not sorted: the one
  // traversal must still reproduce the per-mask walks row for row.
  MakeTree();
  auto walk = [&](WalkStrategy strategy) {
    StatusBar bar;
    bool stop = false;
    ScanProgress progress(bar, ui, stop, 0);
    DateTexts dates(locale);
    WalkContext ctx{fs, dates, progress, KeepFilter::None()};
    ScanState state;
    EXPECT_TRUE(WalkCheckedDrives(ctx, options.options, state, strategy));
    return state;
  };
  ScanState single = walk(WalkStrategy::kSinglePass);
  ScanState perMask = walk(WalkStrategy::kPerMask);
  EXPECT_EQ(single.rows, perMask.rows);
  EXPECT_EQ(single.count, perMask.count);
  EXPECT_EQ(single.bytes, perMask.bytes);
  EXPECT_GE(single.rows.size(), 11u);
}

TEST_F(MainWindowOnTestDrive, DeleteSelectedMovesExactlyTheSelectedFilesToTheRecycleBin) {
  MakeTree();
  form.FindFilesTBClick();
  int before = form.ListBox1.Count();
  Select({"a.tmp", "x;y.old", "Grüße_日本.tmp"});
  form.Delete1Click();

  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Some files may not be deleted if in use");
  for (const char* name : {"a.tmp", "x;y.old", "Grüße_日本.tmp"}) {
    EXPECT_FALSE(Exists(dir / name)) << name;
    EXPECT_NE(TrashedAs(dir / name), "") << name << " should be in the Recycle Bin";
  }
  EXPECT_EQ(ReadAll(TrashedAs(dir / "x;y.old")), "xyxy");
  for (const char* name : {"empty.txt", "hidden.bak", "b.ba~", "keep.txt", "system.bak"})
    EXPECT_TRUE(Exists(dir / name)) << name << " was not selected";
  EXPECT_EQ(form.ListBox1.Count(), before - 3);
  // The hand-off file holds the exact UTF-8 paths, last row first.
  std::string flist = ReadAll(ExeFolder() + "FList.txt");
  EXPECT_NE(flist.find((dir / "Grüße_日本.tmp") + "\r\n"), std::string::npos) << flist;
  EXPECT_NE(flist.find((dir / "x;y.old") + "\r\n"), std::string::npos) << flist;
}

TEST_F(MainWindowOnTestDrive, DeletePermanentlyRemovesTheFileAndLeavesAReadOnlyOne) {
  MakeTree();
  form.FindFilesTBClick();
  SetAttributes(dir / "b.ba~", FILE_ATTRIBUTE_READONLY);
  Select({"a.tmp", "b.ba~"});
  int before = form.ListBox1.Count();
  form.DeletePermanently1Click();
  EXPECT_FALSE(Exists(dir / "a.tmp"));
  EXPECT_EQ(TrashedAs(dir / "a.tmp"), "") << "permanent means not to the Recycle Bin";
  EXPECT_TRUE(Exists(dir / "b.ba~")) << "a read-only file stays";
  EXPECT_EQ(form.ListBox1.Count(), before - 1) << "the row of the file that stayed stays";
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_NE(ui.boxes[1].text.find((dir / "b.ba~") + " (could not be deleted)"), std::string::npos)
      << ui.boxes[1].text;
  EXPECT_TRUE(Exists(dir / "hidden.bak"));
}

TEST_F(MainWindowOnTestDrive, DeleteAllRecyclesEveryListedFileButOneInUse) {
  MakeTree();
  form.FindFilesTBClick();
  HANDLE h = CreateFileW(Widen(dir / "hidden.bak").c_str(), GENERIC_READ, FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  form.DeleteAllTBClick();
  CloseHandle(h);

  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, "Some files may not be deleted if in use!");
  EXPECT_EQ(ui.boxes[1].text, "1 file was not deleted and stays in the list:\r\n\r\n" +
                                  (dir / "hidden.bak") + " (in use)");
  ASSERT_EQ(form.ListBox1.Count(), 1);
  EXPECT_EQ(form.ListBox1[0].Name(), "hidden.bak");
  EXPECT_TRUE(form.ListBox1.Selected(0));
  EXPECT_EQ(form.StatusBar1.Get(2), "Total Files: 1");
  EXPECT_EQ(form.StatusBar1.Get(3), "5 B");
  EXPECT_TRUE(Exists(dir / "hidden.bak")) << "the file in use stays";
  for (const char* path : {"a.tmp", "empty.txt", "x;y.old", "file.~x", "nested\\e.tmp",
                           "nested\\deeper\\n.bak", "nested\\sendto\\t.tmp"}) {
    EXPECT_FALSE(Exists(dir / path)) << path;
    EXPECT_NE(TrashedAs(dir / path), "") << path;
  }
  for (const char* path : {"keep.txt", "system.bak", "report.bakup", "SendTo\\s.tmp"})
    EXPECT_TRUE(Exists(dir / path)) << path << " was never listed";
}

// The rows of ListBox1 whose name is `name`, as their full paths.
std::vector<std::string> RowsNamed(const ResultList& list, const std::string& name) {
  std::vector<std::string> paths;
  for (const ResultRow& row : list.Rows()) {
    if (row.Name() == name) paths.push_back(row.FullPath());
  }
  return paths;
}

// A file two masks match ("*.??~" and "*.~*") is listed twice; so is a file
// of the temporary folder on a checked drive, the second time by the short
// 8.3 path the system gives for that folder. Delete All hands it to the
// shell once: the shell never finds the second copy gone and asks in the
// middle of the batch, both rows leave with the file, and nothing is said to
// have stayed. The hand-off file keeps its line per row.
TEST_F(MainWindowOnTestDrive, AFileListedTwiceGoesOnceWithoutAQuestion) {
  TestFolder temp("Temporary Files");
  MakeFile(dir / "q.~a~", "twice");
  MakeFile(temp / "t.tmp", "temp!");
  wchar_t shortTemp[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(Widen(temp.path()).c_str(), shortTemp, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortTemp).find(L'~'), std::wstring::npos);
  wchar_t oldTmp[4096] = {};
  const bool hadTmp = GetEnvironmentVariableW(L"TMP", oldTmp, 4096) > 0;
  SetEnvironmentVariableW(L"TMP", (std::wstring(shortTemp) + L"\\").c_str());
  options.options.TempFiles.checked = true;
  options.OKBtnClick();

  form.FindFilesTBClick();
  SetEnvironmentVariableW(L"TMP", hadTmp ? oldTmp : nullptr);
  ASSERT_EQ(RowsNamed(form.ListBox1, "q.~a~"), (std::vector<std::string>{dir / "q.~a~", dir / "q.~a~"}));
  const std::vector<std::string> temps = RowsNamed(form.ListBox1, "t.tmp");
  ASSERT_EQ(temps.size(), 2u);
  EXPECT_NE(temps[0], temps[1]) << "listed once by the drive walk, once by the short path";
  {
    BoxAnswerer user(IDNO, 3000);
    form.DeleteAllTBClick();
    user.Wait();
    EXPECT_FALSE(user.answered) << "the shell asked: " << Narrow(user.text);
  }
  EXPECT_EQ(ui.boxes.size(), 1u) << "only the notice; nothing stayed";
  EXPECT_EQ(ReadAll(TrashedAs(dir / "q.~a~")), "twice");
  EXPECT_EQ(ReadAll(TrashedAs(temp / "t.tmp")), "temp!");
  EXPECT_FALSE(Exists(temp / "t.tmp"));
  EXPECT_TRUE(RowsNamed(form.ListBox1, "q.~a~").empty());
  EXPECT_TRUE(RowsNamed(form.ListBox1, "t.tmp").empty());
  const std::string flist = ReadAll(ExeFolder() + "FList.txt");
  const std::string line = dir / "q.~a~" + "\r\n";
  EXPECT_NE(flist.find(line + line), std::string::npos) << flist;
  EXPECT_NE(flist.find(Narrow(shortTemp) + "\\t.tmp\r\n"), std::string::npos) << flist;
}

// Names ending in a space or a dot, as other systems and archives make them:
// Wine lists "zero " and "dot." as they are. Each is checked and deleted as
// itself, never as "zero" or "dot"; the Recycle Bin's hand-off would read
// them as those, so there they stay and the user is told why, and deleted
// permanently they go, exactly they.
TEST_F(MainWindowOnTestDrive, NamesEndingInASpaceOrADotAreActedOnExactly) {
  ASSERT_TRUE(support::MakeUnixFile(dir / "zero ", ""));
  MakeFile(dir / "zero", "Z");  // not listed: neither empty nor of a listed type
  ASSERT_TRUE(support::MakeUnixFile(dir / "dot.", ""));  // no "dot" beside it
  ASSERT_TRUE(support::MakeUnixFolder(dir / "dir."));
  ASSERT_TRUE(support::MakeUnixFile(dir / "dir." + "\\in.tmp", "dotted"));
  MakeFolder(dir / "dir");
  MakeFile(dir / "dir" + "\\in.tmp", "plain");
  form.FindFilesTBClick();
  std::multiset<std::tuple<std::string, std::string, uint64_t>> expected = {
      {"\\", "zero ", 0}, {"\\", "dot.", 0}, {"\\dir.\\", "in.tmp", 6}, {"\\dir\\", "in.tmp", 5}};
  ASSERT_EQ(OurRows(), expected);

  form.DeleteAllTBClick();
  EXPECT_EQ(ReadAll(TrashedAs(dir / "dir" + "\\in.tmp")), "plain");
  for (const char* name : {"zero ", "dot.", "dir.\\in.tmp"})
    EXPECT_TRUE(ExistsExactly(dir / name)) << name;
  EXPECT_EQ(ReadAll(dir / "zero"), "Z");
  EXPECT_EQ(TrashedAs(dir / "zero"), "");
  expected.erase(std::make_tuple("\\dir\\", "in.tmp", 5));
  EXPECT_EQ(OurRows(), expected) << "a row left while its file stayed";
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_NE(ui.boxes[1].text.find((dir / "zero ") + " (a name the Recycle Bin would take for "
                                                  "another file's; delete it permanently instead)"),
            std::string::npos)
      << ui.boxes[1].text;

  Select({"zero ", "dot.", "in.tmp"});
  form.DeletePermanently1Click();
  for (const char* name : {"zero ", "dot.", "dir.\\in.tmp"})
    EXPECT_FALSE(ExistsExactly(dir / name)) << name;
  EXPECT_EQ(ReadAll(dir / "zero"), "Z");
  EXPECT_TRUE(OurRows().empty());
  EXPECT_EQ(ui.boxes.size(), 3u) << "only the notice";
}

// A hostile user swaps listed files for folders and links between the scan
// and the deletion: none of the three commands may touch anything that was
// not listed, and what stays is said once.
TEST_F(MainWindowOnTestDrive, SwappedItemsAreNeverDeleted) {
  enum Command { kDeleteAll, kDeleteSelected, kDeletePermanently };
  for (Command command : {kDeleteAll, kDeleteSelected, kDeletePermanently}) {
    SCOPED_TRACE("command " + std::to_string(command));
    TestFolder scan("hostile"), outside("outside");
    MakeFile(scan / "plain.tmp", "plain");
    MakeFile(scan / "swap.tmp", "swap!");
    MakeFile(scan / "link-to-file.tmp", "link!");
    MakeFile(scan / "link-to-folder.tmp", "fold!");
    MakeFile(scan / "in-use.tmp", "inuse");
    std::string deep = scan.path();
    while (deep.size() < 250) {
      deep += "\\" + std::string(40, 'd');
      MakeFolder(deep);
    }
    MakeFile(deep + "\\long-path.tmp", "long!");
    MakeFile(outside / "victim.txt", "VICTM");  // the listed file's size
    MakeFolder(outside / "dir");
    MakeFile(outside / "dir" + "\\precious.txt", "keep");

    form.StopFlag = false;
    form.FindFilesTBClick();
    // The victim gets the listed file's time too: only the link gives it away.
    WIN32_FILE_ATTRIBUTE_DATA listed;
    ASSERT_TRUE(GetFileAttributesExW(Widen(scan / "link-to-file.tmp").c_str(),
                                     GetFileExInfoStandard, &listed));
    HANDLE victim = CreateFileW(Widen(outside / "victim.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(victim, nullptr, nullptr, &listed.ftLastWriteTime));
    CloseHandle(victim);

    support::RemoveTree(scan / "swap.tmp");
    MakeFolder(scan / "swap.tmp");
    MakeFile(scan / "swap.tmp" + "\\inside.txt", "inside");
    support::RemoveTree(scan / "link-to-file.tmp");
    ASSERT_TRUE(support::MakeUnixLink(scan / "link-to-file.tmp", outside / "victim.txt"));
    support::RemoveTree(scan / "link-to-folder.tmp");
    ASSERT_TRUE(support::MakeUnixLink(scan / "link-to-folder.tmp", outside / "dir"));
    HANDLE inUse = CreateFileW(Widen(scan / "in-use.tmp").c_str(), GENERIC_READ,
                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);

    ui.boxes.clear();
    std::vector<std::string> ours;
    for (const ResultRow& row : form.ListBox1.Rows()) {
      if (row.Location().rfind(scan.path() + "\\", 0) == 0) ours.push_back(row.Name());
    }
    ASSERT_EQ(ours.size(), 6u);
    if (command == kDeleteAll) {
      form.DeleteAllTBClick();
    } else {
      Select_(scan.path(), ours);
      if (command == kDeleteSelected) form.Delete1Click();
      else form.DeletePermanently1Click();
    }
    CloseHandle(inUse);

    // Nothing outside the listed files moved.
    EXPECT_EQ(ReadAll(outside / "victim.txt"), "VICTM");
    EXPECT_EQ(ReadAll(outside / "dir" + "\\precious.txt"), "keep");
    EXPECT_EQ(TrashedAs(outside / "victim.txt"), "");
    EXPECT_EQ(ReadAll(scan / "swap.tmp" + "\\inside.txt"), "inside");
    EXPECT_EQ(TrashedAs(scan / "swap.tmp"), "");
    EXPECT_TRUE(Exists(scan / "link-to-file.tmp"));
    EXPECT_TRUE(Exists(scan / "link-to-folder.tmp"));
    EXPECT_TRUE(Exists(scan / "in-use.tmp"));
    // The listed plain file went where it was sent.
    EXPECT_FALSE(Exists(scan / "plain.tmp"));
    EXPECT_EQ(TrashedAs(scan / "plain.tmp") != "", command != kDeletePermanently);
    const bool longStays = command != kDeletePermanently;  // the shell takes no such path
    EXPECT_EQ(Exists(deep + "\\long-path.tmp"), longStays);

    // The rows that stayed, selected, and one message naming them.
    std::set<std::string> left;
    for (int i = 0; i < form.ListBox1.Count(); ++i) {
      if (form.ListBox1[i].Location().rfind(scan.path() + "\\", 0) != 0) continue;
      left.insert(form.ListBox1[i].Name());
      EXPECT_TRUE(form.ListBox1.Selected(i)) << form.ListBox1[i].Name();
    }
    std::set<std::string> expected{"swap.tmp", "link-to-file.tmp", "link-to-folder.tmp",
                                   "in-use.tmp"};
    if (longStays) expected.insert("long-path.tmp");
    EXPECT_EQ(left, expected);
    ASSERT_EQ(ui.boxes.size(), 2u);
    const std::string& told = ui.boxes[1].text;
    EXPECT_EQ(told.rfind(std::to_string(expected.size()) + " files were not deleted", 0), 0u)
        << told;
    for (const char* part : {"swap.tmp (changed since the scan)", "link-to-file.tmp (a link)",
                             "in-use.tmp (in use)"})
      EXPECT_NE(told.find(part), std::string::npos) << part << " in " << told;
    if (longStays) {
      EXPECT_NE(told.find("long-path.tmp (could not be moved to the Recycle Bin)"),
                std::string::npos) << told;
    }
    form.ClearTBClick();
  }
}

}  // namespace
}  // namespace scourly
