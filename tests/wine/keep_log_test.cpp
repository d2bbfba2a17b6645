// The keep list and the deletion log with the real file system, Purgix.dll
// and 8.3 names: a scan that never enters a big kept folder (and is the
// faster for it), short forms standing for long ones, and the log lines of
// a Recycle Bin deletion and a permanent one with a row kept since the scan.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "app/main_form.h"
#include "options/uoptions.h"
#include "platform/win32/win32_windows.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_drive.h"

namespace scourly {
namespace {

using support::Exists;
using support::ExeFolder;
using support::MakeFile;
using support::MakeFolder;
using support::ReadAll;
using support::RemoveProgramFile;
using support::TestFolder;
using support::TrashedAs;

std::string ShortPath(const std::string& path) {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetShortPathNameW(Widen(path).c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? Narrow(std::wstring(buffer, n)) : std::string();
}

std::string UtcNow() {
  SYSTEMTIME t;
  GetSystemTime(&t);
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour,
           t.wMinute, t.wSecond);
  return text;
}

class KeepAndLogOnTestDrive : public testing::Test {
 protected:
  KeepAndLogOnTestDrive() : options(platform), form(platform, options) {}

  void SetUp() override {
    for (const char* name : {"settings.ini", "FList.txt", "deleted.log", "deleted.log.1"})
      RemoveProgramFile(name);
    options.FormCreate();  // the first start; then only T: is checked
    ASSERT_EQ(options.options.DrivesBox.items[0].text, "C:\\");
    options.options.DrivesBox.items[0].checked = false;
    options.OKBtnClick();
    form.FormCreate();
    form.FormShow();
    form.pumpBudgetMs = 0;
  }
  void TearDown() override {
    for (const char* name : {"settings.ini", "FList.txt", "deleted.log", "deleted.log.1"})
      RemoveProgramFile(name);
  }

  // Scans and returns the seconds it took; the rows in our folder, as paths.
  double Scan(std::vector<std::string>& ours) {
    auto start = std::chrono::steady_clock::now();
    form.FindFilesTBClick();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    ours.clear();
    for (const ResultRow& row : form.ListBox1.Rows()) {
      if (row.Location().rfind(dir.path() + "\\", 0) == 0) ours.push_back(row.FullPath());
    }
    std::sort(ours.begin(), ours.end());
    return took.count();
  }

  support::ScriptedWindows real;
  support::ScriptedUi& ui = real.ui;
  Platform& platform = real.platform;
  TUOptionsDialog options;
  TMainForm form;
  TestFolder dir{"keep"};
};

TEST_F(KeepAndLogOnTestDrive, AKeptFolderOfThousandsOfFilesIsNeverEnteredAndTheScanIsFaster) {
  const std::string big = dir / "kept folder with a long name";
  MakeFolder(big);
  for (int i = 0; i < 3000; ++i) MakeFile(big + "\\f" + std::to_string(i) + ".tmp", "0123456789");
  MakeFile(dir / "kept file.bak", "kkk");
  MakeFile(dir / "listed.tmp", "lll");
  const std::string shortBig = ShortPath(big);
  ASSERT_NE(shortBig.find('~'), std::string::npos) << "no 8.3 alias: " << shortBig;

  std::vector<std::string> ours;
  const double first = Scan(ours);
  ASSERT_EQ(ours.size(), 3002u);
  // The folder by its short form, the file by its long one in other letters.
  ASSERT_TRUE(options.AddKeep(shortBig + "\\"));
  ASSERT_TRUE(options.AddKeep(dir.path() + "\\KEPT FILE.BAK"));

  // Alternate, so that a slow moment of the machine weighs on both sides.
  double with = 1e9, without = first;
  for (int round = 0; round < 2; ++round) {
    with = std::min(with, Scan(ours));
    EXPECT_EQ(ours, std::vector<std::string>{dir / "listed.tmp"});
    KeepList kept = options.keep;
    options.keep.Clear();
    without = std::min(without, Scan(ours));
    EXPECT_EQ(ours.size(), 3002u);
    options.keep = kept;
  }
  EXPECT_LT(with, without) << "kept: " << with << " s, not kept: " << without << " s";
}

// The other way round from the scan above: the entry long, the path short
// (as the temporary folder's path often is), for a folder and a file.
TEST_F(KeepAndLogOnTestDrive, ALongEntryKeepsWhatAShortPathNames) {
  const std::string folder = dir / "Program Folder Long";
  MakeFolder(folder);
  MakeFile(folder + "\\Long Report Name.txt", "r");
  const std::string shortFile = ShortPath(folder + "\\Long Report Name.txt");
  ASSERT_NE(shortFile.find('~'), std::string::npos) << shortFile;
  for (const std::string& entry : {folder + "\\", folder + "\\LONG report name.txt"}) {
    KeepList list;
    list.Add(entry);
    EXPECT_TRUE(KeepFilter(list, real.windows.fs).Keeps(shortFile, false)) << entry;
  }
}

TEST_F(KeepAndLogOnTestDrive, ARowKeptSinceTheScanStaysAndTheLogTellsEveryOutcome) {
  MakeFile(dir / "a.tmp", "aaaa");
  MakeFile(dir / "b.tmp", "bbbbbbbbb");
  MakeFolder(dir / "sub");
  MakeFile(dir / "sub\\c.tmp", "cc");
  MakeFile(dir / "sub\\d.bak", "ddd");
  std::vector<std::string> ours;
  Scan(ours);
  ASSERT_EQ(ours.size(), 4u);
  ASSERT_TRUE(options.AddKeep(dir / "SUB\\"));  // after the scan: the rows stay listed

  std::vector<int> rows;
  for (int i = 0; i < form.ListBox1.Count(); ++i) {
    const std::string path = form.ListBox1[i].FullPath();
    if (path == dir / "a.tmp" || path.rfind(dir / "sub\\", 0) == 0) rows.push_back(i);
  }
  form.ListBox1.SetSelection(rows);
  const std::string before = UtcNow();
  form.Delete1Click();
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_NE(ui.boxes[1].text.find((dir / "sub\\c.tmp") + " (kept)"), std::string::npos)
      << ui.boxes[1].text;
  EXPECT_NE(TrashedAs(dir / "a.tmp"), "");
  EXPECT_TRUE(Exists(dir / "sub\\c.tmp") && Exists(dir / "sub\\d.bak"));

  form.ListBox1.SetSelection({});
  for (int i = 0; i < form.ListBox1.Count(); ++i) {
    if (form.ListBox1[i].FullPath() == dir / "b.tmp") form.ListBox1.SetSelection({i});
  }
  form.DeletePermanently1Click();
  EXPECT_FALSE(Exists(dir / "b.tmp"));
  EXPECT_EQ(TrashedAs(dir / "b.tmp"), "");
  const std::string after = UtcNow();

  const std::string log = ReadAll(ExeFolder() + "deleted.log");
  ASSERT_EQ(log.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte order mark: " << log;
  std::vector<std::string> lines;
  for (size_t at = 3; at < log.size();) {
    size_t end = log.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "a line without CR LF";
    std::string line = log.substr(at, end - at);
    ASSERT_GT(line.size(), 21u);
    const std::string time = line.substr(0, 20);
    EXPECT_TRUE(before <= time && time <= after) << time << " not in " << before << ".." << after;
    lines.push_back(line.substr(21));
    at = end + 2;
  }
  std::sort(lines.begin(), lines.begin() + 3);  // the hand-off's own order is the list's
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "recycle\t2\t" + (dir / "sub\\c.tmp") + "\tstayed: kept",
                       "recycle\t3\t" + (dir / "sub\\d.bak") + "\tstayed: kept",
                       "recycle\t4\t" + (dir / "a.tmp") + "\tdeleted",
                       "permanent\t9\t" + (dir / "b.tmp") + "\tdeleted",
                   }));
}

}  // namespace
}  // namespace scourly
