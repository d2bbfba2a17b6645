// The keep list: which paths it keeps (letter case, 8.3 forms, a folder and
// its subtree, a file), its section of settings.ini and the "Keep" page,
// the walks that never list or enter what it keeps, and the popup items that
// fill it from a list.
#include <gtest/gtest.h>

#include <mutex>

#include "app/main_form.h"
#include "options/keep_list.h"
#include "platform/fake/fake_windows.h"
#include "scan/scan_progress.h"
#include "scan/unneeded_scan.h"
#include "tests/host/program_on_test_drive.h"

namespace scourly {
namespace {

using fake::FakeWindows;
using Texts = std::vector<std::string>;
constexpr const char* kIni = "C:\\Program Files\\Scourly\\settings.ini";

KeepList ListOf(const Texts& entries) {
  KeepList list;
  for (const std::string& e : entries) list.Add(e);
  return list;
}

TEST(KeepMatching, PathsCompareAsWindowsComparesThem) {
  FakeWindows win;
  // 8.3 aliases, as Windows makes them, on the items the paths below reach.
  win.fs.AddFolder("C:\\Program Files").shortName = "PROGRA~1";
  win.fs.AddFolder("C:\\Program Files\\Keep");
  win.fs.AddFile("C:\\Docs\\Long report.txt", 5).shortName = "LONGRE~1.TXT";
  win.fs.AddFolder("C:\\Users\\Administrator").shortName = "ADMINI~1";
  win.fs.AddFolder("C:\\Users\\Administrator\\Temp");
  struct Case {
    const char* entry;
    const char* path;
    bool folder;
    bool kept;
  } cases[] = {
      // Letter case, beyond ASCII too; ordinal, so no linguistic equivalents.
      {"C:\\Data\\Report.TXT", "c:\\data\\report.txt", false, true},
      {"C:\\\xC3\xBC" "bung\\", "c:\\\xC3\x9C" "BUNG\\x.tmp", false, true},   // ü / Ü
      {"C:\\\xD0\xBF\xD1\x80\xD0\xB8.txt", "C:\\\xD0\x9F\xD0\xA0\xD0\x98.TXT", false,
       true},  // при / ПРИ
      {"C:\\\xC3\xBF\\", "C:\\\xC5\xB8\\x", false, true},                   // ÿ / Ÿ
      {"C:\\stra\xC3\x9F" "e\\", "C:\\STRASSE\\x", false, false},          // ß is no "SS"
      // A folder, itself and its subtree, and nothing beside it.
      {"C:\\Keep\\", "C:\\Keep", true, true},
      {"C:\\Keep\\", "C:\\KEEP\\", true, true},
      {"C:\\Keep\\", "C:\\Keep\\a.tmp", false, true},
      {"C:\\Keep\\", "C:\\Keep\\deep\\er\\b.tmp", false, true},
      {"C:\\Keep\\", "C:\\Keeper\\a.tmp", false, false},
      {"C:\\Keep\\", "C:\\Kee", true, false},
      {"T:\\", "T:\\any\\thing", false, true},
      // A file, and nothing else.
      {"C:\\a\\b.txt", "C:\\a\\b.txt", false, true},
      {"C:\\a\\b.txt", "C:\\a\\b.txt.bak", false, false},
      {"C:\\a\\b.txt", "C:\\a", true, false},
      // A folder entry against a file of the same name, and the reverse.
      {"C:\\a\\b\\", "C:\\a\\b", false, false},
      {"C:\\a\\b", "C:\\a\\b", true, false},
      {"C:\\a\\b", "C:\\a\\b\\c.txt", false, false},
      // Short forms, of the entry or of the path.
      {"C:\\PROGRA~1\\Scourly\\", "C:\\Program Files\\Scourly\\x.tmp", false, true},
      {"C:\\Program Files\\Keep\\", "C:\\progra~1\\Keep\\y.tmp", false, true},
      {"C:\\Docs\\LONGRE~1.TXT", "C:\\Docs\\Long report.txt", false, true},
      {"C:\\Docs\\Long report.txt", "C:\\Docs\\longre~1.txt", false, true},
      {"C:\\Users\\Administrator\\Temp\\", "C:\\Users\\ADMINI~1\\Temp\\z.tmp", false, true},
      {"C:\\PROGRA~1\\", "C:\\Program Filesx\\y", false, false},
  };
  for (const Case& c : cases) {
    KeepList list = ListOf({c.entry});
    KeepFilter keep(list, win.fs);
    EXPECT_EQ(keep.Keeps(c.path, c.folder), c.kept) << c.entry << " against " << c.path;
  }
}

TEST(KeepMatching, AWholeFolderReachesWhatIsKeptInside) {
  FakeWindows win;
  KeepList list = ListOf({"C:\\a\\b\\c.txt", "C:\\x\\y\\"});
  KeepFilter keep(list, win.fs);
  EXPECT_TRUE(keep.Reaches("C:\\a", true));
  EXPECT_TRUE(keep.Reaches("C:\\A\\B\\", true));
  EXPECT_TRUE(keep.Reaches("C:\\x", true));
  EXPECT_FALSE(keep.Reaches("C:\\a\\bc", true));
  EXPECT_FALSE(keep.Reaches("C:\\a", false)) << "a file named a holds nothing";
  EXPECT_FALSE(KeepFilter::None().Reaches("C:\\a", true));
}

TEST(KeepSection, ReadingIsBoundedByTheKeysAndWritingTouchesOnlyTheSection) {
  FakeWindows win;
  win.fs.WriteFile(kIni,
                   "[options]\r\nTempFiles=0\r\n[keep]\r\nitem0=C:\\a\\\r\nitem2=C:\\c.txt\r\n"
                   "ITEM3=c:\\A\\\r\ntotal_keep=2147483647\r\n");
  KeepList list = KeepList::Read(win.fs, kIni);
  EXPECT_EQ(list.Entries(), (Texts{"C:\\a\\", "C:\\c.txt"})) << "a gap is skipped, a twin dropped";
  list.RemoveAt(0);
  list.Write(win.fs, kIni);
  EXPECT_EQ(win.fs.Content(kIni),
            "[options]\r\nTempFiles=0\r\n[keep]\r\nitem0=C:\\c.txt\r\nitem2=C:\\c.txt\r\n"
            "ITEM3=c:\\A\\\r\ntotal_keep=0\r\n");
  EXPECT_EQ(KeepList::Read(win.fs, kIni).Entries(), Texts{"C:\\c.txt"});
}

TEST(KeepPage, OkWritesTheSectionOnlyWhenTheListChangedAndCancelDropsTheEdits) {
  FakeWindows win;
  TUOptionsDialog dialog(win.platform);
  dialog.FormCreate();  // the first start writes the defaults
  const std::string firstStart = win.fs.Content(kIni);
  for (bool ok : {false, true}) {
    dialog.Show();
    win.shell.fileAnswers = {"C:\\a.txt"};
    win.shell.browseAnswers = {"C:\\Folder", "C:\\"};
    dialog.AddFileBtnClick();
    dialog.AddFolderBtnClick();
    dialog.AddFolderBtnClick();
    dialog.AddFolderBtnClick();  // cancelled
    EXPECT_EQ(dialog.KeepBox.Entries(), (Texts{"C:\\a.txt", "C:\\Folder\\", "C:\\"}));
    EXPECT_EQ(dialog.keep.Count(), 0) << "edits are not in force before OK";
    if (ok) break;
    dialog.CancelBtnClick();
    EXPECT_EQ(win.fs.Content(kIni), firstStart);
  }
  dialog.KeepBoxIndex = 0;
  dialog.RemoveKeepBtnClick();
  dialog.OKBtnClick();
  EXPECT_EQ(dialog.keep.Entries(), (Texts{"C:\\Folder\\", "C:\\"}));
  EXPECT_EQ(win.fs.Content(kIni),
            firstStart + "[keep]\r\nitem0=C:\\Folder\\\r\nitem1=C:\\\r\ntotal_keep=1\r\n");
  const std::string saved = win.fs.Content(kIni);
  dialog.Show();
  dialog.OKBtnClick();
  EXPECT_EQ(win.fs.Content(kIni), saved) << "an unchanged list is not written again";
}

// A file system that notes every folder a walk lists, from any thread.
struct ListingRecorder : fake::FakeFileSystem {
  std::mutex mutex;
  Texts listed;
  std::unique_ptr<FolderListing> ListFolder(const std::string& folder) override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      listed.push_back(folder);
    }
    return FakeFileSystem::ListFolder(folder);
  }
};

TEST(KeptWalks, NoWalkListsAKeptItemOrEntersAKeptFolder) {
  ListingRecorder fs;
  fs.AddDrive('C');
  for (const char* f : {"C:\\Big\\x1.tmp", "C:\\Big\\sub\\x2.tmp", "C:\\work\\keep.tmp",
                        "C:\\work\\go.tmp"})
    fs.AddFile(f, 5);
  for (const char* f : {"C:\\Big\\e.txt", "C:\\work\\empty.txt", "C:\\work\\kept-empty.txt"})
    fs.AddFile(f, 0);
  KeepList list = ListOf({"c:\\BIG\\", "C:\\work\\keep.tmp", "C:\\WORK\\kept-empty.txt"});
  KeepFilter keep(list, fs);
  fake::FakeLocale locale;
  fake::FakeUi ui;

  auto walk = [&](const std::function<void(WalkContext&, ScanState&)>& run) {
    StatusBar bar;
    bool stop = false;
    ScanProgress progress(bar, ui, stop, 0);
    DateTexts dates(locale);
    WalkContext ctx{fs, dates, progress, keep};
    ScanState state;
    fs.listed.clear();
    run(ctx, state);
    for (const std::string& folder : fs.listed)
      EXPECT_NE(UpperOrdinal(folder).rfind("C:\\BIG", 0), 0u) << folder << " was listed";
    Texts paths;
    for (const ResultRow& row : state.rows) paths.push_back(row.FullPath());
    return paths;
  };

  ScanOptions options;
  options.OptionBox.Add("*.tmp", true);
  options.DrivesBox.Add("C:\\", true);
  const Texts drive = {"C:\\work\\go.tmp", "C:\\work\\empty.txt"};
  EXPECT_EQ(walk([&](WalkContext& c, ScanState& s) {
              WalkCheckedDrives(c, options, s, WalkStrategy::kPerMask);
            }),
            drive);
  for (unsigned workers : {1u, 3u}) {
    EXPECT_EQ(walk([&](WalkContext& c, ScanState& s) {
                WalkCheckedDrives(c, options, s, WalkStrategy::kSinglePass, workers);
              }),
              drive)
        << workers << " listing threads";
  }
  // The temporary folder's, Favorites' and Recent Files' walk: a kept folder
  // is no row either.
  EXPECT_EQ(walk([&](WalkContext& c, ScanState& s) { FindFolderFiles(c, "C:\\*.*", s, false); }),
            Texts{"C:\\work"});
  EXPECT_EQ(walk([&](WalkContext& c, ScanState& s) { FindFolderFiles(c, "C:\\*.*", s, true); }),
            drive);
  EXPECT_TRUE(walk([&](WalkContext& c, ScanState& s) {
                FindFolderFiles(c, "C:\\big\\sub\\*.*", s, true);
              }).empty());
}

// ---- Keeping from a list ----

using KeptFromAList = ProgramOnTestDrive;

TEST_F(KeptFromAList, NeverListThisFolderDropsItsRowsEverywhereAndTheNextScanSkipsIt) {
  form.FindFilesTBClick();
  ASSERT_EQ(form.ListBox1.Count(), 4);
  form.ListBox3.Assign({ResultRow("f.url", "T:\\d\\sub\\", 7, "15.03.2024")});
  form.TotalSizeText[2] = "7 B";
  form.ListBox1.SetSelection({RowOf(form.ListBox1, "T:\\a.tmp")});
  form.ListBox1.itemIndex = RowOf(form.ListBox1, "T:\\d\\b.bak");

  form.NeverListFolder1Click();
  EXPECT_EQ(Paths(form.ListBox1), (Texts{"T:\\a.tmp", "T:\\e.txt"}));
  EXPECT_TRUE(form.ListBox1.Selected(0)) << "the selection outside the folder stays";
  EXPECT_EQ(form.StatusBar1.panels, (std::array<std::string, 4>{"Selected Size: 1000 B",
                                                                 "Selected Files: 1",
                                                                 "Total Files: 2", "1000 B"}));
  EXPECT_EQ(form.ListBox3.Count(), 0) << "every list drops what is now kept";
  EXPECT_EQ(form.TotalSizeText[2], "0 B");
  EXPECT_NE(win.fs.Content(kIni).find("[keep]\r\nitem0=T:\\d\\\r\ntotal_keep=0\r\n"),
            std::string::npos)
      << win.fs.Content(kIni);

  form.FindFilesTBClick();
  EXPECT_EQ(Paths(form.ListBox1), (Texts{"T:\\a.tmp", "T:\\e.txt"}));

  // With the dialog open, its "Keep" page shows the new entry too.
  optionsDialog.Show();
  form.ListBox1.itemIndex = RowOf(form.ListBox1, "T:\\e.txt");
  form.NeverListFile1Click();
  EXPECT_EQ(Paths(form.ListBox1), Texts{"T:\\a.tmp"});
  EXPECT_EQ(optionsDialog.keep.Entries(), (Texts{"T:\\d\\", "T:\\e.txt"}));
  EXPECT_EQ(optionsDialog.KeepBox.Entries(), optionsDialog.keep.Entries());

  // A folder row is kept as a folder; the cache tab has no file to keep.
  form.UserSelectsTab(kTabRecent);
  form.ListBox2.Assign({ResultRow("old", "T:\\Recent\\", 0, "15.03.2024", 0, 0, true)});
  form.ListBox2.itemIndex = 0;
  form.NeverListFile1Click();
  EXPECT_EQ(optionsDialog.keep.Entries().back(), "T:\\Recent\\old\\");
  form.UserSelectsTab(kTabBrowserCache);
  EXPECT_FALSE(form.NeverListFile1.enabled);
  EXPECT_FALSE(form.NeverListFolder1.enabled);
}

}  // namespace
}  // namespace scourly
